#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "history/fitness_log.h"
#include "ann-ga/zarnik_host.h"

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
  // Replaces the history by the file's. A missing file leaves it empty; a
  // file that is not read whole too, and the reason is returned (else null).
  const char* Load(const char* path);
  // Appends to the file the rows it does not hold yet (all of them, unless
  // it is the file last read or written), creating it if missing; with
  // `replace` (the user agreed), writes it anew. A file that is not a
  // history read whole is never touched: the reason is returned (else null).
  // `failed`: the file could not be written.
  const char* Save(const char* path, bool replace, bool& failed);
  // Rows that the file last read holds, read again while another program
  // appends to it: all of them in place of the present ones, or more at the end.
  void Replace(const std::vector<TFitnessRow>& rows);
  void Append(const std::vector<TFitnessRow>& rows);

  const std::vector<TFitnessRow>& Data() const { return Rows; }
  size_t Size() const { return Rows.size(); }
  // Changes whenever rows are dropped or replaced, so that a view which has
  // shown a prefix of the rows knows when it must start again.
  unsigned Epoch() const { return Replaced; }
  // Generation of the last training-1 row, or -1.
  int LastPass1() const;

 private:
  std::vector<TFitnessRow> Rows;
  // The file that holds the first InFile rows, as read or written last.
  void Remember(const std::string& path);
  bool Holds(const char* path) const;
  std::string File;
  std::pair<dev_t, ino_t> FileId{};
  size_t InFile = 0;
  Clock::time_point RunStart = Clock::now();
  unsigned Replaced = 0;
};
