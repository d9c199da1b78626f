#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "all_episodes.h"  // FormatMean
#include "run_set.h"

// The machine-readable line of `zarnik-train --runs --progress` for one run,
// tab-separated, without its line end:
//
//   run <k> <seed> <generation> <best_fitness> <best_deliveries> <validated_mean> <best_validated_mean> <state>
//
// The means with '.' and two decimals, "-" before the run's first check; the
// state as RunStateWord gives it.
std::string FormatRunProgressLine(const TSetRun& run, uint64_t seed);

struct TRunProgress {
  int run = 0;
  uint64_t seed = 0;
  int generation = 0;
  int bestFitness = 0;
  int bestDeliveries = 0;
  double validatedMean = -1;  // -1: "-"
  double bestValidatedMean = -1;
  std::string state;
};

// False if `line` is not such a line.
bool ParseRunProgressLine(std::string_view line, TRunProgress& out);

