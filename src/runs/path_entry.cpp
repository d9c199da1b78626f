#include "runs/path_entry.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "ann-ga/world.h"
#include "hosts/headless_host.h"

TPathEntry MakePathEntry(const TChromosom& best, int generation, const TEpisodeTally& tally) {
  TPathEntry e{generation, static_cast<int>(tally.episodes), tally.takes, tally.deliveries, tally.fitnessSum, {}};
  e.network.resize(best.RecordSize());
  best.EncodeRecord(e.network.data());
  return e;
}

void PutEntryNetwork(const TPathEntry& entry, TChromosom& best) { best.ApplyRecord(entry.network.data()); }

TEpisodeTally PlayPathEntry(const TPathEntry& entry, std::vector<TEpisodeTally>* each) {
  THeadlessHost host;
  host.View.Running = true;  // placing the ball asks nothing
  TZarnikHostScope useHost(&host);
  auto world = MakeZarnikWorld(&host);
  PutEntryNetwork(entry, world->bestIndividual);
  return MeasureAllEpisodes(world->bestIndividual, host, each);
}

bool ParsePathEntryName(const std::string& name, TPathEntryName& out) {
  const size_t at = name.rfind('@');
  if (at == std::string::npos || at == 0 || at + 1 == name.size()) return false;
  struct stat st = {};
  if (::lstat(name.c_str(), &st) == 0) return false;  // a file of that name is that file
  int generation = 0;
  const char* first = name.data() + at + 1;
  const char* last = name.data() + name.size();
  if (*first < '0' || *first > '9') return false;
  const auto [end, error] = std::from_chars(first, last, generation);
  if (error != std::errc() || end != last) return false;
  out = {name.substr(0, at), generation};
  return true;
}

const TPathEntry* FindPathEntry(const std::vector<TPathEntry>& path, int generation, std::vector<int>& nearest) {
  nearest.clear();
  for (const TPathEntry& e : path)
    if (e.generation == generation) return &e;
  std::vector<int> byDistance;
  for (const TPathEntry& e : path) byDistance.push_back(e.generation);
  // Distances in 64 bits: generations span the whole int range.
  const auto distance = [generation](int g) { return std::llabs(static_cast<long long>(g) - generation); };
  std::stable_sort(byDistance.begin(), byDistance.end(), [&](int a, int b) { return distance(a) < distance(b); });
  byDistance.resize(std::min<size_t>(byDistance.size(), 3));
  std::sort(byDistance.begin(), byDistance.end());
  nearest = byDistance;
  return nullptr;
}
