#include "runs/run_set.h"

#include <algorithm>

const char* RunStateWord(TRunState state) {
  switch (state) {
    case TRunState::Waiting:
    case TRunState::Running: return "running";
    case TRunState::Restarted: return "restarted";
    case TRunState::Goal: return "goal";
    case TRunState::Done: return "done";
    case TRunState::Stopped: return "stopped";
    case TRunState::Failed: return "failed";
  }
  return "failed";
}

TRunSet::TRunSet(const TRunStrategyDef& def, int slots, std::optional<long long> budget)
    : Strategy(def), SlotCount(std::max(1, slots)), Budget(budget) {
  for (int s = 0; s < SlotCount; ++s) Add(s, s, 0);
}

TRunSet::TRunSet(const TRunStrategyDef& def, int slots, std::optional<long long> budget, int place)
    : TRunSet(def, slots, budget) {
  OnlyPlace = place;
}

TSetRun& TRunSet::Add(int index, int slot, long long startWork) {
  TSetRun r;
  r.index = index;
  r.slot = slot;
  r.startWork = startWork;
  r.settledWork = startWork;
  All.push_back(r);
  return All.back();
}

TSetRun* TRunSet::Find(int index) {
  for (TSetRun& r : All)
    if (r.index == index) return &r;
  return nullptr;
}

void TRunSet::Resume(const std::function<std::optional<TStoredRun>(int index)>& stored) {
  All.clear();
  FirstGoalWork.reset();
  for (int s = 0; s < SlotCount; ++s) {
    long long work = 0;
    if (OnlyPlace && s != *OnlyPlace) {
      Add(s, s, 0);
      continue;
    }
    for (int k = s;; k += SlotCount) {
      TSetRun& r = Add(k, s, work);
      const std::optional<TStoredRun> mine = stored(k);
      if (!mine) break;
      if (mine->start) {
        r.startWork = mine->start->work;
        r.from = mine->start->from;
        r.startGeneration = mine->start->generation;
      }
      r.generation = mine->generation;
      r.bestMean = mine->bestMean;
      r.bestGeneration = mine->bestGeneration;
      if (const std::optional<TStoredRun> next = stored(k + SlotCount)) {
        r.state = TRunState::Restarted;
        work = next->start ? next->start->work : r.Work();
        continue;
      }
      // A run that met the goal stopped at that check.
      if (r.bestGeneration >= 0 && MeetsMean(r.bestMean, Strategy.goal)) {
        r.state = TRunState::Goal;
        r.generation = r.bestGeneration;
        NoteGoal(r.Work());
      }
      // Its first check is its place's again, unless it is where it began.
      const bool checksFirst = r.generation > r.startGeneration &&
                               (IsCheckGeneration(Strategy, r.generation) || AtLimit(r));
      r.settledWork = checksFirst ? r.Work() - 1 : r.Work();
      break;
    }
  }
  if (FirstGoalWork) HeardGoal(*FirstGoalWork);
}

void TRunSet::HeardGoal(long long work) {
  NoteGoal(work);
  for (TSetRun& r : All)
    if (r.state == TRunState::Waiting && r.Work() >= *FirstGoalWork) r.state = TRunState::Done;
}

std::vector<int> TRunSet::Waiting() const {
  std::vector<int> out;
  if (Stopping) return out;
  // A run begun at a decision waits until its predecessor's process has ended.
  const auto placeBusy = [&](int slot) {
    return std::any_of(All.begin(), All.end(), [&](const TSetRun& o) { return o.slot == slot && o.alive; });
  };
  for (const TSetRun& r : All)
    if (Mine(r) && r.state == TRunState::Waiting && !placeBusy(r.slot)) out.push_back(r.index);
  return out;
}

void TRunSet::Started(int index) {
  if (TSetRun* r = Find(index)) {
    r->state = TRunState::Running;
    r->alive = true;
  }
}

std::optional<int> TRunSet::GenerationLimit(int index) const {
  if (!Budget) return std::nullopt;
  for (const TSetRun& r : All)
    if (r.index == index)
      return static_cast<int>(std::clamp(*Budget - r.startWork + r.startGeneration, 0LL, 2147483647LL));
  return std::nullopt;
}

void TRunSet::NoteGoal(long long work) {
  if (!FirstGoalWork || work < *FirstGoalWork) FirstGoalWork = work;
}

TRunSet::TAnswer TRunSet::OnCheck(int index, int generation, double validatedMean, double bestMean) {
  TSetRun* r = Find(index);
  if (!r) return TAnswer::Halt;
  r->generation = generation;
  r->validatedMean = validatedMean;
  if (bestMean > r->bestMean) {
    r->bestMean = bestMean;
    r->bestGeneration = generation;
  }
  if (r->state != TRunState::Running) return TAnswer::Halt;
  if (!Exploits()) return Settle(*r, JudgeRun(Strategy, generation, r->bestMean));
  // A copy's first check, or one decided before a stop: nothing to decide.
  if (r->Work() <= r->settledWork) return TAnswer::GoOn;
  r->held = true;
  return TAnswer::Held;
}

