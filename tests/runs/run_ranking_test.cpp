// The ranking's text: German as the README shows it, English with columns as wide as their heads.
#include <gtest/gtest.h>

#include <cstring>

#include "runs/run_ranking.h"

namespace {

std::vector<TRankedFile> TwoFiles() {
  // 58 deliveries, 126 takes, fitness 467700 over the 100 episodes; and a network that takes 3 and delivers none.
  return {{"zarnik.runs/run-1-best.dat", 100, {.episodes = 100, .takes = 126, .deliveries = 58, .fitnessSum = 467700}},
          {"b.dat", 7, {.episodes = 100, .takes = 3, .deliveries = 0, .fitnessSum = -15000}}};
}

// What the trainer's English translation gives for the ranking's texts.
const char* English(const char* text) {
  static const char* const pairs[][2] = {
      {"Rang", "Rank"}, {"Datei", "File"}, {"Generationen", "Generations"},
      {"Ablagen/Episode", "Deliveries/episode"}, {"Ablagen", "Deliveries"}, {"Aufnahmen", "Takes"},
      {"Fitness", "Fitness"},
      {"(der Beste jeder Datei in allen %d Episoden, erste Podesthöhen je 1 bis %d: Ablagen und Aufnahmen als "
       "Summe, Fitness als Mittel)\n",
       "(each file's best in all %d episodes, first platform heights 1 to %d each: deliveries and takes as sums, "
       "fitness as mean)\n"}};
  for (const auto& p : pairs)
    if (std::strcmp(text, p[0]) == 0) return p[1];
  return "?";  // an unknown text shows up in the comparison
}

TEST(RunRanking, GermanAsTheReadmeShowsItAndEnglishAligned) {
  EXPECT_EQ(FormatRanking(TwoFiles()),
            "Rang  Datei                        Generationen  Ablagen/Episode  Ablagen  Aufnahmen      Fitness\n"
            "   1  zarnik.runs/run-1-best.dat            100             0.58       58        126         4677\n"
            "   2  b.dat                                   7             0.00        0          3         -150\n"
            "(der Beste jeder Datei in allen 100 Episoden, erste Podesthöhen je 1 bis 10: Ablagen und Aufnahmen "
            "als Summe, Fitness als Mittel)\n");
  // The English heads are longer: their columns widen, each figure ends under its head.
  EXPECT_EQ(FormatRanking(TwoFiles(), English),
            "Rank  File                          Generations Deliveries/episode Deliveries      Takes      Fitness\n"
            "   1  zarnik.runs/run-1-best.dat            100               0.58         58        126         4677\n"
            "   2  b.dat                                   7               0.00          0          3         -150\n"
            "(each file's best in all 100 episodes, first platform heights 1 to 10 each: deliveries and takes as "
            "sums, fitness as mean)\n");
  // No file: the head and the note alone.
  EXPECT_EQ(FormatRanking({}, English).substr(0, 5), "Rank ");
}

}  // namespace
