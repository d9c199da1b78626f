// One network: evaluation (clamping, truncation, the cached evaluation against
// a plain one), the initial draw, both scores and mutation.
#include <array>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <utility>
#include <random>
#include <vector>

#include "test_support.h"

namespace {

struct Net : ::testing::Test {
  TRandomClockScope Clock{FixedSeconds};
  THeadlessHost host;
  TZarnikHostScope useHost{&host};
  TChromosom c;
  void SetUp() override {
    SeedRandom(0);
    c.init(21, 11, 3, 2, 2, 100, 1000);
  }
};

// Straight from the rules: every non-output source in order, zero weights
// skipped, each addition in extended precision rounded to single.
void ExpectSameAsReference(TANN& n, const int* input) {
  const int N = n.getNodes(), I = n.getInputNodes(), O = n.getOutputNodes();
  const long double M = n.getMaxIntern();
  std::vector<int> node;  // later nodes still hold their old values
  for (int i = 0; i < N; ++i) node.push_back(n.getNodeList()[i].Output);
  for (int i = 0; i < N; ++i) {
    float Sum = 0;
    for (int j = 0; i >= I && j < N - O; ++j)
      if (const int w = n.getWeight(j, i))
        Sum = static_cast<float>(static_cast<long double>(Sum) +
                                 static_cast<long double>(w) / n.getPrecWeight() * node[j]);
    const long double v = i < I ? input[i] : std::trunc(static_cast<long double>(Sum));
    node[i] = static_cast<int>(std::fmin(std::fmax(v, -M), M));
  }
  int out[4];
  n.runANN(input, out);
  for (int i = 0; i < N; ++i) ASSERT_EQ(n.getNodeList()[i].Output, node[i]) << "node " << i;
  for (int k = 0; k < O; ++k) ASSERT_EQ(out[k], node[N - O + k]);
}

TEST_F(Net, InputsAndSumsClampAtMaxInternAndTruncateTowardZero) {
  SetAllWeights(c, 0);
  int in[11] = {}, out[4];
  // {input 0, input 1, weight 0->11, weight 1->11, node 11}
  const std::array<int, 5> cases[] = {{500, -300, 150, -50, 900},  {500, -300, 200, -50, 1000},
                                      {500, -300, -200, 200, -1000}, {10, 0, -127, 0, -12},
                                      {10, 0, 127, 0, 12},         {10, 0, -9, 0, 0},
                                      {10, 0, 9, 0, 0},            {0, 0, 0, 0, 0}};
  in[2] = 4000;
  for (auto [i0, i1, w0, w1, expected] : cases) {
    in[0] = i0;
    in[1] = i1;
    c.setWeight(0, 11, w0);
    c.setWeight(1, 11, w1);
    c.runANN(in, out);
    EXPECT_EQ(c.getNodeList()[11].internValue, expected) << w0 << "," << w1;
  }
  EXPECT_EQ(c.getNodeList()[2].internValue, 1000);
  in[2] = -5000;
  int six[6] = {7, 7, 7, 7, 4, 9};  // the two platform slots are not the network's
  c.runANN(in, six);
  EXPECT_EQ(c.getNodeList()[2].internValue, -1000);
  EXPECT_EQ(six[4], 4);
  EXPECT_EQ(six[5], 9);
  EXPECT_EQ(six[0], 0);  // no weights into the outputs here
}

TEST_F(Net, FreshNetworkCountsItsLinksAndDrawsOverPlusMinusTwo) {
  EXPECT_EQ(c.getConnections(), 54);
  for (int s = 0; s < 21; ++s)
    for (int t = 0; t < 21; ++t) {  // links only between neighbouring layers
      const bool linked = (s <= 10 && t >= 11 && t <= 13) || (s >= 11 && s <= 13 && t >= 14 && t <= 16) ||
                          (s >= 14 && s <= 16 && t >= 17);
      EXPECT_TRUE(linked ? std::abs(c.getWeight(s, t)) <= 200 : c.getWeight(s, t) == 0) << s << "," << t;
    }
  EXPECT_EQ(DrawInitialWeight(0, 2, 100), -200);
  EXPECT_EQ(DrawInitialWeight(2147483647, 2, 100), -200);  // reduced to 0 first
  EXPECT_EQ(DrawInitialWeight(1 << 30, 2, 100), 0);
  EXPECT_EQ(DrawInitialWeight(3 << 29, 2, 100), 100);
  // One draw below: 100 - 200 / 2^30 = 99.99999981, which single precision rounds to 100.
  EXPECT_EQ(DrawInitialWeight((3 << 29) - 1, 2, 100), 100);
  EXPECT_EQ(DrawInitialWeight(1, 2, 100), -200);  // -199.99999981 rounds to -200
}

// Random networks of any weight scale and node limit, weights anywhere (a
// loaded file may hold any), row exchanges, mutation and extreme inputs.
TEST_F(Net, CachedEvaluationMatchesThePlainRule) {
  std::mt19937 rng(42);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  TChromosom b;
  int input[11];
  for (int round = 0; round < 1500; ++round) {
    if (round % 150 == 0) {
      const int prec = round % 300 ? 1 + pick(0, 1) * pick(0, 1000) : 100;
      const int intern = round % 450 ? pick(0, 2047) : INT32_MAX;
      c.init(21, 11, 3, 2, 2, prec, intern);
      b.init(21, 11, 3, 2, 2, prec, intern);
    }
    TChromosom& n = round % 2 ? c : b;
    const int range = round % 3 ? 400 : INT32_MAX;
    for (int k = 0; k < 20; ++k) n.setWeight(pick(0, 20), pick(0, 20), pick(0, 3) ? pick(-range, range) : 0);
    const int row = pick(0, 20);
    int* rc = c.getLineWeight(row);
    c.setLineWeight(row, b.getLineWeight(row));
    b.setLineWeight(row, rc);
    if (round % 4 == 0) n.mutate(0.1f, 2.0f, 10);
    for (int& v : input) v = round % 5 == 0 ? pick(INT32_MIN, INT32_MAX) : pick(-3000, 3000);
    ExpectSameAsReference(c, input);
    ExpectSameAsReference(b, input);
    if (HasFatalFailure()) return;
  }
}

TEST_F(Net, ShowWritesThreeBlocksWithEmptyTails) {
  SetAllWeights(c, 0);
  c.setWeight(0, 11, 12);
  c.setWeight(0, 12, -150);
  c.setWeight(16, 20, -12345);
  c.show();
  EXPECT_STREQ(host.DlgText(320), "  +12 -150   +0");
  EXPECT_STREQ(host.DlgText(340), "   +0   +0   +0-1234");  // cut to five characters
  for (int id : {334, 337, 341, 344}) EXPECT_STREQ(host.DlgText(id), "") << id;
}

TEST_F(Net, StepScoreOfTheStartPoseAndExtremeInputs) {
  std::array<int, 11> now = {50, 286, 197, 119, 50, 258, -1, 180, 180, -90, 0};
  c.calcFitness1(now.data(), now.data());
  EXPECT_EQ(c.getFitness(), 2000 + 133 - 4000 - 10);
  std::array<int, 11> low;  // extreme inputs do not overflow
  low.fill(INT_MIN);
  now.fill(INT_MAX);
  c.setConnections(INT_MAX);
  c.calcFitness1(low.data(), now.data());
  c.calcFitness1(now.data(), low.data());
}

// Each term of the step score on its own, worked by hand. The base pose, with
// no links, scores 45 * 100 / 135 = 33 for joint B and -45 * 2000 / 90 = -1000
// for the second term of joint D: -967.
TEST_F(Net, EachTermOfTheStepScoreWithItsSign) {
  using V = std::array<int, 11>;
  const V base = {0, 300, 100, 100, 100, 100, 0, 0, 45, 0, 0};
  const auto with = [&](std::initializer_list<std::pair<int, int>> changes) {
    V v = base;
    for (auto [i, x] : changes) v[i] = x;
    return v;
  };
  struct {
    const char* what;
    V now, old;
    int connections, oldConnections, expected;
  } const cases[] = {
      {"base", base, base, 0, 0, -967},
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
  for (const auto& k : cases) {
    c.setConnections(k.connections);
    c.setOldConnections(k.oldConnections);
    c.calcFitness1(k.now.data(), k.old.data());
    EXPECT_EQ(c.getFitness(), k.expected) << k.what;
  }
  EXPECT_STREQ(host.DlgText(302), "0.000000");
}

TEST_F(Net, RunTotalsAddUntilBelowMinusTwoThousandAndOnlyGainsAreAveraged) {
  EXPECT_EQ(CombineRunTotals({5000, 6000, 7000, 8000, 9000}), 7000);
  EXPECT_EQ(CombineRunTotals({-3000, -1000, -5000, -4000, -6000}), -6000);
  EXPECT_EQ(CombineRunTotals({-1500, -1000, -200, 0, 100}), -2500);
  EXPECT_EQ(CombineRunTotals({-2000, -100, -50, 0, 0}), -2100);  // -2000 is not below
  EXPECT_EQ(CombineRunTotals({-2001, -100, -50, 0, 0}), -2001);
  EXPECT_EQ(CombineRunTotals({4, 0, 0, 0, 0}), 0);  // 4 / 5
}

// Whole episodes on a scripted simulator, worked by hand; 54 links cost 540 a run.
struct Episode : Net {
  ScriptHost s;
  void SetUp() override {
    Net::SetUp();
    c.setConnections(54);
  }
  void TearDown() override {
    EXPECT_FALSE(s.HitLimit) << "no end after 100000 steps";
    UserBreak = false;
  }
};

TEST_F(Episode, ATargetAtTheFirstStepEarnsAHundredStepsTimesOneMeet) {
  s.MeetAt = {1};
  c.playEpisode2(s, 8, 3);
  // Running totals 10000 - 540 = 9460, then 540 less each run: 41900 / 5.
  EXPECT_EQ(c.getFitness(), 8380);
  EXPECT_EQ(s.Steps, 100 + 4 * 101);  // the budget is 99 after the target
  // Heights advance by three, wrapped into 1..10, at the target and each new run.
  const std::vector<std::pair<int, int>> heights = {{8, 3}, {1, 6}, {4, 9}, {7, 2}, {10, 5}, {3, 8}};
  EXPECT_EQ(s.Heights, heights);
  EXPECT_EQ(s.Directions, (std::vector<std::string>{"left", "right", "right", "right", "right", "right"}));
}

TEST_F(Episode, LaterTargetsWeighByTheMeetsOfTheWholeEpisode) {
  s.MeetAt = {1, 2, 101};  // two in run 0, the first step of run 1
  c.playEpisode2(s, 1, 10);
  // Run 0: 100 * 1 * 100 + 98 * 2 * 100 - 540 = 29060; run 1: + 100 * 3 * 100 - 540.
  EXPECT_EQ(c.getFitness(), (29060 + 58520 + 57980 + 57440 + 56900) / 5);
  EXPECT_EQ(s.Steps, 100 + 100 + 3 * 101);
}

TEST_F(Episode, StepsBelowTheFloorCostAHundredEach) {
  s.BelowFloor = true;
  c.playEpisode2(s, 5, 5);
  // -10100 - 540 a run; below -2000 after the first, so the last total stays.
  EXPECT_EQ(c.getFitness(), -5 * 10640);
  EXPECT_EQ(s.Steps, 5 * 101);
}

TEST_F(Episode, AStopBeforeTheFirstStepLeavesOnlyTheLinkCost) {
  s.StopAfterHeights = 1;
  c.playEpisode2(s, 2, 2);
  // Totals -540 .. -2700: -540 - 1080 - 1620 = -3240, then nothing smaller.
  EXPECT_EQ(c.getFitness(), -3240);
  EXPECT_EQ(s.Steps, 0);
  EXPECT_EQ(s.Heights.size(), 5u);
}

const TMutationSetup System = MakeMutationSetup(2, 100, 0.1f, 2.0f);

// Draws for the sign and the eight bits 128 .. 1, in that order.
int Mutate(int gen, std::vector<int> d) {
  d.resize(9, 0);
  size_t next = 0;
  return MutateGen(gen, System, [&] { return d[next++]; });
}

TEST_F(Net, MutationFlipsBitsOfTheTwosComplementThenPrunes) {
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
