// One individual: both scores, the initial draw, mutation.
#include "test_support.h"

namespace {
using Net = NetTest;

// Each term by hand: the base pose scores 45 * 100 / 135 = 33 (B) and -45 * 2000 / 90 = -1000 (D).
TEST_F(Net, EachTermOfTheStepScoreWithItsSign) {
  using V = std::array<int, 11>;
  const V base = {0, 300, 100, 100, 100, 100, 0, 0, 45, 0, 0};
  const V start = {50, 286, 197, 119, 50, 258, -1, 180, 180, -90, 0};
  const auto with = [&](std::initializer_list<std::pair<int, int>> changes) {
    V v = base;
    for (auto [i, x] : changes) v[i] = x;
    return v;
  };
  // {what, sensors now, sensors before, links, links before, score}
  const std::tuple<const char*, V, V, int, int, int> cases[] = {
      {"base", base, base, 0, 0, -967},
      {"start pose", start, start, 54, 54, 2000 + 133 - 4000 - 10},
      {"claw at the top edge", with({{3, 0}, {5, 0}}), with({{3, 0}, {5, 0}}), 0, 0, -1000 - 967},
      {"50 px nearer", base, with({{4, 130}, {5, 140}}), 0, 0, 50000 - 967},
      {"50 px farther", with({{4, 130}, {5, 140}}), base, 0, 0, -50000 - 967},
      {"ball at the floor line", with({{1, 370}}), base, 0, 0, -967},
      {"ball one below it", with({{1, 371}}), base, 0, 0, (300 - 371) * 5000 - 5000 - 967},
      {"joint A to 90", with({{7, 90}}), base, 0, 0, 90 * 500 + 1000 - 967},
      {"joint A to -90", with({{7, -90}}), base, 0, 0, 90 * 500 - 1000 - 967},
      {"joint A back from 90", base, with({{7, 90}}), 0, 0, -90 * 500 - 967},
      {"joint B to 180", with({{8, 180}}), base, 0, 0, 135 * 100 + 133 - 4000},
      {"joint B at 44", with({{8, 44}}), base, 0, 0, -100 + 32 - 1000 - 977},
      {"joint D back from 30", base, with({{10, 30}}), 0, 0, 30 * 2000 - 967},
      {"joint D to -30", with({{10, -30}}), base, 0, 0, -30 * 2000 - 967},
      {"four links pruned", base, base, 50, 54, 4 * 20 - 10 - 967},
  };
  for (const auto& [what, now, old, links, oldLinks, expected] : cases) {
    c.setConnections(links), c.setOldConnections(oldLinks);
    c.calcFitness1(now.data(), old.data());
    EXPECT_EQ(c.getFitness(), expected) << what;
  }
  EXPECT_STREQ(host.DlgText(302), "0.000000");
  V low, high;  // extreme inputs do not overflow (UBSan)
  low.fill(INT_MIN), high.fill(INT_MAX), c.setConnections(INT_MAX);
  c.calcFitness1(low.data(), high.data());
  c.calcFitness1(high.data(), low.data());
}

// Whole episodes on a scripted simulator, worked by hand; 54 links cost 540 a run.
TEST_F(Net, RunTotalsAddUntilBelowMinusTwoThousandAndEpisodesScoreStepsLeftTimesMeets) {
  EXPECT_EQ(CombineRunTotals({5000, 6000, 7000, 8000, 9000}), 7000);
  EXPECT_EQ(CombineRunTotals({-3000, -1000, -5000, -4000, -6000}), -6000);
  EXPECT_EQ(CombineRunTotals({-1500, -1000, -200, 0, 100}), -2500);
  EXPECT_EQ(CombineRunTotals({-2000, -100, -50, 0, 0}), -2100);  // -2000 is not below
  EXPECT_EQ(CombineRunTotals({-2001, -100, -50, 0, 0}), -2001);
  EXPECT_EQ(CombineRunTotals({4, 0, 0, 0, 0}), 0);  // 4 / 5
  // {targets met at steps, below the floor, stop after heights, E, F, fitness, steps}
  const std::tuple<std::vector<int>, bool, int, int, int, int, int> cases[] = {
      // Totals 10000 - 540, then 540 less a run: 41900 / 5; the budget is 99 after a target.
      {{1}, false, 0, 8, 3, 8380, 100 + 4 * 101},
      // Run 0: 100 * 1 * 100 + 98 * 2 * 100 - 540; run 1: + 100 * 3 * 100 - 540, ...
      {{1, 2, 101}, false, 0, 1, 10, (29060 + 58520 + 57980 + 57440 + 56900) / 5, 100 + 100 + 3 * 101},
      // -10100 - 540 a run; below -2000 after the first, so the last total stays.
      {{}, true, 0, 5, 5, -5 * 10640, 5 * 101},
      // A stop before the first step: -540 - 1080 - 1620, then nothing smaller.
      {{}, false, 1, 2, 2, -3240, 0},
  };
  for (const auto& [meetAt, belowFloor, stopAfterHeights, e, f, fitness, steps] : cases) {
    ScriptHost s;
    s.MeetAt = meetAt, s.BelowFloor = belowFloor, s.StopAfterHeights = stopAfterHeights;
    c.setConnections(54);
    c.playEpisode2(s, e, f);
    UserBreak = false;
    ASSERT_FALSE(s.HitLimit) << "no end after 100000 steps";
    EXPECT_EQ(c.getFitness(), fitness) << e;
    EXPECT_EQ(s.Steps, steps) << e;
    if (e != 8) continue;
    // Heights advance by three, wrapped into 1..10, at the target and each new run.
    EXPECT_EQ(s.Heights, (std::vector<std::pair<int, int>>{{8, 3}, {1, 6}, {4, 9}, {7, 2}, {10, 5}, {3, 8}}));
    EXPECT_EQ(s.Directions, (std::vector<std::string>{"left", "right", "right", "right", "right", "right"}));
  }
}

// Draws for the sign and the eight bits 128 .. 1, in that order.
int Mutate(int gen, std::vector<int> d) {
  static const TMutationSetup System = MakeMutationSetup(2, 100, 0.1f, 2.0f);
  d.resize(9, 0);
  size_t next = 0;
  return MutateGen(gen, System, [&] { return d[next++]; });
}

TEST_F(Net, InitialWeightsDrawOverPlusMinusTwoAndMutationFlipsBitsThenPrunes) {
  EXPECT_EQ(c.getConnections(), 54);
  // {draw, weight}: 2^31-1 is reduced to 0 first; 100 - 200/2^30 and -199.99.. round in single precision.
  for (auto [r, weight] : {std::pair{0, -200}, {2147483647, -200}, {1 << 30, 0}, {3 << 29, 100},
                           {(3 << 29) - 1, 100}, {1, -200}})
    EXPECT_EQ(DrawInitialWeight(r, 2, 100), weight) << r;
  EXPECT_EQ(Mutate(320, {0, 0, 0, 0, 0, 0, 974}), 320);  // bit 4 below its threshold
  EXPECT_EQ(Mutate(320, {0, 0, 0, 0, 0, 0, 975}), 320 ^ 4);
  EXPECT_EQ(Mutate(1, {900}), 1);  // the sign flips more readily near zero
  EXPECT_EQ(Mutate(1, {901}), -1);
  EXPECT_EQ(Mutate(200, {999}), 200);  // full magnitude never flips
  EXPECT_EQ(Mutate(-5, {0, 0, 0, 0, 0, 0, 0, 999, 0}), -7);  // bit 2
  SetAllWeights(c, 0);
  // {source, target, weight}; the last one lies outside the blocks: never touched
  const std::array<int, 3> set[] = {{0, 11, -7}, {0, 12, 9}, {5, 13, 10}, {16, 20, -150}, {20, 0, 5}};
  for (auto [s, t, v] : set) c.setWeight(s, t, v);
  c.mutate(0.0f, 2.0f, 10);  // a rate of 0 flips nothing, so only pruning acts
  EXPECT_EQ(c.getOldConnections(), 54);
  EXPECT_EQ(c.getConnections(), 2);
  const int after[] = {0, 0, 10, -150, 5};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(c.getWeight(set[i][0], set[i][1]), after[i]) << i;
}
}  // namespace
