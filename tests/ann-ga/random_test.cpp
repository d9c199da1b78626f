// The shared generator: 31-bit values, repeatable under a pinned clock, and a
// fresh stream at every reseed.
#include <gtest/gtest.h>

#include <vector>

#include "random.h"

namespace {

int64_t Pinned() { return 1700000000; }

std::vector<int32_t> Draws(int n) {
  std::vector<int32_t> v;
  for (int i = 0; i < n; ++i) v.push_back(NextRandom());
  return v;
}

TEST(Random, ValuesAreNonNegative31Bit) {
  TRandomClockScope clock{Pinned};
  SeedRandomFromClock();
  bool high = false;
  for (int32_t v : Draws(10000)) {
    ASSERT_GE(v, 0);
    high |= v >= (1 << 30);
  }
  EXPECT_TRUE(high);
}

TEST(Random, ReseedsInTheSameSecondDiffer) {
  TRandomClockScope clock{Pinned};
  SeedRandomFromClock();
  const auto first = Draws(20);
  SeedRandomFromClock();
  EXPECT_NE(Draws(20), first);
}

TEST(Random, PinnedClockRepeatsFromTheStart) {
  std::vector<int32_t> a, b;
  {
    TRandomClockScope clock{Pinned};
    SeedRandomFromClock();
    a = Draws(20);
  }
  {
    TRandomClockScope clock{Pinned};
    SeedRandomFromClock();
    b = Draws(20);
  }
  EXPECT_EQ(a, b);
}

}  // namespace
