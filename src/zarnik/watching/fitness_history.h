#pragma once

#include <chrono>
#include <cstddef>
#include <vector>

#include "fitness_log.h"
#include "zarnik_host.h"

// The session's fitness history: one row per generation of training 2 and
// per pass of training 1, in the order they happened. It is kept whether or
// not the chart shows it, and stored beside the population file.
//
// A row's `seconds` count from the start of the run that made it, as in the
// headless trainer's log, so the rows of several runs read alike.
class TFitnessHistory {
 public:
  using Clock = std::chrono::steady_clock;

  // A run starts: the clock for `seconds` starts again.
  void StartRun() { RunStart = Clock::now(); }
  void Add(const TGenerationFigures& figures);
  void Clear();
  // Replaces the history by the file's. A missing or damaged file leaves it
  // empty and returns false.
  bool Load(const char* path);
  // Rows read elsewhere: all of them in place of the present ones, or more at the end.
  void Replace(const std::vector<TFitnessRow>& rows);
  void Append(const std::vector<TFitnessRow>& rows) { Rows.insert(Rows.end(), rows.begin(), rows.end()); }
  bool Save(const char* path) const { return WriteFitnessLog(path, Rows); }

  const std::vector<TFitnessRow>& Data() const { return Rows; }
  size_t Size() const { return Rows.size(); }
  // Changes whenever rows are dropped or replaced, so that a view which has
  // shown a prefix of the rows knows when it must start again.
  unsigned Epoch() const { return Replaced; }
  // Generation of the last training-1 row, or -1.
  int LastPass1() const;

 private:
  std::vector<TFitnessRow> Rows;
  Clock::time_point RunStart = Clock::now();
  unsigned Replaced = 0;
};
