#pragma once

// The feed-forward blocks of a layered network: which sources feed which
// targets. Drawing, mutating, evaluating and showing a network all walk them.

// Block L (0 .. layers): inputs to the first hidden layer, hidden layer to
// hidden layer, and the last hidden layer (the inputs, without hidden layers)
// to the outputs.
struct TLayerBlock {
  int FirstSource, Sources, FirstTarget, Targets;
};

constexpr TLayerBlock LayerBlock(int L, int nodes, int inputs, int hidden, int layers, int outputs) {
  TLayerBlock b{};
  b.FirstSource = L == 0 ? 0 : inputs + (L - 1) * hidden;
  b.Sources = L == 0 ? inputs : hidden;
  b.FirstTarget = L == layers ? nodes - outputs : inputs + L * hidden;
  b.Targets = L == layers ? outputs : hidden;
  return b;
}
