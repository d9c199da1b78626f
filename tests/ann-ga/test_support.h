#pragma once

#include <memory>
#include <vector>

#include "ann-ga.h"
#include "headless_host.h"

namespace annga_test {

inline int64_t FixedSeconds() { return 1234567890; }

// The population as the main window builds it, on a headless arm, with the
// clock pinned so that every draw repeats.
struct WorldFixture {
  TRandomClockScope Clock{FixedSeconds};
  THeadlessHost Host;
  std::unique_ptr<TWorld> World;

  explicit WorldFixture(float mutationRate = 0.1f) {
    Host.Arm.Train2AN = true;  // as a run would: no ball question
    World = std::make_unique<TWorld>(&Host, 21, 11, 3, 2, 2, 100, 1000, mutationRate, 2.0f, 10, 0.8f, 10, 20, 21,
                                     0.08f, 20);
  }
};

inline std::vector<int> Weights(const TANN& n) {
  std::vector<int> w;
  for (int s = 0; s < n.getNodes(); ++s)
    for (int t = 0; t < n.getNodes(); ++t) w.push_back(n.getWeight(s, t));
  return w;
}

inline void SetAllWeights(TANN& n, int value) {
  for (int s = 0; s < n.getNodes(); ++s)
    for (int t = 0; t < n.getNodes(); ++t) n.setWeight(s, t, value);
}

}  // namespace annga_test
