// The population: worst, tournaments, pairing, crossover stretches, the copy
// of the best, and the run loops with their progress texts, ends and stops.
#include <array>
#include <climits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"

namespace {


struct Breeding : WorldTest<> {
  // Individual i carries weight i + 1 everywhere and the given fitness.
  void Mark(int (*fitness)(int)) {
    for (int i = 0; i < 100; ++i) {
      SetAllWeights(w.Population[i], i + 1);
      w.Population[i].setFitness(fitness(i));
    }
  }
};

TEST_F(Breeding, WorstIsTheLowestIndexAmongEqualLows) {
  for (int i = 0; i < 100; ++i) w.Population[i].setFitness(100 - i % 7);
  w.Population[40].setFitness(-5);
  w.Population[70].setFitness(-5);
  EXPECT_EQ(w.getWorst(), 40);
  for (auto& c : w.Population) c.setFitness(INT32_MAX);
  EXPECT_EQ(w.getWorst(), 0);
  const std::vector<int> own = Weights(w.Population[0]);
  w.overwriteWorstOne(0, 3);  // onto itself
  EXPECT_EQ(Weights(w.Population[0]), own);
  EXPECT_EQ(w.Population[0].getFitness(), 3);
}

TEST_F(Breeding, OneFitnessEverywhereOnlyCopiesTheBestFourTimes) {
  Mark([](int) { return 50; });
  w.bestIndividualIdx = 77;
  w.bestFitness = 900;
  w.Selection();
  EXPECT_EQ(host.Pumps, 90);
  // The four worst in turn are indices 0..3 (ties go to the lowest index).
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(w.Population[i].getWeight(5, 5), i < 4 ? 78 : i + 1) << i;
    EXPECT_EQ(w.Population[i].getFitness(), i < 4 ? 900 : 50) << i;
  }
}

TEST_F(Breeding, TournamentWinnersReplaceTheWorstAndSameSecondSelectionsDiffer) {
  std::vector<int> drawn[2];
  for (auto& d : drawn) {
    Mark([](int i) { return i; });
    w.bestIndividualIdx = 99;
    w.bestFitness = 1000;
    w.Selection();
    // Each copy carries its source's fitness; the four best copies carry bestFitness.
    int bestCopies = 0;
    for (int i = 0; i < 100; ++i) {
      const TChromosom& c = w.Population[i];
      bestCopies += c.getFitness() == 1000;
      EXPECT_EQ(c.getFitness() == 1000 ? 99 : c.getFitness(), c.getWeight(0, 0) - 1) << i;
      d.push_back(c.getWeight(0, 0));
    }
    EXPECT_GE(bestCopies, 4);
    EXPECT_NE(w.Population[w.getWorst()].getFitness(), 0);  // the old worst is gone
  }
  EXPECT_NE(drawn[0], drawn[1]);  // the reseed gives a fresh stream within one second
}

TEST_F(Breeding, CrossOverMatesEveryIndividualExactlyOnce) {
  w.MatingRate = 1.0f;  // always exchange, so every pairing shows
  Mark([](int) { return 0; });
  w.CrossOver();
  EXPECT_EQ(host.Pumps, 50);
  std::set<const int*> rows;
  for (int i = 0; i < 100; ++i) {
    std::set<int> values;
    for (int v : Weights(w.Population[i])) values.insert(v);
    ASSERT_EQ(values.size(), 2u) << i;
    ASSERT_TRUE(values.count(i + 1)) << i;
    const int partner = *values.begin() == i + 1 ? *values.rbegin() - 1 : *values.begin() - 1;
    std::set<int> back;
    for (int v : Weights(w.Population[partner])) back.insert(v);
    EXPECT_EQ(back, (std::set<int>{i + 1, partner + 1})) << i << " with " << partner;
    for (int r = 0; r < 21; ++r) rows.insert(std::as_const(w.Population[i]).getLineWeight(r));
  }
  EXPECT_EQ(rows.size(), 2100u);  // each row owned by exactly one network

  w.MatingRate = 0.0005f;  // below one thousandth: never an exchange
  Mark([](int) { return 0; });
  w.CrossOver();
  for (int i = 0; i < 100; ++i) EXPECT_EQ(w.Population[i].getWeight(20, 20), i + 1);
}

TEST_F(Breeding, CrossStretchesSwapWeightsAndWholeRows) {
  TChromosom& a = w.Population[0];
  TChromosom& b = w.Population[1];
  struct Case {
    std::vector<int> points;
    int swapped;
    std::vector<std::array<int, 3>> inA;  // row, column, value in a afterwards
  };
  const Case cases[] = {
      {{47, 47, 440}, 1, {{2, 5, 2}, {2, 4, 1}, {2, 6, 1}}},  // equal points swap one weight
      {{3 * 21 + 19, 6 * 21 + 1, 440}, 2 + 21 + 21 + 2, {{3, 18, 1}, {3, 19, 2}, {6, 1, 2}, {6, 2, 1}}},
      {{10, 20, 435, 440}, 11 + 6, {{0, 9, 1}, {0, 10, 2}, {20, 20, 2}}},  // odd count ends at the last weight
      {{10, 20, 435, 438, 440}, 11 + 4, {{20, 15, 2}, {20, 18, 2}, {20, 19, 1}, {20, 20, 1}}},  // even: not the last
      {{10, 20, 20, 30, 440}, 20, {{0, 19, 2}, {0, 20, 1}, {1, 9, 2}, {1, 10, 1}}},  // touching: the shared one swaps back
  };
  for (const Case& c : cases) {
    SetAllWeights(a, 1);
    SetAllWeights(b, 2);
    const int* rowA5 = std::as_const(a).getLineWeight(5);
    const int* rowB5 = std::as_const(b).getLineWeight(5);
    TWorld::CrossStretches(a, b, c.points.data(), static_cast<int>(c.points.size()) - 1);
    int swapped = 0, back = 0;
    for (int v : Weights(a)) swapped += v != 1;
    for (int v : Weights(b)) back += v != 2;
    EXPECT_EQ(swapped, c.swapped) << c.points[0];
    EXPECT_EQ(back, c.swapped) << c.points[0];
    for (auto [r, col, v] : c.inA) EXPECT_EQ(a.getWeight(r, col), v) << c.points[0] << ": " << r << "," << col;
    const bool rowMoves = c.points[0] == 3 * 21 + 19;
    EXPECT_EQ(std::as_const(a).getLineWeight(5), rowMoves ? rowB5 : rowA5);
    EXPECT_EQ(std::as_const(b).getLineWeight(5), rowMoves ? rowA5 : rowB5);
  }
}

