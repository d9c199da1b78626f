#pragma once

#include "train/train_options.h"

// --plot: the set's picture, as the window draws it, written to a PNG or SVG
// file at the set's end (on a node without a screen too).

// Refuses a name that is taken or cannot be written, before the set begins;
// true (with the line on stderr) if it is refused.
bool RefusePlotName(const TTrainOptions& o);
// Draws what the set's checks say and writes it as a new file; false (with
// the line on stderr) if that fails.
bool WriteSetPlot(const TTrainOptions& o);
