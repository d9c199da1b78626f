// Training-2 generations on one thread, one episode at a time and batched,
// and on one worker against two; each counter "speedup" is a ratio of two
// worlds measured in turns within one run.
#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "ann-ga/ann-ga.h"
#include "hosts/headless_host.h"
#include "hosts/headless_pool.h"

namespace {

using Clock = std::chrono::steady_clock;

struct TPooledWorld {
  TPooledWorld(int workers, int lanes) : Workers(workers, lanes) {
    host.View.Running = true;
    TZarnikHostScope useHost(&host);
    world = MakeZarnikWorld(&host);
    world->Pool = &Workers.Pool();
    world->BeginTrainANN2();
  }
  ~TPooledWorld() { world->Pool = nullptr; }
  // Seconds of `generations` generations; `cpu` gets the process's processor
  // seconds (all threads), which a busy machine disturbs less than the clock.
  double Generations(int generations, double* cpu = nullptr) {
    // The other world's workers wait awake for a moment after its last
    // round: let them fall asleep first.
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    const double cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID), own0 = Seconds(CLOCK_THREAD_CPUTIME_ID);
    TZarnikHostScope useHost(&host);  // the two worlds take turns
    const Clock::time_point start = Clock::now();
    for (int g = 0; g < generations; ++g) world->TrainGeneration2();
    if (cpu) *cpu += Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0;
    Serial += Seconds(CLOCK_THREAD_CPUTIME_ID) - own0;
    return std::chrono::duration<double>(Clock::now() - start).count();
  }
  static double Seconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
  }
  double Serial = 0;  // processor seconds of the training thread: the serial part
  long long Steps() const {
    long long steps = 0;
    for (const auto& sim : Workers.Simulators()) steps += sim->Steps;
    return steps;
  }
  THeadlessHost host;
  THeadlessPool Workers;
  std::unique_ptr<TWorld> world;
};

// Both worlds start from the same seed and take turns in blocks, so a
// drifting machine speed hits both alike.
void Compare(benchmark::State& state, TPooledWorld& a, TPooledWorld& b, const char* aName, const char* bName) {
  constexpr int Block = 5;
  double ta = 0, tb = 0, ca = 0, cb = 0;
  const long long sa = a.Steps(), sb = b.Steps();
  for (auto _ : state) {
    ta += a.Generations(Block, &ca);
    tb += b.Generations(Block, &cb);
  }
  state.counters["cpu_ratio"] = ca / cb;
  state.counters[std::string(aName) + "_serial_share"] = a.Serial / ca;
  state.counters[std::string(bName) + "_serial_share"] = b.Serial / cb;
  const double n = static_cast<double>(state.iterations()) * Block;
  state.counters[std::string(aName) + "_ms"] = 1000 * ta / n;
  state.counters[std::string(bName) + "_ms"] = 1000 * tb / n;
  state.counters["speedup"] = ta / tb;
  state.counters[std::string(aName) + "_ns_per_step"] = 1e9 * ta / static_cast<double>(a.Steps() - sa);
  state.counters[std::string(bName) + "_ns_per_step"] = 1e9 * tb / static_cast<double>(b.Steps() - sb);
  UseClockRandomSeed();
}

// One thread: TEpisodeBatch's lanes against one episode at a time.
void BM_Generation_BatchedVsSingle(benchmark::State& state) {
  UseFixedRandomSeed(1);
  TPooledWorld single(1, 1);
  UseFixedRandomSeed(1);
  TPooledWorld batched(1, LaneCount);
  Compare(state, single, batched, "single", "batched");
}
BENCHMARK(BM_Generation_BatchedVsSingle)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5);

// Batched: one worker against two.
void BM_Training2Generation_OneVsTwoThreads(benchmark::State& state) {
  UseFixedRandomSeed(1);
  TPooledWorld one(1, LaneCount);
  UseFixedRandomSeed(1);
  TPooledWorld two(2, LaneCount);
  Compare(state, one, two, "one_thread", "two_threads");
}
BENCHMARK(BM_Training2Generation_OneVsTwoThreads)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5);

// The episodes of a pass alone, on this thread: one at a time (arg 1) or in
// the lanes of a TEpisodeBatch (arg 8), over a population after a few
// generations. Reports time per network step and per link (54 links a step,
// zero weights included; the one-at-a-time rule skips those).
struct TPassSource : TEpisodeSource {
  TEpisodeJob Jobs[TWorld::Individuals];
  int Next = 0;
  TEpisodeJob* Take() override { return Next < TWorld::Individuals ? &Jobs[Next++] : nullptr; }
};

void BM_EpisodePass(benchmark::State& state) {
  const int lanes = static_cast<int>(state.range(0));
  UseFixedRandomSeed(1);
  TPooledWorld w(1, LaneCount);
  w.Generations(5);
  std::vector<std::unique_ptr<TArmSimulator>> own;
  std::vector<TSimulator*> sims;
  for (int k = 0; k < lanes; ++k) sims.push_back(own.emplace_back(std::make_unique<TArmSimulator>()).get());
  TEpisodeBatch batch(sims);
  TPassSource source;
  for (auto _ : state) {
    for (int k = 0; k < TWorld::Individuals; ++k) source.Jobs[k] = {&w.world->Population[k], 1 + k % 10, 1 + k / 10, 0};
    source.Next = 0;
    if (lanes > 1) {
      batch.Play(source);
    } else {
      while (TEpisodeJob* job = source.Take()) {
        sims[0]->ResetSimulator();
        job->Individual->playLaneEpisode2(*sims[0], job->HeightE, job->HeightF);
      }
    }
  }
  long long steps = 0;
  for (auto& sim : own) steps += sim->Steps;
  state.counters["ns_per_step"] =
      benchmark::Counter(static_cast<double>(steps) * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["ns_per_link"] = benchmark::Counter(static_cast<double>(steps) * 54e-9,
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["redone_per_step"] = lanes > 1 ? static_cast<double>(batch.RedoneTerms) / batch.Steps : 0.0;
  state.counters["careful_per_step"] = lanes > 1 ? static_cast<double>(batch.CarefulSteps) * LaneCount / batch.Steps : 0.0;
  UseClockRandomSeed();
}
BENCHMARK(BM_EpisodePass)->Arg(1)->Arg(LaneCount)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
