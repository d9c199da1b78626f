// Turning one evaluated generation into the next: worst, tournaments,
// pairing, crossover stretches and the copy of the best.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "test_support.h"

namespace {

using annga_test::SetAllWeights;
using annga_test::Weights;

struct Breeding : ::testing::Test {
  annga_test::WorldFixture f;
  TWorld& w = *f.World;
  void Mark(int i, int value) {
    SetAllWeights(w.Population[i], value);
  }
};

TEST_F(Breeding, WorstIsTheLowestIndexAmongEqualLows) {
  for (int i = 0; i < 100; ++i) w.Population[i].setFitness(100 - i % 7);
  w.Population[40].setFitness(-5);
  w.Population[70].setFitness(-5);
  EXPECT_EQ(w.getWorst(), 40);
  for (auto& c : w.Population) c.setFitness(INT32_MAX);
  EXPECT_EQ(w.getWorst(), 0);
}

TEST_F(Breeding, OverwriteCopiesWeightsAndFitnessButNotCounts) {
  for (auto& c : w.Population) c.setFitness(10);
  w.Population[9].setFitness(-1);
  Mark(4, 33);
  w.Population[9].setConnections(7);
  w.overwriteWorstOne(4, 555);
  EXPECT_EQ(Weights(w.Population[9]), Weights(w.Population[4]));
  EXPECT_EQ(w.Population[9].getFitness(), 555);
  EXPECT_EQ(w.Population[9].getConnections(), 7);

  const std::vector<int> own = Weights(w.Population[0]);
  for (auto& c : w.Population) c.setFitness(10);
  w.overwriteWorstOne(0, 3);  // onto itself
  EXPECT_EQ(Weights(w.Population[0]), own);
  EXPECT_EQ(w.Population[0].getFitness(), 3);
}

TEST_F(Breeding, OneFitnessEverywhereOnlyCopiesTheBestFourTimes) {
  for (int i = 0; i < 100; ++i) {
    Mark(i, i + 1);
    w.Population[i].setFitness(50);
  }
  w.bestIndividualIdx = 77;
  w.bestFitness = 900;
  const long long pumps = f.Host.Pumps;
  w.Selection();
  EXPECT_EQ(f.Host.Pumps - pumps, 90);
  // The four worst in turn are indices 0..3 (ties go to the lowest index).
  for (int i = 0; i < 100; ++i) {
    const int expected = i < 4 ? 78 : i + 1;
    EXPECT_EQ(w.Population[i].getWeight(5, 5), expected) << i;
    EXPECT_EQ(w.Population[i].getFitness(), i < 4 ? 900 : 50) << i;
  }
}

TEST_F(Breeding, FullMatingPoolRunsNoTournament) {
  for (int i = 0; i < 100; ++i) w.Population[i].setFitness(i);
  w.MatingPoolSize = 100;
  w.bestIndividualIdx = 99;
  w.bestFitness = 1000;
  const long long pumps = f.Host.Pumps;
  w.Selection();
  EXPECT_EQ(f.Host.Pumps, pumps);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(w.Population[i].getFitness(), 1000);
  EXPECT_EQ(w.Population[4].getFitness(), 4);
}

TEST_F(Breeding, TournamentWinnersReplaceTheWorst) {
  for (int i = 0; i < 100; ++i) {
    Mark(i, i + 1);
    w.Population[i].setFitness(i);
  }
  w.bestIndividualIdx = 99;
  w.bestFitness = 1000;
  w.Selection();
  // Each copy carries its source's fitness; the four best copies carry bestFitness.
  int bestCopies = 0;
  for (int i = 0; i < 100; ++i) {
    const TChromosom& c = w.Population[i];
    const int origin = c.getWeight(0, 0) - 1;
    if (c.getFitness() == 1000) {
      EXPECT_EQ(origin, 99) << i;
      ++bestCopies;
    } else {
      EXPECT_EQ(c.getFitness(), origin) << i;
    }
  }
  EXPECT_GE(bestCopies, 4);
  EXPECT_NE(w.Population[w.getWorst()].getFitness(), 0);  // the old worst is gone
}

TEST_F(Breeding, SameSecondSelectionsStillDrawDifferentTournaments) {
  std::vector<int> first, second;
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 100; ++i) {
      Mark(i, i + 1);
      w.Population[i].setFitness(i);
    }
    w.Selection();
    auto& out = round == 0 ? first : second;
    for (auto& c : w.Population) out.push_back(c.getWeight(0, 0));
  }
  EXPECT_NE(first, second);
}

