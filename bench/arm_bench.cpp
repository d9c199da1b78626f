// The innermost step of all training: one GetCalcData with four joint steps.
#include <benchmark/benchmark.h>

#include "hosts/headless_host.h"

namespace {

// Four non-zero steps that keep the claw far from the lying ball, turning back
// and forth so that the pose stays in the same region.
void BM_GetCalcDataFourSteps(benchmark::State& state) {
  THeadlessHost host;
  host.View.Running = true;
  int out[OutputCount] = {700, -400, 300, -900, 0, 0};
  for (auto _ : state) {
    benchmark::DoNotOptimize(host.Arm.GetCalcData(out, true, false));
    for (int i = 0; i < 4; ++i) out[i] = -out[i];
  }
}
BENCHMARK(BM_GetCalcDataFourSteps);

// The same with the pick-up test forced through the full 153-point scan.
void BM_GripFullScan(benchmark::State& state) {
  THeadlessHost host;
  for (auto _ : state) benchmark::DoNotOptimize(host.Arm.GripTouchesBallFullScan());
}
BENCHMARK(BM_GripFullScan);

void BM_GripWithRejection(benchmark::State& state) {
  THeadlessHost host;
  for (auto _ : state) benchmark::DoNotOptimize(host.Arm.GripTouchesBall());
}
BENCHMARK(BM_GripWithRejection);

}  // namespace
