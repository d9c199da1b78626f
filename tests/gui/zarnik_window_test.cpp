// The main window as a user meets it: menu, keys, texts, the unsaved-work question and the file commands.
#include <QAccessible>
#include <QLabel>
#include <QLibraryInfo>
#include <QSettings>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include <optional>

#include "../support/file_faults.h"
#include "gui_test_support.h"
#include "progress/many_runs_dlg.h"
#include "main_window/about_dialog.h"
#include "main_window/zarnik_application.h"
#include "widgets/text_gadget.h"
#include "widgets/window_place.h"

class ZarnikWindowTest : public QObject, TWindowFixture {
  Q_OBJECT

  void Keys(std::initializer_list<Qt::Key> keys, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    for (Qt::Key key : keys) QTest::keyClick(W, key, modifiers);
  }
  // The seven status fields, joined by '|'; '~' stands for the degree sign.
  QString Status() const {
    QStringList texts;
    for (TTextGadget* g : {W->AxleField(0), W->AxleField(1), W->AxleField(2), W->AxleField(3), W->PlatField(0),
                           W->PlatField(1), W->RotationField()})
      texts << QString(g->Text()).replace(QChar(0xB0), '~');
    return texts.join('|');
  }
  QString Path(const char* name) const { return Dir.filePath(QString::fromLatin1(name)); }

 private slots:
  void initTestCase() {
    QVERIFY(OpenTestWindow(W, Dir, TZarnikApplication::InitialFrame(QRect(0, 0, 800, 600)).size()));
  }
  void init() {
    ResetWindow(W);
    if (W->Model().OutLines) W->Dispatch(CM_OUTLINES);
    TZarnikWindowProbe(W).SetPopulationFile({});
    W->show();
    QApplication::setActiveWindow(W);
    for (const char* name : {"zarnik.dat", "zarnik.csv", "other.dat", "other.csv"}) QFile::remove(name);
  }

  // The four menus; the keyboard reaches every item one way: each letter and key leads to one item.
  void startUpAndMenuKeys() {
    QCOMPARE(W->windowTitle(), QStringLiteral("Zarnik32"));
    QStringList menus;
    for (QAction* m : W->menuBar()->actions()) menus << m->text();
    QCOMPARE(menus, QStringList({"&Programm", "&Simulator", "&Einstellen", "&?"}));
    QCOMPARE(MenuFaults(W->menuBar()), QStringList());
    QCOMPARE(W->Action(CM_TRAIN2AN)->shortcuts(), QList<QKeySequence>({QKeySequence(Qt::Key_F2)}));
  }

  // Alt+letter in "Mehrere Läufe" reaches one field or button each: the four fields, the five buttons and
  // "&Fortsetzen", the start button's text after a stop.
  void runsDialogMnemonicsUnique() {
    W->Dispatch(CM_MANYRUNS);
    QVERIFY(W->RunsDialog() != nullptr);
    const QStringList letters = Mnemonics(W->RunsDialog(), {TManyRunsDlg::tr("&Fortsetzen")});
    W->RunsDialog()->hide();
    QCOMPARE(letters.size(), 10);
    QCOMPARE(Repeated(letters), QStringList());
  }

