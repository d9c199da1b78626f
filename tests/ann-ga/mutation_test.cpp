// Mutation: the thresholds of the sign and bit flips, two's-complement flips,
// pruning and the recount of links.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <vector>

#include "test_support.h"

namespace {

const TMutationSetup System = MakeMutationSetup(2, 100, 0.1f, 2.0f);

// Draws for the sign and the eight bits 128 .. 1, in that order.
int Mutate(int gen, std::initializer_list<int> draws) {
  std::vector<int> d(draws);
  size_t next = 0;
  return MutateGen(gen, System, [&] { return next < d.size() ? d[next++] : 0; });
}

TEST(MutateGen, BitThresholdsFromHighToLow) {
  const int thresholds[8] = {1000, 999, 997, 994, 988, 975, 950, 900};
  for (int bit = 0; bit < 8; ++bit) {
    std::vector<int> below(9, 0), at(9, 0);
    below[1 + bit] = thresholds[bit] - 1;
    at[1 + bit] = thresholds[bit];
    const int value = 128 >> bit;
    auto run = [&](const std::vector<int>& d) {
      size_t n = 0;
      return MutateGen(64 + 256, System, [&] { return d[n++]; });
    };
    EXPECT_EQ(run(below), 320) << "bit " << value;
    if (thresholds[bit] < 1000) {
      EXPECT_EQ(run(at), 320 ^ value) << "bit " << value;
    }
  }
}

TEST(MutateGen, SignFlipsMoreReadilyNearZero) {
  EXPECT_EQ(Mutate(1, {900}), 1);
  EXPECT_EQ(Mutate(1, {901}), -1);
  EXPECT_EQ(Mutate(-100, {949}), -100);
  EXPECT_EQ(Mutate(-100, {950}), 100);
  EXPECT_EQ(Mutate(200, {999}), 200);  // full magnitude never flips
  EXPECT_EQ(Mutate(0, {800}), 0);
}

TEST(MutateGen, BitsFlipOnTheTwosComplementValue) {
  EXPECT_EQ(Mutate(-5, {0, 0, 0, 0, 0, 0, 0, 999, 0}), -7);  // bit 2
  EXPECT_EQ(Mutate(37, {0, 0, 0, 0, 0, 0, 0, 0, 900}), 36);  // bit 1
}

TEST(Mutate, PrunesSmallWeightsAndRecountsLinks) {
  annga_test::WorldFixture f;
  TChromosom& c = f.World->Population[3];
  annga_test::SetAllWeights(c, 0);
  c.setWeight(0, 11, 9);
  c.setWeight(0, 12, -9);
  c.setWeight(5, 13, 10);
  c.setWeight(16, 20, -150);
  c.setWeight(20, 0, 77);  // outside the blocks: never touched
  c.setConnections(54);
  // A rate of 0 flips nothing, so only pruning acts.
  c.mutate(0.0f, 2.0f, 10);
  EXPECT_EQ(c.getOldConnections(), 54);
  EXPECT_EQ(c.getConnections(), 2);
  EXPECT_EQ(c.getWeight(0, 11), 0);
  EXPECT_EQ(c.getWeight(0, 12), 0);
  EXPECT_EQ(c.getWeight(5, 13), 10);
  EXPECT_EQ(c.getWeight(16, 20), -150);
  EXPECT_EQ(c.getWeight(20, 0), 77);
}

TEST(Mutate, UsesNineDrawsPerLinkInBlockOrder) {
  annga_test::WorldFixture f;
  TChromosom& c = f.World->Population[0];
  const std::vector<int> before = annga_test::Weights(c);
  TRandomClockScope clock{annga_test::FixedSeconds};
  SeedRandomFromClock();
  std::vector<int> expected = before;
  for (auto [s0, ns, t0, nt] : {std::array{0, 11, 11, 3}, std::array{11, 3, 14, 3}, std::array{14, 3, 17, 4}})
    for (int s = s0; s < s0 + ns; ++s)
      for (int t = t0; t < t0 + nt; ++t) {
        int& w = expected[s * 21 + t];
        w = MutateGen(w, System, [] { return RandomBelow(1000); });
        if ((w < 0 ? -static_cast<long long>(w) : w) < 10) w = 0;
      }
  TRandomClockScope replay{annga_test::FixedSeconds};
  SeedRandomFromClock();
  c.mutate(0.1f, 2.0f, 10);
  EXPECT_EQ(annga_test::Weights(c), expected);
}

}  // namespace
