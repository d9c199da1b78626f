#pragma once

// The network, the individual, the population with its training loops and
// network file, and the generator they share.
#include "ann.h"
#include "chromosom.h"
#include "random.h"
#include "world.h"
#include "zarnik_host.h"
