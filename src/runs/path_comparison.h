#pragma once

#include <string>
#include <vector>

#include "history/learning_path.h"
#include "runs/all_episodes.h"
#include "runs/text_columns.h"

// Two networks (entries of learning paths) over the same 100 episodes: what
// each took and delivered in every episode, and the sums.
struct TComparedEpisode {
  TEpisodeHeights heights;
  TEpisodeTally a, b;
  bool Differs() const { return a.takes != b.takes || a.deliveries != b.deliveries; }
};

struct TPathComparison {
  std::vector<TComparedEpisode> episodes;
  TEpisodeTally a, b;  // the sums, the ranking's figures of each entry
  int Differing() const;
};

// Each entry plays as the ranking plays it (PlayPathEntry), episode by episode.
TPathComparison ComparePathEntries(const TPathEntry& a, const TPathEntry& b);

// The comparison as a table: the two names, a header, one line per episode
// ("h1,h2", takes and deliveries of A, then of B, "*" where they differ), the
// sums, a note on the figures. Columns as in the ranking.
std::string FormatPathComparison(const TPathComparison& c, const std::string& nameA, const std::string& nameB,
                                 TRankingTranslator translate = nullptr);
