// Building and evaluating one network: clamping, truncation, the initial
// weight draw, the cached evaluation against a plain one, and the weight lines.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

using annga_test::SetAllWeights;

struct Net : ::testing::Test {
  TRandomClockScope Clock{annga_test::FixedSeconds};
  TANN ann;
  int in[11] = {};
  int out[6] = {};
  void SetUp() override {
    SeedRandomFromClock();
    ann.initANN(21, 11, 3, 2, 2, 100, 1000);
  }
  int Node(int i) const { return ann.getNodeList()[i].internValue; }
};

// Straight from the rules: every non-output source in order, zero weights
// skipped, each addition in extended precision rounded to single.
std::vector<TANN::TNode> ReferenceRun(const TANN& n, const int* input) {
  const int N = n.getNodes(), I = n.getInputNodes(), O = n.getOutputNodes();
  const long double M = n.getMaxIntern();
  std::vector<TANN::TNode> node(n.getNodeList(), n.getNodeList() + N);
  for (int i = 0; i < I; ++i) {
    const long double v = std::fmin(std::fmax(static_cast<long double>(input[i]), -M), M);
    node[i].internValue = node[i].Output = static_cast<int>(v);
  }
  for (int i = I; i < N; ++i) {
    float Sum = 0;
    for (int j = 0; j < N - O; ++j) {
      const int w = n.getWeight(j, i);
      if (w == 0) continue;
      Sum = static_cast<float>(static_cast<long double>(Sum) +
                               static_cast<long double>(w) / n.getPrecWeight() * node[j].Output);
    }
    long double t = std::trunc(static_cast<long double>(Sum));
    t = std::fmin(std::fmax(t, -M), M);
    node[i].internValue = node[i].Output = static_cast<int>(t);
  }
  return node;
}

void ExpectSameAsReference(TANN& n, const int* input) {
  const std::vector<TANN::TNode> expected = ReferenceRun(n, input);
  int out[6] = {};
  n.runANN(input, out);
  for (int i = 0; i < n.getNodes(); ++i) {
    ASSERT_EQ(n.getNodeList()[i].internValue, expected[i].internValue) << "node " << i;
    ASSERT_EQ(n.getNodeList()[i].Output, expected[i].Output) << "node " << i;
  }
  for (int k = 0; k < n.getOutputNodes(); ++k) ASSERT_EQ(out[k], expected[17 + k].Output);
}

TEST_F(Net, InputsAndSumsClampAtMaxIntern) {
  SetAllWeights(ann, 0);
  ann.setWeight(0, 11, 150);
  ann.setWeight(1, 11, -50);
  in[0] = 500;
  in[1] = -300;
  in[2] = 4000;
  in[3] = -5000;
  ann.runANN(in, out);
  EXPECT_EQ(Node(2), 1000);
  EXPECT_EQ(Node(3), -1000);
  EXPECT_EQ(Node(11), 900);
  EXPECT_EQ(Node(12), 0);  // no incoming weight

  ann.setWeight(0, 11, 200);
  ann.runANN(in, out);
  EXPECT_EQ(Node(11), 1000);
  ann.setWeight(0, 11, -200);
  ann.setWeight(1, 11, 200);
  ann.runANN(in, out);
  EXPECT_EQ(Node(11), -1000);
}

TEST_F(Net, SumsTruncateTowardZero) {
  SetAllWeights(ann, 0);
  in[0] = 10;
  const std::pair<int, int> cases[] = {{-127, -12}, {-9, 0}, {9, 0}, {127, 12}};
  for (auto [w, expected] : cases) {
    ann.setWeight(0, 11, w);
    ann.runANN(in, out);
    EXPECT_EQ(Node(11), expected) << "weight " << w;
  }
}

TEST_F(Net, WritesOnlyTheOutputNodesOfTheVector) {
  out[4] = 7;
  out[5] = -3;
  for (int& v : in) v = 300;
  ann.runANN(in, out);
  EXPECT_EQ(out[4], 7);
  EXPECT_EQ(out[5], -3);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(out[k], Node(17 + k));
}

