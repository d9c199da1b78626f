#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "chromosom.h"
#include "zarnik_host.h"

// Worker threads that play training-2 episodes side by side, one simulator
// host per worker (owned by the caller, each over its own arm). The threads
// start once with the pool; a pass hands out work through an atomic index
// and allocates nothing.
class TEvaluationPool {
 public:
  explicit TEvaluationPool(std::span<TZarnikHost* const> hosts);
  ~TEvaluationPool();
  TEvaluationPool(const TEvaluationPool&) = delete;
  TEvaluationPool& operator=(const TEvaluationPool&) = delete;

  int Workers() const { return static_cast<int>(Threads.size()); }

  // Plays the episode of every jobs[k] with first heights heights[2k],
  // heights[2k + 1] on a freshly reset worker simulator; returns when all are
  // done. Each individual is played by exactly one worker.
  void Play(TChromosom* const* jobs, const int* heights, int count);

 private:
  void Work(TZarnikHost* host);

  std::mutex Lock;
  std::condition_variable Wake, Done;
  uint64_t Round = 0;     // pass number, guarded by Lock
  int Busy = 0;           // workers still in the pass, guarded by Lock
  bool Stop = false;      // guarded by Lock
  TChromosom* const* Jobs = nullptr;
  const int* Heights = nullptr;
  int Count = 0;
  int Next = 0;           // next job, guarded by Lock
  std::vector<std::thread> Threads;
};
