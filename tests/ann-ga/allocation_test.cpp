// Whole generations of both training modes allocate nothing: this program
// counts every call of the global allocation functions.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "test_support.h"

// The replacements below pair malloc with free on purpose.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
std::atomic<long> Allocations{0};
}  // namespace

void* operator new(std::size_t n) {
  ++Allocations;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  ++Allocations;
  return std::malloc(n ? n : 1);
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

struct Generations : ::testing::Test {
  annga_test::WorldFixture f;
  TWorld& w = *f.World;
  void TearDown() override { UserBreak = false; }
};

TEST(AllocationCounter, SeesAllocations) {
  const long before = Allocations;
  auto p = std::make_unique<int>(3);
  EXPECT_EQ(Allocations - before, 1);
}

TEST_F(Generations, ModeTwoAllocatesNothing) {
  w.calcFitness2();  // warm-up: first evaluation plans
  const long before = Allocations;
  for (int g = 0; g < 2; ++g) {
    w.calcFitness2();
    w.Selection();
    w.CrossOver();
    w.mutate();
  }
  EXPECT_EQ(Allocations - before, 0);
}

TEST_F(Generations, ModeOneAllocatesNothing) {
  f.Host.Arm.Train2AN = false;
  f.Host.Arm.Train1AN = true;
  const long before = Allocations;
  f.Host.OnPump = [](THeadlessHost& h, void*) {
    if (h.Pumps > 3 * 400) UserBreak = true;
  };
  w.DoTrainANN1();
  EXPECT_EQ(Allocations - before, 0);
}

TEST_F(Generations, WholeModeTwoRunAllocatesNothing) {
  const long before = Allocations;
  f.Host.OnPump = [](THeadlessHost& h, void*) {
    if (h.Pumps > 2 * 52000) UserBreak = true;
  };
  w.DoTrainANN2();
  EXPECT_EQ(Allocations - before, 0);
  EXPECT_GE(w.Generations, 2);
}

TEST_F(Generations, ActivationAllocatesNothing) {
  f.Host.Arm.Train2AN = false;
  f.Host.Arm.StartANN = true;
  const long before = Allocations;
  f.Host.OnPump = [](THeadlessHost& h, void*) {
    if (h.Pumps > 2000) UserBreak = true;
  };
  w.DoStartANN();
  EXPECT_EQ(Allocations - before, 0);
}

}  // namespace
