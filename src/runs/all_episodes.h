#pragma once

#include <string>
#include <vector>

#include "ann-ga/chromosom.h"
#include "ann-ga/zarnik_host.h"

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
  TEpisodeTally& operator+=(const TEpisodeTally& o) {
    episodes += o.episodes, takes += o.takes, deliveries += o.deliveries, fitnessSum += o.fitnessSum;
    return *this;
  }
  // Deliveries per episode: the expected deliveries of a random training episode.
  double MeanDeliveries() const { return episodes > 0 ? static_cast<double>(deliveries) / episodes : 0.0; }
  // Mean episode fitness, truncated toward zero.
  long long MeanFitness() const { return episodes > 0 ? fitnessSum / episodes : 0; }
};

// Episode e (0 .. AllEpisodes - 1) of the hundred, in the order they are
// played: its first platform heights.
struct TEpisodeHeights {
  int e, f;
};
inline TEpisodeHeights AllEpisodeHeightsOf(int e) { return {e / AllEpisodeHeights + 1, e % AllEpisodeHeights + 1}; }

// `best` plays episode e of the hundred on `host` from the start pose; its
// takes, deliveries and fitness are added to `tally`. The window's
// demonstration plays them one by one this way, drawn, and so shows the very
// figures the measure counts. `best` is left with that episode's score.
void AddEpisodeOfAll(TChromosom& best, TZarnikHost& host, int e, TEpisodeTally& tally);

// A mean of deliveries per episode as the set's lines and the ranking write
// it: "0.30", "-" below 0 (not measured yet).
std::string FormatMean(double mean);

// `best` plays the 100 episodes on `host`, a simulator that asks nothing when
// the ball is placed (a run flag set), reset before each; `best` keeps the
// score and counts it had. Stops early, with fewer episodes, if UserBreak is set.
// `each`, if given, receives every episode's own tally, in the order played.
TEpisodeTally MeasureAllEpisodes(TChromosom& best, TZarnikHost& host, std::vector<TEpisodeTally>* each = nullptr);
