#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "history/learning_path.h"
#include "runs/all_episodes.h"
#include "runs/run_strategy.h"
#include "train/train_options.h"
#include "ann-ga/world.h"

// The checks of a run of a set (--run K): at every check generation and at
// the run's last one its best plays all 100 episodes; the best network ever
// seen there is kept in its own file, since the population often loses it.
//
// A run started by --runs (--member) reports each check on stdout and asks
// on stdin whether to go on; the set decides. Alone, the run stops at its
// goal (--until-deliveries) and otherwise goes on: restarting is the set's.
//
// Lines to the set, tab-separated, each with its "\n":
//   gen <generation> <best_fitness> <best_deliveries>     while it trains, about twice a second
//   check <generation> <validated_mean> <best_validated_mean>
// and the answer "weiter\n" goes on; anything else, or the end of stdin, stops.
//
// Every run of training 2 (of a set or not) keeps its learning path beside
// its population: at each regular check where the best's mean over the 100
// episodes beats the path's last entry, the best joins it. The check at a
// run's last generation feeds the kept best only: where a run stops must not
// change its path, so a resumed run's path is the uninterrupted run's.
class TRunChecks {
 public:
  explicit TRunChecks(const TTrainOptions& options);

  bool On() const { return !Options.bestFile.empty(); }
  // Measures the kept best, if there is one; false (with a message) if it
  // cannot be loaded, so it is never replaced unread.
  bool Begin();
  // Reads the learning path for the population just loaded (`stored`: it
  // was there, at `generation`); false (with a message) if the path cannot
  // be read whole or written. A new population begins a new path; entries
  // beyond the stored generation are the ones a resumed run makes again.
  bool BeginPath(bool stored, int generation);
  // Whether `generation` is a check (the run's last generation always is).
  bool Due(int generation, bool last) const;
  // The check; false: the run stops here. `failed`: the best could not be stored.
  bool Check(TWorld& world, bool& failed);
  // After every generation: the set hears how the run goes.
  void ReportGeneration(const TWorld& world, const TGenerationFigures& figures);

 private:
  bool AskToGoOn();
  // The best of this check joins the path if it beats its last entry; false if the path could not be stored.
  bool ExtendPath(const TWorld& world, const TEpisodeTally& tally);
  bool KeepsPath() const { return !PathFile.empty(); }

  const TTrainOptions& Options;
  TRunStrategyDef Strategy;
  double BestMean = -1;
  std::string PathFile;  // "" while the run keeps no path
  std::vector<TPathEntry> Path;
  std::chrono::steady_clock::time_point LastTick{};
};

