#pragma once

// The pacer of drawn steps: the tempi "Langsam", "Normal" and "Maximal".

#include <QTimer>

#include <chrono>
#include <functional>

// Where the pacer's time comes from and how it lets time pass. The program
// uses the steady clock and the event loop; tests give a clock of their own,
// so a tempo test checks the schedule and not the machine's speed.
class TPacerClock {
 public:
  using Clock = std::chrono::steady_clock;
  virtual Clock::time_point Now() = 0;
  // Lets waiting events through, and sleeps until one comes or `until` is
  // reached, whichever is first.
  virtual void LetEventsThrough(Clock::time_point until) = 0;

 protected:
  ~TPacerClock() = default;
};

// The steady clock, with a timer that wakes the event wait when a step is due.
class TRealPacerClock final : public TPacerClock {
 public:
  TRealPacerClock();
  Clock::time_point Now() override { return Clock::now(); }
  void LetEventsThrough(Clock::time_point until) override;
  void Done() { Wake.stop(); }

 private:
  QTimer Wake;
};

// Holds the drawn steps of a run to a tempo a person can follow. After each
// drawn step the run waits until the next step is due, dispatching events
// meanwhile, so painting goes on and a stop request ends the wait at once.
class TStepPacer {
 public:
  using Clock = TPacerClock::Clock;
  enum TTempo { Slow, Normal, Maximal };
  static constexpr double SlowRate = 15.0;       // drawn steps a second
  static constexpr double FallbackFrameRate = 60.0;

  void SetTempo(TTempo tempo) { Current = tempo; }
  TTempo Tempo() const { return Current; }
  // Normal makes one drawn step per display frame; a rate the screen does not
  // report sensibly gives the fallback.
  void SetFrameRate(double hz);
  // Time from one drawn step to the next; zero for Maximal.
  Clock::duration Interval() const;
  // The clock to wait by; nullptr goes back to the real one.
  void UseClock(TPacerClock* clock) { Time = clock ? clock : &Real; }

  // A run starts: its first drawn step sets the beat.
  void Reset() { Due = {}; }
  // After a drawn step. Calls `dispatch` once (buffered texts and figures to
  // their widgets), then lets events through until the next step is due or
  // `stopped` is true. Does nothing at Maximal.
  void Wait(const std::function<void()>& dispatch, const std::function<bool()>& stopped);

  bool Waiting() const { return InWait; }
  // When the step being waited for (or the last one) is due.
  Clock::time_point NextDue() const { return Due; }
  long long Waits = 0;  // waits begun, for tests

 private:
  TTempo Current = Normal;
  double Frames = FallbackFrameRate;
  Clock::time_point Due{};
  TRealPacerClock Real;
  TPacerClock* Time = &Real;
  bool InWait = false;
};

// The tempo the user chose last, kept across starts in the user's settings;
// Normal if none was chosen yet.
TStepPacer::TTempo SavedTempo();
void SaveTempo(TStepPacer::TTempo tempo);
