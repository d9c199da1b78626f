// The window in English, as LANG=en_* shows it: every menu, box, the progress window and the status bar
// in English and none of them cut; and which locales choose English.
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QStatusBar>
#include <QXmlStreamReader>

#include "gui_test_support.h"
#include "translation/language.h"
#include "main_window/about_dialog.h"
#include "main_window/key_overview_dialog.h"
#include "progress/many_runs_dlg.h"
#include "watching/scene_recorder.h"
#include "widgets/text_gadget.h"

class EnglishTest : public QObject, TWindowFixture {
  Q_OBJECT

  // The finished translations of `context` in the shipped translation file.
  static QSet<QString> Translations(const char* context) {
    QSet<QString> found;
    QFile ts(QStringLiteral(ZARNIK_TS_FILE));
    if (!ts.open(QIODevice::ReadOnly)) return found;
    QXmlStreamReader xml(&ts);
    QString name;
    while (!xml.atEnd()) {
      if (xml.readNext() != QXmlStreamReader::StartElement) continue;
      if (xml.name() == QLatin1String("name")) {
        name = xml.readElementText();
      } else if (xml.name() == QLatin1String("translation") && name == QLatin1String(context) &&
                 xml.attributes().value(QLatin1String("type")).isEmpty()) {
        found << xml.readElementText();
      }
    }
    return found;
  }

  // Every label, button and status field of `w` shows its whole text (multi-line captions aside).
  static QStringList CutTexts(QWidget* w) {
    QStringList cut;
    for (QLabel* label : w->findChildren<QLabel*>())
      if (!label->text().contains('\n') &&
          label->fontMetrics().horizontalAdvance(label->text()) > label->contentsRect().width())
        cut << label->text();
    for (QPushButton* button : w->findChildren<QPushButton*>())
      if (button->fontMetrics().horizontalAdvance(button->text().remove('&')) > button->width())
        cut << button->text();
    for (QFrame* frame : w->findChildren<QFrame*>())  // the fields have no meta-object of their own
      if (const auto* field = dynamic_cast<TTextGadget*>(frame);
          field != nullptr && field->isVisible() && field->fontMetrics().horizontalAdvance(field->Text()) > field->TextWidth())
        cut << field->Text();
    return cut;
  }

 private slots:
  void initTestCase() {
    QVERIFY(InstallTranslations(*qApp, true, QString()));
    QVERIFY(OpenTestWindow(W, Dir, QSize(756, 600)));
  }
  void init() { ResetWindow(W); }

  // The first of LC_ALL, LC_MESSAGES, LANG that is set decides; only English chooses English.
  void languageChoice() {
    const struct { const char *All, *Messages, *Lang; bool English; } rows[] = {
        {nullptr, nullptr, "en_US.UTF-8", true}, {nullptr, nullptr, "en_GB", true}, {nullptr, nullptr, "en", true},
        {nullptr, nullptr, "de_DE.UTF-8", false}, {nullptr, nullptr, "C", false}, {nullptr, nullptr, "C.UTF-8", false},
        {nullptr, nullptr, "fr_FR.UTF-8", false}, {nullptr, nullptr, nullptr, false},
        {"", nullptr, "en_US.UTF-8", true},            // an empty LC_ALL counts as not set
        {"C", nullptr, "en_US.UTF-8", false},           // LC_ALL=C over en
        {nullptr, "en_IE.UTF-8", "de_AT", true},        // LC_MESSAGES=en over de
        {nullptr, nullptr, "eo", false}, {nullptr, nullptr, "enx_XX", false}};  // neither is en
    for (const auto& r : rows)
      QVERIFY2(EnglishWanted(r.All, r.Messages, r.Lang) == r.English, qPrintable(QStringList({r.All, r.Messages, r.Lang}).join(" / ")));
  }

  // Every menu text is a translation of the shipped file, and the translated letters still reach one
  // item each, the keys unchanged.
  void menusTranslated() {
    const QSet<QString> translations = Translations("TZarnikWindow");
    QStringList untranslated;
    const std::function<void(const QList<QAction*>&)> collect = [&](const QList<QAction*>& items) {
      for (QAction* a : items) {
        if (a->isSeparator()) continue;
        if (!translations.contains(a->text())) untranslated << a->text();
        if (a->menu() != nullptr) collect(a->menu()->actions());
      }
    };
    collect(W->menuBar()->actions());
    QCOMPARE(untranslated, QStringList());
    QCOMPARE(MenuFaults(W->menuBar()), QStringList());
    QCOMPARE(W->KeyLines().first().Command, QString::fromUtf8("Simulator › Training 1"));
    QCOMPARE(W->KeyLines().last().Command, QString::fromUtf8("Adjust › Lower"));
  }

