// The 100-episode measure on a scripted arm whose counts depend only on the first platform heights.
#include <set>
#include "runs/all_episodes.h"
#include "test_support.h"

namespace {

// At an episode's first height call, E at h1 and F at h2: h1 deliveries if F starts at 10, h2 takes if E starts
// at 1. Over the 100 episodes: 1 + .. + 10 = 55 of each, if every (h1, h2) is played once, E and F not swapped.
struct TallyHost : ScriptHost {
  TBallCounts Counts;
  bool Fresh = false;
  std::set<std::pair<int, int>> Firsts;
  int Episodes = 0;
  void ResetSimulator() override { Fresh = true; }
  TBallCounts BallCounts() const override { return Counts; }
  int* GetCalcData(const int* delta, bool keep, bool draw) override {
    if (Fresh && (delta[4] != 0 || delta[5] != 0)) {
      Fresh = false;
      ++Episodes;
      Firsts.insert({delta[4], delta[5]});
      if (delta[5] == 10) Counts.deliveries += delta[4];
      if (delta[4] == 1) Counts.takes += delta[5];
    }
    return ScriptHost::GetCalcData(delta, keep, draw);
  }
};

using AllEpisodes = WorldTest<>;

// Still weights with 3 links: runs cost 30, 60 .. 150, an episode -450 (no target reached, so no average).
TEST_F(AllEpisodes, EveryFirstHeightPairOnceWithHandCountedTotalsAndTheBestKeepsItsScore) {
  TallyHost script;
  SetAllWeights(w.bestIndividual, 0, 3);
  w.bestIndividual.setFitness(77);
  w.bestIndividual.setBallCounts({1, 2});
  const TEpisodeTally t = MeasureAllEpisodes(w.bestIndividual, script);
  EXPECT_EQ(std::tuple(script.Episodes, script.Firsts.size(), script.Firsts.begin()->first, script.Firsts.rbegin()->second),
            std::tuple(100, 100u, 1, 10));
  EXPECT_EQ(std::tuple(t.episodes, t.deliveries, t.takes, t.fitnessSum, t.MeanFitness()),
            std::tuple(100LL, 55LL, 55LL, -45000LL, -450LL));
  EXPECT_DOUBLE_EQ(t.MeanDeliveries(), 0.55);
  EXPECT_EQ(std::tuple(w.bestIndividual.getFitness(), w.bestIndividual.getBallCounts().takes,
                       w.bestIndividual.getBallCounts().deliveries),
            std::tuple(77, 1LL, 2LL));
  // A random best on the real arm: its stored record (score, node values, weights) as before, so a run
  // that measures stores the same file as one that does not.
  std::vector<unsigned char> before(w.Population[3].RecordSize()), after(before.size());
  w.Population[3].EncodeRecord(before.data());
  MeasureAllEpisodes(w.Population[3], host);
  w.Population[3].EncodeRecord(after.data());
  EXPECT_TRUE(before == after);
  // A stop during the measure leaves fewer episodes, so the caller can tell.
  script.StopAfterHeights = 5 * 7 + 1;
  EXPECT_LT(MeasureAllEpisodes(w.bestIndividual, script).episodes, 100);
}

}  // namespace
