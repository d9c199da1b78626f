// The run loops: their progress texts, when they end, and stop requests.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

using annga_test::SetAllWeights;

// Records the progress values of chosen controls and stops the run after a
// given number of writes to one of them.
struct RecordingHost : THeadlessHost {
  int WatchId = 0;
  int StopAfter = INT_MAX;
  std::vector<std::string> Watched;
  std::vector<std::string> BestWrites;  // control 304
  void SetDlgText(int id, const char* text) override {
    THeadlessHost::SetDlgText(id, text);
    if (id == 304) BestWrites.emplace_back(text);
    if (id == WatchId) {
      Watched.emplace_back(text);
      if (static_cast<int>(Watched.size()) >= StopAfter) UserBreak = true;
    }
  }
};

// A population that cannot change: every weight 0 and no mutation, so every
// individual scores the same in every pass.
struct Runs : ::testing::Test {
  TRandomClockScope Clock{annga_test::FixedSeconds};
  RecordingHost host;
  std::unique_ptr<TWorld> w;
  void SetUp() override {
    host.Arm.Train2AN = true;
    w = std::make_unique<TWorld>(&host, 21, 11, 3, 2, 2, 100, 1000, 0.0f, 2.0f, 10, 0.8f, 10, 20, 21, 0.08f, 20);
    for (auto& c : w->Population) {
      SetAllWeights(c, 0);
      c.setConnections(0);
      c.setOldConnections(0);
    }
    SetAllWeights(w->bestIndividual, 0);
    w->bestIndividual.setConnections(0);
  }
  void TearDown() override { UserBreak = false; }
};

TEST_F(Runs, ModeOneCountsRepeatsOfTheBestAndClearsItsFitness) {
  host.WatchId = 306;
  host.StopAfter = 5;
  w->DoTrainANN1();
  // Index 0 wins every pass it can: the first already counts as a repeat.
  EXPECT_EQ(host.Watched, (std::vector<std::string>{"  1", "  2", "  2", "  2", "  2"}));
  // Improvements: pass 1, then after each clearing (end of passes 3 and 4).
  EXPECT_EQ(host.BestWrites, (std::vector<std::string>{" -1867", " -1867", " -1867"}));
  EXPECT_EQ(w->bestFitness, INT_MIN);  // cleared again after the fifth pass
  EXPECT_EQ(w->NoImprovement, 1);
  EXPECT_EQ(w->Generations, 0);
  EXPECT_EQ(host.Finished, 1);
  EXPECT_STREQ(host.DlgText(301), "Distanz");
  EXPECT_STREQ(host.DlgText(305), "count best used");
  EXPECT_STREQ(host.DlgText(312), " 6");
  EXPECT_STREQ(host.DlgText(308), "(  50 , 286 )");
  EXPECT_STREQ(host.DlgText(321), "   +0   +0   +0");
}

TEST_F(Runs, ModeTwoEndsAfterTwentyPassesWithoutImprovement) {
  w->Generations = 7;
  w->DoTrainANN2();
  EXPECT_EQ(w->Generations, 27);
  EXPECT_EQ(w->NoImprovement, 20);
  EXPECT_FALSE(w->IsImprovement());
  EXPECT_EQ(host.Finished, 1);
  EXPECT_STREQ(host.DlgText(310), "   7");  // written once at the start
  EXPECT_STREQ(host.DlgText(308), " 26");
  EXPECT_STREQ(host.DlgText(306), " 99");
  EXPECT_STREQ(host.DlgText(302), "     0");
  EXPECT_STREQ(host.DlgText(304), "     0");
  EXPECT_STREQ(host.DlgText(309), "Gen. of best");
  EXPECT_STREQ(host.DlgText(311), "Direction");
}

TEST_F(Runs, ModeTwoImprovementRecordsTheGeneration) {
  // The stored best pays for 60 links in every run; all others score 0, so
  // the first individual beats it.
  w->bestIndividual.setConnections(60);
  w->Generations = 3;
  host.WatchId = 308;
  host.StopAfter = 1;
  w->DoTrainANN2();
  EXPECT_EQ(w->bestIndividualIdx, 0);
  EXPECT_EQ(w->bestFitness, 0);
  EXPECT_STREQ(host.DlgText(310), "  3");
  EXPECT_STREQ(host.DlgText(304), "       0");
  EXPECT_EQ(w->NoImprovement, 1);
  EXPECT_EQ(w->Generations, 4);
}

TEST_F(Runs, StopDuringModeTwoFinishesTheGeneration) {
  host.OnPump = [](THeadlessHost& h, void*) {
    if (h.Pumps == 1000) UserBreak = true;
  };
  w->DoTrainANN2();
  EXPECT_EQ(w->Generations, 1);
  EXPECT_EQ(host.Finished, 1);
}

TEST_F(Runs, ActivationSteersUntilStoppedAndLeavesThePopulation) {
  const std::vector<int> before = annga_test::Weights(w->Population[0]);
  host.Arm.Train2AN = false;
  host.Arm.StartANN = true;
  host.OnPump = [](THeadlessHost& h, void*) {
    if (h.Pumps == 50) UserBreak = true;
  };
  const long long pumps = host.Pumps;
  w->DoStartANN();
  EXPECT_EQ(host.Pumps - pumps, 50);
  EXPECT_EQ(host.Finished, 1);
  EXPECT_EQ(annga_test::Weights(w->Population[0]), before);
}

TEST_F(Runs, BreakOnlySetsTheFlag) {
  UserBreak = false;
  w->DoBreakANN();
  EXPECT_TRUE(UserBreak);
}

}  // namespace
