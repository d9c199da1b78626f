// The main window as a user meets it: start-up state, menu and keys, the
// enablers in each state, the adjust-mode commands, closing and the About box.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "widgets/message_box.h"
#include "widgets/text_gadget.h"
#include "world.h"
#include "main_window/zarnik_application.h"
#include "gui_test_support.h"
#include "main_window/zarnik_window.h"

class ZarnikWindowTest : public QObject {
  Q_OBJECT

 private:
  TZarnikWindow* W = nullptr;

  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(W, key, modifiers); }
  // The seven status fields, joined by '|'; '~' stands for the degree sign.
  QString Status() const {
    QStringList texts;
    for (TTextGadget* g : {W->AxleGad[0], W->AxleGad[1], W->AxleGad[2], W->AxleGad[3], W->PlatGad[0],
                           W->PlatGad[1], W->DeltaRate})
      texts << QString(g->Text()).replace(QChar(0xB0), '~');
    return texts.join('|');
  }
  // Every command is enabled except those in `off`.
  void ExpectDisabled(const QList<int>& off) {
    W->UpdateCommands();
    for (int id = CM_LOADDATA; id <= CM_ABOUTAPP; ++id)
      if (QAction* a = W->Action(id)) QVERIFY2(a->isEnabled() == !off.contains(id), qPrintable(QString::number(id)));
  }
 private slots:
  void initTestCase() {
    W = new TZarnikWindow;
    W->resize(TZarnikApplication::InitialFrame(QRect(0, 0, 800, 600)).size());
    W->SetupWindow();
    QVERIFY(ShowActive(W));
  }

  void cleanupTestCase() { delete W; }

  void init() {
    ResetRunFlags(W);
    W->Arm.OutLines = false;
    MessageBoxHook() = TMessageBoxHook();
    W->Dispatch(CM_SIMRESET);
    QApplication::setActiveWindow(W);
  }

  void startUpState() {
    QCOMPARE(W->windowTitle(), QStringLiteral("Zarnik32"));
    QCOMPARE(W->MessageText(), QStringLiteral("Einstellmodus"));
    QCOMPARE(Status(), QStringLiteral("A:     90.0~|B:     90.0~|C:    180.0~|D:    270.0~|E:    5|F:    5|"
                                      "Rotation:      6.0~"));
    QCOMPARE(W->ClientSize(), QSize(756, 468));
  }

  // Every menu and item as "text|keys", separators as "-".
  void menuTree() {
    const QStringList expected[4] = {
        {"&Programm", "&Laden...|", "&Speichern|", QString::fromLatin1("&\xD6" "ffnen...|"), "Speichern &unter...|", "-",
         "&Beenden|"},
        {"&Simulator", "Training  &1\tF1|F1", "Training  &2\tF2|F2", "&Aktivieren\tF3|F3", "-",
         "&Nur Umrisse\tF4|F4", "&Fitness-Verlauf\tF7|F7", "&Netzansicht\tF8|F8", "&Tempo|", "Film &aufnehmen...|", "-", QString::fromLatin1("&Zur\xFC" "cksetzen\tF5|F5"), "&Justieren\tF6|F6"},
        {"&Einstellen", "Rotation\t+|Num++; +", "Rotation\t-|Num+-; -", "-", "Achse\tA|A", "Achse\tB|B", "Achse\tC|C",
         "Achse\tD|D", "Nach links\tL|L; Left", "Nach rechts\tR|R; Right", "-", "Podest\tE|E", "Podest\tF|F",
         "Nach oben\tO|O; Up", "Nach unten\tU|U; Down"},
        {"&?", "&Info|", "&Tastenbelegung|"}};
    const QList<QAction*> menus = W->menuBar()->actions();
    QCOMPARE(menus.size(), 4);
    for (int m = 0; m < 4; ++m) {
      QStringList items{menus[m]->text()};
      for (QAction* a : menus[m]->menu()->actions())
        items << (a->isSeparator() ? "-" : a->text() + '|' + QKeySequence::listToString(a->shortcuts()));
      QCOMPARE(items, expected[m]);
    }
    // The tempo's submenu: three exclusive entries, Normal unless chosen otherwise.
    QMenu* tempo = menus[1]->menu()->actions()[7]->menu();
    QVERIFY(tempo != nullptr);
    QStringList tempos;
    for (QAction* a : tempo->actions()) tempos << (a->isSeparator() ? QString() : a->text());
    QCOMPARE(tempos, QStringList({"&Langsam", "&Normal", "&Maximal", "", "&Pause\tP", "&Einzelschritt\tS"}));
  }

  // Moving needs a selection of the right kind; disabled commands ignore their
  // keys and dispatches. (Enablers during runs: see runs_test.)
  void enablersInEachState() {
    ExpectDisabled({CM_MOVELEFT, CM_MOVERITE, CM_MOVECEIL, CM_MOVEDOWN, CM_SIMAJUST});
    Key(Qt::Key_F);
    ExpectDisabled({CM_MOVELEFT, CM_MOVERITE, CM_SIMAJUST});
    Key(Qt::Key_B);
    ExpectDisabled({CM_MOVECEIL, CM_MOVEDOWN, CM_SIMAJUST});

    W->StartANN = true;  // a run: selecting and resetting by key or dispatch do nothing
    W->Rotation = 3.0f;
    Key(Qt::Key_A);
    W->Dispatch(CM_SIMRESET);
    QVERIFY(W->Selection == 'B' && W->Rotation == 3.0f);
  }

  void turningJointsByKey() {
    Key(Qt::Key_A);
    Key(Qt::Key_Left);
    QCOMPARE(Status().section('|', 0, 3), QStringLiteral("A:     96.0~|B:     96.0~|C:    186.0~|D:    276.0~"));
    Key(Qt::Key_F5);
    Key(Qt::Key_D);
    Key(Qt::Key_R);
    QCOMPARE(Status().section('|', 0, 3), QStringLiteral("A:     90.0~|B:     90.0~|C:    180.0~|D:    264.0~"));
  }

  // Rotation step 0.5..359.5 by the keypad's + and -, platforms 1..10; each
  // of the four steps past a bound beeps and changes nothing.
  void boundsBeep() {
    W->Rotation = 1.0f;
    for (int i = 0; i < 2; ++i) Key(Qt::Key_Minus, Qt::KeypadModifier);
    QCOMPARE(W->Rotation, 0.5f);
    W->Rotation = 359.0f;
    for (int i = 0; i < 2; ++i) Key(Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(Status().section('|', 6), QStringLiteral("Rotation:    359.5~"));
    for (Qt::Key k : {Qt::Key_E, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_O,
                      Qt::Key_F, Qt::Key_U, Qt::Key_U, Qt::Key_U, Qt::Key_U, Qt::Key_Down})
      Key(k);
    QCOMPARE(Status().section('|', 4, 5), QStringLiteral("E:   10|F:    1"));
    QCOMPARE(MessageBoxHook().Beeps, 4);
  }

  // D straight down over F, so that turning D back by one degree sets the ball onto F.
  void placingTheBallAsks() {
    for (bool yes : {true, false}) {
      init();
      TArmModel& arm = W->Arm;
      arm.AxleDat[3] = {680, 286 + 3 + static_cast<int>(static_cast<double>(arm.SinRad[2700]) * 67), 270.0f};
      arm.BallState = 2;
      arm.MoveState = 1;
      W->Rotation = 1.0f;
      Key(Qt::Key_D);
      MessageBoxHook().Answers.push_back(yes ? QMessageBox::Yes : QMessageBox::No);
      Key(Qt::Key_R);
      const TMessageBoxHook& box = MessageBoxHook();
      QVERIFY(box.Shown == 1 && box.LastText == "Bingo!\n\nKugel wieder mitnehmen?" && box.LastCaption == "Zarnik32" &&
              box.LastIcon == QMessageBox::Information && box.LastButtons == (QMessageBox::Yes | QMessageBox::No));
      QCOMPARE(arm.BallDat.y, 286);
      QCOMPARE(arm.BallState, yes ? 2 : 1);  // Yes: keep carrying; No: leave it on F
      QCOMPARE(arm.MoveState, yes ? 0 : 1);
    }
  }

  void outlineToggle() {
    const QPoint barA(378, 350);  // middle of link A
    for (bool during : {false, true}) {  // also during a run
      W->Train1AN = during;
      Key(Qt::Key_F4);
      QCOMPARE(W->Action(CM_OUTLINES)->isChecked(), !during);
      QCOMPARE(W->Simulator.pixel(barA) == qRgb(255, 255, 255), !during);
    }
  }

  void fittingTheFrame() {
    const QPoint topLeft = W->pos();
    for (QSize size : {QSize(600, 450), QSize(790, 560)}) {
      W->resize(size);
      Key(Qt::Key_F6);  // only an enabled command fits
      QCOMPARE(W->ClientSize(), QSize(756, 468));
      QCOMPARE(W->pos(), topLeft);
      QVERIFY(!W->Action(CM_SIMAJUST)->isEnabled());
    }
    // A screen smaller than scene and frame: the fitting stops at the screen's size.
    W->resize(400, 300);
    W->FitFrameToScene(QSize(500, 400));
    QVERIFY(W->width() <= 500 && W->height() <= 400);
  }

  void aboutBox() {
    QString title;
    QStringList texts;
    // Answers the box once it is up; after ten seconds it closes whatever is
    // modal, so the test fails instead of waiting for ever.
    QTimer poll;
    int polls = 0;
    connect(&poll, &QTimer::timeout, this, [&] {
      if (++polls > 1000) {
        for (QWidget* w : QApplication::topLevelWidgets())
          if (w->isModal() && w->isVisible()) w->close();
        return;
      }
      QWidget* box = QApplication::activeModalWidget();
      if (box == nullptr) return;
      title = box->windowTitle();
      for (QLabel* l : box->findChildren<QLabel*>()) texts << l->text();
      for (QPushButton* b : box->findChildren<QPushButton*>())
        if (b->text() == "OK") QTest::mouseClick(b, Qt::LeftButton);
    });
    poll.start(10);
    W->Dispatch(CM_ABOUTAPP);  // returns once OK has closed the box
    QVERIFY2(polls <= 1000, "the About box had no OK that closed it");
    QCOMPARE(title, QStringLiteral("Info zu Zarnik32"));
    QVERIFY(texts.contains("Version 99.01 ( Win95/NT )"));
  }

  // Closing when idle: at once, without a question (refused during a run: see runs_test).
  void closingWhenIdle() {
    W->Dispatch(CM_CLOSEAPP);
    QVERIFY(!W->isVisible());
    QCOMPARE(MessageBoxHook().Shown, 0);
  }
};

QTEST_MAIN(ZarnikWindowTest)
#include "zarnik_window_test.moc"