  // Turning by key; step 0.5..359.5 by keypad +/-, each step past a bound beeps; platforms up and down.
  // Nothing moves without a selection of the right kind, nor during a run: the start-up state stays.
  void adjustingByKeyAndBounds() {
    Keys({Qt::Key_Left, Qt::Key_F, Qt::Key_Left, Qt::Key_B, Qt::Key_Up});
    TZarnikWindowProbe(W).StageRun(CM_STARTANN);
    Keys({Qt::Key_A, Qt::Key_F5});
    TZarnikWindowProbe(W).StageRun(0);
    QCOMPARE(Status(), QStringLiteral("A:     90.0~|B:     90.0~|C:    180.0~|D:    270.0~|E:    5|F:    5|"
                                      "Rotation:      6.0~"));
    QCOMPARE(W->Selected(), int('B'));
    Keys({Qt::Key_A, Qt::Key_Left});
    QCOMPARE(Status().section('|', 0, 3), QStringLiteral("A:     96.0~|B:     96.0~|C:    186.0~|D:    276.0~"));
    Keys({Qt::Key_F5, Qt::Key_D, Qt::Key_R});
    QCOMPARE(Status().section('|', 0, 3), QStringLiteral("A:     90.0~|B:     90.0~|C:    180.0~|D:    264.0~"));
    TZarnikWindowProbe(W).SetTurnDegrees(1.0f);
    Keys({Qt::Key_Minus, Qt::Key_Minus}, Qt::KeypadModifier);
    QCOMPARE(W->TurnDegrees(), 0.5f);
    TZarnikWindowProbe(W).SetTurnDegrees(359.0f);
    Keys({Qt::Key_Plus, Qt::Key_Plus}, Qt::KeypadModifier);
    QCOMPARE(Status().section('|', 6), QStringLiteral("Rotation:    359.5~"));
    Keys({Qt::Key_E, Qt::Key_Up, Qt::Key_O, Qt::Key_O, Qt::Key_F, Qt::Key_U, Qt::Key_Down});  // (bounds: the arm's test)
    QCOMPARE(Status().section('|', 4, 5), QStringLiteral("E:    8|F:    3"));
    QCOMPARE(MessageBoxHook().Beeps, 2);
  }

  // D straight down over F: turning D back by one degree sets the ball onto F.
  void placingTheBallAsks() {
    for (bool yes : {true, false}) {
      init();
      TZarnikWindowProbe(W).PlaceArm([](TArmModel& arm) {
        arm.AxleDat[3] = {680, 286 + 3 + static_cast<int>(static_cast<double>(arm.SinRad[2700]) * 67), 270.0f};
        arm.BallState = 2;
        arm.MoveState = 1;
      });
      const TArmModel& arm = W->Model();
      TZarnikWindowProbe(W).SetTurnDegrees(1.0f);
      Answer({yes ? QMessageBox::Yes : QMessageBox::No});
      Keys({Qt::Key_D, Qt::Key_R});
      const TMessageBoxHook& box = MessageBoxHook();
      QVERIFY(box.Shown == 1 && box.LastText == "Bingo!\n\nKugel wieder mitnehmen?" &&
              box.LastIcon == QMessageBox::Information && box.LastButtons == (QMessageBox::Yes | QMessageBox::No));
      // On F (y 286); Ja keeps carrying it, Nein leaves it on F.
      QCOMPARE(QList<int>({arm.BallDat.y, arm.BallState, arm.MoveState}), QList<int>({286, yes ? 2 : 1, yes ? 0 : 1}));
    }
  }

  // The selected platform or joint carries its letter in light cyan, every other one in light blue.
  void selectionDrawn() {
    const QRect E(0, 443, 101, 25), F(655, 443, 101, 25), B(353, 236, 51, 51);
    const auto has = [&](QRect r, QRgb colour) {
      for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
          if (W->Scene().pixel(x, y) == colour) return true;
      return false;
    };
    const QRgb cyan = qRgb(0, 255, 255), blue = qRgb(0, 0, 255);
    for (Qt::Key key : {Qt::Key_E, Qt::Key_F, Qt::Key_B}) {
      Keys({key});
      for (auto [letter, area] : {std::pair(Qt::Key_E, E), std::pair(Qt::Key_F, F), std::pair(Qt::Key_B, B)}) {
        QVERIFY2(has(area, cyan) == (letter == key) && has(area, blue) == (letter != key),
                 qPrintable(QString("%1 after %2").arg(letter).arg(key)));
      }
    }
  }

