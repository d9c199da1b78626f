#pragma once

#include <array>
#include <limits>

// What a set of runs does at a check, as pure decisions on numbers: which
// run goes on, which is given up for a fresh seed, which has met the goal.
//
// The measure of promise is the best network a run ever showed at a check,
// as mean deliveries per episode over all 100 episodes (all_episodes.h): the
// best of one training episode is lucky on that episode, and a population
// often loses a good best again. Runs that learn to carry the ball mostly
// show it early, so a run that has not reached a stage's mean by the stage's
// generation is restarted with a new seed; the cores go to runs that learn.

// A run that has not reached `minMean` by `generation` is restarted. The
// default stages were chosen by replaying 80 recorded runs (4000 generations
// each, two side by side, seeds 1000-1079) through sets of two places: an
// early stage (0.3 by generation 300) gave up four of the nine runs that later
// delivered three times per episode, while most runs that never would passed
// it; with 1 by 1000 and 2 by 2000 the sets met that goal in about a third of
// the time (medians 30 and 28 s against 90 and 49 s on the two halves).
struct TRunStage {
  int generation;
  double minMean;
};

struct TRunStrategyDef {
  // Every so many generations of a run its best plays all 100 episodes.
  int checkEvery = 100;
  bool restarts = true;
  std::array<TRunStage, 3> stages{{{1000, 1.0}, {2000, 2.0}, {4000, 3.0}}};
  // Mean deliveries per episode that end the set; infinite: none.
  double goal = std::numeric_limits<double>::infinity();
};

inline TRunStrategyDef DefaultRunStrategyDef() { return {}; }

enum class TRunVerdict { Continue, Restart, Goal };

// Whether `generation` of a run is one of its checks.
bool IsCheckGeneration(const TRunStrategyDef& def, int generation);

// The decision at a check of a run at `generation` whose best validated mean
// so far is `bestValidatedMean`.
TRunVerdict JudgeRun(const TRunStrategyDef& def, int generation, double bestValidatedMean);

// A mean of deliveries per episode meets `threshold`; means are counts over
// 100 episodes, so two decimals decide.
bool MeetsMean(double mean, double threshold);
