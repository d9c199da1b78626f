// The main window as a user meets it: start-up state, menu and keys, the
// enablers in each state, the adjust-mode commands, closing and the About box.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

#include "message_box.h"
#include "text_gadget.h"
#include "world.h"
#include "zarnik_application.h"
#include "zarnik_client.h"
#include "zarnik_window.h"

namespace {

QString Latin1(const char* text) { return QString::fromLatin1(text); }

}  // namespace

class ZarnikWindowTest : public QObject {
  Q_OBJECT

 private:
  TZarnikWindow* W = nullptr;

  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(W, key, modifiers);
  }
  QStringList AxleTexts() const {
    QStringList texts;
    for (TTextGadget* g : W->AxleGad) texts << g->Text();
    return texts;
  }
  bool Enabled(int id) const { return W->Action(id)->isEnabled(); }

 private slots:
  void initTestCase() {
    W = new TZarnikWindow;
    W->resize(TZarnikApplication::InitialFrame(QRect(0, 0, 800, 600)).size());
    W->SetupWindow();
    W->show();
    QApplication::setActiveWindow(W);
    QVERIFY(QTest::qWaitForWindowActive(W));
  }

  void cleanupTestCase() { delete W; }

  void init() {
    W->Arm.Train1AN = W->Arm.Train2AN = W->Arm.StartANN = false;
    W->Arm.OutLines = false;
    UserBreak = false;
    MessageBoxHook() = TMessageBoxHook();
    W->Dispatch(CM_SIMRESET);
    if (!W->isVisible()) W->show();
    QApplication::setActiveWindow(W);
  }

  void startUpState() {
    QCOMPARE(W->windowTitle(), QStringLiteral("Zarnik32"));
    QCOMPARE(W->MessageText(), QStringLiteral("Einstellmodus"));
    QCOMPARE(AxleTexts(), (QStringList{Latin1("A:     90.0\xB0"), Latin1("B:     90.0\xB0"),
                                       Latin1("C:    180.0\xB0"), Latin1("D:    270.0\xB0")}));
    QCOMPARE(W->PlatGad[0]->Text(), QStringLiteral("E:    5"));
    QCOMPARE(W->PlatGad[1]->Text(), QStringLiteral("F:    5"));
    QCOMPARE(W->DeltaRate->Text(), Latin1("Rotation:      6.0\xB0"));
    QCOMPARE(W->ClientSize(), QSize(756, 468));
    QVERIFY(!(W->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(W->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!W->windowIcon().isNull());
  }

  void statusBarFields() {
    TTextGadget* fields[7] = {W->AxleGad[0], W->AxleGad[1], W->AxleGad[2], W->AxleGad[3],
                              W->PlatGad[0], W->PlatGad[1], W->DeltaRate};
    const int chars[7] = {5, 5, 5, 5, 3, 3, 8};
    const int avg = fields[0]->fontMetrics().averageCharWidth();
    for (int i = 0; i < 7; ++i) {
      QCOMPARE(fields[i]->Id(), 513 + i);
      const int inner = fields[i]->contentsRect().width();
      QVERIFY2(inner >= chars[i] * avg && inner <= chars[i] * avg + 8, qPrintable(QString::number(i)));
      if (i > 0) {
        const int left = fields[i]->mapTo(W, QPoint(0, 0)).x();
        const int rightOfPrevious = fields[i - 1]->mapTo(W, QPoint(fields[i - 1]->width(), 0)).x();
        QCOMPARE(left - rightOfPrevious, 2);
      }
    }
    // The message field comes first and takes the rest of the bar.
    QVERIFY(W->MessageGad->mapTo(W, QPoint(0, 0)).x() < fields[0]->mapTo(W, QPoint(0, 0)).x());
    QVERIFY(W->MessageGad->width() > 200);
    // A long text keeps the field's width.
    const int width = fields[0]->width();
    fields[0]->SetText(QStringLiteral("A:  123456789012345.0"));
    QCOMPARE(fields[0]->width(), width);
  }

  void menuTree() {
    const QList<QAction*> menus = W->menuBar()->actions();
    QStringList titles;
    for (QAction* a : menus) titles << a->text();
    QCOMPARE(titles, (QStringList{"&Programm", "&Simulator", "&Einstellen", "&?"}));

    const QStringList expected[4] = {
        {"&Laden...", "&Speichern", "-", "&Beenden"},
        {"Training  &1\tF1", "Training  &2\tF2", "&Aktivieren\tF3", "-", "&Nur Umrisse\tF4", "-",
         Latin1("&Zur\xFC" "cksetzen\tF5"), "&Justieren\tF6"},
        {"Rotation\t+", "Rotation\t-", "-", "Achse\tA", "Achse\tB", "Achse\tC", "Achse\tD",
         "Nach links\tL", "Nach rechts\tR", "-", "Podest\tE", "Podest\tF", "Nach oben\tO",
         "Nach unten\tU"},
        {"&Info"}};
    for (int m = 0; m < 4; ++m) {
      QStringList items;
      for (QAction* a : menus[m]->menu()->actions()) items << (a->isSeparator() ? "-" : a->text());
      QCOMPARE(items, expected[m]);
    }

    using K = QList<QKeySequence>;
    QCOMPARE(W->Action(CM_INCANGLE)->shortcuts(), K{QKeySequence(Qt::KeypadModifier | Qt::Key_Plus)});
    QCOMPARE(W->Action(CM_DECANGLE)->shortcuts(), K{QKeySequence(Qt::KeypadModifier | Qt::Key_Minus)});
    QCOMPARE(W->Action(CM_MOVELEFT)->shortcuts(), (K{QKeySequence(Qt::Key_L), QKeySequence(Qt::Key_Left)}));
    QCOMPARE(W->Action(CM_MOVERITE)->shortcuts(), (K{QKeySequence(Qt::Key_R), QKeySequence(Qt::Key_Right)}));
    QCOMPARE(W->Action(CM_MOVECEIL)->shortcuts(), (K{QKeySequence(Qt::Key_O), QKeySequence(Qt::Key_Up)}));
    QCOMPARE(W->Action(CM_MOVEDOWN)->shortcuts(), (K{QKeySequence(Qt::Key_U), QKeySequence(Qt::Key_Down)}));
    QCOMPARE(W->Action(CM_SIMAJUST)->shortcuts(), K{QKeySequence(Qt::Key_F6)});
    for (int id : {CM_LOADDATA, CM_SAVEDATA, CM_CLOSEAPP, CM_ABOUTAPP})
      QVERIFY(W->Action(id)->shortcuts().isEmpty());
  }

  void enablersInEachState() {
    const int moving[] = {CM_MOVELEFT, CM_MOVERITE, CM_MOVECEIL, CM_MOVEDOWN};
    const int idle[] = {CM_LOADDATA, CM_SAVEDATA, CM_CLOSEAPP, CM_TRAIN1AN, CM_TRAIN2AN,
                        CM_STARTANN, CM_OUTLINES, CM_SIMRESET, CM_INCANGLE, CM_DECANGLE,
                        CM_SETAXLEA, CM_SETAXLEB, CM_SETAXLEC, CM_SETAXLED, CM_SETPLATE,
                        CM_SETPLATF, CM_ABOUTAPP};
    W->UpdateCommands();
    for (int id : idle) QVERIFY2(Enabled(id), qPrintable(QString::number(id)));
    for (int id : moving) QVERIFY(!Enabled(id));
    QVERIFY(!Enabled(CM_SIMAJUST));  // already 756 x 468

    Key(Qt::Key_F);
    QVERIFY(Enabled(CM_MOVECEIL) && Enabled(CM_MOVEDOWN));
    QVERIFY(!Enabled(CM_MOVELEFT) && !Enabled(CM_MOVERITE));
    Key(Qt::Key_B);
    QVERIFY(Enabled(CM_MOVELEFT) && Enabled(CM_MOVERITE));
    QVERIFY(!Enabled(CM_MOVECEIL) && !Enabled(CM_MOVEDOWN));

    // A run starts with nothing selected; only its own command, the outline
    // toggle and closing stay available.
    W->Arm.Selection = 0;
    W->Arm.Train2AN = true;
    W->UpdateCommands();
    for (int id : {CM_LOADDATA, CM_SAVEDATA, CM_TRAIN1AN, CM_STARTANN, CM_SIMRESET, CM_SIMAJUST,
                   CM_INCANGLE, CM_DECANGLE, CM_SETAXLEA, CM_SETAXLEB, CM_SETAXLEC, CM_SETAXLED,
                   CM_MOVELEFT, CM_MOVERITE, CM_SETPLATE, CM_SETPLATF, CM_MOVECEIL, CM_MOVEDOWN,
                   CM_ABOUTAPP})
      QVERIFY2(!Enabled(id), qPrintable(QString::number(id)));
    QVERIFY(Enabled(CM_TRAIN2AN) && W->Action(CM_TRAIN2AN)->isChecked());
    QVERIFY(!W->Action(CM_TRAIN1AN)->isChecked());
    QVERIFY(Enabled(CM_OUTLINES) && Enabled(CM_CLOSEAPP));

    // The end of a run returns to the adjust mode.
    W->SetMessageText("ANN trainiert");
    W->AnnHasFinished();
    QCOMPARE(W->MessageText(), QStringLiteral("Einstellmodus"));
    QVERIFY(!W->Arm.RunActive());
    QVERIFY(Enabled(CM_SIMRESET) && Enabled(CM_TRAIN1AN));
    QVERIFY(!W->Action(CM_TRAIN2AN)->isChecked());
  }

  void disabledCommandsIgnoreTheirKeys() {
    // Nothing selected: L does nothing.
    Key(Qt::Key_L);
    QCOMPARE(W->Arm.AxleDat[0].a, 90.0f);

    // During a run neither selecting nor resetting reacts, even when the menu
    // items were last seen enabled.
    W->Arm.StartANN = true;
    W->Arm.Rotation = 3.0f;
    Key(Qt::Key_A);
    Key(Qt::Key_F5);
    W->Dispatch(CM_SETPLATE);
    QCOMPARE(W->Arm.Selection, 0);
    QCOMPARE(W->Arm.Rotation, 3.0f);
    W->Arm.StartANN = false;
    Key(Qt::Key_F5);
    QCOMPARE(W->Arm.Rotation, 6.0f);
  }

  void turningJointsByKey() {
    Key(Qt::Key_A);
    QCOMPARE(W->Arm.Selection, int('A'));
    Key(Qt::Key_Left);
    QCOMPARE(AxleTexts(), (QStringList{Latin1("A:     96.0\xB0"), Latin1("B:     96.0\xB0"),
                                       Latin1("C:    186.0\xB0"), Latin1("D:    276.0\xB0")}));
    QCOMPARE(W->Arm.AxleDat[0].x, 353);  // A turns in place
    QCOMPARE(W->Arm.AxleDat[0].y, 417);

    Key(Qt::Key_F5);
    Key(Qt::Key_D);
    Key(Qt::Key_R);
    QCOMPARE(AxleTexts(), (QStringList{Latin1("A:     90.0\xB0"), Latin1("B:     90.0\xB0"),
                                       Latin1("C:    180.0\xB0"), Latin1("D:    264.0\xB0")}));
  }

  void rotationStepBounds() {
    Key(Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(W->Arm.Rotation, 6.5f);
    QCOMPARE(W->DeltaRate->Text(), Latin1("Rotation:      6.5\xB0"));
    Key(Qt::Key_Minus, Qt::KeypadModifier);
    Key(Qt::Key_Minus, Qt::KeypadModifier);
    QCOMPARE(W->Arm.Rotation, 5.5f);
    // The plus and minus of the main keyboard are not the keypad's.
    Key(Qt::Key_Plus);
    Key(Qt::Key_Minus);
    QCOMPARE(W->Arm.Rotation, 5.5f);

    W->Arm.Rotation = 0.5f;
    Key(Qt::Key_Minus, Qt::KeypadModifier);
    QCOMPARE(W->Arm.Rotation, 0.5f);
    QCOMPARE(MessageBoxHook().Beeps, 1);

    W->Arm.Rotation = 359.0f;
    Key(Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(W->Arm.Rotation, 359.5f);
    QCOMPARE(W->DeltaRate->Text(), Latin1("Rotation:    359.5\xB0"));
    Key(Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(W->Arm.Rotation, 359.5f);
    QCOMPARE(MessageBoxHook().Beeps, 2);
  }

  void platformHeightBounds() {
    Key(Qt::Key_E);
    for (int i = 0; i < 5; ++i) Key(Qt::Key_Up);
    QCOMPARE(W->Arm.PlatDat[0].h, 10);
    QCOMPARE(W->PlatGad[0]->Text(), QStringLiteral("E:   10"));
    QCOMPARE(MessageBoxHook().Beeps, 0);
    Key(Qt::Key_O);
    QCOMPARE(W->Arm.PlatDat[0].h, 10);
    QCOMPARE(MessageBoxHook().Beeps, 1);

    Key(Qt::Key_F);
    for (int i = 0; i < 4; ++i) Key(Qt::Key_U);
    QCOMPARE(W->Arm.PlatDat[1].h, 1);
    Key(Qt::Key_Down);
    QCOMPARE(W->Arm.PlatDat[1].h, 1);
    QCOMPARE(MessageBoxHook().Beeps, 2);
    QCOMPARE(W->PlatGad[1]->Text(), QStringLiteral("F:    1"));
  }

  void placingTheBallAsks_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes: keep carrying") << true;
    QTest::newRow("No: leave it on F") << false;
  }

  void placingTheBallAsks() {
    QFETCH(bool, yes);
    // D held straight down over platform F, so that turning D back by one
    // degree sets the ball's bottom onto F's top.
    TArmModel& arm = W->Arm;
    const int drop = static_cast<int>(static_cast<double>(arm.SinRad[2700]) * 67);
    arm.AxleDat[3] = {680, 286 + 3 + drop, 270.0f};
    arm.BallState = 2;
    arm.MoveState = 1;
    arm.Rotation = 1.0f;
    Key(Qt::Key_D);
    MessageBoxHook().Answers.push_back(yes ? QMessageBox::Yes : QMessageBox::No);
    Key(Qt::Key_R);

    QCOMPARE(MessageBoxHook().Shown, 1);
    QCOMPARE(MessageBoxHook().LastText, QStringLiteral("Bingo!\n\nKugel wieder mitnehmen?"));
    QCOMPARE(MessageBoxHook().LastCaption, QStringLiteral("Zarnik32"));
    QCOMPARE(MessageBoxHook().LastIcon, QMessageBox::Information);
    QCOMPARE(MessageBoxHook().LastButtons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(arm.BallDat.y, 286);
    QCOMPARE(arm.BallState, yes ? 2 : 1);
    QCOMPARE(arm.MoveState, yes ? 0 : 1);
  }

  void outlineToggle() {
    const QPoint barA(378, 350);  // middle of link A
    QVERIFY(W->Simulator.pixel(barA) != qRgb(255, 255, 255));
    QVERIFY(!W->Action(CM_OUTLINES)->isChecked());
    Key(Qt::Key_F4);
    QVERIFY(W->Arm.OutLines);
    QVERIFY(W->Action(CM_OUTLINES)->isChecked());
    QCOMPARE(W->Simulator.pixel(barA), qRgb(255, 255, 255));
    // Still available during a run.
    W->Arm.Train1AN = true;
    Key(Qt::Key_F4);
    QVERIFY(!W->Arm.OutLines);
    QVERIFY(!W->Action(CM_OUTLINES)->isChecked());
    QVERIFY(W->Simulator.pixel(barA) != qRgb(255, 255, 255));
  }

  void fittingTheFrame() {
    const QPoint topLeft = W->pos();
    W->resize(600, 450);
    QVERIFY(W->ClientSize() != QSize(756, 468));
    W->UpdateCommands();
    QVERIFY(Enabled(CM_SIMAJUST));
    Key(Qt::Key_F6);
    QCOMPARE(W->ClientSize(), QSize(756, 468));
    QCOMPARE(W->pos(), topLeft);
    QVERIFY(!Enabled(CM_SIMAJUST));

    // Too large: shrinks back.
    W->resize(790, 560);
    W->CmSimAjust();
    QCOMPARE(W->ClientSize(), QSize(756, 468));

    // A screen smaller than scene and frame: the fitting stops at the screen's size.
    W->resize(400, 300);
    W->FitFrameToScene(QSize(500, 400));
    QVERIFY(W->width() <= 500 && W->height() <= 400);
    QVERIFY(W->ClientSize() != QSize(756, 468));
    W->CmSimAjust();
    QCOMPARE(W->ClientSize(), QSize(756, 468));
  }

  void clientShowsThePictureScaled() {
    // Left half red, right half white: the border between them shows the scale.
    QImage picture(756, 468, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 0; y < 468; ++y)
      for (int x = 0; x < 378; ++x) picture.setPixel(x, y, qRgb(255, 0, 0));
    TZarnikClient client(nullptr, &picture);
    const int edge = client.frameWidth();
    auto shown = [&](int w, int h) {
      client.resize(w + 2 * edge, h + 2 * edge);
      return client.grab().toImage();
    };
    QImage g = shown(756, 468);
    QCOMPARE(client.ClientSize(), QSize(756, 468));
    QCOMPARE(g.pixel(edge + 377, edge + 467), qRgb(255, 0, 0));
    QCOMPARE(g.pixel(edge + 378, edge), qRgb(255, 255, 255));
    g = shown(378, 234);
    QCOMPARE(g.pixel(edge + 188, edge + 233), qRgb(255, 0, 0));
    QCOMPARE(g.pixel(edge + 189, edge), qRgb(255, 255, 255));
    g = shown(1512, 468);
    QCOMPARE(g.pixel(edge + 755, edge), qRgb(255, 0, 0));
    QCOMPARE(g.pixel(edge + 756, edge), qRgb(255, 255, 255));
  }

  void initialFrame() {
    QCOMPARE(TZarnikApplication::InitialFrame(QRect(0, 0, 1024, 712)), QRect(128, 89, 768, 534));
    QCOMPARE(TZarnikApplication::InitialFrame(QRect(0, 0, 1023, 711)), QRect(128, 89, 767, 533));
    QCOMPARE(TZarnikApplication::InitialFrame(QRect(10, 20, 1024, 712)), QRect(138, 109, 768, 534));
  }

  void aboutBox() {
    QString title;
    QStringList texts;
    QTimer::singleShot(0, this, [&] {
      QWidget* box = QApplication::activeModalWidget();
      if (box == nullptr) return;
      title = box->windowTitle();
      for (QLabel* l : box->findChildren<QLabel*>()) texts << l->text();
      for (QPushButton* b : box->findChildren<QPushButton*>())
        if (b->text() == "OK") QTest::mouseClick(b, Qt::LeftButton);
    });
    W->Dispatch(CM_ABOUTAPP);
    QCOMPARE(title, QStringLiteral("Info zu Zarnik32"));
    QVERIFY(texts.contains("Version 99.01 ( Win95/NT )"));

    // Escape closes it too.
    QTimer::singleShot(0, this, [] {
      if (QWidget* box = QApplication::activeModalWidget()) QTest::keyClick(box, Qt::Key_Escape);
    });
    W->Dispatch(CM_ABOUTAPP);
    QVERIFY(QApplication::activeModalWidget() == nullptr);

    // Greyed during a run: nothing opens.
    W->Arm.Train2AN = true;
    bool opened = false;
    QTimer::singleShot(0, this, [&] {
      if (QWidget* box = QApplication::activeModalWidget()) {
        opened = true;
        box->close();
      }
    });
    W->Dispatch(CM_ABOUTAPP);
    QCoreApplication::processEvents();
    QVERIFY(!opened);
  }

  void closingDuringARunIsRefused() {
    W->Arm.Train1AN = true;
    MessageBoxHook().Answers.push_back(QMessageBox::Ok);
    W->Dispatch(CM_CLOSEAPP);
    QVERIFY(W->isVisible());
    QVERIFY(UserBreak);
    QCOMPARE(MessageBoxHook().LastText, QStringLiteral("Bitte warten, ANN ist noch aktiv!"));
    QCOMPARE(MessageBoxHook().LastCaption, QStringLiteral("Zarnik32"));
    QCOMPARE(MessageBoxHook().LastIcon, QMessageBox::Warning);
    QCOMPARE(MessageBoxHook().LastButtons, QMessageBox::StandardButtons(QMessageBox::Ok));

    // Once the run has ended the same request closes at once, without a question.
    W->AnnHasFinished();
    W->Dispatch(CM_CLOSEAPP);
    QVERIFY(!W->isVisible());
    QCOMPARE(MessageBoxHook().Shown, 1);
  }
};

QTEST_MAIN(ZarnikWindowTest)
#include "zarnik_window_test.moc"
