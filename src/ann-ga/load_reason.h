#pragma once

#include "ann-ga/world.h"

// Why a population file could not be loaded, in both programs' words (German;
// the Qt programs translate them in the context "LoadReason").
const char* LoadReason(TLoadError e);
// WrongSize where the sizes are known: %1 the size found, %2 the size expected.
extern const char* const WrongSizeReason;
// The text the programs show for `e`: for a file of the wrong size whose
// sizes are known, WrongSizeReason, otherwise LoadReason(e).
const char* LoadReasonFormat(TLoadError e, bool sizesKnown);
