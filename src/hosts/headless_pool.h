#pragma once

// A worker pool with arm simulators of its own, as the window and the
// trainer run training 2 on it.
#include <memory>
#include <vector>

#include "hosts/arm_simulator.h"
#include "evaluation/evaluation_pool.h"

// `workers` threads, each playing `lanes` episodes side by side on
// simulators of its own.
class THeadlessPool {
 public:
  explicit THeadlessPool(int workers, int lanes = LaneCount);
  TEvaluationPool& Pool() { return *Evaluation; }
  const std::vector<std::unique_ptr<TArmSimulator>>& Simulators() const { return Own; }

 private:
  std::vector<std::unique_ptr<TArmSimulator>> Own;
  std::unique_ptr<TEvaluationPool> Evaluation;
};
