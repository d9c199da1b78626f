#include "evaluation/evaluation_pool.h"

#include <algorithm>

TEvaluationPool::TEvaluationPool(std::span<TSimulator* const> sims, int lanes)
    : LanesPerWorker(std::clamp(lanes, 1, std::clamp(static_cast<int>(sims.size()), 1, LaneCount))),
      Sims(sims.begin(), sims.end()) {
  const size_t workers = Sims.size() / LanesPerWorker;
  BusyLanes = std::make_unique<std::atomic<int>[]>(workers);
  Threads.reserve(workers);
  for (size_t w = 0; w < workers; ++w) {
    const std::span<TSimulator* const> own(Sims.data() + w * LanesPerWorker, LanesPerWorker);
    Threads.emplace_back([this, w, own] { Work(static_cast<int>(w), own); });
  }
}

TEvaluationPool::~TEvaluationPool() {
  {
    std::lock_guard<std::mutex> guard(Lock);
    Stop = true;
  }
  Wake.notify_all();
  for (std::thread& t : Threads) t.join();
}

void TEvaluationPool::EnqueueEpisodes(TEpisodeJob* jobs, int count, void (*aside)(void*), void* context) {
  {
    std::lock_guard<std::mutex> guard(Lock);
    Jobs = jobs;
    Each = nullptr;
    Aside = aside;
    AsideContext = context;
    AsideTaken.store(false, std::memory_order_relaxed);
    Count = count;
    Next.store(0, std::memory_order_relaxed);
    for (size_t w = 0; w < Threads.size(); ++w) BusyLanes[w].store(0, std::memory_order_relaxed);
    Busy = static_cast<int>(Threads.size());
    Posted.store(++Round, std::memory_order_release);
  }
  Wake.notify_all();
}

void TEvaluationPool::EnqueueTask(void (*task)(void* context, int k), int count, void* context) {
  {
    std::lock_guard<std::mutex> guard(Lock);
    Jobs = nullptr;
    Each = task;
    EachContext = context;
    Aside = nullptr;
    Count = count;
    Next.store(0, std::memory_order_relaxed);
    Busy = static_cast<int>(Threads.size());
    Posted.store(++Round, std::memory_order_release);
  }
  Wake.notify_all();
}

bool TEvaluationPool::FinishTaskUntil(std::chrono::steady_clock::time_point deadline) {
  std::unique_lock<std::mutex> guard(Lock);
  return Done.wait_until(guard, deadline, [this] { return Busy == 0; });
}

void TEvaluationPool::FinishTask() {
  std::unique_lock<std::mutex> guard(Lock);
  Done.wait(guard, [this] { return Busy == 0; });
}

bool TEvaluationPool::Running() const {
  std::lock_guard<std::mutex> guard(Lock);
  return Busy > 0;
}

TEpisodeJob* TEvaluationPool::Hand(int worker, int busy) {
  // Jobs and Count were written before the round that brought the worker here.
  const int next = Next.load(std::memory_order_relaxed);
  if (next >= Count) return nullptr;
  BusyLanes[worker].store(busy, std::memory_order_relaxed);
  const int workers = static_cast<int>(Threads.size()), left = Count - next;
  if (busy > 0 && workers > 1 && left < workers * LanesPerWorker) {
    // Fewer episodes than free lanes: a worker takes no more than its share
    // of what is under way and left. One with nothing under way always takes,
    // so every episode is played. The counts may be a step old; that only
    // moves an episode to another worker.
    int total = 0;
    for (int w = 0; w < workers; ++w) total += BusyLanes[w].load(std::memory_order_relaxed);
    if (busy + 1 > (total + left + workers - 1) / workers) return nullptr;
  }
  const int k = Next.fetch_add(1, std::memory_order_relaxed);
  if (k >= Count) return nullptr;
  BusyLanes[worker].store(busy + 1, std::memory_order_relaxed);
  return &Jobs[k];
}

void TEvaluationPool::Work(int worker, std::span<TSimulator* const> sims) {
  // This worker's view of the pass's episodes.
  struct TShare final : TEpisodeSource {
    TEvaluationPool* Pool;
    int Worker;
    TShare(TEvaluationPool* pool, int w) : Pool(pool), Worker(w) {}
    TEpisodeJob* Take() override { return Pool->Hand(Worker, 0); }
    TEpisodeJob* TakeFor(int busyLanes) override { return Pool->Hand(Worker, busyLanes); }
    bool Withheld() const override { return Pool->Left(); }
  } share(this, worker);
  std::unique_ptr<TEpisodeBatch> batch;
  if (sims.size() > 1) batch = std::make_unique<TEpisodeBatch>(sims);
  uint64_t seen = 0;
  std::unique_lock<std::mutex> guard(Lock);
  for (;;) {
    if (!Stop) {
      // Within a run the next round follows after the generation's serial
      // part, a fraction of a millisecond: waiting for it awake, giving the
      // processor to anyone who wants it, spares the wake-up of a sleeping
      // processor, which on a virtual machine can take longer than that part.
      guard.unlock();
      const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(2);
      while (Posted.load(std::memory_order_acquire) == seen && std::chrono::steady_clock::now() < until)
        std::this_thread::yield();
      guard.lock();
    }
    Wake.wait(guard, [&] { return Stop || Round != seen; });
    if (Stop) return;
    seen = Round;
    void (*const each)(void*, int) = Each;
    void* const context = EachContext;
    void (*const aside)(void*) = Aside;
    void* const asideContext = AsideContext;
    guard.unlock();
    if (aside != nullptr && !AsideTaken.exchange(true, std::memory_order_relaxed)) aside(asideContext);
    if (each != nullptr) {
      for (int k; (k = Next.fetch_add(1, std::memory_order_relaxed)) < Count;) each(context, k);
    } else if (batch) {
      batch->Play(share);
    } else {
      while (TEpisodeJob* job = share.Take()) {
        sims[0]->ResetSimulator();
        job->LastTargetX = job->Individual->playLaneEpisode2(*sims[0], job->HeightE, job->HeightF);
      }
    }
    guard.lock();
    if (--Busy == 0) Done.notify_all();
  }
}
