// The three runs: training 1, training 2 and activation, and their stop.
#include <QScreen>

#include "main_window/zarnik_window.h"
#include "progress/ann_ga_dlg.h"
#include "arm/string_table.h"
#include "ann-ga/world.h"

// --- Simulator: runs ------------------------------------------------------------
// Each run command stays enabled during its own run, so choosing it again stops it.

void TZarnikWindow::RunCommand(TRun run, unsigned statusText, bool progressWindow, void (TWorld::*loop)()) {
  if (Run == run) {
    Population()->DoBreakANN();
    return;
  }
  Selection = 0;
  Run = run;
  GetStr(statusText, Arm.Buffer, sizeof Arm.Buffer);
  SetMessageText(Arm.Buffer);
  RepaintStatusBar();
  if (progressWindow) {
    // A fresh window and a fresh buffer: nothing of an earlier run shows.
    ProgressTexts.Clear();
    AnnGaDlg = new TAnnGaDlg(this);
    connect(AnnGaDlg, &TAnnGaDlg::userStop, this, [this] { Dispatch(CM_USERSTOP); });
    ShareRunKeys(AnnGaDlg);  // it takes the focus: its own key stops the run from there
  }
  UpdateCommands();
  Document.History().StartRun();
  Watching.StartRun(screen() != nullptr ? screen()->refreshRate() : 0.0);
  Pump.Reset();  // the first pump point paints the new state
  (Population()->*loop)();  // ends with AnnHasFinished
  if (progressWindow) Document.MarkChanged(true);  // trained: closing and loading ask first
}

void TZarnikWindow::CmTrain1AN() {
  RunCommand(TRun::Train1, IDS_TRAINING, true, &TWorld::DoTrainANN1);
}

void TZarnikWindow::CeTrain1AN(TCommandEnabler& ce) {
  ce.Enable(!OtherRunActive(TRun::Train1));
  ce.SetCheck(Train1AN());
}

void TZarnikWindow::CmTrain2AN() {
  RunCommand(TRun::Train2, IDS_TRAINING, true, &TWorld::DoTrainANN2);
}

void TZarnikWindow::CeTrain2AN(TCommandEnabler& ce) {
  ce.Enable(!OtherRunActive(TRun::Train2));
  ce.SetCheck(Train2AN());
}

void TZarnikWindow::CmStartANN() {
  RunCommand(TRun::Activation, IDS_ACTIVATED, false, &TWorld::DoStartANN);
}

void TZarnikWindow::CeStartANN(TCommandEnabler& ce) {
  ce.Enable(!OtherRunActive(TRun::Activation));
  ce.SetCheck(StartANN());
}

void TZarnikWindow::ShareRunKeys(QWidget* window) {
  for (int id : {CM_TRAIN1AN, CM_TRAIN2AN, CM_STARTANN, CM_SHOWBEST}) window->addAction(Action(id));
}

void TZarnikWindow::EvUserStop() { Population()->DoBreakANN(); }
