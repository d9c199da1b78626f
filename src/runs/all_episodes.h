#pragma once

#include "chromosom.h"
#include "zarnik_host.h"

// Whether a network carries the ball, asked of every episode there is: the
// first platform heights (h1, h2), h1, h2 in 1..10, decide a training-2
// episode from the start pose, so these 100 are every episode a training
// pass can give its individuals, each with equal chance. One episode decides
// little (a best may deliver 15 times in one and never in the next).
inline constexpr int AllEpisodeHeights = 10;
inline constexpr int AllEpisodes = AllEpisodeHeights * AllEpisodeHeights;

struct TEpisodeTally {
  long long episodes = 0;
  long long takes = 0;
  long long deliveries = 0;
  long long fitnessSum = 0;
  // Deliveries per episode: the expected deliveries of a random training episode.
  double MeanDeliveries() const { return episodes > 0 ? static_cast<double>(deliveries) / episodes : 0.0; }
  // Mean episode fitness, truncated toward zero.
  long long MeanFitness() const { return episodes > 0 ? fitnessSum / episodes : 0; }
};

// `best` plays the 100 episodes on `host`, a simulator that asks nothing when
// the ball is placed (a run flag set), reset before each; `best` keeps the
// score and counts it had. Stops early, with fewer episodes, if UserBreak is set.
TEpisodeTally MeasureAllEpisodes(TChromosom& best, TZarnikHost& host);
