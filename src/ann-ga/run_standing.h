#pragma once

#include "world.h"
#include "zarnik_host.h"

// How the best individual of a finished run does on one fixed episode, so that
// runs from different seeds, lengths and machines can be compared: every best
// meets the same platform heights, whatever its file's generation count.
struct TRunStanding {
  int generations = 0;
  int fitness = 0;
  TBallCounts counts;
};

// First heights of the comparison episode. With nothing reached they advance
// by three each run, so E sees 2, 5, 8, 1, 4 and F 7, 10, 3, 6, 9: every
// height once.
inline constexpr int StandingHeightE = 2;
inline constexpr int StandingHeightF = 7;

// Plays the comparison episode of `world`'s best individual on `host`, a
// fresh simulator in its start pose with a run flag set (no ball question).
TRunStanding MeasureRunStanding(TWorld& world, TZarnikHost& host);

// More deliveries first, then higher fitness.
bool RanksBefore(const TRunStanding& a, const TRunStanding& b);
