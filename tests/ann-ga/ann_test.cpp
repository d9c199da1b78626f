// The network: evaluation with its clamps and truncation, any links and precisions.
#include "test_support.h"

namespace {
using Net = NetTest;

struct TLink { int Source, Target, Weight; };
// {what, precWeight, maxIntern, links, input for nodes 0 .. 8, node looked at, its value after the first and second call}
struct TEvalCase { const char* What; int Prec, Limit; std::vector<TLink> Links; int In; int Node, First, Second; };

// Worked by hand with the plain rule: nodes in ascending order, each sum rounded to single precision after every term.
TEST_F(Net, AnyLinksEvaluateByThePlainRule) {
  std::vector<TLink> nineThirds;
  for (int s = 0; s < 9; ++s) nineThirds.push_back({s, 11, 1});
  const TEvalCase cases[] = {
      {"input 0 straight to output 17", 100, 1000, {{0, 17, 250}}, 300, 17, 750, 750},
      {"an input clamped at the limit", 100, 1000, {}, 4000, 2, 1000, 1000},
      {"and at its negative", 100, 1000, {}, -5000, 2, -1000, -1000},
      {"two terms of either sign", 100, 1000, {{0, 11, 150}, {1, 11, -50}}, 500, 11, 500, 500},
      {"a sum clamped at the negative limit", 100, 1000, {{0, 11, -250}}, 500, 11, -1000, -1000},
      {"-12.7 truncated toward zero", 100, 1000, {{0, 11, -127}}, 10, 11, -12, -12},
      {"12.7 as well", 100, 1000, {{0, 11, 127}}, 10, 11, 12, 12},
      {"-0.9 as well", 100, 1000, {{0, 11, -9}}, 10, 11, 0, 0},
      {"an output's row is never read", 100, 1000, {{0, 17, 250}, {17, 18, 100}}, 300, 18, 0, 0},
      {"inside a layer: node 11 is new", 100, 1000, {{0, 11, 100}, {11, 12, -300}}, 7, 12, -21, -21},
      // Node 14 comes after 12: the first call reads its value from building (0), the second its last one.
      {"backwards: the value of the call before", 100, 1000, {{0, 14, 100}, {14, 12, 200}}, 10, 12, 0, 20},
      // 1/3 nine times: 0.33333334, 0.6666667, 1, .., 2.6666665, 2.9999998, truncated.
      {"nine thirds in single precision", 3, 1000, nineThirds, 1, 11, 2, 2},
      {"the same beyond a limit of 2047", 3, 100000, nineThirds, 1, 11, 2, 2},
      {"input and sum clamped at 5000", 100, 5000, {{0, 11, 150}}, 6000, 11, 5000, 5000},
      {"a huge weight saturates", 100, 1000, {{0, 11, 2000000000}}, 1000, 11, 1000, 1000},
      {"a huge negative one too", 100, 1000, {{0, 11, -2000000000}}, 1000, 11, -1000, -1000},
      // 2^30 + 2^30 is 2^31 in single precision, clamped to the largest int.
      {"a limit as large as int", 1, INT_MAX, {{0, 11, 1}, {1, 11, 1}}, 1 << 30, 11, INT_MAX, INT_MAX},
  };
  for (const TEvalCase& k : cases) {
    TChromosom n;
    n.init(21, 11, 3, 2, 2, k.Prec, k.Limit);
    SetAllWeights(n, 0);
    for (const TLink& l : k.Links) n.setWeight(l.Source, l.Target, l.Weight);
    int in[11] = {k.In, k.In, k.In, k.In, k.In, k.In, k.In, k.In, k.In, 0, 0}, out[4];
    n.runANN(in, out);
    EXPECT_EQ(n.getNodeList()[k.Node].internValue, k.First) << k.What;
    n.runANN(in, out);
    EXPECT_EQ(n.getNodeList()[k.Node].Output, k.Second) << k.What;
  }
  // Rows written through getLineWeight, or handed over, count from the next evaluation on.
  SetAllWeights(c, 0);
  int in[11] = {4}, out[6] = {7, 7, 7, 7, 4, 9};
  c.runANN(in, out);
  int* row = c.getLineWeight(0);
  row[11] = 300;
  c.runANN(in, out);
  EXPECT_EQ(c.getNodeList()[11].internValue, 12);
  auto other = std::make_unique<int[]>(21);
  other[12] = -50;
  int* old = c.getLineWeight(0);
  c.setLineWeight(0, other.release());
  c.runANN(in, out);
  EXPECT_EQ(std::pair(c.getNodeList()[11].internValue, c.getNodeList()[12].internValue), std::pair(0, -2));
  EXPECT_EQ(std::vector(out, out + 6), (std::vector{0, 0, 0, 0, 4, 9}));  // the two platform slots are not the network's
  delete[] old;
}

}  // namespace
