#pragma once

#include "train/train_options.h"

// --export FILE.json POPULATION: the population's best network as JSON.
// --import FILE.json POPULATION: a population of that network alone.
// Neither replaces a file that is there; both return the exit status (0, or
// 2 with the trainer's one line on stderr) and write nothing on failure.
int ExportNetwork(const TTrainOptions& options);
int ImportNetwork(const TTrainOptions& options);
