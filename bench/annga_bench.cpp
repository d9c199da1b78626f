// The training engine's hot paths: one network step as training 2 makes it,
// and one whole generation of training 2 on the headless arm.
#include <benchmark/benchmark.h>

#include <memory>

#include "ann-ga/ann-ga.h"
#include "hosts/headless_host.h"

namespace {

std::unique_ptr<TWorld> SystemWorld(THeadlessHost& host) {
  host.View.Running = true;
  return MakeZarnikWorld(&host);
}

// runANN on the sensor vector, then the real step; back to the start of the
// task every 101 steps, as an episode run would be.
void BM_NetworkStep(benchmark::State& state) {
  THeadlessHost host;
  TZarnikHostScope useHost(&host);
  auto world = SystemWorld(host);
  TChromosom& net = world->Population[0];
  int* out = net.getOutputList();
  const int* in = host.GetCalcData(out, true, false);
  int steps = 0;
  for (auto _ : state) {
    net.runANN(in, out);
    in = host.GetCalcData(out, true, false);
    if (++steps == 101) {
      steps = 0;
      host.ResetSimulator();
    }
  }
}
BENCHMARK(BM_NetworkStep);

// runANN alone.
void BM_RunANN(benchmark::State& state) {
  THeadlessHost host;
  TZarnikHostScope useHost(&host);
  auto world = SystemWorld(host);
  TChromosom& net = world->Population[0];
  int in[11] = {50, 286, 197, 119, 50, 258, -1, 180, 180, -90, 0};
  int out[6] = {};
  for (auto _ : state) {
    net.runANN(in, out);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_RunANN);

// calcFitness2 over the best and the 100, Selection, CrossOver, mutate.
void BM_TrainingTwoGeneration(benchmark::State& state) {
  THeadlessHost host;
  TZarnikHostScope useHost(&host);
  auto world = SystemWorld(host);
  for (auto _ : state) {
    world->calcFitness2();
    world->Selection();
    world->CrossOver();
    world->mutate();
  }
}
BENCHMARK(BM_TrainingTwoGeneration)->Unit(benchmark::kMillisecond);

// The breeding part of a generation alone.
void BM_Breeding(benchmark::State& state) {
  THeadlessHost host;
  TZarnikHostScope useHost(&host);
  auto world = SystemWorld(host);
  world->calcFitness2();
  for (auto _ : state) {
    world->Selection();
    world->CrossOver();
    world->mutate();
  }
}
BENCHMARK(BM_Breeding)->Unit(benchmark::kMicrosecond);

}  // namespace
