#include "run_control.h"

std::atomic<bool> UserBreak{false};
