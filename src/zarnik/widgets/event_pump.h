#pragma once

#include <array>
#include <bitset>
#include <chrono>
#include <functional>

// Lets Qt dispatch waiting events from inside the training loops. Training
// reaches a pump point some 51,000 times a generation and one dispatch costs
// microseconds even with an empty queue, so the clock decides: events are
// dispatched when the interval has passed since the last dispatch, which keeps
// painting and the stop button live at a fraction of the cost.
class TEventPump {
 public:
  using Clock = std::chrono::steady_clock;

  static constexpr Clock::duration DefaultInterval = std::chrono::milliseconds(40);

  explicit TEventPump(Clock::duration interval = DefaultInterval)
      : Interval(interval) {}

  // Called before each dispatch, e.g. to hand buffered texts to their widgets.
  std::function<void()> BeforeDispatch;

  // True when it dispatched.
  bool Pump() {
    if (++Calls < Stride) return false;  // the clock itself costs ~20 ns
    Calls = 0;
    if (Clock::now() < Next) return false;
    Dispatch();
    return true;
  }
  // Dispatches now, whatever the clock says.
  void Dispatch();
  // The next Pump dispatches (at a run's start, so its window shows at once).
  void Reset() {
    Calls = Stride - 1;
    Next = Clock::time_point{};
  }
  // The next Pump looks at the clock. For slow work between two pump points,
  // such as a drawn step, where waiting for the 32nd call would take too long.
  void CheckClockNext() { Calls = Stride - 1; }
  // When the next dispatch is due, for a thread that waits in between.
  Clock::time_point Due() const { return Next; }
  void SetInterval(Clock::duration interval) { Interval = interval; }

  long long Dispatches = 0;

 private:
  static constexpr unsigned Stride = 32;
  Clock::duration Interval;
  Clock::time_point Next{};
  unsigned Calls = 0;
};

// The progress window's texts as the training code writes them, kept until
// the next dispatch: a text written a hundred times between two paints reaches
// its label once.
class TProgressTexts {
 public:
  static constexpr int FirstId = 300, LastId = 364;

  void Set(int id, const char* text);
  // The text last set for `id`, "" if none.
  const char* Text(int id) const;
  // Calls `apply(id, text)` for every text changed since the last flush.
  void Flush(const std::function<void(int, const char*)>& apply);
  void Clear();

 private:
  std::array<std::array<char, 64>, LastId - FirstId + 1> Texts{};
  std::bitset<LastId - FirstId + 1> Dirty;
};
