#include "runs/set_summary.h"

#include <algorithm>
#include <cstdio>

#include "platform/translatable.h"
#include "runs/all_episodes.h"

std::vector<TPlaceSummary> SummarizePlaces(const TRunSet& set, uint64_t firstSeed,
                                           const std::vector<std::optional<TPlaceRecord>>& records) {
  std::vector<TPlaceSummary> out(records.size());
  for (size_t p = 0; p < out.size(); ++p) {
    out[p].place = static_cast<int>(p);
    out[p].record = records[p];
  }
  for (const TSetRun& r : set.Runs()) {
    if (r.slot < 0 || static_cast<size_t>(r.slot) >= out.size()) continue;
    TPlaceSummary& p = out[r.slot];
    // A run that would follow, but has no file (its place ended first), ran no seed.
    const bool ran = r.generation > r.startGeneration || r.state == TRunState::Restarted || r.state == TRunState::Goal;
    if (ran) p.seeds.push_back(firstSeed + static_cast<uint64_t>(r.index));
    p.work = std::max(p.work, r.Work());
    p.keptMean = std::max(p.keptMean, r.bestMean);
  }
  return out;
}

double TotalCpuSeconds(const std::vector<TPlaceSummary>& places) {
  double total = 0;
  for (const TPlaceSummary& p : places)
    if (p.record) total += p.record->cpuSeconds;
  return total;
}

namespace {

const char* EndText(const std::optional<TPlaceRecord>& r) {
  if (!r) return QT_TRANSLATE_NOOP("zarnik-train", "nie gestartet");
  switch (r->ended) {
    case TPlaceEnd::Running: return QT_TRANSLATE_NOOP("zarnik-train", "abgebrochen");
    case TPlaceEnd::Goal: return QT_TRANSLATE_NOOP("zarnik-train", "Ziel erreicht");
    case TPlaceEnd::AfterGoal: return QT_TRANSLATE_NOOP("zarnik-train", "nach dem Ziel");
    case TPlaceEnd::Limit: return QT_TRANSLATE_NOOP("zarnik-train", "Generationen erreicht");
    case TPlaceEnd::Stopped: return QT_TRANSLATE_NOOP("zarnik-train", "angehalten");
    case TPlaceEnd::Failed: return QT_TRANSLATE_NOOP("zarnik-train", "fehlgeschlagen");
  }
  return "";
}

}  // namespace

std::string FormatSetSummary(const std::vector<TPlaceSummary>& places, const std::string& winner,
                             TRankingTranslator translate) {
  std::string page;
  char line[512];
  const auto shown = [translate](const char* text) { return Shown(translate, text); };
  std::snprintf(line, sizeof line, "%-6s %-13s %-10s %-14s %-8s %s\n", shown(QT_TRANSLATE_NOOP("zarnik-train", "Platz")),
                shown(QT_TRANSLATE_NOOP("zarnik-train", "Generationen")), shown(QT_TRANSLATE_NOOP("zarnik-train", "Mittel")),
                shown(QT_TRANSLATE_NOOP("zarnik-train", "CPU-Sekunden")), shown(QT_TRANSLATE_NOOP("zarnik-train", "Starts")),
                shown(QT_TRANSLATE_NOOP("zarnik-train", "Ende; Startwerte")));
  page += line;
  for (const TPlaceSummary& p : places) {
    std::string seeds;
    for (const uint64_t s : p.seeds) {
      if (!seeds.empty()) seeds += ',';
      seeds += std::to_string(s);
    }
    std::snprintf(line, sizeof line, "%-6d %-13lld %-10s %-14.1f %-8d %s; %s\n", p.place, p.work,
                  FormatMean(p.keptMean).c_str(), p.record ? p.record->cpuSeconds : 0.0,
                  p.record ? p.record->starts : 0, shown(EndText(p.record)), seeds.c_str());
    page += line;
  }
  std::snprintf(line, sizeof line, shown(QT_TRANSLATE_NOOP("zarnik-train", "CPU-Zeit aller Plätze: %.1f s\n")),
                TotalCpuSeconds(places));
  page += line;
  if (!winner.empty()) page += winner + "\n";
  return page;
}
