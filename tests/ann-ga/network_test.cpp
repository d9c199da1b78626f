// One network: evaluation (clamping, truncation, the cached evaluation against
// a plain one), the initial draw, both scores and mutation.
#include <array>
#include <climits>
#include <cmath>
#include <cstdlib>
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
  const std::array<int, 5> cases[] = {
      {500, -300, 200, -50, 1000}, {500, -300, -200, 200, -1000}, {10, 0, -127, 0, -12}, {10, 0, 127, 0, 12}};
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

TEST_F(Net, StepScoreOfTheStartPoseAndTheEpisodeTotals) {
  std::array<int, 11> now = {50, 286, 197, 119, 50, 258, -1, 180, 180, -90, 0};
  c.calcFitness1(now.data(), now.data());
  EXPECT_EQ(c.getFitness(), 2000 + 133 - 4000 - 10);
  std::array<int, 11> low;  // extreme inputs do not overflow
  low.fill(INT_MIN);
  now.fill(INT_MAX);
  c.setConnections(INT_MAX);
  c.calcFitness1(low.data(), now.data());
  c.calcFitness1(now.data(), low.data());

  EXPECT_EQ(CombineRunTotals({5000, 6000, 7000, 8000, 9000}), 7000);
  EXPECT_EQ(CombineRunTotals({-3000, -1000, -5000, -4000, -6000}), -6000);
  EXPECT_EQ(CombineRunTotals({-1500, -1000, -200, 0, 100}), -2500);
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
