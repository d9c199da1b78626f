#include "runs/run_ranking.h"

#include <algorithm>
#include <cstdio>

#include "hosts/headless_host.h"
#include "platform/translatable.h"
#include "runs/path_entry.h"

bool ReadNamedEntry(const std::string& name, TPathEntry& entry, TUnrankedFile& why) {
  TPathEntryName named;
  if (!ParsePathEntryName(name, named)) {
    why = {name, TLoadError::None, 0, true, TPathError::Missing, {}};
    return false;
  }
  std::vector<TPathEntry> path;
  why = {name, TLoadError::None, 0, true, ReadLearningPath(named.file.c_str(), path), {}};
  if (why.pathError != TPathError::None) return false;
  const TPathEntry* found = FindPathEntry(path, named.generation, why.nearest);
  if (found == nullptr) return false;
  entry = *found;
  return true;
}

bool MeasureFile(const std::string& file, TRankedFile& out, TUnrankedFile& why) {
  if (TPathEntryName named; ParsePathEntryName(file, named)) {
    TPathEntry entry;
    if (!ReadNamedEntry(file, entry, why)) return false;
    out = {file, entry.generation, PlayPathEntry(entry)};
    return true;
  }
  THeadlessHost host;
  host.View.Running = true;  // placing the ball asks nothing
  TZarnikHostScope useHost(&host);
  auto world = MakeZarnikWorld(&host);
  size_t size = 0;
  const TLoadError e = world->LoadANN(file.c_str(), size);
  if (e != TLoadError::None) {
    why = TUnrankedFile{};
    why.file = file, why.error = e, why.size = size;
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

namespace {

constexpr TColumnHead Heads[] = {{QT_TRANSLATE_NOOP("zarnik-train", "Rang"), 4},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Datei"), 28},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Generationen"), 12},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Ablagen/Episode"), 16},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Ablagen"), 8},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Aufnahmen"), 10},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Fitness"), 12}};
constexpr size_t ColumnCount = sizeof Heads / sizeof Heads[0];

}  // namespace

std::string FormatRanking(const std::vector<TRankedFile>& ranked, TRankingTranslator translate) {
  int w[ColumnCount];
  std::string text;
  for (size_t c = 0; c < ColumnCount; ++c) text += (c == 0 ? "" : c == 1 ? "  " : " ") + ShownHead(Heads[c], translate, w[c], c == 1);
  text += '\n';
  char line[512];
  for (size_t i = 0; i < ranked.size(); ++i) {
    const TRankedFile& r = ranked[i];
    std::snprintf(line, sizeof line, "%*zu  %-*s %*d %*s %*lld %*lld %*lld\n", w[0], i + 1, w[1], r.file.c_str(), w[2],
                  r.generations, w[3], FormatMean(r.tally.MeanDeliveries()).c_str(), w[4], r.tally.deliveries, w[5],
                  r.tally.takes, w[6], r.tally.MeanFitness());
    text += line;
  }
  std::snprintf(line, sizeof line,
                Shown(translate, QT_TRANSLATE_NOOP("zarnik-train",
                                     "(der Beste jeder Datei in allen %d Episoden, erste Podesthöhen je 1 bis %d: "
                                     "Ablagen und Aufnahmen als Summe, Fitness als Mittel)\n")),
                AllEpisodes, AllEpisodeHeights);
  return text + line;
}
