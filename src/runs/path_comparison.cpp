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

struct TColumnHead {
  const char* text;
  int width;  // as the German heads have it
};

constexpr TColumnHead Heads[] = {{QT_TRANSLATE_NOOP("zarnik-train", "Höhen"), 5},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Aufnahmen A"), 11},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Ablagen A"), 9},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Aufnahmen B"), 11},
                                 {QT_TRANSLATE_NOOP("zarnik-train", "Ablagen B"), 9}};
constexpr size_t ColumnCount = std::size(Heads);

// Characters, not bytes: a translated head may hold letters beyond ASCII.
int Utf8Length(const std::string& text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string Right(const std::string& text, int width) {
  return std::string(static_cast<size_t>(std::max(0, width - Utf8Length(text))), ' ') + text;
}

std::string Row(const int (&w)[ColumnCount], const std::string& first, const TEpisodeTally& a, const TEpisodeTally& b,
                bool marked) {
  const long long figures[] = {a.takes, a.deliveries, b.takes, b.deliveries};
  std::string row = Right(first, w[0]);
  for (size_t c = 1; c < ColumnCount; ++c) row += ' ' + Right(std::to_string(figures[c - 1]), w[c]);
  return row + (marked ? " *\n" : "\n");
}

}  // namespace

std::string FormatPathComparison(const TPathComparison& c, const std::string& nameA, const std::string& nameB,
                                 TRankingTranslator translate) {
  const auto shown = [translate](const char* text) { return translate != nullptr ? translate(text) : text; };
  const std::string sum = shown(QT_TRANSLATE_NOOP("zarnik-train", "Summe"));
  int w[ColumnCount];
  std::string text = "A: " + nameA + "\nB: " + nameB + "\n";
  for (size_t col = 0; col < ColumnCount; ++col) {
    const std::string head = shown(Heads[col].text);
    w[col] = std::max(Heads[col].width, Utf8Length(head));
    if (col == 0) w[col] = std::max(w[col], Utf8Length(sum));
    text += (col == 0 ? "" : " ") + Right(head, w[col]);
  }
  text += '\n';
  for (const TComparedEpisode& e : c.episodes)
    text += Row(w, std::to_string(e.heights.e) + ',' + std::to_string(e.heights.f), e.a, e.b, e.Differs());
  text += Row(w, sum, c.a, c.b, c.a.takes != c.b.takes || c.a.deliveries != c.b.deliveries);
  char note[512];
  std::snprintf(note, sizeof note,
                shown(QT_TRANSLATE_NOOP("zarnik-train",
                                        "(beide Netze in denselben %d Episoden, erste Podesthöhen h1,h2 je 1 bis %d; "
                                        "* A und B verschieden, in %d von %d Episoden)\n")),
                AllEpisodes, AllEpisodeHeights, c.Differing(), static_cast<int>(c.episodes.size()));
  return text + note;
}
