#pragma once

#include "world.h"
#include "zarnik_host.h"

// How the best individual of a finished run does on fixed episodes, so that
// runs from different seeds, lengths and machines can be compared: every best
// meets the same platform heights, whatever its file's generation count.
struct TRunStanding {
  int generations = 0;
  int fitness = 0;     // mean over the episodes played, truncated toward zero
  TBallCounts counts;  // summed over the episodes
  int episodes = 0;    // played so far
  long long fitnessSum = 0;
};

// One episode decides little (a best may deliver 15 times in one and once in
// the next), so the comparison plays ten: episode e starts with E at height
// e + 1 and F at (e + 5) mod 10 + 1, so each platform starts once at every
// height and never level with the other.
inline constexpr int StandingEpisodes = 10;

// The first platform heights (1..10) of comparison episode e (0..9).
struct TStandingHeights {
  int e, f;
};
TStandingHeights StandingHeights(int e);

// Plays comparison episode e of `best` on `host` from the start pose and adds
// its fitness, takes and deliveries to `s`. The window's demonstration plays
// the episodes one by one this way, drawn, and so shows the very figures the
// comparison counts.
void AddStandingEpisode(TChromosom& best, TZarnikHost& host, int e, TRunStanding& s);

// Plays the comparison episodes of `world`'s best individual on `host`, a
// simulator with a run flag set (no ball question), reset before each.
TRunStanding MeasureRunStanding(TWorld& world, TZarnikHost& host);

// More deliveries first, then higher fitness.
bool RanksBefore(const TRunStanding& a, const TRunStanding& b);
