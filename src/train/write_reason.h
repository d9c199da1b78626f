#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

#include "load_reason.h"

// Why a file could not be written, for the trainer's one line on stderr,
// from the errno of the failed call.
const char* WriteReason(int error);
// Why a population file could not be loaded, with the sizes where the size
// was wrong: "falsche Größe (12 statt 199620 Bytes)".
std::string LoadFailure(TLoadError e, size_t size);
// Why a population cannot be trained: another program holds its lock
// (`holder`: its process id, -1 if it cannot be told).
std::string LockedReason(pid_t holder);
