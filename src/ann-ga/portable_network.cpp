#include "ann-ga/portable_network.h"

#include <cstddef>

#include "ann-ga/layer_blocks.h"

namespace {

TLayerBlock BlockOf(const TANN& n, int L) {
  return LayerBlock(L, n.getNodes(), n.getInputNodes(), n.getHiddenNodes(), n.getHiddenLayers(),
                    n.getOutputNodes());
}

std::vector<int32_t> LayersOf(const TANN& n) {
  std::vector<int32_t> layers{n.getInputNodes()};
  for (int k = 0; k < n.getHiddenLayers(); ++k) layers.push_back(n.getHiddenNodes());
  layers.push_back(n.getOutputNodes());
  return layers;
}

// Whether (s, t) lies in one of the blocks from a layer to the next.
bool InBlock(const TANN& n, int s, int t) {
  for (int L = 0; L <= n.getHiddenLayers(); ++L) {
    const TLayerBlock b = BlockOf(n, L);
    if (s >= b.FirstSource && s < b.FirstSource + b.Sources && t >= b.FirstTarget && t < b.FirstTarget + b.Targets)
      return true;
  }
  return false;
}

// Every individual is `net`, its node values cleared, so that the file says
// the same whatever the population held before.
void Become(TChromosom& c, const TPortableNetwork& net) {
  const int n = c.getNodes();
  for (int s = 0; s < n; ++s)
    for (int t = 0; t < n; ++t) c.setWeight(s, t, 0);
  for (int L = 0; L <= c.getHiddenLayers(); ++L) {
    const TLayerBlock b = BlockOf(c, L);
    for (int s = 0; s < b.Sources; ++s)
      for (int t = 0; t < b.Targets; ++t)
        c.setWeight(b.FirstSource + s, b.FirstTarget + t, net.Weights[static_cast<size_t>(L)][static_cast<size_t>(s)]
                                                                      [static_cast<size_t>(t)]);
  }
  for (int i = 0; i < n; ++i) c.getNodeList()[i] = {0, 0};
  c.setConnections(net.Connections);
  c.setOldConnections(net.OldConnections);
  c.setFitness(net.Fitness);
}

}  // namespace

bool TakeBestNetwork(const TWorld& world, TPortableNetwork& out) {
  const TChromosom& best = world.bestIndividual;
  const int n = best.getNodes();
  for (int s = 0; s < n; ++s)
    for (int t = 0; t < n; ++t)
      if (best.getWeight(s, t) != 0 && !InBlock(best, s, t)) return false;
  out = {};
  out.Layers = LayersOf(best);
  out.MaxWeight = best.getMaxWeight();
  out.Precision = best.getPrecWeight();
  out.MaxIntern = best.getMaxIntern();
  for (int L = 0; L <= best.getHiddenLayers(); ++L) {
    const TLayerBlock b = BlockOf(best, L);
    auto& block = out.Weights.emplace_back();
    for (int s = 0; s < b.Sources; ++s) {
      auto& row = block.emplace_back();
      for (int t = 0; t < b.Targets; ++t) row.push_back(best.getWeight(b.FirstSource + s, b.FirstTarget + t));
    }
  }
  out.Connections = best.getConnections();
  out.OldConnections = best.getOldConnections();
  out.Fitness = best.getFitness();
  out.Generations = world.Generations;
  return true;
}

bool FitsWorld(const TPortableNetwork& net, const TWorld& world) {
  const TChromosom& own = world.bestIndividual;
  if (net.Layers != LayersOf(own) || net.MaxWeight != own.getMaxWeight() || net.Precision != own.getPrecWeight() ||
      net.MaxIntern != own.getMaxIntern())
    return false;
  if (net.Weights.size() != static_cast<size_t>(own.getHiddenLayers()) + 1) return false;
  for (size_t L = 0; L < net.Weights.size(); ++L) {
    if (net.Weights[L].size() != static_cast<size_t>(net.Layers[L])) return false;
    for (const auto& row : net.Weights[L])
      if (row.size() != static_cast<size_t>(net.Layers[L + 1])) return false;
  }
  // The network file's own limits: links at most one per matrix entry, generations counted from 0.
  const int64_t maxLinks = static_cast<int64_t>(own.getNodes()) * own.getNodes();
  const auto links = [maxLinks](int32_t v) { return v >= 0 && v <= maxLinks; };
  return links(net.Connections) && links(net.OldConnections) && net.Generations >= 0;
}

// The other 99 are copies of it, not random networks: so it is the best
// whichever individual a ranking or a resumed training looks at, the file
// holds nothing that did not come with the network (no seed, no clock), and
// training from it breeds variants of it alone, which is what importing asks.
void FillWorldWith(TWorld& world, const TPortableNetwork& net) {
  for (TChromosom& c : world.Population) Become(c, net);
  Become(world.bestIndividual, net);
  world.bestIndividualIdx = 0;
  world.bestFitness = net.Fitness;
  world.Generations = net.Generations;
}
