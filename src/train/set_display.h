#pragma once

#include <chrono>
#include <cstdint>
#include <map>

#include "runs/run_set.h"
#include "train/run_process.h"
#include "train/train_options.h"

// What a set shows while it runs: without --progress one line on stderr,
// refreshed on a terminal (otherwise every 10 seconds), and a line for every
// run that starts, is given up, meets the goal or fails; with --progress the
// machine-readable lines on stdout.
class TSetDisplay {
 public:
  using TClock = std::chrono::steady_clock;
  TSetDisplay(const TTrainOptions& o, uint64_t firstSeed);

  // Something happened to run r (with --progress: its machine line).
  void Event(const TSetRun& r, const char* text);
  // Run r began from a copy of another run (with --progress its origin line).
  void Began(const TSetRun& r);
  // Run r trained on: with --progress its machine line, at most once a second (`last`).
  void RunProgressed(const TSetRun& r, TClock::time_point& last);
  // The one line of every living run, the elapsed and the remaining time.
  void Line(const TRunSet& set, const std::map<int, TRunProcess>& processes, bool force);
  void ClearLine();

 private:
  void Machine(const TSetRun& r);

  const TTrainOptions& Options;
  uint64_t FirstSeed;
  bool Tty, Pending = false;
  TClock::time_point Start, LastShown{};
};
