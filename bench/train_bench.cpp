// One training-2 generation on one thread (the window's serial pass) and on a
// pool of two workers, in the same run; the counter "speedup" is their ratio.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "ann-ga.h"
#include "evaluation_pool.h"
#include "headless_host.h"

namespace {

std::unique_ptr<TWorld> SystemWorld(THeadlessHost& host) {
  host.View.Running = true;
  return MakeZarnikWorld(&host);
}

double GenerationSeconds(TWorld& world, TZarnikHost& host, int generations) {
  TZarnikHostScope useHost(&host);
  const auto start = std::chrono::steady_clock::now();
  for (int g = 0; g < generations; ++g) world.TrainGeneration2();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / generations;
}

void BM_Training2Generation_OneVsTwoThreads(benchmark::State& state) {
  UseFixedRandomSeed(1);
  THeadlessHost serialHost, pooledHost, worker1, worker2;
  auto serial = SystemWorld(serialHost);
  {
    TZarnikHostScope useHost(&serialHost);
    serial->BeginTrainANN2();
  }
  auto pooled = SystemWorld(pooledHost);
  TZarnikHost* hosts[] = {&worker1, &worker2};
  TEvaluationPool pool(hosts);
  pooled->Pool = &pool;
  {
    TZarnikHostScope useHost(&pooledHost);
    pooled->BeginTrainANN2();
  }
  double one = 0, two = 0;
  long long rounds = 0;
  for (auto _ : state) {
    // Taking turns, so a drifting machine speed hits both alike.
    one += GenerationSeconds(*serial, serialHost, 1);
    two += GenerationSeconds(*pooled, pooledHost, 1);
    ++rounds;
  }
  state.counters["one_thread_ms"] = 1000 * one / rounds;
  state.counters["two_threads_ms"] = 1000 * two / rounds;
  state.counters["speedup"] = one / two;
  UseClockRandomSeed();
}
BENCHMARK(BM_Training2Generation_OneVsTwoThreads)->Unit(benchmark::kMillisecond)->Iterations(40);

}  // namespace

BENCHMARK_MAIN();
