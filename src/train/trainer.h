#pragma once

#include "train/train_options.h"

// Runs zarnik-train as the options say; returns the exit status (0 normal
// end, 130 after a stop signal, 2 when the file cannot be loaded or written).
int RunTrainer(const TTrainOptions& options);

