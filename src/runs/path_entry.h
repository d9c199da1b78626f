#pragma once

#include <string>
#include <vector>

#include "ann-ga/chromosom.h"
#include "history/learning_path.h"
#include "runs/all_episodes.h"

// The kept best of a check as an entry of its run's learning path: its
// network as it stood after the measure, which leaves it as it was.
TPathEntry MakePathEntry(const TChromosom& best, int generation, const TEpisodeTally& tally);

// The entry's network put back into `best`, a network of the program's
// shape: it plays as the kept best of that check did.
void PutEntryNetwork(const TPathEntry& entry, TChromosom& best);

// The entry's network over the 100 episodes, on a simulator of its own and in
// a population of its own, as the ranking measures it; `each` as for
// MeasureAllEpisodes.
TEpisodeTally PlayPathEntry(const TPathEntry& entry, std::vector<TEpisodeTally>* each = nullptr);

// An entry named on the command line: "zarnik.path@2300" is the entry of
// generation 2300 of the path "zarnik.path". A name is an entry only if no
// file has it and a generation (digits) follows its last '@'.
struct TPathEntryName {
  std::string file;
  int generation = 0;
};
bool ParsePathEntryName(const std::string& name, TPathEntryName& out);

// The entry of `generation`; nullptr if there is none, with the generations
// of up to three entries nearest to it in `nearest` (in path order).
const TPathEntry* FindPathEntry(const std::vector<TPathEntry>& path, int generation, std::vector<int>& nearest);
