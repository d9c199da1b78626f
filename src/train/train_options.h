#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runs/run_strategy.h"

// What one run of zarnik-train is asked to do.
struct TTrainOptions {
  std::string file = "zarnik.dat";
  int mode = 2;
  std::optional<long long> generations;       // generations (mode 1: passes) to add
  std::optional<long long> untilGeneration;   // train up to this generation; a set: each slot's generations
  std::optional<double> minutes;
  int threads = 1;
  std::optional<uint64_t> seed;
  bool quiet = false;
  int checkpoint = 0;  // save every so many generations; 0: only at the end
  std::string log;     // fitness history CSV, "" for none
  bool evaluate = false;
  int runs = 0;                         // --runs N: best of N independent runs; 0: one run
  int run = -1;                         // --run K: run K of such a set alone (for schedulers); -1: none
  std::optional<double> untilDeliveries;  // the set's goal: mean deliveries per episode over all 100
  bool noRestart = false;               // --runs without the restart rule
  TSetStrategy strategy = TSetStrategy::Restart;  // --strategy: how --runs gives up a run
  int place = -1;                       // --runs N --place K: only place K of the set (a cluster's task); -1: all
  bool collect = false;                 // --runs N --collect: rank, summarize and keep the winner of a set of places
  bool progress = false;                // --runs: machine-readable lines on stdout
  bool member = false;                  // --run started by --runs: reports its checks, asks to go on
  // Set for a run of a set (--run): where its best validated network is kept.
  std::string bestFile;
  std::vector<std::string> rankFiles;  // --rank FILE...: compare these files only
  std::string exportJson;              // --export FILE.json: the best network of `file` goes there
  std::string importJson;              // --import FILE.json: `file` becomes a population of that network
  std::string plot;                    // --runs: the set's picture goes to FILE.png or FILE.svg at its end
  std::string pathList;                // --path FILE: list the entries of that learning path
  std::vector<std::string> compareEntries;  // --compare FILE.path@GEN FILE.path@GEN: two entries side by side
};

// Parses the command line `argv` of a QCoreApplication that exists. Returns
// -1 to go on, otherwise the exit status (0 after --help/--version, 2 after a
// usage error, which is printed).
int ParseTrainOptions(TTrainOptions& options, int argc, char** argv);
// Whether the command line asks for a picture (--plot), before it is parsed:
// drawing text needs a QGuiApplication, made only then.
bool AsksForPicture(int argc, char** argv);
