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

// A run that has not reached `minMean` by `generation` is restarted.
struct TRunStage {
  int generation;
  double minMean;
};

struct TRunStrategyDef {
  // Every so many generations of a run its best plays all 100 episodes.
  int checkEvery = 100;
  bool restarts = true;
  // Fitted with bench/time_to_delivery.sh (and bench/replay_stages.py) on the
  // seeds 1000, 2000, .. 16000; figures for it are measured on fresh random
  // seeds (time_to_delivery.sh draws them and prints them).
  std::array<TRunStage, 3> stages{{{300, 0.3}, {2000, 1.0}, {4000, 3.0}}};
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
