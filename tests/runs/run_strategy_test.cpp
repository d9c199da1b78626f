// The restart rule's stages and the goal, on hand-picked points.
#include <gtest/gtest.h>
#include <tuple>
#include "runs/run_strategy.h"

namespace {

TEST(RunStrategy, TheStagesRestartRunsBelowTheirMeanAndTheGoalEndsOne) {
  const TRunStrategyDef def, goal3{.goal = 3}, plain{.restarts = false};  // the stages do not depend on the kind
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

// "exploit" at one check of all places (default stages 300:0.3, 2000:1, 4000:3; a donor needs 1.0, a place
// below half of the leader's mean follows it).
TEST(RunStrategy, ARoundGivesUpPlacesForACopyOfTheLeader) {
  using V = TRunVerdict;
  using D = TPlaceDecision;
  const TRunStrategyDef def{.goal = 3};
  struct TCase {
    const char* what;
    std::vector<TPlaceCheck> places;
    std::vector<D> expected;
  };
  const TCase cases[] = {
      {"below its stage: from the leader", {{0, 300, 0.2}, {1, 300, 1.2}}, {{V::Restart, 1}, {V::Continue, -1}}},
      {"a leader below 1: a new population", {{0, 300, 0.2}, {1, 300, 0.99}}, {{V::Restart, -1}, {V::Continue, -1}}},
      {"below half of the leader: it follows; at half it stays",
       {{3, 800, 1.2}, {4, 800, 0.59}, {5, 800, 0.6}},
       {{V::Continue, -1}, {V::Restart, 3}, {V::Continue, -1}}},
      {"a leader given up itself is no donor; the best one left is",
       {{0, 4000, 2.9}, {1, 4000, 3.0 - 0.5}, {2, 3000, 1.1}, {7, 1000, 0.3}},
       {{V::Restart, 2}, {V::Restart, 2}, {V::Continue, -1}, {V::Restart, 2}}},
      {"a tie goes to the lower run, wherever it is listed",
       {{6, 900, 1.5}, {2, 900, 1.5}, {4, 900, 0.7}},
       {{V::Continue, -1}, {V::Continue, -1}, {V::Restart, 2}}},
      {"the goal: nobody is given up for a copy", {{0, 300, 3.0}, {1, 300, 0.2}}, {{V::Goal, -1}, {V::Restart, -1}}},
      {"not yet checked: -1 is below every half", {{0, 100, 1.0}, {1, 100, -1}}, {{V::Continue, -1}, {V::Restart, 0}}},
  };
  for (const TCase& c : cases) EXPECT_EQ(JudgeRound(def, c.places), c.expected) << c.what;
  // Without restarts nothing is given up, whatever the leader.
  const TRunStrategyDef plain{.restarts = false, .goal = 3};
  EXPECT_EQ(JudgeRound(plain, {{0, 4000, 0.1}, {1, 4000, 2.5}}), (std::vector<D>{{V::Continue, -1}, {V::Continue, -1}}));
  TSetStrategy s{};
  EXPECT_TRUE(ParseSetStrategy("restart", s) && s == TSetStrategy::Restart);
  EXPECT_TRUE(ParseSetStrategy("exploit", s) && s == TSetStrategy::Exploit);
  EXPECT_FALSE(ParseSetStrategy("Exploit", s) || ParseSetStrategy("", s));
}

}  // namespace
