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

#include "evaluation/episode_batch.h"
#include "ann-ga/simulator.h"
#include "ann-ga/task_runner.h"

// Worker threads that run the population's parallel work: the training-2
// episodes of a pass, each worker on its own simulators (owned by the caller,
// each over its own arm), and the per-individual part of a mutation. The
// threads start once with the pool; a pass hands out its episodes through an
// atomic index and allocates nothing. At the end of a pass, when fewer
// episodes are left than lanes are free, they go to the least busy workers,
// so that no worker plays a last full vector step alone while another idles.
class TEvaluationPool final : public TTaskRunner {
 public:
  // `sims` holds `lanes` simulators for every worker, worker after worker.
  // With one lane a worker plays one episode at a time; with more it plays
  // that many side by side (TEpisodeBatch).
  explicit TEvaluationPool(std::span<TSimulator* const> sims, int lanes = 1);
  ~TEvaluationPool();
  TEvaluationPool(const TEvaluationPool&) = delete;
  TEvaluationPool& operator=(const TEvaluationPool&) = delete;

  int Workers() const { return static_cast<int>(Threads.size()); }
  int Lanes() const { return LanesPerWorker; }

  // Hands out the episodes of jobs[0 .. count - 1], each on a freshly reset
  // simulator of exactly one worker, and returns at once. One worker runs
  // aside(context) first, if given.
  void EnqueueEpisodes(TEpisodeJob* jobs, int count, void (*aside)(void* context) = nullptr,
                       void* context = nullptr) override;
  // Runs task(context, k) for k = 0 .. count - 1, each k on exactly one
  // worker, and returns at once.
  void EnqueueTask(void (*task)(void* context, int k), int count, void* context) override;
  // True when the work enqueued last has ended; waits for it until `deadline`.
  bool FinishTaskUntil(std::chrono::steady_clock::time_point deadline) override;
  void FinishTask() override;
  // A pass is being played.
  bool Running() const override;

 private:
  // The next episode for `worker`, which has `busy` episodes under way.
  TEpisodeJob* Hand(int worker, int busy);
  bool Left() const { return Next.load(std::memory_order_relaxed) < Count; }
  void Work(int worker, std::span<TSimulator* const> sims);

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
  std::vector<TSimulator*> Sims;
  std::vector<std::thread> Threads;
};
