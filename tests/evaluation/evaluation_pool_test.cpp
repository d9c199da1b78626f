// The worker pool: a stop while the workers play.
#include "headless_pool.h"
#include "test_support.h"

namespace {
// Frames while the workers play, as in the window; a stop at the second ends the pass before the next.
TEST(EvaluationPool, AStopWhileWorkersPlayEndsThePassBeforeTheNextFrame) {
  struct TFramingHost : THeadlessHost {
    void AwaitPool(TEvaluationPool& pool) override {
      while (!UserBreak) {
        if (!pool.Running()) return;
        UserBreak = ++Frames == 2;
      }
      pool.Wait();
      Stopped = !pool.Running();
    }
    int Frames = 0;
    bool Stopped = false;
  } host;
  host.View.Running = true;
  TZarnikHostScope useHost(&host);
  UseFixedRandomSeed(3);
  auto world = MakeZarnikWorld(&host);
  THeadlessPool pool(2);
  world->Pool = &pool.Pool();
  world->BeginTrainANN2();
  int generations = 0;
  for (; world->IsImprovement() && !UserBreak && generations < 200; ++generations) world->TrainGeneration2();
  world->Pool = nullptr;
  UseClockRandomSeed();
  ASSERT_TRUE(UserBreak.exchange(false)) << "no second frame while the workers played in 200 generations";
  EXPECT_EQ(std::pair(host.Frames, host.Stopped), std::pair(2, true));  // no frame after the stop
}
}  // namespace
