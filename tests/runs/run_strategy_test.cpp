// The restart rule's stages and the goal, on hand-picked points.
#include <gtest/gtest.h>
#include <tuple>
#include "runs/run_strategy.h"

namespace {

TEST(RunStrategy, TheStagesRestartRunsBelowTheirMeanAndTheGoalEndsOne) {
  const TRunStrategyDef def, goal3{.goal = 3}, plain{.restarts = false};
  using V = TRunVerdict;
  const struct { const TRunStrategyDef& def; int generation; double best; V verdict; } cases[] = {
      {def, 200, 0.0, V::Continue},    {def, 300, 0.29, V::Restart},  {def, 300, 30 / 100.0, V::Continue},
      {def, 1900, 0.3, V::Continue},   {def, 2000, 0.99, V::Restart}, {def, 2000, 1.0, V::Continue},
      {def, 4000, 2.99, V::Restart},   {def, 4000, 3.0, V::Continue}, {def, 9000, 50.0, V::Continue},
      {goal3, 300, 3.0, V::Goal},      {goal3, 100, 3.01, V::Goal},   {goal3, 4000, 2.99, V::Restart},
      {plain, 4000, 0.0, V::Continue}, {goal3, -1, -1, V::Continue},
  };
  for (const auto& c : cases)
    EXPECT_EQ(JudgeRun(c.def, c.generation, c.best), c.verdict) << c.generation << " " << c.best;
  EXPECT_EQ(std::tuple(IsCheckGeneration(def, 0), IsCheckGeneration(def, 100), IsCheckGeneration(def, 250)),
            std::tuple(false, true, false));
}

}  // namespace
