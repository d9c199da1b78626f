// Whole generations of both training modes allocate nothing: this program counts every global allocation.
#include <atomic>
#include <cstdlib>
#include <new>
#include "hosts/headless_pool.h"
#include "test_support.h"

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"  // malloc paired with free on purpose

static std::atomic<long> Allocations{0};

void* operator new(std::size_t n) {
  ++Allocations;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return ++Allocations, std::malloc(n ? n : 1); }
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {
using Generations = WorldTest<>;

TEST_F(Generations, AllocateNothingInWholeRunsOnOrOffWorkersBatchedOrNot) {
  const long counted = Allocations;
  auto p = std::make_unique<int>(3);
  ASSERT_EQ(Allocations - counted, 1);  // the counter sees allocations
  for (const auto& [workers, lanes] : {std::pair{2, 1}, std::pair{1, LaneCount}, std::pair{2, LaneCount}}) {
    THeadlessPool pool(workers, lanes);  // thread start-up allocates, once
    w.Pool = &pool.Pool();
    w.BeginTrainANN2();
    w.TrainGeneration2();  // the batches size their lanes at the first episode
    const long before = Allocations;
    for (int g = 0; g < 3; ++g) w.TrainGeneration2();
    EXPECT_EQ(Allocations - before, 0) << workers << " x " << lanes;
    w.Pool = nullptr;
    long long steps = 0;
    for (const auto& sim : pool.Simulators()) steps += sim->Steps;
    EXPECT_GT(steps, 4 * 101 * 5);  // the workers played the episodes
  }
  static long long limit;  // serial runs end by a pump count
  for (const auto& [loop, pumps] : {std::pair<void (*)(TWorld&), long long>{[](TWorld& x) { x.DoTrainANN2(); }, 104000},
                                    {[](TWorld& x) { x.DoTrainANN1(); }, 1200},
                                    {[](TWorld& x) { x.DoStartANN(); }, 2000}}) {
    host.View.Running = true;
    host.Pumps = 0;
    UserBreak = false;
    limit = pumps;
    host.OnPump = [](THeadlessHost& h, void*) { UserBreak = UserBreak || h.Pumps > limit; };
    const long before = Allocations;
    loop(w);
    EXPECT_EQ(Allocations - before, 0) << pumps;
    EXPECT_GT(host.Pumps, pumps);  // the loop really ran that long
  }
}
}  // namespace
