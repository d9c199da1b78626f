// The network: evaluation with its clamps.
#include "test_support.h"

namespace {
using Net = NetTest;

TEST_F(Net, InputsAndSumsClampAtMaxInternAndTruncateTowardZero) {
  SetAllWeights(c, 0);
  int in[11] = {}, out[4];
  // {input 0, input 1, weight 0->11, weight 1->11, node 11}
  const std::array<int, 5> cases[] = {{500, -300, 150, -50, 900}, {500, -300, 200, -50, 1000},
                                      {500, -300, -200, 200, -1000}, {10, 0, -127, 0, -12}, {10, 0, 127, 0, 12},
                                      {10, 0, -9, 0, 0}, {10, 0, 9, 0, 0}, {0, 0, 0, 0, 0}};
  in[2] = 4000;
  for (auto [i0, i1, w0, w1, expected] : cases) {
    in[0] = i0, in[1] = i1;
    c.setWeight(0, 11, w0), c.setWeight(1, 11, w1);
    c.runANN(in, out);
    EXPECT_EQ(c.getNodeList()[11].internValue, expected) << w0 << "," << w1;
  }
  EXPECT_EQ(c.getNodeList()[2].internValue, 1000);
  in[2] = -5000;
  int six[6] = {7, 7, 7, 7, 4, 9};  // the two platform slots are not the network's
  c.runANN(in, six);
  EXPECT_EQ(std::tuple(c.getNodeList()[2].internValue, six[3], six[4], six[5]), std::tuple(-1000, 0, 4, 9));
}
}  // namespace
