// The line of a run for a program that watches a set.
#include <gtest/gtest.h>
#include <tuple>
#include "run_progress.h"

namespace {

TEST(RunProgress, TheLineOfARunAsTheWindowReadsIt) {
  const TSetRun r{.index = 2, .generation = 300, .bestFitness = -45, .bestDeliveries = 3, .validatedMean = 0.3,
                  .bestMean = 1.25, .state = TRunState::Restarted};
  EXPECT_EQ(FormatRunProgressLine(r, 7), "run\t2\t7\t300\t-45\t3\t0.30\t1.25\trestarted");
  TRunProgress back;
  ASSERT_TRUE(ParseRunProgressLine("run\t2\t7\t300\t-45\t3\t-\t1.25\tgoal", back));
  EXPECT_EQ(std::tuple(back.run, back.seed, back.generation, back.bestFitness, back.validatedMean, back.state),
            std::tuple(2, 7ull, 300, -45, -1.0, std::string("goal")));
  for (const char* bad : {"run\t2\t7\t300\t-45\t3\t-\t1.25", "run\t2\t7\t300\t-45\t3\t-\t1,25\tgoal",
                          "run\t2\t7\t300\t-45\t3\t-\t1.25\twaiting", "gen\t2\t7\t300\t-45\t3\t-\t1.25\tgoal"})
    EXPECT_FALSE(ParseRunProgressLine(bad, back)) << bad;
}

}  // namespace
