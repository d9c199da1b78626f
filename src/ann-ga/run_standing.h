#pragma once

#include "world.h"
#include "zarnik_host.h"

// How the best individual of a finished run does on fixed episodes, so that
// runs from different seeds, lengths and machines can be compared: every best
// meets the same platform heights, whatever its file's generation count.
struct TRunStanding {
  int generations = 0;
  int fitness = 0;     // mean over the episodes, truncated toward zero
  TBallCounts counts;  // summed over the episodes
};

// One episode decides little (a best may deliver 15 times in one and once in
// the next), so the comparison plays ten: episode e starts with E at height
// e + 1 and F at (e + 5) mod 10 + 1, so each platform starts once at every
// height and never level with the other.
inline constexpr int StandingEpisodes = 10;

// Plays the comparison episodes of `world`'s best individual on `host`, a
// simulator with a run flag set (no ball question), reset before each.
TRunStanding MeasureRunStanding(TWorld& world, TZarnikHost& host);

// More deliveries first, then higher fitness.
bool RanksBefore(const TRunStanding& a, const TRunStanding& b);
