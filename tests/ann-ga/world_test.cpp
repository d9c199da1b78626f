// The population's breeding: worst, selection, crossing.
#include "test_support.h"

namespace {
struct Breeding : WorldTest<> {
  // Individual i carries weight i + 1 everywhere and the given fitness (i if negative).
  void Mark(int fitness, int best = 99) {
    for (int i = 0; i < 100; ++i)
      SetAllWeights(w.Population[i], i + 1), w.Population[i].setFitness(fitness < 0 ? i : fitness);
    w.bestIndividualIdx = best;
  }
  std::vector<int> Selected() {
    w.Selection();
    std::vector<int> d;
    for (const TChromosom& c : w.Population) d.push_back(c.getWeight(0, 0));
    return d;
  }
};

TEST_F(Breeding, SelectionCopiesTheBestOverTheLowestIndicesAndReseedsBeforeItsFirstDraw) {
  Mark(50, 77);  // the four worst in turn are 0..3: ties go to the lowest index
  w.bestFitness = 900;
  w.Selection();
  for (int i = 0; i < 100; ++i)
    EXPECT_EQ(std::pair(w.Population[i].getWeight(5, 5), w.Population[i].getFitness()),
              i < 4 ? std::pair(78, 900) : std::pair(i + 1, 50)) << i;
  std::vector<int> drawn[2];
  for (int k = 0; k < 2; ++k) {
    TRandomClockScope clock{FixedSeconds};  // the reseed count starts again
    Mark(-1);
    w.bestFitness = 99;
    for (int i = 0; i < 3 * k; ++i) NextRandom();  // draws before it do not matter
    drawn[k] = Selected();
  }
  EXPECT_EQ(drawn[0], drawn[1]);
  // Fitness i: each tournament's winner and the four copies of 99 go over the lowest.
  EXPECT_GE(std::count(drawn[0].begin(), drawn[0].end(), 100), 5);
  Mark(-1);
  EXPECT_NE(Selected(), drawn[0]);  // a second one in the same second draws afresh
}

TEST_F(Breeding, CrossStretchesSwapWeightsAndWholeRows) {
  TChromosom &a = w.Population[0], &b = w.Population[1];
  // {points, weights swapped, {row, column, value in a afterwards}}
  const std::tuple<std::vector<int>, int, std::vector<std::array<int, 3>>> cases[] = {
      {{3 * 21 + 19, 6 * 21 + 1, 440}, 2 + 21 + 21 + 2, {{3, 18, 1}, {3, 19, 2}, {6, 1, 2}, {6, 2, 1}}},
      {{10, 20, 435, 440}, 11 + 6, {{0, 9, 1}, {0, 10, 2}, {20, 20, 2}}},  // odd count ends at the last weight
      {{10, 20, 435, 438, 440}, 11 + 4, {{20, 18, 2}, {20, 19, 1}}},        // even: not the last
      {{10, 20, 20, 30, 440}, 20, {{0, 19, 2}, {0, 20, 1}, {1, 9, 2}, {1, 10, 1}}},  // touching: swaps back
  };
  for (const auto& [points, swapped, inA] : cases) {
    SetAllWeights(a, 1);
    SetAllWeights(b, 2);
    const int* rowB4 = std::as_const(b).getLineWeight(4);
    TWorld::CrossStretches(a, b, points.data(), static_cast<int>(points.size()) - 1);
    int moved = 0;
    for (int r = 0; r < 21; ++r)
      for (int col = 0; col < 21; ++col) moved += a.getWeight(r, col) != 1;
    EXPECT_EQ(moved, swapped) << points[0];
    for (auto [r, col, v] : inA) EXPECT_EQ(a.getWeight(r, col), v) << points[0] << ": " << r << "," << col;
    EXPECT_EQ(std::as_const(a).getLineWeight(4) == rowB4, points[0] == 3 * 21 + 19);  // whole rows move
  }
}
}  // namespace
