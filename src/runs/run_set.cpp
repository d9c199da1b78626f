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

TSetRun& TRunSet::Add(int index, int slot, long long startWork) {
  TSetRun r;
  r.index = index;
  r.slot = slot;
  r.startWork = startWork;
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
    for (int k = s;; k += SlotCount) {
      TSetRun& r = Add(k, s, work);
      const std::optional<TStoredRun> mine = stored(k);
      if (!mine) break;
      r.generation = mine->generation;
      r.bestMean = mine->bestMean;
      r.bestGeneration = mine->bestGeneration;
      if (stored(k + SlotCount)) {
        r.state = TRunState::Restarted;
        work += r.generation;
        continue;
      }
      // A run that met the goal stopped at that check.
      if (r.bestGeneration >= 0 && MeetsMean(r.bestMean, Strategy.goal)) {
        r.state = TRunState::Goal;
        r.generation = r.bestGeneration;
        NoteGoal(r.Work());
      }
      break;
    }
  }
  if (FirstGoalWork)
    for (TSetRun& r : All)
      if (r.state == TRunState::Waiting && r.Work() >= *FirstGoalWork) r.state = TRunState::Done;
}

std::vector<int> TRunSet::Waiting() const {
  std::vector<int> out;
  if (Stopping) return out;
  for (const TSetRun& r : All)
    if (r.state == TRunState::Waiting) out.push_back(r.index);
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
    if (r.index == index) return static_cast<int>(std::clamp(*Budget - r.startWork, 0LL, 2147483647LL));
  return std::nullopt;
}

void TRunSet::NoteGoal(long long work) {
  if (!FirstGoalWork || work < *FirstGoalWork) FirstGoalWork = work;
}

bool TRunSet::OnCheck(int index, int generation, double validatedMean, double bestMean) {
  TSetRun* r = Find(index);
  if (!r) return false;
  r->generation = generation;
  r->validatedMean = validatedMean;
  if (bestMean > r->bestMean) {
    r->bestMean = bestMean;
    r->bestGeneration = generation;
  }
  if (r->state != TRunState::Running) return false;
  const TRunVerdict verdict = JudgeRun(Strategy, generation, r->bestMean);
  if (verdict == TRunVerdict::Goal) {
    r->state = TRunState::Goal;
    NoteGoal(r->Work());
  } else if ((FirstGoalWork && r->Work() >= *FirstGoalWork) || AtLimit(*r)) {
    r->state = TRunState::Done;
  } else if (Stopping) {
    r->state = TRunState::Stopped;
  } else if (verdict == TRunVerdict::Restart) {
    r->state = TRunState::Restarted;
  }
  return r->state == TRunState::Running;
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
  if (r->state != TRunState::Restarted || end != TEnd::Clean || Stopping) return;
  const long long work = r->Work();
  if (FirstGoalWork && work >= *FirstGoalWork) return;
  Add(index + SlotCount, r->slot, work);  // r is no longer valid
}

bool TRunSet::Finished() const {
  for (const TSetRun& r : All)
    if (r.alive || (r.state == TRunState::Waiting && !Stopping)) return false;
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
