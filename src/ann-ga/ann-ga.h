#pragma once

// The whole core of the training at once: the network, the individual, the
// training-2 episode, the population with its training loops and network
// file, the generator they share and the host they work through.
#include "ann.h"
#include "chromosom.h"
#include "episode_stepper.h"
#include "random.h"
#include "world.h"
#include "zarnik_host.h"
