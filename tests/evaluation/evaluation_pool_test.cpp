// The worker pool: a stop while the workers play.
#include "stop_counting_pool.h"
#include "test_support.h"

namespace {
// Frames while the workers play, as in the window; a stop at the second ends every lane's episodes
// within the step under way, one at a time or batched.
class EvaluationPool : public ::testing::TestWithParam<int> {};

TEST_P(EvaluationPool, AStopWhileWorkersPlayEndsTheirEpisodesWithinOneStepPerLane) {
  struct TFramingHost : THeadlessHost {
    void AwaitPool(TTaskRunner& pool) override {
      while (!UserBreak) {
        if (!pool.Running()) return;
        UserBreak = ++Frames == 2;
      }
      pool.FinishTask();
    }
    int Frames = 0;
  } host;
  host.View.Running = true;
  TZarnikHostScope useHost(&host);
  UseFixedRandomSeed(3);
  auto world = MakeZarnikWorld(&host);
  TStopCountingPool pool(2, GetParam());
  world->Pool = pool.Pool.get();
  world->BeginTrainANN2();
  int generations = 0;
  for (; world->IsImprovement() && !UserBreak && generations < 200; ++generations) world->TrainGeneration2();
  world->Pool = nullptr;
  UseClockRandomSeed();
  ASSERT_TRUE(UserBreak.exchange(false)) << "no second frame while the workers played in 200 generations";
  EXPECT_EQ(host.Frames, 2);  // no frame after the stop
  EXPECT_LE(pool.MostStepsAfterStop(), 1);
}

INSTANTIATE_TEST_SUITE_P(Lanes, EvaluationPool, ::testing::Values(1, LaneCount));
}  // namespace
