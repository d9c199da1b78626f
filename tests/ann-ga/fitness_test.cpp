// The two scores of an individual: one trial step and whole episodes.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "test_support.h"

namespace {

struct StepScore : ::testing::Test {
  TRandomClockScope Clock{annga_test::FixedSeconds};
  THeadlessHost host;
  TChromosom c;
  // Start pose: ball on E, claw at (197, 119), angles 180, 180, -90, 0.
  int now[11] = {50, 286, 197, 119, 50, 258, -1, 180, 180, -90, 0};
  int old[11];
  void SetUp() override {
    ZarnikWindow = &host;
    c.init(21, 11, 3, 2, 2, 100, 1000);
    std::memcpy(old, now, sizeof now);
  }
  int Score() {
    c.calcFitness1(now, old);
    return c.getFitness();
  }
};

TEST_F(StepScore, UnmovedStartPoseScoresTheAngleAndSizeTerms) {
  EXPECT_EQ(Score(), 2000 + 133 - 4000 - 10);
  char expected[64];
  std::snprintf(expected, sizeof expected, "%6f", static_cast<double>(static_cast<float>(std::sqrt(40930.0))));
  EXPECT_STREQ(host.DlgText(302), expected);  // 147 px across, 139 px down
}

TEST_F(StepScore, ClawAtTheTopEdgeStartsAtMinusThousand) {
  const int base = Score();
  now[3] = old[3] = 0;
  now[5] = old[5] = -139;  // same distance as before
  EXPECT_EQ(Score(), base - 1000);
}

TEST_F(StepScore, FloorTermOnlyBelowTheLine) {
  const int base = Score();
  now[1] = old[1] = 370;
  EXPECT_EQ(Score(), base);
  now[1] = 371;
  old[1] = 372;
  EXPECT_EQ(Score(), base + 5000 - 5000);
  old[1] = 371;
  EXPECT_EQ(Score(), base - 5000);
}

TEST_F(StepScore, ApproachRewardsAndBentJointBCosts) {
  const int base = Score();
  now[3] = old[3] = now[5] = old[5] = 258;
  old[2] = 60;
  now[2] = 57;
  EXPECT_EQ(Score(), base + 3000);

  std::memcpy(now, old, sizeof now);
  now[8] = old[8] = 44;
  const int bent = Score();
  now[8] = old[8] = 45;
  // 44 costs (44 - 45) * 1000 more, and 44*100/135 vs 45*100/135, 44*2000/90 vs 45*2000/90.
  EXPECT_EQ(Score() - bent, 1000 + (33 - 32) - (1000 - 977));
}

TEST_F(StepScore, ExtremeInputsDoNotOverflow) {
  for (int& v : now) v = INT_MIN;
  for (int& v : old) v = INT_MAX;
  c.setConnections(INT_MAX);
  c.setOldConnections(INT_MIN);
  c.calcFitness1(now, old);
  c.calcFitness1(old, now);
  SUCCEED();
}

TEST(RunTotals, CombineAsTheEpisodeRuleSays) {
  EXPECT_EQ(CombineRunTotals({5000, 6000, 7000, 8000, 9000}), 7000);
  EXPECT_EQ(CombineRunTotals({-3000, -1000, -5000, -4000, -6000}), -6000);
  EXPECT_EQ(CombineRunTotals({-1500, -1000, -200, 0, 100}), -2500);
  EXPECT_EQ(CombineRunTotals({-2000, 500, 0, 0, 0}), -1500);  // -2000 is not below the line
  EXPECT_EQ(CombineRunTotals({3, 1, 0, 0, 0}), 0);            // 4 / 5 truncates
}

struct Episode : ::testing::Test {
  annga_test::WorldFixture f;
  TChromosom& c = f.World->Population[0];
  void TearDown() override { UserBreak = false; }
};

TEST_F(Episode, StoppedBeforeTheFirstStepCostsOnlyTheSize) {
  UserBreak = true;
  c.setConnections(54);
  const long long pumps = f.Host.Pumps;
  c.calcCFitness2(f.World->InputList);
  // Totals -540, -1080, -1620, -2160, -2700: after -1620 only smaller ones count.
  EXPECT_EQ(c.getFitness(), -540 - 1080 - 1620);
  EXPECT_EQ(f.Host.Pumps, pumps);
}

TEST_F(Episode, IdleNetworkPlaysFiveFullRunsAndRotatesTheHeights) {
  annga_test::SetAllWeights(c, 0);
  c.setConnections(0);
  const long long pumps = f.Host.Pumps;
  f.Host.ResetSimulator();
  c.calcCFitness2(f.World->InputList);
  EXPECT_EQ(c.getFitness(), 0);
  EXPECT_EQ(f.Host.Pumps - pumps, 5 * 101);
  EXPECT_STREQ(f.Host.DlgText(312), "left");
  // Both heights have moved on by 3 four times from the first draw.
  const int e = f.Host.Arm.PlatDat[0].h, g = f.Host.Arm.PlatDat[1].h;
  EXPECT_GE(e, 1);
  EXPECT_LE(e, 10);
  EXPECT_GE(g, 1);
  EXPECT_LE(g, 10);
  EXPECT_EQ(f.World->OutputList[4], 0);
  EXPECT_EQ(c.getOutputList()[4], 0);
  EXPECT_EQ(c.getOutputList()[5], 0);
}

}  // namespace
