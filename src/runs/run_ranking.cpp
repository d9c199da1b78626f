#include "runs/run_ranking.h"

#include <algorithm>
#include <cstdio>

#include "hosts/headless_host.h"

bool MeasureFile(const std::string& file, TRankedFile& out, TUnrankedFile& why) {
  THeadlessHost host;
  host.View.Running = true;  // placing the ball asks nothing
  TZarnikHostScope useHost(&host);
  auto world = MakeZarnikWorld(&host);
  size_t size = 0;
  const TLoadError e = world->LoadANN(file.c_str(), size);
  if (e != TLoadError::None) {
    why = {file, e, size};
    return false;
  }
  out = {file, world->Generations, MeasureAllEpisodes(world->bestIndividual, host)};
  return true;
}

bool RanksBefore(const TRankedFile& a, const TRankedFile& b) {
  if (a.tally.deliveries != b.tally.deliveries) return a.tally.deliveries > b.tally.deliveries;
  return a.tally.MeanFitness() > b.tally.MeanFitness();
}

void RankFiles(const std::vector<std::string>& files, std::vector<TRankedFile>& ranked,
               std::vector<TUnrankedFile>& unranked) {
  ranked.clear();
  unranked.clear();
  for (const std::string& f : files) {
    TRankedFile r;
    TUnrankedFile why;
    if (MeasureFile(f, r, why))
      ranked.push_back(r);
    else
      unranked.push_back(why);
  }
  std::stable_sort(ranked.begin(), ranked.end(), RanksBefore);
}

std::string FormatRanking(const std::vector<TRankedFile>& ranked) {
  char line[512];
  std::snprintf(line, sizeof line, "%4s  %-28s %12s %16s %8s %10s %12s\n", "Rang", "Datei", "Generationen",
                "Ablagen/Episode", "Ablagen", "Aufnahmen", "Fitness");
  std::string text = line;
  for (size_t i = 0; i < ranked.size(); ++i) {
    const TRankedFile& r = ranked[i];
    std::snprintf(line, sizeof line, "%4zu  %-28s %12d %16s %8lld %10lld %12lld\n", i + 1, r.file.c_str(),
                  r.generations, FormatMean(r.tally.MeanDeliveries()).c_str(), r.tally.deliveries, r.tally.takes,
                  r.tally.MeanFitness());
    text += line;
  }
  std::snprintf(line, sizeof line,
                "(der Beste jeder Datei in allen %d Episoden, erste Podesthöhen je 1 bis %d: Ablagen und "
                "Aufnahmen als Summe, Fitness als Mittel)\n",
                AllEpisodes, AllEpisodeHeights);
  return text + line;
}
