// The training loops and the activation: training 1's repeats and endless run, the pass average, training 2's
// end, new heights in activation, each also after a stopped run.
#include "test_support.h"

namespace {
using Training2 = WorldTest<>;

// All weights 0, no mutation: every pass scores alike, and individual 0 beats the best once.
TEST_F(Training2, EndsAfterTwentyPassesWithoutImprovement) {
  w.setMutationRate(0.0f);
  for (auto& c : w.Population) SetAllWeights(c, 0, 0);
  SetAllWeights(w.bestIndividual, 0, 60);  // pays for 60 links
  w.Generations = 3;
  host.OnPump = [](THeadlessHost& h, void*) { UserBreak = UserBreak || h.Pumps >= 3000000; };  // 20 take 1000000
  w.DoTrainANN2();
  ASSERT_LT(host.Pumps, 3000000) << "no end after three million pumps";
  EXPECT_EQ(std::tuple(w.bestIndividualIdx, std::string(host.DlgText(310)), w.NoImprovement, w.Generations),
            std::tuple(0, "  3", 20, 23));
  EXPECT_EQ(host.Finished, 1);
}

// Training 1 with all networks alike and still: individual 0 is every pass's best (the remembered index starts
// at 0, so pass 0 is a repeat). It is kept through two repeats (count 1, 2); the third clears bestFitness, so
// from pass 3 on every pass finds its best anew: the run never ends by itself, and each row names its own pass.
struct PassRecorder : THeadlessHost {
  std::vector<std::tuple<int, int, int, std::string>> Rows;  // mode, pass, pass of best, "count best used"
  void GenerationDone(const TGenerationFigures& f) override {
    Rows.emplace_back(f.mode, f.generation, f.generationOfBest, DlgText(306));
    if (Rows.size() >= 25) UserBreak = true;
  }
};
using Training1 = WorldTest<PassRecorder>;

TEST_F(Training1, KeepsItsBestForTwoRepeatsAndRunsOnUntilStopped) {
  w.setMutationRate(0.0f);
  for (auto& c : w.Population) SetAllWeights(c, 0, 0);
  UserBreak = true;  // left by a stopped run
  w.DoTrainANN1();
  std::vector<std::tuple<int, int, int, std::string>> expected;
  for (int pass = 0; pass < 25; ++pass) expected.emplace_back(1, pass, pass < 3 ? 0 : pass, pass == 0 ? "  1" : "  2");
  EXPECT_EQ(host.Rows, expected);
  EXPECT_EQ(host.Finished, 1);
}

// Individual i pays 10 * (i % 3) a link and run: -150 * (i % 3) an episode, -14850 in all, / 100.
TEST(PassAverage, IsTheSumOverAHundredTruncatedTowardZero) {
  TRandomClockScope clock{FixedSeconds};
  ScriptHost s;
  TZarnikHostScope useHost(&s);
  TWorld w(&s, DefaultWorldDef());
  for (int i = 0; i < 100; ++i) w.Population[i].setConnections(i % 3);
  w.bestIndividual.setConnections(0);
  w.calcFitness2();
  EXPECT_EQ(w.Population[2].getFitness(), -300);
  EXPECT_EQ(s.Texts[302], "  -148");
}

// When the target changes: new heights for E, then F, each a draw % 10 + 1.
TEST(Activation, NewHeightsForBothPlatformsWhenTheTargetChanges) {
  ScriptHost s;
  TZarnikHostScope useHost(&s);
  UseFixedRandomSeed(77);
  TWorld w(&s, DefaultWorldDef());
  s.MeetAt = {3};  // the world's first call, activation's own, then its first step
  s.StopAfterHeights = 1;
  UseFixedRandomSeed(78);
  SeedRandom(0);
  UserBreak = true;  // as a stopped run leaves it: activation still starts
  w.DoStartANN();
  UseFixedRandomSeed(78);
  SeedRandom(0);
  const int e = NextRandom() % 10 + 1, f = NextRandom() % 10 + 1;
  UseClockRandomSeed();
  UserBreak = false;
  ASSERT_NE(e, f);  // so the order shows
  EXPECT_FALSE(s.HitLimit) << "no new heights after 100000 steps";
  EXPECT_EQ(s.Heights, (std::vector<std::pair<int, int>>{{e, f}}));
  EXPECT_EQ(s.Steps, 3);
}
}  // namespace
