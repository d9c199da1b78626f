#pragma once

// States the tests and benchmarks stage in the window without the user's
// road: a run marked active, a film without its file dialog, a clock for the
// pacer. Reaches the window as its friend, so none of it is the window's
// public face.

#include <functional>
#include <memory>

#include "main_window/zarnik_window.h"
#include "progress/ann_ga_dlg.h"
#include "watching/fitness_follower.h"
#include "watching/scene_recorder.h"

class TZarnikWindowProbe {
 public:
  explicit TZarnikWindowProbe(TZarnikWindow* window) : W(*window) {}
  explicit TZarnikWindowProbe(TZarnikWindow& window) : W(window) {}

  // The run of `command` marked active as its command leaves the window
  // before the loop (0: none), the next pump point dispatching. Ended by AnnHasFinished.
  void StageRun(int command) {
    using R = TZarnikWindow::TRun;
    W.Run = command == CM_TRAIN1AN   ? R::Train1
            : command == CM_TRAIN2AN ? R::Train2
            : command == CM_STARTANN ? R::Activation
            : command == CM_SHOWBEST ? R::Show
                                     : R::None;
    W.Pump.Reset();
  }
  // As a training command leaves the window: no selection, a fresh progress
  // window with empty texts, the history's run clock started.
  void StageProgressWindow() {
    W.Selection = 0;
    W.ProgressTexts.Clear();
    W.AnnGaDlg = new TAnnGaDlg(&W);
    W.Document.History().StartRun();
    W.Pump.Reset();
  }
  // `hook` runs after the window's own work at each dispatch of the event
  // pump; `everyChance`: a dispatch at every pump point.
  void HookDispatch(std::function<void()> hook, bool everyChance = false) {
    W.DispatchHook = std::move(hook);
    W.Pump.SetInterval(everyChance ? TEventPump::Clock::duration::zero() : TEventPump::DefaultInterval);
  }
  // Puts `recorder` in place of the film's and returns the one before.
  std::unique_ptr<TSceneRecorder> SwapRecorder(std::unique_ptr<TSceneRecorder> recorder) {
    W.Watching.Recorder.swap(recorder);
    return recorder;
  }
  // Paces the drawn steps by `clock` (null: the real one), at a screen of
  // `frameRate` frames a second, at `tempo` without storing it as the user's.
  void UsePacerClock(TPacerClock* clock) { W.Watching.Pacer.UseClock(clock); }
  void SetPacerFrameRate(double frameRate) { W.Watching.Pacer.SetFrameRate(frameRate); }
  void SetTempoUnsaved(TStepPacer::TTempo tempo) { W.Watching.Pacer.SetTempo(tempo); }
  // The turning step in degrees; set near its bounds without dozens of key presses.
  void SetTurnDegrees(float degrees) { W.Rotation = degrees; }
  // Puts the arm where the keys would take many steps to; drawn at the next command.
  void PlaceArm(const std::function<void(TArmModel&)>& place) { place(W.Arm); }
  // As a training ("changed") or a save would leave the population.
  void MarkPopulationChanged(bool changed) { W.Document.MarkChanged(changed); }
  // The population as if it came from `path` ("": zarnik.dat).
  void SetPopulationFile(const QString& path) { W.Document.SetFileName(path); }
  // A session without fitness history.
  void ClearHistory() { W.Document.History().Clear(); }
  // Reads what was appended to the followed history without waiting for its timer.
  void PollFollowedHistory() { W.HistoryFollower->Poll(); }

 private:
  TZarnikWindow& W;
};
