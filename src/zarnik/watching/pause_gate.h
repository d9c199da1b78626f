#pragma once

#include <functional>

// Holds a run after its drawn steps while paused. Each single step lets
// exactly one more drawn step through. Events are dispatched while holding,
// so painting, the menu and every stop request stay live.
class TPauseGate {
 public:
  void SetPaused(bool paused);
  bool Paused() const { return IsPaused; }
  // Lets one more drawn step through; only while paused.
  void Step();

  // After a drawn step. Returns at once unless paused; otherwise calls
  // `dispatch` once and lets events through until a single step is granted,
  // the pause is lifted or `stopped` is true.
  void Wait(const std::function<void()>& dispatch, const std::function<bool()>& stopped);

  bool Holding() const { return InWait; }
  long long Holds = 0;  // waits that held the run, for tests

 private:
  bool IsPaused = false;
  int Granted = 0;  // single steps asked for and not yet made
  bool InWait = false;
};
