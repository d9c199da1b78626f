#pragma once

#include <cstddef>
#include <string>

#include "load_reason.h"

// Why a file could not be written, for the trainer's one line on stderr,
// from the errno of the failed call.
const char* WriteReason(int error);
// Why a population file could not be loaded, with the sizes where the size
// was wrong: "falsche Größe (12 statt 199620 Bytes)".
std::string LoadFailure(TLoadError e, size_t size);
