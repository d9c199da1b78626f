// Everyday use of the main window: the question before a changed population
// is closed or replaced, status fields that show their whole texts, Qt's
// German texts, the key overview and where additional windows open.
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "main_window/key_overview_dialog.h"
#include "main_window/zarnik_application.h"
#include "gui_test_support.h"
#include "main_window/zarnik_window.h"
#include "widgets/file_dialog.h"
#include "widgets/message_box.h"
#include "widgets/text_gadget.h"
#include "widgets/window_place.h"
#include "world.h"
#include "../support/file_faults.h"

namespace {

enum TAction { Close, CloseBox, Load, Open };

constexpr qint64 PopulationFileSize = 199620;

QByteArray Bytes(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class EverydayTest : public QObject {
  Q_OBJECT

 private:
  TZarnikWindow* W = nullptr;
  QTemporaryDir Dir;

  // Runs `action` with the question answered by `answer` (and an OK for a failure's message).
  void Do(TAction action) {
    switch (action) {
      case Close: W->Dispatch(CM_CLOSEAPP); break;
      case CloseBox: W->close(); break;
      case Load: W->Dispatch(CM_LOADDATA); break;
      case Open: W->Dispatch(CM_OPENDATA); break;
    }
  }

  QString Population() const {
    W->AnnGaWorld->DoSaveANN("snapshot.dat");
    return QString::fromLatin1(Bytes(QStringLiteral("snapshot.dat")).toHex());
  }

 private slots:
  void initTestCase() {
    QVERIFY(QDir::setCurrent(Dir.path()));
    W = NewTestWindow();
    W->show();
    QVERIFY(QTest::qWaitForWindowExposed(W));
  }

  void cleanupTestCase() { delete W; }

  void init() {
    MessageBoxHook() = TMessageBoxHook();
    FileDialogHook() = TFileDialogHook();
    W->PopulationChanged = false;
    W->PopulationFile.clear();
    W->show();
    for (const char* name : {"zarnik.dat", "zarnik.csv", "other.dat", "other.csv"}) QFile::remove(name);
  }

  // A training run, even one stopped at once, changes the population; loading it
  // or storing it makes it unchanged again. Unchanged, nothing asks.
  void trainingChangesThePopulation() {
    QTimer::singleShot(0, this, [this] { W->AnnGaWorld->DoBreakANN(); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, this, [this] { W->AnnGaWorld->DoBreakANN(); });
    watchdog.start(60000);
    W->Dispatch(CM_TRAIN2AN);  // returns at the end of the generation it was stopped in
    QVERIFY2(watchdog.isActive(), "training 2 did not stop at the test's stop");
    QVERIFY(W->PopulationChanged);
    W->Dispatch(CM_SAVEDATA);
    QVERIFY(!W->PopulationChanged);
    QCOMPARE(QFile(QStringLiteral("zarnik.dat")).size(), PopulationFileSize);
    W->Dispatch(CM_LOADDATA);
    W->Dispatch(CM_CLOSEAPP);
    QCOMPARE(MessageBoxHook().Shown, 0);
    QVERIFY(!W->isVisible());
  }

  void unsavedWork_data() {
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("answer");
    const char* actions[] = {"Beenden", "close box", "Laden", QT_TR_NOOP("Öffnen")};
    const std::pair<QMessageBox::StandardButton, const char*> answers[] = {
        {QMessageBox::Yes, "Ja"}, {QMessageBox::No, "Nein"}, {QMessageBox::Cancel, "Abbrechen"}};
    for (int a = Close; a <= Open; ++a)
      for (const auto& [button, name] : answers) QTest::addRow("%s, %s", actions[a], name) << a << int(button);
  }

  // Ja saves to zarnik.dat (nothing loaded or saved yet) and goes on, Nein goes
  // on without saving, Abbrechen stays. The question is asked first, in the
  // program's caption, with the three buttons.
  void unsavedWork() {
    QFETCH(int, action);
    QFETCH(int, answer);
    // Something to load, from before the population changed.
    const QString loadable = Population();
    QVERIFY(QFile::copy(QStringLiteral("snapshot.dat"), action == Open ? "other.dat" : "zarnik.dat"));
    W->AnnGaWorld->Generations += 5;  // trained, as far as the file can tell
    W->PopulationChanged = true;
    const QString changed = Population();

    MessageBoxHook().Answers.push_back(QMessageBox::StandardButton(answer));
    if (action == Open) FileDialogHook().Answers.push_back(QDir(Dir.path()).filePath(QStringLiteral("other.dat")));
    Do(TAction(action));

    const TMessageBoxHook& box = MessageBoxHook();
    QCOMPARE(box.Shown, 1);
    QCOMPARE(box.LastText, QString::fromUtf8("Die Population wurde geändert. Vorher speichern?"));
    QCOMPARE(box.LastCaption, QStringLiteral("Zarnik32"));
    QCOMPARE(box.LastButtons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    const bool goesOn = answer != QMessageBox::Cancel;
    const bool saved = answer == QMessageBox::Yes;
    QCOMPARE(QString::fromLatin1(Bytes(QStringLiteral("zarnik.dat")).toHex()),
             saved ? changed : action == Open ? QString() : loadable);
    if (action == Close || action == CloseBox) {
      QCOMPARE(W->isVisible(), !goesOn);
    } else {
      QCOMPARE(FileDialogHook().Shown, action == Open && goesOn ? 1 : 0);
      // Loaded: the file's population, which after Ja is the one just saved.
      QCOMPARE(Population(), !goesOn ? changed : saved && action == Load ? changed : loadable);
      QCOMPARE(W->PopulationChanged, !goesOn);
    }
  }

  // After "Öffnen..." of another file, Ja stores there; a save that fails
  // shows the designed message with that file's name and goes no further.
  void yesSavesToTheFileInUse() {
    QVERIFY(W->AnnGaWorld->DoSaveANN("other.dat"));
    FileDialogHook().Answers.push_back(QDir(Dir.path()).filePath(QStringLiteral("other.dat")));
    W->Dispatch(CM_OPENDATA);
    W->AnnGaWorld->Generations += 2;
    W->PopulationChanged = true;
    const QString changed = Population();
    MessageBoxHook().Answers.push_back(QMessageBox::Yes);
    W->Dispatch(CM_CLOSEAPP);
    QVERIFY(!W->isVisible());
    QCOMPARE(QString::fromLatin1(Bytes(QStringLiteral("other.dat")).toHex()), changed);
    QVERIFY(QFile::exists(QStringLiteral("other.csv")));
    QVERIFY(!QFile::exists(QStringLiteral("zarnik.dat")));

    W->show();
    W->PopulationChanged = true;
    MessageBoxHook() = TMessageBoxHook();
    MessageBoxHook().Answers = {QMessageBox::Yes, QMessageBox::Ok};
    {
      TFileSizeLimit limit(100000);  // the population's 199620 bytes cannot be written
      W->Dispatch(CM_CLOSEAPP);
    }
    QCOMPARE(MessageBoxHook().Shown, 2);
    QCOMPARE(MessageBoxHook().LastText, QStringLiteral("Kann Datei 'other.dat' nicht speichern!"));
    QVERIFY(W->isVisible());
    QVERIFY(W->PopulationChanged);
  }

  // Each field shows the widest text its designed format makes of the values
  // it can hold (angles and step below 360, heights 1 to 10) whole.
  void statusFieldsShowWholeTexts() {
    W->resize(W->sizeHint());
    W->Dispatch(CM_SIMAJUST);
    QCOMPARE(W->ClientSize(), QSize(756, 468));
    const QString widest[7] = {QString::fromLatin1("A:    359.9\xB0"), QString::fromLatin1("B:    359.9\xB0"),
                               QString::fromLatin1("C:    359.9\xB0"), QString::fromLatin1("D:    359.9\xB0"),
                               "E:   10", "F:   10", QString::fromLatin1("Rotation:    359.5\xB0")};
    TTextGadget* fields[7] = {W->AxleGad[0], W->AxleGad[1], W->AxleGad[2], W->AxleGad[3],
                              W->PlatGad[0], W->PlatGad[1], W->DeltaRate};
    for (int i = 0; i < 7; ++i) {
      const int needed = fields[i]->fontMetrics().horizontalAdvance(widest[i]);
      QVERIFY2(needed <= fields[i]->TextWidth(),
               qPrintable(QStringLiteral("%1 needs %2 px, has %3").arg(widest[i]).arg(needed).arg(fields[i]->TextWidth())));
      // Still not wider than that text asks for, plus a digit's room.
      QVERIFY(fields[i]->TextWidth() < needed + fields[i]->fontMetrics().horizontalAdvance('8'));
    }
    QVERIFY(W->MessageText() == "Einstellmodus");
    QVERIFY(W->StatusBar->width() >= 756);
  }

  // With Debian's qt6-translations-l10n Qt's standard buttons speak German;
  // without them loading fails quietly and they stay English.
  void qtTextsInGerman() {
    QTemporaryDir empty;
    QVERIFY(!TZarnikApplication::LoadQtTranslations(*qApp, empty.path()));
    QMessageBox english(QMessageBox::Information, "", "", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(english.button(QMessageBox::Yes)->text(), QStringLiteral("&Yes"));

    QVERIFY(TZarnikApplication::LoadQtTranslations(*qApp, QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QMessageBox box(QMessageBox::Information, "", "", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Ja"));
    QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("&Nein"));
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Abbrechen"));
  }

  // The overview lists every command that has keys, under the names of the
  // menus, and follows the menus when commands are added.
  void keyOverview() {
    W->Dispatch(CM_KEYTABLE);
    QVERIFY(W->KeyOverview != nullptr && W->KeyOverview->isVisible());
    QCOMPARE(W->KeyOverview->windowTitle(), QStringLiteral("Tastenbelegung"));
    const QTableWidget* table = W->KeyOverview->Table();
    QMap<QString, QString> lines;
    for (int row = 0; row < table->rowCount(); ++row) lines[table->item(row, 1)->text()] = table->item(row, 0)->text();
    const QString sep = QString::fromUtf8(" \u203A ");
    const QMap<QString, QString> expected = {
        {"Simulator" + sep + "Training 1", "F1"},
        {"Simulator" + sep + "Aktivieren", "F3"},
        {"Simulator" + sep + QString::fromUtf8("Zurücksetzen"), "F5"},
        {"Einstellen" + sep + "Rotation +", "+ (Ziffernblock), +"},
        {"Einstellen" + sep + "Rotation -", "- (Ziffernblock), -"},
        {"Einstellen" + sep + "Achse C", "C"},
        {"Einstellen" + sep + "Podest F", "F"},
        {"Simulator" + sep + "Netzansicht", "F8"},
        {"Simulator" + sep + "Tempo" + sep + "Pause", "P"},
        {"Simulator" + sep + "Tempo" + sep + "Einzelschritt", "S"},
    };
    for (auto it = expected.begin(); it != expected.end(); ++it) QCOMPARE(lines.value(it.key()), it.value());
    // Arrow keys as Qt names them (German once its translations are loaded).
    QVERIFY(lines.value("Einstellen" + sep + "Nach oben").startsWith("O, "));
    QVERIFY(!lines.contains("Programm" + sep + "Laden..."));  // no key, no line
    W->KeyOverview->hide();
  }

  // Beside the main window where there is room: right, then left, then below;
  // smaller, down to its minimum, where only that fits; always wholly on the screen.
  void placeBeside() {
    const QRect screen(0, 0, 1600, 1000);
    const QSize minimum(400, 300);
    QCOMPARE(PlaceBeside(QRect(100, 50, 800, 600), QSize(700, 500), minimum, screen), QRect(900, 50, 700, 500));
    QCOMPARE(PlaceBeside(QRect(700, 50, 800, 600), QSize(600, 500), minimum, screen), QRect(100, 50, 600, 500));
    QCOMPARE(PlaceBeside(QRect(500, 0, 800, 500), QSize(700, 450), minimum, screen), QRect(500, 500, 700, 450));
    // Top-aligned unless that runs off the bottom.
    QCOMPARE(PlaceBeside(QRect(100, 700, 800, 300), QSize(600, 500), minimum, screen), QRect(900, 500, 600, 500));
    // The 1600 x 1000 screen with the fitted main window and the chart: 640 pixels
    // to the right, 200 to the left, too little above and below for 460.
    QCOMPARE(PlaceBeside(QRect(200, 125, 760, 540), QSize(780, 460), minimum, screen), QRect(960, 125, 640, 460));
    // No room anywhere beside it: on screen all the same.
    QCOMPARE(PlaceBeside(QRect(100, 100, 1400, 800), QSize(700, 500), minimum, screen), QRect(900, 100, 700, 500));
  }

  // Its place and size are kept for the next start.
  void placeKeptAcrossStarts() {
    auto* first = new QWidget(nullptr, Qt::Window);
    first->resize(300, 200);
    KeepWindowPlace(first, W, QStringLiteral("Probe"));
    first->show();
    first->setGeometry(40, 30, 320, 210);
    first->hide();
    delete first;
    QWidget second(nullptr, Qt::Window);
    second.resize(100, 100);
    KeepWindowPlace(&second, W, QStringLiteral("Probe"));
    QCOMPARE(second.geometry(), QRect(40, 30, 320, 210));
  }
};

QTEST_MAIN(EverydayTest)
#include "everyday_test.moc"