  // The message field, the reason of a failed load, pause and the deliveries: English and whole.
  void statusBar() {
    QCOMPARE(W->MessageText(), QStringLiteral("Adjust mode"));
    Answer({QMessageBox::Ok, QMessageBox::Ok});
    W->Dispatch(CM_LOADDATA);
    QCOMPARE(W->MessageText(), QStringLiteral("Cannot load file 'zarnik.dat': missing"));
    QFile file(QStringLiteral("zarnik.dat"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(100, 'x')) == 100);
    file.close();
    W->Dispatch(CM_LOADDATA);
    QCOMPARE(MessageBoxHook().LastText, QStringLiteral("Cannot load file 'Zarnik.dat'!"));
    QCOMPARE(W->MessageText(), QStringLiteral("Cannot load file 'zarnik.dat': wrong size (100 instead of 199620 bytes)"));
    QCOMPARE(CutTexts(W), QStringList());
    QFile::remove(QStringLiteral("zarnik.dat"));
    W->Dispatch(CM_PAUSE);
    W->ActivationCounts({0, 888888});
    TZarnikWindowProbe(W).SwapRecorder(std::make_unique<TSceneRecorder>());  // its marks as while a film is recorded
    QVERIFY(W->Watch().Recorder->Start(Dir.filePath(QStringLiteral("film.mp4")), 60));
    W->UpdateCommands();
    QCOMPARE(W->MessageField()->MarkNames(), QStringList({"Paused", "Recording"}));
    QCOMPARE(W->DeliveriesField()->Text(), QStringLiteral("Deliveries: 888888"));
    QCOMPARE(CutTexts(W), QStringList());
    W->Dispatch(CM_RECORD);
    W->Dispatch(CM_PAUSE);
  }

  // The demonstration's deliveries field, also when stopped early: a network with one link that moves
  // nothing delivers no ball.
  void demonstrationField() {
    TChromosom& best = W->Population()->bestIndividual;
    ClearWeights(best);
    best.setWeight(0, 11, 50);
    best.setConnections(1);
    W->ActivationCounts({0, 888888});
    QTimer::singleShot(0, W, [this] { W->Population()->DoBreakANN(); });  // in the first episode
    W->Dispatch(CM_SHOWBEST);
    QVERIFY(!W->RunActive() && !W->LastShownWhole());
    QCOMPARE(W->DeliveriesField()->Text(), QStringLiteral("Deliveries: 0"));
  }

  // Alt+letter in "Several runs" reaches one field or button each, "&Resume" (after a stop) included.
  void runsDialogMnemonicsUnique() {
    W->Dispatch(CM_MANYRUNS);
    QVERIFY(W->RunsDialog() != nullptr);
    const QStringList letters = Mnemonics(W->RunsDialog(), {TManyRunsDlg::tr("&Fortsetzen")});
    W->RunsDialog()->hide();
    QVERIFY(letters.contains("r") && letters.contains("g"));  // English: "&Runs", "&Generations"
    QCOMPARE(letters.size(), 10);
    QCOMPARE(Repeated(letters), QStringList());
  }

  // The progress window of both trainings: English captions and button, none cut; the boxes' texts.
  void progressWindowAndBoxes() {
    const std::pair<Qt::Key, QStringList> trainings[] = {
        {Qt::Key_F1, {"GA - Parameters", "Distance", "bestFitness", "count best used", "Pos Ball", "", "Cancel"}},
        {Qt::Key_F2, {"GA - Parameters", "avrg Fitness", "best Fitness", "Individual", "Generation", "Gen. of best", "Cancel"}}};
    for (const auto& [key, expected] : trainings) {
      QStringList seen;
      QTimer poll, watchdog;
      poll.callOnTimeout([&] {
        if (W->ProgressWindow() == nullptr || !W->ProgressWindow()->isVisible()) return;
        seen = QStringList{W->ProgressWindow()->windowTitle()};
        for (int id : {301, 303, 305, 307, 309}) seen << W->ProgressWindow()->Text(id);
        seen << W->ProgressWindow()->findChild<QPushButton*>()->text() << CutTexts(W->ProgressWindow());
        W->Population()->DoBreakANN();
      });
      watchdog.callOnTimeout([&] { W->Population()->DoBreakANN(); });
      poll.start(0);
      watchdog.start(60000);
      Press(W, key);
      poll.stop();
      QCOMPARE(seen, expected);
    }
    QCOMPARE(W->MessageText(), QStringLiteral("Adjust mode"));
    // The unsaved-work question after training, with Qt's own buttons in English too.
    Answer({QMessageBox::Cancel});
    W->close();
    QCOMPARE(MessageBoxHook().LastText, QStringLiteral("The population has changed. Save it first?"));
    QMessageBox box(QMessageBox::Information, "", "", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Yes"));
    TAboutDlg about(W);
    QCOMPARE(about.windowTitle(), QStringLiteral("About Zarnik32"));
    QVERIFY(about.findChildren<QLabel*>().size() >= 5);
    QCOMPARE(about.findChildren<QLabel*>()[2]->text(), QStringLiteral("A robot arm, steered by"));
    QCOMPARE(CutTexts(&about), QStringList());
  }
};

QTEST_MAIN(EnglishTest)
#include "english_test.moc"
