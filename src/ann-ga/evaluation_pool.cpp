#include "evaluation_pool.h"

TEvaluationPool::TEvaluationPool(std::span<TZarnikHost* const> hosts) {
  Threads.reserve(hosts.size());
  for (TZarnikHost* host : hosts) Threads.emplace_back([this, host] { Work(host); });
}

TEvaluationPool::~TEvaluationPool() {
  {
    std::lock_guard<std::mutex> guard(Lock);
    Stop = true;
  }
  Wake.notify_all();
  for (std::thread& t : Threads) t.join();
}

void TEvaluationPool::Play(TChromosom* const* jobs, const int* heights, int count) {
  std::unique_lock<std::mutex> guard(Lock);
  Jobs = jobs;
  Heights = heights;
  Count = count;
  Next = 0;
  Busy = static_cast<int>(Threads.size());
  ++Round;
  Wake.notify_all();
  Done.wait(guard, [this] { return Busy == 0; });
  Jobs = nullptr;
  Heights = nullptr;
}

void TEvaluationPool::Work(TZarnikHost* host) {
  uint64_t seen = 0;
  std::unique_lock<std::mutex> guard(Lock);
  for (;;) {
    Wake.wait(guard, [&] { return Stop || Round != seen; });
    if (Stop) return;
    seen = Round;
    // An episode is about a hundred thousand times longer than taking the
    // lock, so one job at a time under the lock costs nothing measurable.
    while (Next < Count) {
      const int k = Next++;
      TChromosom* job = Jobs[k];
      const int e = Heights[2 * k], f = Heights[2 * k + 1];
      guard.unlock();
      host->ResetSimulator();
      job->playEpisode2(*host, e, f);
      guard.lock();
    }
    if (--Busy == 0) Done.notify_one();
  }
}
