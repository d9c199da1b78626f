#pragma once

// The stop signal of all runs.
#include <atomic>

// Set by DoBreakANN, tested by the run loops and the episodes. Atomic because
// the evaluation workers read it too.
extern std::atomic<bool> UserBreak;
