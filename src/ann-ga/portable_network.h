#pragma once

// A network as it leaves the program for others and comes back: its layers,
// the weights from each layer to the next, its scale and limits, and the
// figures that go with it. Only what a layered network holds: a link that
// skips a layer or runs back has no place in it.
#include <cstdint>
#include <vector>

#include "ann-ga/world.h"

struct TPortableNetwork {
  std::vector<int32_t> Layers;  // node counts: the inputs, each hidden layer, the outputs
  int32_t MaxWeight = 0;        // initial weights lie within +-MaxWeight * Precision
  int32_t Precision = 0;        // a stored weight w stands for w / Precision
  int32_t MaxIntern = 0;        // every node value lies within +-MaxIntern
  // Weights[L][s][t]: from node s of layer L to node t of layer L + 1; 0 is no link.
  std::vector<std::vector<std::vector<int32_t>>> Weights;
  int32_t Connections = 0, OldConnections = 0;  // as the network counted them (its size cost)
  int32_t Fitness = 0;
  int32_t Generations = 0;  // of the population it comes from
};

// The best network of `world`, with the population's generations; false if
// it has a link outside the blocks from one layer to the next.
bool TakeBestNetwork(const TWorld& world, TPortableNetwork& out);

// Whether `net` is a network of `world`'s shape, scale and limits, whole,
// with figures a network file can hold.
bool FitsWorld(const TPortableNetwork& net, const TWorld& world);

// Makes `world` a population of `net` alone (FitsWorld must hold).
void FillWorldWith(TWorld& world, const TPortableNetwork& net);
