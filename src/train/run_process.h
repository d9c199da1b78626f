#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>

#include "train/train_options.h"

// One run of a set as a process of its own: `--run K --member` of the same
// program, its stdin our answers, its stdout its lines.
struct TRunProcess {
  pid_t pid = -1;
  int answers = -1;
  int lines = -1;
  std::string pending;  // a line not yet complete
  std::chrono::steady_clock::time_point lastLine{};
  long long workAtStart = 0;
};

// A run saves this often unless --checkpoint says otherwise: a stopped run
// loses little, and the file is written about once a second.
inline constexpr int DefaultRunCheckpoint = 25;

// This program's own path, for starting its runs.
std::string SelfPath();

// Starts run k of the set of `o` (seed firstSeed+k, up to `limit`, on
// `threads`). It stays in our process group (a kill of the group ends it
// too) and gets SIGTERM when we end, however we end, so no run of a set
// outlives the command that started it. It also inherits the lock of FILE
// (`lock`), so that no second command starts on the set while any of its
// runs lives. A place of a set spread over machines passes -1: no lock.
bool StartRunProcess(const std::string& exe, const TTrainOptions& o, uint64_t firstSeed, int k, std::optional<int> limit,
                     int threads, int lock, TRunProcess& run);

// Writes all of `text` to a run's stdin; a run that is gone tells by its end.
void WriteAll(int fd, const std::string& text);