TEST_F(Breeding, CopyBestTakesWeightsFitnessAndCounts) {
  TChromosom& src = w.Population[12];
  src.setFitness(4321);
  src.setConnections(40);
  src.setOldConnections(44);
  src.setWeight(3, 12, -77);
  w.copyBestIndividual(12);
  const TChromosom& best = w.bestIndividual;
  EXPECT_EQ(Weights(best), Weights(src));
  EXPECT_EQ(best.getFitness(), 4321);
  EXPECT_EQ(best.getConnections(), 40);
  EXPECT_EQ(best.getOldConnections(), 44);
  src.setWeight(3, 12, 5);  // copies, not shared rows
  EXPECT_EQ(best.getWeight(3, 12), -77);
}

// Records the progress values of one control and stops the run after a given
// number of writes to it.
struct RecordingHost : THeadlessHost {
  int WatchId = 0;
  int StopAfter = INT_MAX;
  std::vector<std::string> Watched;
  std::vector<std::string> BestWrites;  // control 304
  void SetDlgText(int id, const char* text) override {
    THeadlessHost::SetDlgText(id, text);
    if (id == 304) BestWrites.emplace_back(text);
    if (id == WatchId) {
      Watched.emplace_back(text);
      if (static_cast<int>(Watched.size()) >= StopAfter) UserBreak = true;
    }
  }
};

// A population that cannot change: every weight 0 and no mutation, so every
// individual scores the same in every pass.
struct Runs : WorldTest<RecordingHost> {
  void SetUp() override {
    w.setMutationRate(0.0f);
    for (auto& c : w.Population) {
      SetAllWeights(c, 0);
      c.setConnections(0);
      c.setOldConnections(0);
    }
    SetAllWeights(w.bestIndividual, 0);
    w.bestIndividual.setConnections(0);
  }
};

TEST_F(Runs, ModeOneCountsRepeatsOfTheBestAndClearsItsFitness) {
  host.WatchId = 306;
  host.StopAfter = 5;
  w.DoTrainANN1();
  // Index 0 wins every pass it can: the first already counts as a repeat.
  EXPECT_EQ(host.Watched, (std::vector<std::string>{"  1", "  2", "  2", "  2", "  2"}));
  // Improvements: pass 1, then after each clearing (end of passes 3 and 4).
  EXPECT_EQ(host.BestWrites, (std::vector<std::string>{" -1867", " -1867", " -1867"}));
  EXPECT_EQ(w.bestFitness, INT_MIN);  // cleared again after the fifth pass
  EXPECT_EQ(w.NoImprovement, 1);
  EXPECT_EQ(w.Generations, 0);
  EXPECT_EQ(host.Finished, 1);
  EXPECT_STREQ(host.DlgText(308), "(  50 , 286 )");
}

TEST_F(Runs, ModeTwoRecordsAnImprovementAndEndsAfterTwentyPassesWithout) {
  // The stored best pays for 60 links in every run; all others score 0, so
  // the first individual beats it.
  w.bestIndividual.setConnections(60);
  w.Generations = 3;
  host.WatchId = 308;
  host.StopAfter = 1;
  w.DoTrainANN2();
  EXPECT_EQ(w.bestIndividualIdx, 0);
  EXPECT_EQ(w.bestFitness, 0);
  EXPECT_STREQ(host.DlgText(310), "  3");
  EXPECT_STREQ(host.DlgText(304), "       0");
  EXPECT_EQ(w.NoImprovement, 1);
  EXPECT_EQ(w.Generations, 4);  // the stop request lets the generation finish
  EXPECT_EQ(host.Finished, 1);

  host.WatchId = 0;
  w.DoTrainANN2();  // nothing beats the best any more
  EXPECT_EQ(w.Generations, 24);
  EXPECT_EQ(w.NoImprovement, 20);
  EXPECT_EQ(host.Finished, 2);
  EXPECT_STREQ(host.DlgText(310), "   4");  // written once at the start
  EXPECT_STREQ(host.DlgText(308), " 23");
  EXPECT_STREQ(host.DlgText(306), " 99");
  EXPECT_STREQ(host.DlgText(302), "     0");
}

TEST_F(Runs, StopRequestEndsActivationAndLeavesThePopulation) {
  const std::vector<int> before = Weights(w.Population[0]);
  host.Arm.Train2AN = false;
  host.Arm.StartANN = true;
  host.OnPumpContext = &w;
  host.OnPump = [](THeadlessHost& h, void* world) {
    if (h.Pumps == 50) static_cast<TWorld*>(world)->DoBreakANN();
  };
  w.DoStartANN();
  EXPECT_EQ(host.Pumps, 50);
  EXPECT_EQ(host.Finished, 1);
  EXPECT_EQ(Weights(w.Population[0]), before);
}

}  // namespace
