#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ann-ga.h"
#include "headless_host.h"

inline int64_t FixedSeconds() { return 1234567890; }

// The population as the main window builds it, on a headless arm, with the
// clock pinned so that every draw repeats.
template <class Host = THeadlessHost>
struct WorldTest : ::testing::Test {
  TRandomClockScope Clock{FixedSeconds};
  Host host;
  std::unique_ptr<TWorld> world = [this] {
    host.Arm.Train2AN = true;  // as a run would: no ball question
    return std::make_unique<TWorld>(&host, 21, 11, 3, 2, 2, 100, 1000, 0.1f, 2.0f, 10, 0.8f, 10, 20, 21, 0.08f, 20);
  }();
  TWorld& w = *world;
  void TearDown() override { UserBreak = false; }
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

