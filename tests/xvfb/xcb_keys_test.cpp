// Keys as the X server delivers them: pressed by xdotool on Xvfb with openbox,
// read by Qt's xcb platform. Offscreen key events are made by Qt itself and
// cannot show how X11 hands keypad keys to shortcuts.
#include <QApplication>
#include <QProcess>
#include <QTimer>
#include <QtTest>

#include "main_window/zarnik_window.h"
#include "progress/ann_ga_dlg.h"
#include "widgets/text_gadget.h"
#include "world.h"

class XcbKeysTest : public QObject {
  Q_OBJECT

 private:
  TZarnikWindow* W = nullptr;

  // Presses `key` (an X keysym name) in whichever window has the focus.
  static void Press(const char* key) {
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QString::fromLatin1(key)}), 0);
  }

 private slots:
  void initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    W = new TZarnikWindow;
    W->SetupWindow();
    W->show();
    W->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(W));
  }

  void cleanupTestCase() { delete W; }

  // The keypad's + and - and the main keyboard's (US layout: + is Shift+=)
  // change the turning step by half a degree; the status field follows.
  void rotationKeys() {
    W->Rotation = 6.0f;
    const struct {
      const char* key;
      float after;
    } presses[] = {{"KP_Add", 6.5f}, {"KP_Add", 7.0f}, {"KP_Subtract", 6.5f}, {"plus", 7.0f}, {"minus", 6.5f},
                   {"minus", 6.0f}};
    for (const auto& p : presses) {
      Press(p.key);
      QTRY_COMPARE_WITH_TIMEOUT(W->Rotation, p.after, 5000);
    }
    QCOMPARE(W->DeltaRate->Text(), QString::fromLatin1("Rotation:      6.0\xB0"));
  }

  // F2 starts training 2; its progress window takes the focus, and F2 pressed
  // there stops the run. A run that ends on its own before the window had the
  // focus (20 generations without improvement) is started again.
  void runKeyInTheProgressWindow() {
    bool pressed = false, timedOut = false;
    for (int attempt = 0; attempt < 5 && !pressed; ++attempt) {
      bool seenRunning = false;
      QTimer poll, watchdog;
      connect(&poll, &QTimer::timeout, this, [&] {
        seenRunning = seenRunning || W->Train2AN;
        if (!pressed && W->AnnGaDlg != nullptr && W->AnnGaDlg->isActiveWindow()) {
          pressed = true;
          Press("F2");
        }
      });
      connect(&watchdog, &QTimer::timeout, this, [&] {
        timedOut = true;
        W->AnnGaWorld->DoBreakANN();
      });
      poll.start(5);
      watchdog.start(30000);
      W->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(W));
      Press("F2");
      // The run loops inside the key's dispatch; the timer sees it run, the test's loop its end.
      QTRY_VERIFY_WITH_TIMEOUT(seenRunning && !W->Train2AN, 40000);
    }
    QVERIFY2(pressed, "the progress window never had the focus during a run");
    QVERIFY2(!timedOut, "F2 in the progress window did not stop the run");
    QVERIFY2(UserBreak, "the run ended on its own, not by F2");
  }
};

QTEST_MAIN(XcbKeysTest)
#include "xcb_keys_test.moc"