  // F4 toggles the outlines, also during a run. F6 fits the window to the scene; the scene's picture (".png"
  // added) has the scene's size whatever the window's. (A picture that cannot be written: the file rules' test.)
  void outlinesPictureAndFitting() {
    for (bool during : {false, true}) {  // also during a run
      TZarnikWindowProbe(W).StageRun(during ? CM_TRAIN1AN : 0);
      Keys({Qt::Key_F4});
      QCOMPARE(W->Action(CM_OUTLINES)->isChecked(), !during);
      QCOMPARE(W->Scene().pixel(378, 350) == qRgb(255, 255, 255), !during);  // middle of link A
    }
    TZarnikWindowProbe(W).StageRun(0);
    const QPoint topLeft = W->pos();
    for (QSize size : {QSize(600, 450), QSize(790, 560)}) {
      W->resize(size);
      QFile::remove(Path("szene.png"));
      Answer({}, {Path("szene")});
      W->Dispatch(CM_SAVEPICT);  // "Bild speichern...": the scene at its natural size whatever the window's
      const QImage saved(Path("szene.png"));
      QCOMPARE(saved.size(), QSize(756, 468));
      QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), W->Scene());
      QCOMPARE(MessageBoxHook().Shown, 0);
      Keys({Qt::Key_F6});
      QCOMPARE(W->ClientSize(), QSize(756, 468));
      QCOMPARE(W->pos(), topLeft);
      QVERIFY(!W->Action(CM_SIMAJUST)->isEnabled());  // only an enabled command fits
    }
  }

  // Training, even stopped at once, changes the population; Speichern stores it. Cancelled dialogs do nothing
  // (an empty name is never taken for zarnik.dat), and closing then asks nothing.
  void trainingSavingAndCancelledDialogs() {
    Run(W, Qt::Key_F2, "the first dispatch of training 2", [&](int) { Press(W, Qt::Key_F2); });
    QVERIFY(W->PopulationUnsaved());
    W->Dispatch(CM_SAVEDATA);
    QVERIFY(!W->PopulationUnsaved());
    const QByteArray stored = Bytes(QStringLiteral("zarnik.dat"));
    W->Population()->Generations += 3;
    const QByteArray changed = Snapshot(W);
    Answer({}, {QString(), QString()});
    W->Dispatch(CM_OPENDATA);
    W->Dispatch(CM_SAVEDTAS);
    QCOMPARE(FileDialogHook().LastFilter, QStringLiteral("Zarnik-Population (*.dat)"));
    QVERIFY(FileDialogHook().Shown == 2 && Snapshot(W) == changed && Bytes(QStringLiteral("zarnik.dat")) == stored);
    W->Dispatch(CM_CLOSEAPP);
    QCOMPARE(MessageBoxHook().Shown, 0);
    QVERIFY(!W->isVisible());
  }

  void unsavedWork_data() {
    QTest::addColumn<int>("trigger");  // the command, or -1: the close box
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("full");  // the disk: the population cannot be written
    const std::pair<int, const char*> triggers[] = {
        {CM_CLOSEAPP, "Beenden"}, {-1, "close box"}, {CM_LOADDATA, "Laden"}, {CM_OPENDATA, "Oeffnen"}};
    const std::pair<QMessageBox::StandardButton, const char*> answers[] = {
        {QMessageBox::Yes, "Ja"}, {QMessageBox::No, "Nein"}, {QMessageBox::Cancel, "Abbrechen"}};
    for (const auto& [trigger, what] : triggers)
      for (const auto& [button, name] : answers) QTest::addRow("%s, %s", what, name) << trigger << int(button) << false;
    QTest::addRow("Beenden, Ja, disk full") << int(CM_CLOSEAPP) << int(QMessageBox::Yes) << true;
  }

  // With other.dat in use, asked first: Ja saves to it and its history beside and goes on, Nein goes on,
  // Abbrechen stays; zarnik.dat is never written. A save that fails names the file and nothing closes.
  void unsavedWork() {
    QFETCH(int, trigger);
    QFETCH(int, answer);
    QFETCH(bool, full);
    const QByteArray loadable = Snapshot(W);  // to load, from before the change
    for (const char* name : {"zarnik.dat", "other.dat"}) QVERIFY(QFile::copy(QStringLiteral("snapshot.dat"), name));
    Answer({}, {Path("other.dat")});
    W->Dispatch(CM_OPENDATA);
    W->Population()->Generations += 5;
    TZarnikWindowProbe(W).MarkPopulationChanged(true);
    const QByteArray changed = Snapshot(W);
    Answer({QMessageBox::StandardButton(answer), QMessageBox::Ok}, {Path("other.dat")});
    {
      std::optional<TFileSizeLimit> limit;
      if (full) limit.emplace(100000);  // the population's 199620 bytes cannot be written
      if (trigger < 0) W->close();
      else W->Dispatch(trigger);
    }
    const TMessageBoxHook& box = MessageBoxHook();
    QCOMPARE(box.Shown, full ? 2 : 1);
    if (full) QCOMPARE(box.LastText, QStringLiteral("Kann Datei 'other.dat' nicht speichern!"));
    else QCOMPARE(box.LastText, QString::fromUtf8("Die Population wurde geändert. Vorher speichern?"));
    QVERIFY(full || (box.LastCaption == "Zarnik32" && box.LastButtons == (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)));
    const bool goesOn = answer != QMessageBox::Cancel && !full, saved = answer == QMessageBox::Yes && !full;
    const bool closing = trigger < 0 || trigger == CM_CLOSEAPP;
    QCOMPARE(Bytes(QStringLiteral("other.dat")), saved ? changed : loadable);
    QCOMPARE(QFile::exists(QStringLiteral("other.csv")), saved);
    QCOMPARE(Bytes(QStringLiteral("zarnik.dat")), loadable);
    QCOMPARE(W->PopulationUnsaved(), !goesOn || (!saved && closing));
    QCOMPARE(FileDialogHook().Shown, trigger == CM_OPENDATA && goesOn ? 1 : 0);
    if (closing) QCOMPARE(W->isVisible(), !goesOn);
    else QCOMPARE(Snapshot(W), !goesOn || (saved && trigger == CM_OPENDATA) ? changed : loadable);
  }

  // Pause shows in the status bar while it lasts; a screen reader reads the fields as shown. Each kind of
  // field shows whole its widest text (angles below 360, heights to 10), a digit to spare at most.
  void statusBar() {
    const auto readAloud = [](QWidget* field) {
      QAccessibleInterface* a = QAccessible::queryAccessibleInterface(field);
      return a != nullptr ? a->text(QAccessible::Name) : QStringLiteral("(nothing)");
    };
    Keys({Qt::Key_P});
    QCOMPARE(W->MessageField()->MarkNames(), QStringList{"Pause"});
    QCOMPARE(readAloud(W->MessageField()), "Einstellmodus, Pause");
    QVERIFY(W->MessageField()->fontMetrics().horizontalAdvance(W->MessageText()) <= W->MessageField()->TextWidth());
    Keys({Qt::Key_P});
    QCOMPARE(W->MessageField()->MarkNames(), QStringList());
    W->ActivationCounts({3, 2});
    QStringList read;
    for (QWidget* field : {W->AxleField(0), W->PlatField(1), W->RotationField(), W->DeliveriesField(), W->MessageField()}) read << readAloud(field);
    QCOMPARE(read.join('|'), QString::fromUtf8("A: 90.0°|F: 5|Rotation: 6.0°|Ablagen: 2|Einstellmodus"));
    W->Dispatch(CM_SIMAJUST);
    const std::pair<TTextGadget*, QString> widest[] = {{W->AxleField(0), QString::fromLatin1("A:    359.9\xB0")},
                                                       {W->PlatField(0), "E:   10"},
                                                       {W->RotationField(), QString::fromLatin1("Rotation:    359.5\xB0")}};
    for (const auto& [field, text] : widest) {
      const int needed = field->fontMetrics().horizontalAdvance(text);
      QVERIFY2(needed <= field->TextWidth() && field->TextWidth() < needed + field->fontMetrics().horizontalAdvance('8'),
               qPrintable(text));
    }
    QVERIFY(W->statusBar()->width() >= 756);
  }

  // The About box shows its lines and its OK button whole; with Debian's qt6-translations-l10n Qt's buttons
  // speak German.
  void aboutBoxAndQtButtons() {
    TAboutDlg box(W);
    box.show();
    const QPushButton* ok = box.findChild<QPushButton*>();
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QVERIFY(box.rect().contains(ok->geometry()));
    QVERIFY(ok->height() >= ok->minimumSizeHint().height() && ok->width() >= ok->minimumSizeHint().width());
    for (const QLabel* line : box.findChildren<QLabel*>())
      QVERIFY2(box.rect().contains(line->geometry()) && line->width() >= line->fontMetrics().horizontalAdvance(line->text()),
               qPrintable(line->text()));
    QVERIFY(TZarnikApplication::LoadQtTranslations(*qApp, QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QMessageBox question(QMessageBox::Information, "", "", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    const QStringList buttons{question.button(QMessageBox::Yes)->text(), question.button(QMessageBox::No)->text(),
                              question.button(QMessageBox::Cancel)->text()};
    QCOMPARE(buttons, QStringList({"&Ja", "&Nein", "Abbrechen"}));
  }

  // A frame that reaches past the screen is moved back onto it, and made smaller only if it is larger.
  void framesFitOnTheScreen() {
    const QRect screen(0, 0, 1280, 1024);
    QCOMPARE(FitInside({100, 900, 1040, 144}, screen), QRect(100, 880, 1040, 144));  // 20 px below: up by 20
    QCOMPARE(FitInside({-5, 10, 300, 200}, screen), QRect(0, 10, 300, 200));
    QCOMPARE(FitInside({900, 0, 1400, 1100}, screen), QRect(0, 0, 1280, 1024));
    QCOMPARE(FitInside({10, 10, 300, 200}, screen), QRect(10, 10, 300, 200));
  }

  // Right, left, then below the main window; smaller down to its minimum; clear of windows already open.
  void placeBeside() {
    const QRect screen(0, 0, 1600, 1000), main(100, 50, 800, 600);
    const QSize minimum(400, 300);
    QCOMPARE(PlaceBeside(main, QSize(700, 500), minimum, screen, {}), QRect(900, 50, 700, 500));
    QCOMPARE(PlaceBeside(QRect(700, 50, 800, 600), QSize(600, 500), minimum, screen, {}), QRect(100, 50, 600, 500));
    QCOMPARE(PlaceBeside(QRect(200, 125, 760, 540), QSize(780, 460), minimum, screen, {}), QRect(960, 125, 640, 460));
    QCOMPARE(PlaceBeside(main, QSize(600, 400), minimum, screen, {QRect(900, 50, 600, 400)}), QRect(900, 450, 600, 400));
    // As on a 1280x1024 screen under openbox: the chart below the centred main window, the network view
    // fits nowhere whole; it goes right of the main window, narrower and cut short above the chart, not over it.
    QCOMPARE(PlaceBeside(QRect(160, 127, 760, 540), QSize(742, 545), QSize(342, 265), QRect(0, 0, 1280, 1024),
                         {QRect(160, 667, 1022, 357)}),
             QRect(920, 127, 360, 540));
    // A window comes back where it was left, also in the next start (quitting deletes it while still shown).
    QSettings(QStringLiteral("Zarnik32"), QStringLiteral("Zarnik32")).remove(QStringLiteral("Fenster/Probe"));
    QRect left;
    {
      QWidget before;
      KeepWindowPlace(&before, W, QStringLiteral("Probe"));
      before.resize(321, 234);
      before.show();
      before.move(123, 145);  // the frame's corner
      QTRY_COMPARE(before.frameGeometry().topLeft(), QPoint(123, 145));
      left = before.geometry();
    }
    QWidget after;
    KeepWindowPlace(&after, W, QStringLiteral("Probe"));
    QCOMPARE(after.geometry(), left);
    QCOMPARE(left.size(), QSize(321, 234));
  }
};

QTEST_MAIN(ZarnikWindowTest)
#include "zarnik_window_test.moc"