TEST_F(Net, FreshNetworkHasLinksOnlyBetweenNeighbouringLayers) {
  EXPECT_EQ(ann.getConnections(), 54);
  EXPECT_EQ(ann.getOldConnections(), 54);
  EXPECT_EQ(ann.getOutputNodes(), 4);
  auto inBlock = [](int s, int t) {
    return (s <= 10 && t >= 11 && t <= 13) || (s >= 11 && s <= 13 && t >= 14 && t <= 16) ||
           (s >= 14 && s <= 16 && t >= 17);
  };
  int nonZero = 0;
  for (int s = 0; s < 21; ++s)
    for (int t = 0; t < 21; ++t) {
      const int w = ann.getWeight(s, t);
      if (!inBlock(s, t)) {
        EXPECT_EQ(w, 0) << s << "," << t;
      }
      EXPECT_GE(w, -200);
      EXPECT_LE(w, 200);
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

// The cached evaluation must give bit for bit what the plain rule gives, also
// for weights outside the usual blocks (a loaded file may hold any) and after
// every kind of weight change.
TEST(CachedEvaluation, MatchesThePlainRuleOnRandomNetworks) {
  TRandomClockScope clock{annga_test::FixedSeconds};
  SeedRandomFromClock();
  std::mt19937 rng(42);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  TChromosom a, b;
  a.init(21, 11, 3, 2, 2, 100, 1000);
  b.init(21, 11, 3, 2, 2, 100, 1000);
  int input[11];
  for (int round = 0; round < 3000; ++round) {
    TChromosom& n = round % 2 ? a : b;
    switch (round % 6) {
      case 0:
        for (int k = 0; k < 20; ++k) n.setWeight(pick(0, 20), pick(0, 20), pick(-400, 400));
        break;
      case 1: {
        const int row = pick(0, 20);
        int* ra = a.getLineWeight(row);
        int* rb = b.getLineWeight(row);
        a.setLineWeight(row, rb);
        b.setLineWeight(row, ra);
        break;
      }
      case 2:
        n.mutate(0.1f, 2.0f, 10);
        break;
      case 3:
        n.getLineWeight(pick(0, 16))[pick(11, 20)] = pick(-2000000000, 2000000000);
        break;
      default:
        break;
    }
    for (int& v : input) v = round % 5 == 0 ? pick(INT32_MIN, INT32_MAX) : pick(-1500, 1500);
    ExpectSameAsReference(a, input);
    ExpectSameAsReference(b, input);
    if (HasFatalFailure()) return;
  }
}

// Networks with links only between neighbouring layers, weights of any size.
TEST(CachedEvaluation, MatchesThePlainRuleOnLayeredNetworks) {
  TRandomClockScope clock{annga_test::FixedSeconds};
  SeedRandomFromClock();
  std::mt19937 rng(7);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 300; ++round) {
    TChromosom n;
    const int intern = round % 3 == 0 ? pick(0, 2047) : 1000;
    n.init(21, 11, 3, 2, 2, 1 + pick(0, 1) * pick(0, 1000), intern);
    const int range = round % 4 == 0 ? INT32_MAX : 400;
    for (auto [s0, ns, t0, nt] : {std::array{0, 11, 11, 3}, std::array{11, 3, 14, 3}, std::array{14, 3, 17, 4}})
      for (int s = s0; s < s0 + ns; ++s)
        for (int t = t0; t < t0 + nt; ++t) n.setWeight(s, t, pick(0, 3) == 0 ? 0 : pick(-range, range));
    int input[11];
    for (int k = 0; k < 20; ++k) {
      for (int& v : input) v = pick(-3000, 3000);
      ExpectSameAsReference(n, input);
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
}

struct ShowLines : Net {
  THeadlessHost host;
  void SetUp() override {
    Net::SetUp();
    ZarnikWindow = &host;
  }
};

TEST_F(ShowLines, ThreeBlocksWithEmptyTails) {
  SetAllWeights(ann, 0);
  ann.setWeight(0, 11, 12);
  ann.setWeight(0, 12, -150);
  ann.setWeight(10, 13, 200);
  ann.setWeight(11, 14, 1234);
  ann.setWeight(16, 20, -12345);
  ann.show();
  EXPECT_STREQ(host.DlgText(320), "  +12 -150   +0");
  EXPECT_STREQ(host.DlgText(330), "   +0   +0 +200");
  EXPECT_STREQ(host.DlgText(331), "+1234   +0   +0");
  for (int id = 334; id <= 337; ++id) EXPECT_STREQ(host.DlgText(id), "") << id;
  EXPECT_STREQ(host.DlgText(340), "   +0   +0   +0-1234");  // cut to five characters
  EXPECT_STREQ(host.DlgText(338), "   +0   +0   +0   +0");
  for (int id = 341; id <= 344; ++id) EXPECT_STREQ(host.DlgText(id), "") << id;
}

}  // namespace
