#include "hosts/headless_pool.h"

#include <algorithm>

THeadlessPool::THeadlessPool(int workers, int lanes) {
  lanes = std::clamp(lanes, 1, LaneCount);
  std::vector<TSimulator*> sims;
  for (int i = 0; i < std::max(workers, 1) * lanes; ++i) {
    Own.push_back(std::make_unique<TArmSimulator>());
    sims.push_back(Own.back().get());
  }
  Evaluation = std::make_unique<TEvaluationPool>(sims, lanes);
}
