// The set's decisions on scripted runs: hand-made curves of the best's mean over all 100 episodes.
#include <gtest/gtest.h>
#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <set>
#include <string>
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
    if (mean > f.bestMean) f.bestMean = mean, f.bestGeneration = g;
    f.generation = g;
    if (set.OnCheck(k, g, mean, f.bestMean) == TRunSet::TAnswer::Halt) set.OnEnd(k, TRunSet::TEnd::Clean);
    // The places that were waiting for this one: begun runs stored as the trainer stores them, then answered.
    while (const auto round = set.DecideRound()) {
      for (int b : round->begun) Files[b] = {.generation = set.StartOf(*set.Find(b)).generation, .start = set.StartOf(*set.Find(b))};
      for (const auto& [r, goOn] : round->answers)
        if (!goOn) set.OnEnd(r, TRunSet::TEnd::Clean);
    }
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
        for (int s = 0; s < Speed(r.index) && set.Find(r.index)->alive && !set.Find(r.index)->held; ++s) {
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

// "exploit", two places, goal 3. At 300 run 0 (0.2) is given up; the leader, run 1, has 0.5, below 1: a new
// population, run 2 from work 300. At 800 run 1 shows 1.2 and run 2 (0.4) is below half of it: run 4 goes on
// from run 1's kept best of generation 800, under its own seed, and meets the goal at its generation 1300, that
// is at work 1300 of its place; run 1 is done there.
SetPlay ExploitingTwoPlaces() {
  SetPlay p;
  p.Curves[0] = {{100, 0.1}, {300, 0.2}};
  p.Curves[1] = {{100, 0.2}, {300, 0.5}, {800, 1.2}, {1500, 1.4}};
  p.Curves[2] = {{100, 0.1}, {300, 0.4}};
  p.Curves[4] = {{800, 1.2}, {1000, 2.0}, {1300, 3.1}};
  return p;
}

void ExpectExploitOutcome(const TRunSet& set, const std::string& what) {
  using S = TRunState;
  EXPECT_EQ(Outcome(set), (std::map<int, std::tuple<TRunState, int, long long>>{{0, {S::Restarted, 300, 0}},
                                                                               {1, {S::Done, 1300, 0}},
                                                                               {2, {S::Restarted, 500, 300}},
                                                                               {4, {S::Goal, 1300, 800}}}))
      << what;
  std::map<int, std::pair<int, int>> from;
  for (const TSetRun& r : set.Runs()) from[r.index] = {r.from, r.startGeneration};
  EXPECT_EQ(from, (std::map<int, std::pair<int, int>>{{0, {-1, 0}}, {1, {-1, 0}}, {2, {-1, 0}}, {4, {1, 800}}})) << what;
  EXPECT_EQ(std::pair(set.GoalWinner(), set.GoalWork()), std::pair(std::optional(4), std::optional(1300LL))) << what;
}

TEST(RunSet, AnExploitingPlaceGoesOnFromTheLeadersKeptBestWhicheverIsFaster) {
  for (const int fast : {1, 5}) {
    for (const int who : {0, 1}) {
      SetPlay p = ExploitingTwoPlaces();
      p.Speed = [&](int k) { return k % 2 == who ? fast : 1; };
      TRunSet set(TRunStrategyDef{.goal = 3, .kind = TSetStrategy::Exploit}, 2, std::nullopt);
      p.Play(set);
      ExpectExploitOutcome(set, "fast " + std::to_string(fast) + " place " + std::to_string(who));
      // What the trainer is told to store before run 4 starts.
      EXPECT_EQ(set.StartOf(*set.Find(4)), (TRunStart{.work = 800, .from = 1, .generation = 800}));
      EXPECT_EQ(set.StartOf(*set.Find(2)), (TRunStart{.work = 300, .from = -1, .generation = 0}));
    }
  }
}

// Stopped after so many rounds (among them: run 1 waiting at a check for run 0, run 4 begun and not yet
// started, run 4 at its first check) and resumed from the files: the same decisions.
TEST(RunSet, AStoppedAndResumedExploitingSetDecidesTheSame) {
  for (const int stopAt : {1, 3, 4, 5, 8, 9, 10, 12, 14}) {
    SetPlay p = ExploitingTwoPlaces();
    p.Speed = [](int k) { return k == 1 ? 3 : 1; };
    TRunSet first(TRunStrategyDef{.goal = 3, .kind = TSetStrategy::Exploit}, 2, std::nullopt);
    p.Play(first, stopAt);
    TRunSet again(TRunStrategyDef{.goal = 3, .kind = TSetStrategy::Exploit}, 2, std::nullopt);
    again.Resume([&](int k) { return p.Files.count(k) ? std::optional(p.Files[k]) : std::nullopt; });
    p.Play(again);
    ExpectExploitOutcome(again, "stopped after round " + std::to_string(stopAt));
  }
}

// A limit of 1000 generations a place: the places meet at their last check too, and a copy's limit counts
// from the generation it began with. Run 1 leads with 1.5 from 400 (0.5 before); run 0 (0.35) is below half of
// it: run 2 goes on from run 1's generation 400 at work 400, so it may train up to its generation 1000.
TEST(RunSet, AnExploitingPlaceKeepsItsLimitOfWork) {
  using S = TRunState;
  SetPlay p;
  p.Curves[0] = {{300, 0.35}};
  p.Curves[1] = {{300, 0.5}, {400, 1.5}};
  p.Curves[2] = {{400, 1.5}};
  TRunSet set(TRunStrategyDef{.kind = TSetStrategy::Exploit}, 2, 1000);
  p.Play(set);
  EXPECT_EQ(Outcome(set), (std::map<int, std::tuple<TRunState, int, long long>>{
                              {0, {S::Restarted, 400, 0}}, {1, {S::Done, 1000, 0}}, {2, {S::Done, 1000, 400}}}));
  EXPECT_EQ(set.GenerationLimit(2), std::optional(1000));
  ASSERT_NE(set.Find(2), nullptr);
  EXPECT_EQ(set.Find(2)->from, 1);
}

// A copy meets the stages by its own generations, as a new run does. Run 1 leads with 2.4 from 3700; run 0
// (1.0) is below half of it: run 2 goes on from run 1's kept best of generation 3700. At its generation 4000 it
// has 2.4, below the stage of 3 at 4000, but has trained only 300 generations: it goes on and meets 3 at its
// generation 4200. Run 1 is given up at 4000 for a copy of the new leader, run 2 (its kept best of 3700).
TEST(RunSet, AnExploitingCopyMeetsTheStagesByItsOwnGenerations) {
  using S = TRunState;
  SetPlay p;
  p.Curves[0] = {{300, 0.4}, {2000, 1.0}};
  p.Curves[1] = {{300, 0.5}, {2000, 1.1}, {3700, 2.4}};
  p.Curves[2] = {{3700, 2.4}, {4200, 3.0}};
  p.Curves[3] = {{3700, 2.4}};
  TRunSet set(TRunStrategyDef{.goal = 3, .kind = TSetStrategy::Exploit}, 2, std::nullopt);
  p.Play(set);
  EXPECT_EQ(Outcome(set), (std::map<int, std::tuple<TRunState, int, long long>>{{0, {S::Restarted, 3700, 0}},
                                                                               {1, {S::Restarted, 4000, 0}},
                                                                               {2, {S::Goal, 4200, 3700}},
                                                                               {3, {S::Done, 3900, 4000}}}));
  EXPECT_EQ(set.StartOf(*set.Find(3)), (TRunStart{.work = 4000, .from = 2, .generation = 3700}));
  EXPECT_EQ(std::pair(set.GoalWinner(), set.GoalWork()), std::pair(std::optional(2), std::optional(4200LL)));
}


// The places of a set spread over machines, each a set kept to its place: an event of a place is a run
// begun or a check, and a place that meets the goal leaves a note with its work, which the others read
// before every event, as the trainer's places do with their goal files.
struct PlacesPlay {
  SetPlay play;
  std::vector<TRunSet> places;
  std::vector<long long> notes;
  PlacesPlay(SetPlay p, const TRunStrategyDef& def, int count) : play(std::move(p)) {
    for (int k = 0; k < count; ++k) places.emplace_back(def, count, std::nullopt, k);
  }
  void Hear(TRunSet& place) {
    if (!notes.empty()) place.HeardGoal(*std::min_element(notes.begin(), notes.end()));
  }
  // One event of place k; false once it has finished.
  bool Step(int k) {
    TRunSet& place = places[k];
    Hear(place);
    for (int w : place.Waiting()) place.Started(w);
    if (place.Finished()) return false;
    for (const TSetRun& r : std::vector<TSetRun>(place.Runs()))
      if (r.alive) {
        Hear(place);
        play.Check(place, r.index, r.generation / 100 * 100 + 100);
        if (place.Find(r.index)->state == TRunState::Goal) notes.push_back(place.Find(r.index)->Work());
        return true;
      }
    return false;
  }
  void Finish(int k) {
    for (int n = 0; n < 1000 && Step(k); ++n) {
    }
  }
  // The set as the collecting job finds it in the files.
  TRunSet Collected(const TRunStrategyDef& def) {
    TRunSet all(def, static_cast<int>(places.size()), std::nullopt);
    all.Resume([&](int k) { return play.Files.count(k) ? std::optional(play.Files[k]) : std::nullopt; });
    return all;
  }
};

// Every order of two places' events: place `first` takes `ahead` events, then the other finishes, then
// `first` does; and both taking turns. Places hear of each other only through the notes.
template <class Check>
void EveryOrder(const SetPlay& script, const TRunStrategyDef& def, const Check& check) {
  for (const int first : {0, 1})
    for (int ahead = 0; ahead <= 30; ++ahead) {
      PlacesPlay pp(script, def, 2);
      for (int n = 0; n < ahead && pp.Step(first); ++n) {
      }
      pp.Finish(1 - first);
      pp.Finish(first);
      check(pp, "first " + std::to_string(first) + " ahead " + std::to_string(ahead));
    }
  PlacesPlay turns(script, def, 2);
  for (bool any = true; any;) any = turns.Step(0) | turns.Step(1);
  check(turns, std::string("taking turns"));
}

// TwoSlotsToGoal3 over two machines: place 0's run 2 meets the goal at work 2400 whenever place 1 learns
// of it, and place 1 ends at 2400 if it knew by then, otherwise at its own goal at 2500, never later.
// The collected set's winner is the one-machine set's, run 2 at 2400.
TEST(RunSet, APlaceAloneStopsPastTheGoalOfAnotherInEveryOrder) {
  using S = TRunState;
  const TRunStrategyDef def{.goal = 3};
  std::set<std::tuple<TRunState, int, long long>> endsOfRun1;
  EveryOrder(TwoSlotsToGoal3(), def, [&](PlacesPlay& pp, const std::string& order) {
    const auto place0 = Outcome(pp.places[0]), place1 = Outcome(pp.places[1]);
    EXPECT_EQ(place0.at(0), std::tuple(S::Restarted, 300, 0LL)) << order;
    EXPECT_EQ(place0.at(2), std::tuple(S::Goal, 2100, 300LL)) << order;
    EXPECT_EQ(place1.count(3), 0u) << order;
    endsOfRun1.insert(place1.at(1));
    const TRunSet all = pp.Collected(def);
    EXPECT_EQ(std::pair(all.GoalWinner(), all.GoalWork()), std::pair(std::optional(2), std::optional(2400LL))) << order;
  });
  EXPECT_EQ(endsOfRun1, (std::set<std::tuple<TRunState, int, long long>>{{S::Done, 2400, 0}, {S::Goal, 2500, 0}}));
}

// Both places meet the goal at the same check, work 500 (run 0 with 3.0, run 1 with 3.2): each writes its
// note whatever it heard first, and the winner is the higher mean, run 1, as on one machine; with equal
// means, the lower run.
TEST(RunSet, TwoPlacesMeetingTheGoalAtTheSameCheckBothCount) {
  for (const double mean1 : {3.2, 3.0}) {
    SetPlay script;
    script.Curves[0] = {{300, 0.5}, {500, 3.0}};
    script.Curves[1] = {{300, 0.5}, {500, mean1}};
    const TRunStrategyDef def{.goal = 3};
    TRunSet oneMachine(def, 2, std::nullopt);
    SetPlay q = script;
    q.Play(oneMachine);
    const std::optional<int> expected = mean1 > 3.0 ? 1 : 0;
    EXPECT_EQ(oneMachine.GoalWinner(), expected);
    EveryOrder(script, def, [&](PlacesPlay& pp, const std::string& order) {
      EXPECT_EQ(pp.notes.size(), 2u) << order;
      EXPECT_EQ(pp.Collected(def).GoalWinner(), expected) << mean1 << " " << order;
    });
  }
}

}  // namespace
