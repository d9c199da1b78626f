#include "runs/path_comparison.h"

#include <algorithm>
#include <cstdio>

#include "platform/translatable.h"
#include "runs/path_entry.h"

int TPathComparison::Differing() const {
  return static_cast<int>(std::count_if(episodes.begin(), episodes.end(), [](const TComparedEpisode& e) { return e.Differs(); }));
}

TPathComparison ComparePathEntries(const TPathEntry& a, const TPathEntry& b) {
  std::vector<TEpisodeTally> eachA, eachB;
  TPathComparison c;
  c.a = PlayPathEntry(a, &eachA);
  c.b = PlayPathEntry(b, &eachB);
  // Both lists are the hundred in the order played, shorter only after a stop.
  const size_t played = std::min(eachA.size(), eachB.size());
  for (size_t e = 0; e < played; ++e)
    c.episodes.push_back({AllEpisodeHeightsOf(static_cast<int>(e)), eachA[e], eachB[e]});
  return c;
}

namespace {

constexpr TColumnHead Heads[] = {{QT_TRANSLATE_NOOP("zarnik-train", "Höhen"), 5},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Aufnahmen A"), 11},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Ablagen A"), 9},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Aufnahmen B"), 11},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Ablagen B"), 9}};
constexpr size_t ColumnCount = std::size(Heads);

std::string Row(const int (&w)[ColumnCount], const std::string& first, const TEpisodeTally& a, const TEpisodeTally& b,
                bool marked) {
  const long long figures[] = {a.takes, a.deliveries, b.takes, b.deliveries};
  std::string row = Padded(first, w[0]);
  for (size_t c = 1; c < ColumnCount; ++c) row += ' ' + Padded(std::to_string(figures[c - 1]), w[c]);
  return row + (marked ? " *\n" : "\n");
}

}  // namespace

std::string FormatPathComparison(const TPathComparison& c, const std::string& nameA, const std::string& nameB,
                                 TRankingTranslator translate) {
  const std::string sum = Shown(translate, QT_TRANSLATE_NOOP("zarnik-train", "Summe"));
  int w[ColumnCount];
  std::string text = "A: " + nameA + "\nB: " + nameB + "\n";
  for (size_t col = 0; col < ColumnCount; ++col) {
    TColumnHead head = Heads[col];
    if (col == 0) head.width = std::max(head.width, Utf8Length(sum));  // it names the totals' line too
    text += (col == 0 ? "" : " ") + ShownHead(head, translate, w[col]);
  }
  text += '\n';
  for (const TComparedEpisode& e : c.episodes)
    text += Row(w, std::to_string(e.heights.e) + ',' + std::to_string(e.heights.f), e.a, e.b, e.Differs());
  text += Row(w, sum, c.a, c.b, c.a.takes != c.b.takes || c.a.deliveries != c.b.deliveries);
  char note[512];
  std::snprintf(note, sizeof note,
                Shown(translate, QT_TRANSLATE_NOOP("zarnik-train",
                                        "(beide Netze in denselben %d Episoden, erste Podesthöhen h1,h2 je 1 bis %d; "
                                        "* A und B verschieden, in %d von %d Episoden)\n")),
                AllEpisodes, AllEpisodeHeights, c.Differing(), static_cast<int>(c.episodes.size()));
  return text + note;
}
