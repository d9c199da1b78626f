#include "runs/path_table.h"

#include <algorithm>
#include <cstdio>

#include "platform/translatable.h"
#include "runs/all_episodes.h"

namespace {

constexpr TColumnHead Heads[] = {{QT_TRANSLATE_NOOP("zarnik-train", "Generation"), 10},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Ablagen/Episode"), 16},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Aufnahmen/Episode"), 18},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Fitness"), 12}};

}  // namespace

std::string FormatLearningPath(const std::vector<TPathEntry>& path, TRankingTranslator translate) {
  int w[std::size(Heads)];
  std::string text;
  for (size_t c = 0; c < std::size(Heads); ++c) text += (c == 0 ? "" : " ") + ShownHead(Heads[c], translate, w[c]);
  text += '\n';
  char line[256];
  for (const TPathEntry& e : path) {
    std::snprintf(line, sizeof line, "%*d %*s %*s %*lld\n", w[0], e.generation, w[1],
                  FormatMean(e.MeanDeliveries()).c_str(), w[2], FormatMean(e.MeanTakes()).c_str(), w[3],
                  e.MeanFitness());
    text += line;
  }
  std::snprintf(line, sizeof line,
                Shown(translate, QT_TRANSLATE_NOOP("zarnik-train",
                                        "(die bisher besten Netze des Laufs, je gemessen in allen %d Episoden; "
                                        "Fitness als Mittel; eines spielt wieder mit --rank DATEI@GENERATION)\n")),
                AllEpisodes);
  return text + line;
}