TEST_F(Breeding, CrossOverMatesEveryIndividualExactlyOnce) {
  w.MatingRate = 1.0f;  // always exchange, so every pairing shows
  for (int i = 0; i < 100; ++i) Mark(i, i + 1);
  const long long pumps = f.Host.Pumps;
  w.CrossOver();
  EXPECT_EQ(f.Host.Pumps - pumps, 50);
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
}

TEST_F(Breeding, MatingRateBelowOneThousandthNeverExchanges) {
  w.MatingRate = 0.0005f;
  for (int i = 0; i < 100; ++i) Mark(i, i + 1);
  w.CrossOver();
  for (int i = 0; i < 100; ++i) EXPECT_EQ(w.Population[i].getWeight(20, 20), i + 1);
}

struct Stretches : Breeding {
  TChromosom& a = w.Population[0];
  TChromosom& b = w.Population[1];
  void SetUp() override {
    Mark(0, 1);
    Mark(1, 2);
  }
  int Swapped(const TChromosom& c, int own) {
    int n = 0;
    for (int v : Weights(c)) n += v != own;
    return n;
  }
};

TEST_F(Stretches, EqualPointsSwapOneWeight) {
  const int points[] = {47, 47, 440};
  TWorld::CrossStretches(a, b, points, 1);
  EXPECT_EQ(Swapped(a, 1), 1);
  EXPECT_EQ(a.getWeight(2, 5), 2);
  EXPECT_EQ(b.getWeight(2, 5), 1);
}

TEST_F(Stretches, StretchOverRowsMovesWholeRowsAndEnds) {
  int* rowA5 = a.getLineWeight(5);
  int* rowB5 = b.getLineWeight(5);
  const int points[] = {3 * 21 + 19, 6 * 21 + 1, 440};  // (3,19) .. (6,1)
  TWorld::CrossStretches(a, b, points, 1);
  EXPECT_EQ(Swapped(a, 1), 2 + 21 + 21 + 2);
  EXPECT_EQ(a.getWeight(3, 18), 1);
  EXPECT_EQ(a.getWeight(3, 19), 2);
  EXPECT_EQ(a.getWeight(6, 1), 2);
  EXPECT_EQ(a.getWeight(6, 2), 1);
  EXPECT_EQ(std::as_const(a).getLineWeight(5), rowB5);
  EXPECT_EQ(std::as_const(b).getLineWeight(5), rowA5);
}

TEST_F(Stretches, OddCountEndsAtTheLastWeightEvenCountIgnoresIt) {
  const int odd[] = {10, 20, 435, 440};
  TWorld::CrossStretches(a, b, odd, 3);
  EXPECT_EQ(Swapped(a, 1), 11 + 6);
  EXPECT_EQ(a.getWeight(20, 20), 2);

  Mark(0, 1);
  Mark(1, 2);
  const int even[] = {10, 20, 435, 438, 440};
  TWorld::CrossStretches(a, b, even, 4);
  EXPECT_EQ(Swapped(a, 1), 11 + 4);
  EXPECT_EQ(a.getWeight(20, 20), 1);
}

TEST_F(Stretches, TouchingStretchesSwapTheSharedWeightBack) {
  const int points[] = {10, 20, 20, 30, 440};
  TWorld::CrossStretches(a, b, points, 4);
  EXPECT_EQ(Swapped(a, 1), 20);
  EXPECT_EQ(a.getWeight(0, 20), 1);
}

TEST_F(Breeding, CopyBestTakesWeightsFitnessAndCountsButRecomputesOutputs) {
  TChromosom& src = w.Population[12];
  src.setFitness(4321);
  src.setConnections(40);
  src.setOldConnections(44);
  src.setWeight(3, 12, -77);
  w.bestIndividual.setConnections(1);
  w.copyBestIndividual(12);
  const TChromosom& best = w.bestIndividual;
  EXPECT_EQ(Weights(best), Weights(src));
  EXPECT_EQ(best.getFitness(), 4321);
  EXPECT_EQ(best.getConnections(), 40);
  EXPECT_EQ(best.getOldConnections(), 44);
  EXPECT_EQ(best.getOutputNodes(), 4);
  EXPECT_EQ(best.getNodes(), 21);
  EXPECT_EQ(best.getMaxIntern(), 1000);
  // Copies, not shared rows.
  src.setWeight(3, 12, 5);
  EXPECT_EQ(best.getWeight(3, 12), -77);
}

}  // namespace