// The state a decision leaves run r in, and its answer.
TRunSet::TAnswer TRunSet::Settle(TSetRun& r, TRunVerdict verdict) {
  if (verdict == TRunVerdict::Goal) {
    r.state = TRunState::Goal;
    NoteGoal(r.Work());
  } else if ((FirstGoalWork && r.Work() >= *FirstGoalWork) || AtLimit(r)) {
    r.state = TRunState::Done;
  } else if (Stopping) {
    r.state = TRunState::Stopped;
  } else if (verdict == TRunVerdict::Restart) {
    r.state = TRunState::Restarted;
  }
  return r.state == TRunState::Running ? TAnswer::GoOn : TAnswer::Halt;
}

std::vector<TSetRun*> TRunSet::Current() {
  std::vector<TSetRun*> current(SlotCount, nullptr);
  for (TSetRun& r : All) current[r.slot] = &r;  // a place's runs in the order they began
  return current;
}

std::optional<TRunSet::TRound> TRunSet::DecideRound() {
  if (!Exploits() || Stopping) return std::nullopt;
  const std::vector<TSetRun*> current = Current();
  const auto heldNow = [](const TSetRun* r) { return r->held && r->state == TRunState::Running; };
  std::optional<long long> work;
  for (const TSetRun* r : current)
    if (heldNow(r) && (!work || r->Work() < *work)) work = r->Work();
  if (!work) return std::nullopt;
  // Every place that will still check at this work (or before) has to be there.
  for (const TSetRun* r : current) {
    const bool goesOn = r->state == TRunState::Running || r->state == TRunState::Waiting;
    if (goesOn && !heldNow(r) && r->settledWork < *work) return std::nullopt;
  }
  std::vector<TSetRun*> places;
  std::vector<TPlaceCheck> checks;
  for (TSetRun* r : current)
    if (heldNow(r) && r->Work() == *work) {
      places.push_back(r);
      // A copy meets the stages as a new run does, by its own generations: judged by its population's
      // age, copies of a kept best near a stage were given up again and again before they could learn.
      checks.push_back({r->index, r->generation - r->startGeneration, r->bestMean});
    }
  const std::vector<TPlaceDecision> decisions = JudgeRound(Strategy, checks);
  // The goal first: every other place has then done its work.
  for (size_t i = 0; i < places.size(); ++i)
    if (decisions[i].verdict == TRunVerdict::Goal) NoteGoal(places[i]->Work());
  TRound round;
  round.work = *work;
  struct TNext { int index, slot, from, generation; };
  std::vector<TNext> next;
  for (size_t i = 0; i < places.size(); ++i) {
    TSetRun& r = *places[i];
    r.held = false;
    r.settledWork = *work;
    const TAnswer answer = Settle(r, decisions[i].verdict);
    round.answers.push_back({r.index, answer == TAnswer::GoOn});
    if (r.state != TRunState::Restarted) continue;
    const int from = decisions[i].from;
    next.push_back({r.index + SlotCount, r.slot, from, from < 0 ? 0 : Find(from)->bestGeneration});
  }
  for (const TNext& n : next) {  // r is no longer valid after Add
    TSetRun& added = Add(n.index, n.slot, *work);
    added.from = n.from;
    added.startGeneration = n.generation;
    added.generation = n.generation;
    added.settledWork = *work;
    round.begun.push_back(n.index);
  }
  return round;
}

void TRunSet::OnEnd(int index, TEnd end) {
  TSetRun* r = Find(index);
  if (!r) return;
  r->alive = false;
  if (end == TEnd::Failed) {
    r->state = TRunState::Failed;
    return;
  }
  if (r->state == TRunState::Running) r->state = end == TEnd::Stopped ? TRunState::Stopped : TRunState::Done;
  if (Exploits() || r->state != TRunState::Restarted || end != TEnd::Clean || Stopping) return;
  const long long work = r->Work();
  if (FirstGoalWork && work >= *FirstGoalWork) return;
  Add(index + SlotCount, r->slot, work);  // r is no longer valid
}

bool TRunSet::Finished() const {
  for (const TSetRun& r : All)
    if (Mine(r) && (r.alive || (r.state == TRunState::Waiting && !Stopping))) return false;
  return true;
}

std::optional<int> TRunSet::GoalWinner() const {
  const TSetRun* best = nullptr;
  for (const TSetRun& r : All) {
    if (r.state != TRunState::Goal || !FirstGoalWork || r.Work() != *FirstGoalWork) continue;
    if (!best || r.bestMean > best->bestMean || (r.bestMean == best->bestMean && r.index < best->index)) best = &r;
  }
  if (!best) return std::nullopt;
  return best->index;
}
