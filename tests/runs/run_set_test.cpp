// The set's decisions on scripted runs: hand-made curves of the best's mean over all 100 episodes.
#include <gtest/gtest.h>
#include <climits>
#include <functional>
#include <map>
#include "runs/run_set.h"

namespace {

// A run's curve: the mean its best shows from a generation on, 0 before the first point.
using TCurve = std::vector<std::pair<int, double>>;

// Plays a set: every round each running run goes Speed(k) checks further; what it showed is kept as its
// files would keep it, so a new set can resume from them.
struct SetPlay {
  std::map<int, TCurve> Curves;
  std::map<int, TStoredRun> Files;
  std::function<int(int)> Speed = [](int) { return 1; };

  void Check(TRunSet& set, int k, int g) {
    double mean = 0;
    for (const auto& [from, m] : Curves[k]) mean = g >= from ? m : mean;
    TStoredRun& f = Files[k];
    if (mean > f.bestMean) f = {g, mean, g};
    f.generation = g;
    if (!set.OnCheck(k, g, mean, f.bestMean)) set.OnEnd(k, TRunSet::TEnd::Clean);
  }
  // Until the set has finished, or `rounds` rounds have passed; then a stop.
  void Play(TRunSet& set, int rounds = INT_MAX) {
    for (int round = 0; round < 1000; ++round) {
      for (int k : set.Waiting()) {
        set.Started(k);
        // A run resumed at a check is checked there again first.
        if (const int g = Files.count(k) ? Files[k].generation : 0; g > 0 && g % 100 == 0) Check(set, k, g);
      }
      if (set.Finished()) return;
      if (round == rounds) {
        set.StopAll();
        for (const TSetRun& r : std::vector<TSetRun>(set.Runs()))
          if (r.alive) set.OnEnd(r.index, TRunSet::TEnd::Stopped);
        return;
      }
      for (const TSetRun& r : std::vector<TSetRun>(set.Runs()))
        for (int s = 0; s < Speed(r.index) && set.Find(r.index)->alive; ++s) {
          const TSetRun& now = *set.Find(r.index);
          Check(set, now.index, std::min(now.generation / 100 * 100 + 100, set.GenerationLimit(now.index).value_or(INT_MAX)));
        }
    }
    ADD_FAILURE() << "the set did not finish in 1000 rounds";
  }
};

// (state, generation, start work) of every run of the set, by index.
std::map<int, std::tuple<TRunState, int, long long>> Outcome(const TRunSet& set) {
  std::map<int, std::tuple<TRunState, int, long long>> out;
  for (const TSetRun& r : set.Runs()) out[r.index] = {r.state, r.generation, r.startWork};
  return out;
}

// Two slots, goal 3. Run 0 stays at 0.1: given up at 300, its slot goes on with run 2 from work 300. Run 1
// meets 3 at its generation 2500, run 2 at its 2100, that is at work 2400 of its slot: run 2 wins, also
// when run 1 runs five times as fast and meets the goal first.
SetPlay TwoSlotsToGoal3() {
  SetPlay p;
  p.Curves[0] = {{100, 0.1}};
  p.Curves[1] = {{100, 0.2}, {300, 0.5}, {2000, 1.2}, {2500, 3.0}};
  p.Curves[2] = {{300, 0.4}, {2000, 1.5}, {2100, 3.1}};
  return p;
}

TEST(RunSet, TheRunThatMeetsTheGoalWithTheLeastWorkWinsWhicheverIsFaster) {
  using S = TRunState;
  for (const int fast : {1, 5}) {
    SetPlay p = TwoSlotsToGoal3();
    p.Speed = [&](int k) { return k == 1 ? fast : 1; };
    TRunSet set(TRunStrategyDef{.goal = 3}, 2, std::nullopt);
    p.Play(set);
    EXPECT_EQ(set.GoalWinner(), std::optional(2)) << fast;
    EXPECT_EQ(set.GoalWork(), std::optional(2400LL));
    const auto out = Outcome(set);
    ASSERT_EQ(out.size(), 3u) << "no run after the goal";
    EXPECT_EQ(out.at(0), std::tuple(S::Restarted, 300, 0LL));
    EXPECT_EQ(out.at(2), std::tuple(S::Goal, 2100, 300LL));
    // Run 1 meets the goal too, at its check at 2500, either before run 2 or while stopping at that check.
    EXPECT_EQ(out.at(1), std::tuple(S::Goal, 2500, 0LL));
  }
}

// A limit of 1000 generations a slot. Slot 0 learns nothing: runs 0, 2, 4 are given up at 300 each, run 6 gets
// the last 100. Slot 1 (0.3 at 300) goes on to 1000. Without restarts both go to 1000.
TEST(RunSet, RestartedRunsRefillTheirSlotWithinItsLimitOfGenerations) {
  using S = TRunState;
  SetPlay p;
  p.Curves[1] = {{300, 0.3}};
  TRunSet set(TRunStrategyDef{}, 2, 1000);
  p.Play(set);
  EXPECT_EQ(Outcome(set), (std::map<int, std::tuple<TRunState, int, long long>>{
                              {0, {S::Restarted, 300, 0}}, {1, {S::Done, 1000, 0}}, {2, {S::Restarted, 300, 300}},
                              {4, {S::Restarted, 300, 600}}, {6, {S::Done, 100, 900}}}));
  EXPECT_EQ(set.GoalWinner(), std::nullopt);
  TRunSet kept(TRunStrategyDef{.restarts = false}, 2, 1000);
  SetPlay q = p;
  q.Files.clear();
  q.Play(kept);
  EXPECT_EQ(Outcome(kept), (std::map<int, std::tuple<TRunState, int, long long>>{{0, {S::Done, 1000, 0}},
                                                                                  {1, {S::Done, 1000, 0}}}));
}

// Stopped after so many rounds (3: run 0 has just been given up and run 2 has no file yet; 24: run 2 has met
// the goal, run 1 has not caught up) and resumed from the files: the same runs, the same winner.
TEST(RunSet, AStoppedAndResumedSetDecidesTheSame) {
  using S = TRunState;
  for (const int stopAt : {1, 3, 4, 10, 24}) {
    SetPlay p = TwoSlotsToGoal3();
    TRunSet first(TRunStrategyDef{.goal = 3}, 2, std::nullopt);
    p.Play(first, stopAt);
    EXPECT_FALSE(first.GoalWinner() && stopAt < 24) << stopAt;
    TRunSet again(TRunStrategyDef{.goal = 3}, 2, std::nullopt);
    again.Resume([&](int k) { return p.Files.count(k) ? std::optional(p.Files[k]) : std::nullopt; });
    p.Play(again);
    EXPECT_EQ(again.GoalWinner(), std::optional(2)) << stopAt;
    const auto out = Outcome(again);
    EXPECT_EQ(std::pair(out.at(0), out.at(2)),
              std::pair(std::tuple(S::Restarted, 300, 0LL), std::tuple(S::Goal, 2100, 300LL)))
        << stopAt;
    EXPECT_EQ(out.count(3) + out.count(4), 0u) << stopAt;
  }
}

}  // namespace
