#include "evaluation_pool.h"

#include <algorithm>

TEvaluationPool::TEvaluationPool(std::span<TZarnikHost* const> hosts, int lanes)
    : LanesPerWorker(std::clamp(lanes, 1, std::clamp(static_cast<int>(hosts.size()), 1, LaneCount))),
      Hosts(hosts.begin(), hosts.end()) {
  const size_t workers = Hosts.size() / LanesPerWorker;
  Threads.reserve(workers);
  for (size_t w = 0; w < workers; ++w) {
    const std::span<TZarnikHost* const> own(Hosts.data() + w * LanesPerWorker, LanesPerWorker);
    Threads.emplace_back([this, own] { Work(own); });
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

void TEvaluationPool::Start(TEpisodeJob* jobs, int count) {
  {
    std::lock_guard<std::mutex> guard(Lock);
    Jobs = jobs;
    Each = nullptr;
    Count = count;
    Next.store(0, std::memory_order_relaxed);
    Busy = static_cast<int>(Threads.size());
    ++Round;
  }
  Wake.notify_all();
}

void TEvaluationPool::StartEach(int count, void (*each)(void* context, int k), void* context) {
  {
    std::lock_guard<std::mutex> guard(Lock);
    Jobs = nullptr;
    Each = each;
    EachContext = context;
    Count = count;
    Next.store(0, std::memory_order_relaxed);
    Busy = static_cast<int>(Threads.size());
    ++Round;
  }
  Wake.notify_all();
}

bool TEvaluationPool::WaitUntil(std::chrono::steady_clock::time_point deadline) {
  std::unique_lock<std::mutex> guard(Lock);
  return Done.wait_until(guard, deadline, [this] { return Busy == 0; });
}

void TEvaluationPool::Wait() {
  std::unique_lock<std::mutex> guard(Lock);
  Done.wait(guard, [this] { return Busy == 0; });
}

void TEvaluationPool::Play(TEpisodeJob* jobs, int count) {
  Start(jobs, count);
  Wait();
}

bool TEvaluationPool::Running() const {
  std::lock_guard<std::mutex> guard(Lock);
  return Busy > 0;
}

TEpisodeJob* TEvaluationPool::Take() {
  // Jobs and Count were written before the round that brought the worker here.
  const int k = Next.fetch_add(1, std::memory_order_relaxed);
  return k < Count ? &Jobs[k] : nullptr;
}

void TEvaluationPool::Work(std::span<TZarnikHost* const> hosts) {
  std::unique_ptr<TEpisodeBatch> batch;
  if (hosts.size() > 1) batch = std::make_unique<TEpisodeBatch>(hosts);
  uint64_t seen = 0;
  std::unique_lock<std::mutex> guard(Lock);
  for (;;) {
    Wake.wait(guard, [&] { return Stop || Round != seen; });
    if (Stop) return;
    seen = Round;
    void (*const each)(void*, int) = Each;
    void* const context = EachContext;
    guard.unlock();
    if (each != nullptr) {
      for (int k; (k = Next.fetch_add(1, std::memory_order_relaxed)) < Count;) each(context, k);
    } else if (batch) {
      batch->Play(*this);
    } else {
      while (TEpisodeJob* job = Take()) {
        hosts[0]->ResetSimulator();
        job->LastTargetX = job->Individual->playEpisode2(*hosts[0], job->HeightE, job->HeightF);
      }
    }
    guard.lock();
    if (--Busy == 0) Done.notify_all();
  }
}
