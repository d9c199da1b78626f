#include "ann-ga/run_control.h"

std::atomic<bool> UserBreak{false};
