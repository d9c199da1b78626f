#pragma once

#include <QTimer>

#include <chrono>
#include <functional>

// Holds the drawn steps of a run to a tempo a person can follow. After each
// drawn step the run waits until the next step is due, dispatching events
// meanwhile, so painting goes on and a stop request ends the wait at once.
class TStepPacer {
 public:
  using Clock = std::chrono::steady_clock;
  enum TTempo { Slow, Normal, Maximal };
  static constexpr double SlowRate = 15.0;       // drawn steps a second
  static constexpr double FallbackFrameRate = 60.0;

  TStepPacer();

  void SetTempo(TTempo tempo) { Current = tempo; }
  TTempo Tempo() const { return Current; }
  // Normal makes one drawn step per display frame; a rate the screen does not
  // report sensibly gives the fallback.
  void SetFrameRate(double hz);
  double FrameRate() const { return Frames; }
  // Time from one drawn step to the next; zero for Maximal.
  Clock::duration Interval() const;

  // A run starts: its first drawn step sets the beat.
  void Reset() { Due = {}; }
  // After a drawn step. Calls `dispatch` once (buffered texts and figures to
  // their widgets), then lets events through until the next step is due or
  // `stopped` is true. Does nothing at Maximal.
  void Wait(const std::function<void()>& dispatch, const std::function<bool()>& stopped);

  bool Waiting() const { return InWait; }
  long long Waits = 0;  // waits begun, for tests

 private:
  TTempo Current = Normal;
  double Frames = FallbackFrameRate;
  Clock::time_point Due{};
  QTimer Wake;  // wakes the event wait when the step is due
  bool InWait = false;
};

// The tempo the user chose last, kept across starts in the user's settings;
// Normal if none was chosen yet.
TStepPacer::TTempo SavedTempo();
void SaveTempo(TStepPacer::TTempo tempo);
