#pragma once

#include <string>
#include <vector>

#include "train_options.h"

// --rank FILE...: the comparison of finished runs as a table on stdout.
// Returns 0, or 2 if a file cannot be loaded.
int RankRunFiles(const std::vector<std::string>& files);

// --runs N: N independent runs of seeds S .. S+N-1 into FILE-<k>.dat (with
// FILE-<k>.csv), side by side on the machine's cores, each one a trainer
// process of its own; then the ranking, and the winner copied to FILE.
// Interrupted, every run keeps its last saved file and a second call goes on
// from there. Returns 0, 130 after a stop signal, 2 on failure.
int RunManyRuns(const TTrainOptions& options);

// --run K: run K of such a set alone, as a scheduler's task starts it: seed
// S+K into FILE-<K>.dat (and, as always, the history beside it), on until
// generation G. Returns the
// options of that single run, or false with a message if its file is unusable.
bool OneRunOfMany(const TTrainOptions& options, TTrainOptions& single);

// "zarnik.dat", 3 -> "zarnik-3.dat" (its history beside it: "zarnik-3.csv").
std::string RunFileName(const std::string& file, int k);
