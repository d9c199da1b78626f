#include "runs/run_strategy.h"

#include <cmath>

bool IsCheckGeneration(const TRunStrategyDef& def, int generation) {
  return def.checkEvery > 0 && generation > 0 && generation % def.checkEvery == 0;
}

bool MeetsMean(double mean, double threshold) {
  // 0.3 and 30 / 100.0 need not be the same double.
  return mean >= threshold - 1e-9;
}

TRunVerdict JudgeRun(const TRunStrategyDef& def, int generation, double bestValidatedMean) {
  if (MeetsMean(bestValidatedMean, def.goal)) return TRunVerdict::Goal;
  if (def.restarts)
    for (const TRunStage& stage : def.stages)
      if (generation >= stage.generation && !MeetsMean(bestValidatedMean, stage.minMean)) return TRunVerdict::Restart;
  return TRunVerdict::Continue;
}
