#include "watching/pause_gate.h"

#include <QCoreApplication>
#include <QEventLoop>

void TPauseGate::SetPaused(bool paused) {
  IsPaused = paused;
  Granted = 0;  // a step asked for before the pause was lifted is not kept for the next one
}

void TPauseGate::Step() {
  if (IsPaused) ++Granted;
}

void TPauseGate::Wait(const std::function<void()>& dispatch, const std::function<bool()>& stopped) {
  if (!IsPaused) return;
  if (Granted > 0) {  // asked for while the last step was under way
    --Granted;
    return;
  }
  InWait = true;
  ++Holds;
  dispatch();
  // Every change that ends the hold (a single step, the pause lifted, a stop)
  // comes from an event handled in here; the loop looks again after each.
  while (IsPaused && Granted == 0 && !stopped())
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  if (Granted > 0) --Granted;
  InWait = false;
}
