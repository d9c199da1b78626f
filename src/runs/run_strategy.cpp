#include "runs/run_strategy.h"

#include <cmath>
#include <cstring>

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

const char* SetStrategyWord(TSetStrategy strategy) {
  return strategy == TSetStrategy::Restart ? "restart" : "exploit";
}

bool ParseSetStrategy(const char* word, TSetStrategy& out) {
  for (const TSetStrategy s : {TSetStrategy::Restart, TSetStrategy::Exploit})
    if (std::strcmp(word, SetStrategyWord(s)) == 0) {
      out = s;
      return true;
    }
  return false;
}

std::vector<TPlaceDecision> JudgeRound(const TRunStrategyDef& def, const std::vector<TPlaceCheck>& places) {
  std::vector<TPlaceDecision> out;
  const TPlaceCheck* leader = nullptr;
  for (const TPlaceCheck& p : places) {
    out.push_back({JudgeRun(def, p.generation, p.bestMean), -1});
    if (out.back().verdict != TRunVerdict::Continue) continue;
    if (!leader || p.bestMean > leader->bestMean || (p.bestMean == leader->bestMean && p.run < leader->run)) leader = &p;
  }
  if (!def.restarts || !leader || !MeetsMean(leader->bestMean, def.donorMin)) return out;
  for (size_t i = 0; i < places.size(); ++i) {
    if (&places[i] == leader || out[i].verdict == TRunVerdict::Goal) continue;
    const bool behind = !MeetsMean(places[i].bestMean, leader->bestMean * def.laggardShare);
    if (out[i].verdict == TRunVerdict::Restart || behind) out[i] = {TRunVerdict::Restart, leader->run};
  }
  return out;
}
