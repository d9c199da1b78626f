// Pause and single step: they hold the drawn steps of activation and
// training 1, never training 2, and every stop path ends a held run at once.
// Runs start by their key; a timer that fires during the run drives each
// case as a small script and stops it by count.
#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

#include "gui_test_support.h"
#include "main_window/zarnik_window.h"
#include "progress/ann_ga_dlg.h"
#include "widgets/message_box.h"
#include "world.h"

class PauseStepTest : public QObject {
  Q_OBJECT

 private:
  TZarnikWindow* W = nullptr;
  QTemporaryDir Dir;

  // Starts a run by `key` and returns when its loop has ended. `tick` runs
  // every few milliseconds during the run; a failed check or a minute stops it.
  void Run(Qt::Key key, const std::function<void()>& tick) {
    bool timedOut = false;
    QTimer poll, watchdog;
    connect(&poll, &QTimer::timeout, this, [&] {
      if (!W->RunActive()) return;
      tick();
      if (QTest::currentTestFailed()) W->AnnGaWorld->DoBreakANN();
    });
    connect(&watchdog, &QTimer::timeout, this, [&] {
      timedOut = true;
      W->AnnGaWorld->DoBreakANN();
    });
    poll.start(2);
    watchdog.start(60000);
    Press(key);
    QVERIFY2(!timedOut, "the run did not end within a minute");
    QVERIFY(!W->RunActive());
  }

  void Press(Qt::Key key) {
    QApplication::setActiveWindow(W);
    QTest::keyClick(W, key);
  }

 private slots:
  void initTestCase() {
    QVERIFY(OpenTestWindow(W, Dir));
  }

  void cleanupTestCase() { delete W; }

  void init() {
    MessageBoxHook() = TMessageBoxHook();
    W->Dispatch(CM_SIMRESET);
    W->Dispatch(CM_TEMPMAXI);  // no tempo wait: every hold is the pause's
    if (W->Gate.Paused()) W->Dispatch(CM_PAUSE);
  }

  // Paused, activation makes its first drawn step and holds: twenty ticks
  // later it has made no other. Each "S" makes exactly one more step; "P"
  // again lets the run go on; "F3" while held ends it without another step.
  void pauseHoldsAndSingleStepMakesOne() {
    W->UpdateCommands();
    QVERIFY(W->Action(CM_PAUSE)->isEnabled());
    QVERIFY(!W->Action(CM_SINGLESTEP)->isEnabled());  // nothing to step
    Press(Qt::Key_P);
    QVERIFY(W->Gate.Paused());
    QVERIFY(W->Action(CM_PAUSE)->isChecked());

    const long long start = W->DrawnSteps;
    int phase = 0, ticks = 0;
    long long held = -1;
    Run(Qt::Key_F3, [&] {
      if (!W->Gate.Holding()) return;  // a step under way
      const long long steps = W->DrawnSteps - start;
      switch (phase) {
        case 0:  // the first drawn step, then nothing however long we look
          QCOMPARE(steps, 1LL);
          if (++ticks < 20) return;
          QCOMPARE(steps, 1LL);
          W->UpdateCommands();
          QVERIFY(W->Action(CM_SINGLESTEP)->isEnabled());
          held = steps;
          Press(Qt::Key_S);
          phase = 1;
          return;
        case 1:
        case 2:
        case 3:  // one step per press
          QCOMPARE(steps, held + 1);
          held = steps;
          if (phase < 3) Press(Qt::Key_S);
          ++phase;
          if (phase == 4) ticks = 0;
          return;
        case 4:  // held after three single steps; the stop key ends it
          QCOMPARE(steps, 4LL);
          if (++ticks < 5) return;
          Press(Qt::Key_F3);
          return;
      }
    });
    QCOMPARE(phase, 4);
    QCOMPARE(W->DrawnSteps - start, 4LL);  // no step after the stop
    QVERIFY(!W->Gate.Holding());

    // Lifted, the pause holds nothing: a run goes on until stopped by count.
    Press(Qt::Key_P);
    QVERIFY(!W->Gate.Paused());
    const long long holds = W->Gate.Holds;
    const long long before = W->DrawnSteps;
    Run(Qt::Key_F3, [&] {
      if (W->DrawnSteps - before >= 30) Press(Qt::Key_F3);
    });
    QCOMPARE(W->Gate.Holds, holds);
  }

  // While held, the progress window's stop button and a close request each
  // end the run before any further step.
  void everyStopPathEndsAHeldRun() {
    W->Dispatch(CM_PAUSE);
    long long atStop = -1;
    Run(Qt::Key_F1, [&] {  // training 1: held at its first real step
      if (!W->Gate.Holding() || atStop >= 0) return;
      QVERIFY(W->AnnGaDlg != nullptr);
      atStop = W->DrawnSteps;
      emit W->AnnGaDlg->userStop();
    });
    QCOMPARE(W->DrawnSteps, atStop);

    atStop = -1;
    MessageBoxHook().Answers = {QMessageBox::Ok};
    Run(Qt::Key_F3, [&] {
      if (!W->Gate.Holding() || atStop >= 0) return;
      atStop = W->DrawnSteps;
      W->close();  // refused while running, with the message and a stop request
    });
    QCOMPARE(W->DrawnSteps, atStop);
    QCOMPARE(MessageBoxHook().Shown, 1);
    QVERIFY(W->isVisible());
    W->Dispatch(CM_PAUSE);
  }

  // Training 2 only evaluates; the pause never holds it.
  void trainingTwoNeverHeld() {
    W->Dispatch(CM_PAUSE);
    const long long holds = W->Gate.Holds;
    const int generations = W->AnnGaWorld->Generations;
    Run(Qt::Key_F2, [&] {
      W->UpdateCommands();
      QVERIFY(!W->Action(CM_SINGLESTEP)->isEnabled());
      if (W->AnnGaWorld->Generations >= generations + 2) Press(Qt::Key_F2);
    });
    QVERIFY(W->AnnGaWorld->Generations >= generations + 2);
    QCOMPARE(W->Gate.Holds, holds);
    W->Dispatch(CM_PAUSE);
  }
};

QTEST_MAIN(PauseStepTest)
#include "pause_step_test.moc"
