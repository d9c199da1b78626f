#pragma once

#include <array>
#include <limits>
#include <vector>

// What a set of runs does at a check, as pure decisions on numbers: which
// run goes on, which is given up for a fresh seed, which has met the goal.
//
// The measure of promise is the best network a run ever showed at a check,
// as mean deliveries per episode over all 100 episodes (all_episodes.h): the
// best of one training episode is lucky on that episode, and a population
// often loses a good best again. Runs that learn to carry the ball mostly
// show it early, so a run that has not reached a stage's mean by the stage's
// generation is restarted with a new seed; the cores go to runs that learn.
//
// Two ways of giving up a run. "restart": its place begins a new population
// from its new seed, and each run is judged on its own figures alone.
// "exploit": the places are judged together at each check (every place waits
// there for the others), and a place given up goes on from a copy of the
// leading run's kept best population under its new seed, once that leader
// carries the ball at all; a place far behind such a leader is given up too.
// A network that learned to deliver then gets every core to improve on.

// A run that has not reached `minMean` by `generation` is restarted.
struct TRunStage {
  int generation;
  double minMean;
};

enum class TSetStrategy { Restart, Exploit };

// The word in set.txt and of --strategy: "restart", "exploit".
const char* SetStrategyWord(TSetStrategy strategy);
// False for another word.
bool ParseSetStrategy(const char* word, TSetStrategy& out);

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
  TSetStrategy kind = TSetStrategy::Restart;
  // Exploit: the leader is copied once its kept best delivers `donorMin`
  // times per episode, and a place whose best is below `laggardShare` of the
  // leader's is given up for a copy. Both were set beforehand (a network that
  // delivers once per episode is one that learned the task; half of it is
  // clearly behind), not fitted to measurements: none of their figures comes
  // from seeds they were chosen on. Measured with bench/time_to_delivery.sh
  // on fresh random seeds, which it prints.
  double donorMin = 1.0;
  double laggardShare = 0.5;
};

inline TRunStrategyDef DefaultRunStrategyDef() { return {}; }

enum class TRunVerdict { Continue, Restart, Goal };

// Whether `generation` of a run is one of its checks.
bool IsCheckGeneration(const TRunStrategyDef& def, int generation);

// The decision at a check of a run at `generation` whose best validated mean
// so far is `bestValidatedMean`.
TRunVerdict JudgeRun(const TRunStrategyDef& def, int generation, double bestValidatedMean);

// One place of a set at a check that all places have reached.
struct TPlaceCheck {
  int run = 0;  // the run in the place (ties go to the lower)
  int generation = 0;  // that it trained since it began (a copy: since the copy)
  double bestMean = -1;  // the best validated mean it ever showed
};
// What happens to the place: `from` is the run whose kept best a restarted
// place goes on from; -1: a new population.
struct TPlaceDecision {
  TRunVerdict verdict = TRunVerdict::Continue;
  int from = -1;
  bool operator==(const TPlaceDecision&) const = default;
};
// The decisions of "exploit" for the places at one check, in their order. A
// run given up is never the leader, so a place's decision depends only on
// its own figures and the leader's.
std::vector<TPlaceDecision> JudgeRound(const TRunStrategyDef& def, const std::vector<TPlaceCheck>& places);

// A mean of deliveries per episode meets `threshold`; means are counts over
// 100 episodes, so two decimals decide.
bool MeetsMean(double mean, double threshold);
