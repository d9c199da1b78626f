#pragma once

#include "load_reason.h"

// Why a file could not be written, for the trainer's one line on stderr,
// from the errno of the failed call.
const char* WriteReason(int error);
