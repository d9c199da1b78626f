#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "episode_batch.h"
#include "zarnik_host.h"

// Worker threads that play training-2 episodes side by side, each worker on
// its own simulator hosts (owned by the caller, each over its own arm). The
// threads start once with the pool; a pass hands out its episodes through an
// atomic index and allocates nothing. At the end of a pass, when fewer
// episodes are left than lanes are free, they go to the least busy workers,
// so that no worker plays a last full vector step alone while another idles.
class TEvaluationPool {
 public:
  // `hosts` holds `lanes` hosts for every worker, worker after worker. With
  // one lane a worker plays one episode at a time; with more it plays that
  // many side by side (TEpisodeBatch).
  explicit TEvaluationPool(std::span<TZarnikHost* const> hosts, int lanes = 1);
  ~TEvaluationPool();
  TEvaluationPool(const TEvaluationPool&) = delete;
  TEvaluationPool& operator=(const TEvaluationPool&) = delete;

  int Workers() const { return static_cast<int>(Threads.size()); }
  int Lanes() const { return LanesPerWorker; }

  // Hands out the episodes of jobs[0 .. count - 1], each on a freshly reset
  // simulator of exactly one worker, and returns at once. One worker runs
  // aside(context) first, if given.
  void Start(TEpisodeJob* jobs, int count, void (*aside)(void* context) = nullptr, void* context = nullptr);
  // True when the pass last started has ended; waits for it until `deadline`.
  bool WaitUntil(std::chrono::steady_clock::time_point deadline);
  void Wait();
  // Start, then Wait.
  void Play(TEpisodeJob* jobs, int count);
  // Runs each(context, k) for k = 0 .. count - 1, each k on exactly one
  // worker, and returns at once; wait for it as for a pass of episodes.
  void StartEach(int count, void (*each)(void* context, int k), void* context);
  // A pass is being played.
  bool Running() const;

 private:
  // The next episode for `worker`, which has `busy` episodes under way.
  TEpisodeJob* Hand(int worker, int busy);
  bool Left() const { return Next.load(std::memory_order_relaxed) < Count; }
  void Work(int worker, std::span<TZarnikHost* const> hosts);

  int LanesPerWorker = 1;
  mutable std::mutex Lock;
  std::condition_variable Wake, Done;
  uint64_t Round = 0;  // pass number, guarded by Lock
  std::atomic<uint64_t> Posted{0};  // Round as the workers may read it unlocked
  int Busy = 0;        // workers still in the pass, guarded by Lock
  bool Stop = false;   // guarded by Lock
  TEpisodeJob* Jobs = nullptr;  // written under Lock before a pass
  void (*Each)(void*, int) = nullptr;
  void* EachContext = nullptr;
  void (*Aside)(void*) = nullptr;  // run by the first worker of a pass
  void* AsideContext = nullptr;
  std::atomic<bool> AsideTaken{false};
  int Count = 0;
  std::atomic<int> Next{0};  // next job of the pass
  std::unique_ptr<std::atomic<int>[]> BusyLanes;  // per worker, as it last told
  std::vector<TZarnikHost*> Hosts;
  std::vector<std::thread> Threads;
};
