#include "runs/path_table.h"

#include <algorithm>
#include <cstdio>

#include "platform/translatable.h"
#include "runs/all_episodes.h"

namespace {

struct TColumnHead {
  const char* text;
  int width;  // as the German heads have it
};

constexpr TColumnHead Heads[] = {{QT_TRANSLATE_NOOP("zarnik-train", "Generation"), 10},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Ablagen/Episode"), 16},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Aufnahmen/Episode"), 18},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Fitness"), 12}};

// Characters, not bytes: a translated head may hold letters beyond ASCII.
int Utf8Length(const std::string& text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

std::string FormatLearningPath(const std::vector<TPathEntry>& path, TRankingTranslator translate) {
  const auto shown = [translate](const char* text) { return translate != nullptr ? translate(text) : text; };
  int w[std::size(Heads)];
  std::string text;
  for (size_t c = 0; c < std::size(Heads); ++c) {
    const std::string head = shown(Heads[c].text);
    w[c] = std::max(Heads[c].width, Utf8Length(head));
    text += (c == 0 ? "" : " ") + std::string(static_cast<size_t>(w[c] - Utf8Length(head)), ' ') + head;
  }
  text += '\n';
  char line[256];
  for (const TPathEntry& e : path) {
    std::snprintf(line, sizeof line, "%*d %*s %*s %*lld\n", w[0], e.generation, w[1],
                  FormatMean(e.MeanDeliveries()).c_str(), w[2], FormatMean(e.MeanTakes()).c_str(), w[3],
                  e.MeanFitness());
    text += line;
  }
  std::snprintf(line, sizeof line,
                shown(QT_TRANSLATE_NOOP("zarnik-train",
                                        "(die bisher besten Netze des Laufs, je gemessen in allen %d Episoden; "
                                        "Fitness als Mittel; eines spielt wieder mit --rank DATEI@GENERATION)\n")),
                AllEpisodes);
  return text + line;
}
