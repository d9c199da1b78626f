#pragma once

// Sets of runs from the command line: --rank, --runs and one --run of a set.

#include <string>
#include <vector>

#include "train/train_options.h"

// --rank FILE...: the comparison as a table on stdout; files that cannot be
// loaded are named on stderr with the reason. Returns 0, or 2 if any could not.
int RankRunFiles(const std::vector<std::string>& files);

// --runs N: N runs side by side, each a trainer process of its own (the
// random numbers are per process), as run_set.h decides; then the ranking,
// and the winner copied to FILE. Interrupted, every run keeps its last saved
// file and the same call goes on from there. Returns 0, 130 after a stop
// signal, 2 on failure.
int RunManyRuns(const TTrainOptions& options);

// --run K: run K of such a set alone, as a scheduler's task (or --runs)
// starts it: seed S+K into STEM.runs/run-<K>.dat with its best in
// STEM.runs/run-<K>-best.dat.
void OneRunOfMany(const TTrainOptions& options, TTrainOptions& single);
