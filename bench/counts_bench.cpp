// What counting takes and deliveries adds to a training-2 episode: the
// episode reads the arm's two counters before and after (the model adds one
// on the rare step that takes or sets down the ball). Both are timed in the
// same run, taking turns; the counter "count_share" is counting's part of an
// episode's time.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "ann-ga/ann-ga.h"
#include "hosts/headless_host.h"

namespace {

void BM_EpisodeAgainstItsCounting(benchmark::State& state) {
  UseFixedRandomSeed(2);
  THeadlessHost host;
  host.View.Running = true;
  auto world = MakeZarnikWorld(&host);
  // Through the interface, as the episode calls it; hidden from the
  // optimiser so the calls stay virtual.
  TZarnikHost* asHost = &host;
  benchmark::DoNotOptimize(asHost);
  using Clock = std::chrono::steady_clock;
  double episodes = 0, counting = 0;
  long long rounds = 0, takes = 0;
  constexpr int CountReads = 1000;  // one read is too short for the clock
  for (auto _ : state) {
    TChromosom& c = world->Population[rounds % TWorld::Individuals];
    auto start = Clock::now();
    host.ResetSimulator();
    c.playEpisode2(host, 1 + rounds % 10, 1 + (rounds / 10) % 10);
    episodes += std::chrono::duration<double>(Clock::now() - start).count();
    takes += c.getBallCounts().takes;

    start = Clock::now();
    TBallCounts sum;
    for (int i = 0; i < CountReads; ++i) {
      const TBallCounts before = asHost->BallCounts();
      benchmark::DoNotOptimize(before);
      const TBallCounts d = asHost->BallCounts() - before;
      sum.takes += d.takes;
      benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(sum);
    counting += std::chrono::duration<double>(Clock::now() - start).count() / CountReads;
    ++rounds;
  }
  state.counters["episode_us"] = 1e6 * episodes / rounds;
  state.counters["counting_ns"] = 1e9 * counting / rounds;
  state.counters["count_share"] = counting / episodes;
  state.counters["takes_per_episode"] = static_cast<double>(takes) / rounds;
  UseClockRandomSeed();
}
BENCHMARK(BM_EpisodeAgainstItsCounting)->Unit(benchmark::kMicrosecond)->Iterations(500);

}  // namespace

BENCHMARK_MAIN();
