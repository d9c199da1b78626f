#pragma once

#include <sys/types.h>

#include <string>

#include "load_reason.h"

// Why a file could not be written, for the trainer's one line on stderr,
// from the errno of the failed call.
const char* WriteReason(int error);
// Why a population cannot be trained: another program holds its lock
// (`holder`: its process id, -1 if it cannot be told).
std::string LockedReason(pid_t holder);
