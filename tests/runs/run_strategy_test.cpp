// The restart rule's stages and the goal, on hand-picked points.
#include <gtest/gtest.h>
#include <tuple>
#include "run_strategy.h"

namespace {

TEST(RunStrategy, TheStagesRestartRunsBelowTheirMeanAndTheGoalEndsOne) {
  // The default stages: 1 by generation 1000, 2 by 2000, 3 by 4000; and earlier ones of a caller's own.
  const TRunStrategyDef def, goal3{.goal = 3}, plain{.restarts = false},
      early{.stages = {{{300, 0.3}, {2000, 1.0}, {4000, 3.0}}}};
  using V = TRunVerdict;
  const struct { const TRunStrategyDef& def; int generation; double best; V verdict; } cases[] = {
      {def, 900, 0.0, V::Continue},    {def, 1000, 0.99, V::Restart}, {def, 1000, 100 / 100.0, V::Continue},
      {def, 1900, 1.0, V::Continue},   {def, 2000, 1.99, V::Restart}, {def, 2000, 2.0, V::Continue},
      {def, 4000, 2.99, V::Restart},   {def, 4000, 3.0, V::Continue}, {def, 9000, 50.0, V::Continue},
      {early, 200, 0.0, V::Continue},  {early, 300, 0.29, V::Restart}, {early, 300, 30 / 100.0, V::Continue},
      {goal3, 300, 3.0, V::Goal},      {goal3, 100, 3.01, V::Goal},   {goal3, 4000, 2.99, V::Restart},
      {plain, 4000, 0.0, V::Continue}, {goal3, -1, -1, V::Continue},
  };
  for (const auto& c : cases)
    EXPECT_EQ(JudgeRun(c.def, c.generation, c.best), c.verdict) << c.generation << " " << c.best;
  EXPECT_EQ(std::tuple(IsCheckGeneration(def, 0), IsCheckGeneration(def, 100), IsCheckGeneration(def, 250)),
            std::tuple(false, true, false));
}

}  // namespace
