#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runs/all_episodes.h"  // FormatMean
#include "runs/run_set.h"

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

// The line that says a run began from a copy of another's kept best
// ("exploit"), once, when it starts:
//
//   from <k> <donor run> <generation of the copied population>
struct TRunOrigin {
  int run = 0;
  int from = 0;
  int generation = 0;
  bool operator==(const TRunOrigin&) const = default;
};
std::string FormatRunOriginLine(const TRunOrigin& origin);
// False if `line` is not such a line.
bool ParseRunOriginLine(std::string_view line, TRunOrigin& out);


// The lines a run of a set (--member) sends to the set on its stdout, each
// tab-separated and locale-independent, without its line end:
//
//   gen <generation> <best_fitness> <best_deliveries>        while it trains
//   check <generation> <validated_mean> <best_validated_mean>
//
// The means as FormatMean gives them: the set decides on those two decimals.
struct TRunLine {
  enum class TKind { Generation, Check } kind = TKind::Generation;
  int generation = 0;
  int bestFitness = 0;      // gen only
  int bestDeliveries = 0;   // gen only
  double mean = -1;         // check only
  double bestMean = -1;     // check only
};
std::string FormatRunGenerationLine(int generation, int bestFitness, int bestDeliveries);
std::string FormatRunCheckLine(int generation, double mean, double bestMean);
// False if `line` is neither.
bool ParseRunLine(std::string_view line, TRunLine& out);
