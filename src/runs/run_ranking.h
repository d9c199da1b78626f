#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ann-ga/world.h"
#include "history/learning_path.h"
#include "runs/all_episodes.h"
#include "runs/text_columns.h"

// Population files compared by how their best does over all 100 episodes:
// more deliveries first, then higher mean fitness, then the order given.
struct TRankedFile {
  std::string file;
  int generations = 0;
  TEpisodeTally tally;
};

// A file that could not be ranked, and why: the load's error and the bytes
// read. For an entry of a learning path (FILE@GEN, path_entry.h): why its
// path could not be read, or, when the path was read and lacks it, the
// generations nearest to it.
struct TUnrankedFile {
  std::string file;
  TLoadError error = TLoadError::None;
  size_t size = 0;
  bool entry = false;
  TPathError pathError = TPathError::None;
  std::vector<int> nearest;
};

// Loads and measures every file; the good ones ranked, the others kept in order.
void RankFiles(const std::vector<std::string>& files, std::vector<TRankedFile>& ranked,
               std::vector<TUnrankedFile>& unranked);

// The best of the file's population over all 100 episodes, or of a learning
// path's entry (FILE@GEN; `generations` is then its generation); false with
// why if it cannot be loaded.
bool MeasureFile(const std::string& file, TRankedFile& out, TUnrankedFile& why);

// The entry a name FILE@GEN gives (path_entry.h); false with why if the name
// is no such name, its path cannot be read or lacks that generation.
bool ReadNamedEntry(const std::string& name, TPathEntry& entry, TUnrankedFile& why);

bool RanksBefore(const TRankedFile& a, const TRankedFile& b);

// The ranking as text: a header, one line per file, a note on the figures.
// A column is as wide as its German head allows, wider if a translated head needs it.
std::string FormatRanking(const std::vector<TRankedFile>& ranked, TRankingTranslator translate = nullptr);
