// One network: evaluation (clamping, truncation, the cached evaluation against
// a plain one), the initial draw, the weight lines, both scores and mutation.
#include <array>
#include <climits>
#include <cmath>
#include <initializer_list>
#include <random>
#include <vector>

#include "test_support.h"

namespace {


struct Net : ::testing::Test {
  TRandomClockScope Clock{FixedSeconds};
  THeadlessHost host;
  TChromosom c;
  void SetUp() override {
    ZarnikWindow = &host;
    SeedRandomFromClock();
    c.init(21, 11, 3, 2, 2, 100, 1000);
  }
  int Node(int i) const { return c.getNodeList()[i].internValue; }
};

// Straight from the rules: every non-output source in order, zero weights
// skipped, each addition in extended precision rounded to single.
std::vector<TANN::TNode> ReferenceRun(const TANN& n, const int* input) {
  const int N = n.getNodes(), I = n.getInputNodes(), O = n.getOutputNodes();
  const long double M = n.getMaxIntern();
  std::vector<TANN::TNode> node(n.getNodeList(), n.getNodeList() + N);
  for (int i = 0; i < N; ++i) {
    float Sum = 0;
    for (int j = 0; i >= I && j < N - O; ++j)
      if (const int w = n.getWeight(j, i))
        Sum = static_cast<float>(static_cast<long double>(Sum) +
                                 static_cast<long double>(w) / n.getPrecWeight() * node[j].Output);
    const long double v = i < I ? input[i] : std::trunc(static_cast<long double>(Sum));
    node[i].internValue = node[i].Output = static_cast<int>(std::fmin(std::fmax(v, -M), M));
  }
  return node;
}

void ExpectSameAsReference(TANN& n, const int* input) {
  const std::vector<TANN::TNode> expected = ReferenceRun(n, input);
  int out[6] = {0, 0, 0, 0, 7, -3};
  n.runANN(input, out);
  for (int i = 0; i < n.getNodes(); ++i) {
    ASSERT_EQ(n.getNodeList()[i].internValue, expected[i].internValue) << "node " << i;
    ASSERT_EQ(n.getNodeList()[i].Output, expected[i].Output) << "node " << i;
  }
  for (int k = 0; k < n.getOutputNodes(); ++k) ASSERT_EQ(out[k], expected[17 + k].Output);
  ASSERT_EQ(out[4], 7);  // only the four output nodes are written
  ASSERT_EQ(out[5], -3);
}

TEST_F(Net, InputsAndSumsClampAtMaxInternAndTruncateTowardZero) {
  SetAllWeights(c, 0);
  int in[11] = {}, out[6] = {};
  // {input 0, input 1, weight 0->11, weight 1->11, node 11}
  const std::array<int, 5> cases[] = {{500, -300, 150, -50, 900},  {500, -300, 200, -50, 1000},
                                      {500, -300, -200, 200, -1000}, {10, 0, -127, 0, -12},
                                      {10, 0, -9, 0, 0},             {10, 0, 127, 0, 12}};
  in[2] = 4000;
  in[3] = -5000;
  for (auto [i0, i1, w0, w1, expected] : cases) {
    in[0] = i0;
    in[1] = i1;
    c.setWeight(0, 11, w0);
    c.setWeight(1, 11, w1);
    c.runANN(in, out);
    EXPECT_EQ(Node(11), expected) << w0 << "," << w1;
    EXPECT_EQ(Node(2), 1000);
    EXPECT_EQ(Node(3), -1000);
  }
}

TEST_F(Net, FreshNetworkHasLinksOnlyBetweenNeighbouringLayers) {
  EXPECT_EQ(c.getConnections(), 54);
  EXPECT_EQ(c.getOldConnections(), 54);
  int nonZero = 0;
  for (int s = 0; s < 21; ++s)
    for (int t = 0; t < 21; ++t) {
      const int w = c.getWeight(s, t);
      const bool linked = (s <= 10 && t >= 11 && t <= 13) || (s >= 11 && s <= 13 && t >= 14 && t <= 16) ||
                          (s >= 14 && s <= 16 && t >= 17);
      EXPECT_TRUE(linked ? w >= -200 && w <= 200 : w == 0) << s << "," << t << ": " << w;
      nonZero += w != 0;
    }
  EXPECT_GT(nonZero, 45);
}

TEST(InitialWeight, DrawMapsTheFullRangeOntoPlusMinusTwo) {
  EXPECT_EQ(DrawInitialWeight(0, 2, 100), -200);
  EXPECT_EQ(DrawInitialWeight(2147483647, 2, 100), -200);  // reduced to 0 first
  EXPECT_EQ(DrawInitialWeight(1 << 30, 2, 100), 0);
  EXPECT_EQ(DrawInitialWeight(3 << 29, 2, 100), 100);
  EXPECT_EQ(DrawInitialWeight(2147483646, 2, 100), 200);  // 199.9999998 rounds up in single precision
}

// The cached evaluation must give bit for bit what the plain rule gives, for
// any weight scale and node limit, for weights outside the usual blocks (a
// loaded file may hold any) and after every kind of weight change.
TEST(CachedEvaluation, MatchesThePlainRuleOnRandomNetworks) {
  TRandomClockScope clock{FixedSeconds};
  SeedRandomFromClock();
  std::mt19937 rng(42);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  TChromosom a, b;
  int input[11];
  for (int round = 0; round < 4000; ++round) {
    if (round % 250 == 0) {
      const int prec = round % 500 ? 1 + pick(0, 1) * pick(0, 1000) : 100;
      const int intern = round % 750 ? pick(0, 2047) : 1000;
      a.init(21, 11, 3, 2, 2, prec, intern);
      b.init(21, 11, 3, 2, 2, prec, intern);
    }
    TChromosom& n = round % 2 ? a : b;
    if (round % 6 == 0) {
      for (int k = 0; k < 20; ++k) n.setWeight(pick(0, 20), pick(0, 20), pick(-400, 400));
    } else if (round % 6 == 1) {
      const int row = pick(0, 20);
      int* ra = a.getLineWeight(row);
      a.setLineWeight(row, b.getLineWeight(row));
      b.setLineWeight(row, ra);
    } else if (round % 6 == 2) {
      n.mutate(0.1f, 2.0f, 10);
    } else if (round % 6 == 3) {
      n.getLineWeight(pick(0, 16))[pick(11, 20)] = pick(-2000000000, 2000000000);
    } else if (round % 6 == 4) {  // dense layered blocks, now and then of any size
      const int range = round % 4 == 0 ? INT32_MAX : 400;
      for (int k = 0; k < 60; ++k) n.setWeight(pick(0, 16), pick(11, 20), pick(0, 3) ? pick(-range, range) : 0);
    }
    for (int& v : input) v = round % 5 == 0 ? pick(INT32_MIN, INT32_MAX) : pick(-3000, 3000);
    ExpectSameAsReference(a, input);
    ExpectSameAsReference(b, input);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

TEST_F(Net, ShowWritesThreeBlocksWithEmptyTails) {
  SetAllWeights(c, 0);
  c.setWeight(0, 11, 12);
  c.setWeight(0, 12, -150);
  c.setWeight(10, 13, 200);
  c.setWeight(11, 14, 1234);
  c.setWeight(16, 20, -12345);
  c.show();
  EXPECT_STREQ(host.DlgText(320), "  +12 -150   +0");
  EXPECT_STREQ(host.DlgText(330), "   +0   +0 +200");
  EXPECT_STREQ(host.DlgText(331), "+1234   +0   +0");
  EXPECT_STREQ(host.DlgText(340), "   +0   +0   +0-1234");  // cut to five characters
  EXPECT_STREQ(host.DlgText(338), "   +0   +0   +0   +0");
  for (int id : {334, 335, 336, 337, 341, 342, 343, 344}) EXPECT_STREQ(host.DlgText(id), "") << id;
}

TEST_F(Net, StepScoreOfTheStartPoseAndItsTerms) {
  // Start pose: ball on E, claw at (197, 119), angles 180, 180, -90, 0.
  using Vec = std::array<int, 11>;
  const Vec start = {50, 286, 197, 119, 50, 258, -1, 180, 180, -90, 0};
  auto score = [&](const Vec& now, const Vec& old) {
    c.calcFitness1(now.data(), old.data());
    return c.getFitness();
  };
  const int base = score(start, start);
  EXPECT_EQ(base, 2000 + 133 - 4000 - 10);
  EXPECT_STREQ(host.DlgText(302), "202.311646");  // 147 px across, 139 px down
  // {{index, now, old}, ..}, change of the score
  const std::pair<std::vector<std::array<int, 3>>, int> cases[] = {
      {{{3, 0, 0}, {5, -139, -139}}, -1000},  // claw at the top edge, same distance
      {{{1, 370, 370}}, 0},                   // floor term only below the line
      {{{1, 371, 372}}, 5000 - 5000},
      {{{1, 371, 371}}, -5000},
      {{{3, 258, 258}, {5, 258, 258}, {2, 57, 60}}, 3000},  // approaching the target
  };
  for (const auto& [edits, delta] : cases) {
    Vec now = start, old = start;
    for (auto [i, n, o] : edits) now[i] = n, old[i] = o;
    EXPECT_EQ(score(now, old), base + delta) << edits[0][0] << ": " << edits[0][1];
  }
  Vec low, high;  // extreme inputs do not overflow
  low.fill(INT_MIN);
  high.fill(INT_MAX);
  c.setConnections(INT_MAX);
  c.setOldConnections(INT_MIN);
  score(low, high);
  score(high, low);
}

TEST(RunTotals, CombineAsTheEpisodeRuleSays) {
  EXPECT_EQ(CombineRunTotals({5000, 6000, 7000, 8000, 9000}), 7000);
  EXPECT_EQ(CombineRunTotals({-3000, -1000, -5000, -4000, -6000}), -6000);
  EXPECT_EQ(CombineRunTotals({-1500, -1000, -200, 0, 100}), -2500);
  EXPECT_EQ(CombineRunTotals({-2000, 500, 0, 0, 0}), -1500);  // -2000 is not below the line
  EXPECT_EQ(CombineRunTotals({3, 1, 0, 0, 0}), 0);            // 4 / 5 truncates
}

using Episode = WorldTest<>;

TEST_F(Episode, StoppedBeforeTheFirstStepCostsOnlyTheSize) {
  UserBreak = true;
  w.Population[0].setConnections(54);
  w.Population[0].calcCFitness2(w.InputList);
  // Totals -540, -1080, -1620, -2160, -2700: after -1620 only smaller ones count.
  EXPECT_EQ(w.Population[0].getFitness(), -540 - 1080 - 1620);
  EXPECT_EQ(host.Pumps, 0);
}

const TMutationSetup System = MakeMutationSetup(2, 100, 0.1f, 2.0f);

// Draws for the sign and the eight bits 128 .. 1, in that order.
int Mutate(int gen, std::vector<int> d) {
  d.resize(9, 0);
  size_t next = 0;
  return MutateGen(gen, System, [&] { return d[next++]; });
}

TEST(MutateGen, SignAndBitThresholdsOnTheTwosComplementValue) {
  const int thresholds[8] = {1000, 999, 997, 994, 988, 975, 950, 900};
  for (int bit = 0; bit < 8; ++bit) {
    std::vector<int> d(9, 0);
    d[1 + bit] = thresholds[bit] - 1;
    EXPECT_EQ(Mutate(320, d), 320) << "bit " << bit;
    d[1 + bit] = thresholds[bit];
    if (thresholds[bit] < 1000) {
      EXPECT_EQ(Mutate(320, d), 320 ^ (128 >> bit)) << "bit " << bit;
    }
  }
  EXPECT_EQ(Mutate(1, {900}), 1);  // the sign flips more readily near zero
  EXPECT_EQ(Mutate(1, {901}), -1);
  EXPECT_EQ(Mutate(-100, {949}), -100);
  EXPECT_EQ(Mutate(-100, {950}), 100);
  EXPECT_EQ(Mutate(200, {999}), 200);  // full magnitude never flips
  EXPECT_EQ(Mutate(0, {800}), 0);
  EXPECT_EQ(Mutate(-5, {0, 0, 0, 0, 0, 0, 0, 999, 0}), -7);  // bit 2
  EXPECT_EQ(Mutate(37, {0, 0, 0, 0, 0, 0, 0, 0, 900}), 36);  // bit 1
}

using Mutation = WorldTest<>;

TEST_F(Mutation, FlipsThenPrunesSmallWeightsAndRecountsLinks) {
  TChromosom& c = w.Population[3];
  SetAllWeights(c, 0);
  // {source, target, weight}; the last one lies outside the blocks: never touched
  const std::array<int, 3> set[] = {{0, 11, -7}, {0, 12, 9}, {5, 13, 10}, {14, 17, 36}, {16, 20, -150}, {20, 0, 5}};
  for (auto [s, t, v] : set) c.setWeight(s, t, v);
  c.setConnections(54);
  c.mutate(0.0f, 2.0f, 10);  // a rate of 0 flips nothing, so only pruning acts
  EXPECT_EQ(c.getOldConnections(), 54);
  EXPECT_EQ(c.getConnections(), 3);
  const int after[] = {0, 0, 10, 36, -150, 5};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(c.getWeight(set[i][0], set[i][1]), after[i]) << i;

  // With a rate: nine draws per link in block order, then the pruning.
  TChromosom& d = w.Population[0];
  TRandomClockScope clock{FixedSeconds};
  SeedRandomFromClock();
  std::vector<int> expected = Weights(d);
  for (auto [s0, ns, t0, nt] : {std::array{0, 11, 11, 3}, std::array{11, 3, 14, 3}, std::array{14, 3, 17, 4}})
    for (int s = s0; s < s0 + ns; ++s)
      for (int t = t0; t < t0 + nt; ++t) {
        int& x = expected[s * 21 + t];
        x = MutateGen(x, System, [] { return RandomBelow(1000); });
        if ((x < 0 ? -static_cast<long long>(x) : x) < 10) x = 0;
      }
  TRandomClockScope replay{FixedSeconds};
  SeedRandomFromClock();
  d.mutate(0.1f, 2.0f, 10);
  EXPECT_EQ(Weights(d), expected);
}

}  // namespace
