#pragma once

#include <memory>
#include <vector>

#include "evaluation_pool.h"
#include "headless_host.h"

// An evaluation pool with its simulator hosts: `workers` threads, each playing
// `lanes` episodes side by side on hosts of its own.
class THeadlessPool {
 public:
  THeadlessPool(int workers, int lanes = LaneCount);
  TEvaluationPool& Pool() { return *Evaluation; }
  const std::vector<std::unique_ptr<THeadlessHost>>& Hosts() const { return Own; }

 private:
  std::vector<std::unique_ptr<THeadlessHost>> Own;
  std::unique_ptr<TEvaluationPool> Evaluation;
};
