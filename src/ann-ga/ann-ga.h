#pragma once

// The whole core of the training at once: the network, the individual, the
// training-2 episode, the population with its training loops and network
// file, the generator they share and the host they work through.
#include "ann-ga/ann.h"
#include "ann-ga/chromosom.h"
#include "ann-ga/episode_stepper.h"
#include "ann-ga/random.h"
#include "ann-ga/world.h"
#include "ann-ga/zarnik_host.h"
