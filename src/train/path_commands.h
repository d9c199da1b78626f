#pragma once

#include <string>

#include "runs/run_ranking.h"
#include "train/train_options.h"

// --path FILE: the entries of a learning path as a table on stdout.
// --evaluate FILE@GEN: that entry's network in each of the 100 episodes, as
// CSV on stdout. Both return the exit status (0, or 2 with the trainer's one
// line on stderr).
int ListLearningPath(const TTrainOptions& options);
int EvaluatePathEntry(const TTrainOptions& options);
// --compare FILE@GEN FILE@GEN: both entries over the same 100 episodes as a table on stdout.
int CompareEntries(const TTrainOptions& options);

// The trainer's line for a file or path entry that could not be ranked.
void ReportUnranked(const TUnrankedFile& unranked);
