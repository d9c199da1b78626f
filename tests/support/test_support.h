#pragma once

#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include "ann-ga/ann-ga.h"
#include "hosts/headless_host.h"

inline int64_t FixedSeconds() { return 1234567890; }

// The window's population on a headless arm, the clock pinned so every draw repeats.
template <class Host = THeadlessHost>
struct WorldTest : ::testing::Test {
  TRandomClockScope Clock{FixedSeconds};
  Host host;
  TZarnikHostScope useHost{&host};
  std::unique_ptr<TWorld> world = (host.View.Running = true, MakeZarnikWorld(&host));  // running: no ball question
  TWorld& w = *world;
  void TearDown() override { UserBreak = false; }
};

// One network of the window's shape with the draws pinned.
struct NetTest : ::testing::Test {
  TRandomClockScope Clock{FixedSeconds};
  THeadlessHost host;
  TZarnikHostScope useHost{&host};
  TChromosom c;
  void SetUp() override { SeedRandom(0), c.init(21, 11, 3, 2, 2, 100, 1000); }
};

inline void SetAllWeights(TANN& n, int value, int links = -1) {
  for (int s = 0; s < n.getNodes(); ++s)
    for (int t = 0; t < n.getNodes(); ++t) n.setWeight(s, t, value);
  if (links >= 0) n.setConnections(links);
}

// A script for an arm: the target (entry 4) switches sides at the steps in `MeetAt`, the claw (entry 3)
// lies below the floor if `BelowFloor`; height calls are recorded, not steps. Stops at 100000 steps.
struct ScriptHost : TZarnikHost {
  std::vector<int> MeetAt;
  bool BelowFloor = false;
  int StopAfterHeights = 0;  // > 0: request a stop after that many height calls
  int Steps = 0;
  bool HitLimit = false;
  std::vector<std::pair<int, int>> Heights;
  std::vector<std::string> Directions;  // texts of control 312
  int Sensor[11] = {0, 300, 100, 100, 100, 100, 0, 0, 45, 0, 0};
  int* GetCalcData(const int* delta, bool, bool) override {
    if (delta[4] != 0 || delta[5] != 0) {
      Heights.emplace_back(delta[4], delta[5]);
      if (StopAfterHeights > 0 && static_cast<int>(Heights.size()) >= StopAfterHeights) UserBreak = true;
    } else if (std::find(MeetAt.begin(), MeetAt.end(), ++Steps) != MeetAt.end()) {
      Sensor[4] = Sensor[4] < 200 ? 600 : 100;
    } else if (Steps >= 100000) {
      HitLimit = UserBreak = true;
    }
    Sensor[3] = BelowFloor ? 391 : 100;
    return Sensor;
  }
  void ResetSimulator() override {}
  void AnnHasFinished() override {}
  TBallCounts BallCounts() const override { return {}; }
  void PumpMessages() override {}
  void SetDlgText(int id, const char* text) override {
    if (id == 312) Directions.emplace_back(text);
    Texts[id] = text;
  }
  std::map<int, std::string> Texts;
};
