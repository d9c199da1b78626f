#pragma once

#include <string>
#include <vector>

#include "history/learning_path.h"
#include "runs/text_columns.h"

// A learning path as a table: a header, one line per entry (its generation,
// deliveries and takes per episode, mean fitness), a note on the figures.
std::string FormatLearningPath(const std::vector<TPathEntry>& path, TRankingTranslator translate = nullptr);
