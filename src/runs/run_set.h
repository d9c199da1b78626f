#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "runs/run_start.h"
#include "runs/run_strategy.h"

// A set of runs side by side, as pure bookkeeping: the process plumbing
// reports what its runs did, the set says what happens next.
//
// The set has `slots` places, one run each at a time. Run k has seed S + k
// and its own files; slot s starts with run s, and a run given up for a new
// seed is followed in its slot by run k + slots, which counts on from the
// generations its slot has spent (its "work"). A limit in generations is a
// limit of every slot's work, so without restarts it is each run's last
// generation.
//
// Determinism: decisions come only from the checks of runs, and from each
// run's own figures, except the goal: the set's winner is the run that met it
// with the least work in its slot (then the higher mean, then the lower
// index), and every run with less work goes on until it has caught up. How
// fast each run happens to be on the machine changes nothing of the result.
//
// "exploit" judges the places together: a check is held until every place has
// reached the same work (all places begin at work 0 and check every 100
// generations of work, so they meet there), then JudgeRound decides them all
// at once. A run given up is followed by run k + slots at once, begun from a
// copy of the leader's kept best or from nothing (its TRunStart), and
// started when its predecessor's process has ended.
//
// One place alone ("restart" only): a set spread over machines runs each
// place as a set of its own kept to that place, deciding its checks by the
// same rule; what the other places did reaches it only as the work at which
// one met the goal (HeardGoal), which it learns from their files.

enum class TRunState { Waiting, Running, Restarted, Goal, Done, Stopped, Failed };

// The word of the progress lines: "running" (also for waiting), "restarted",
// "goal", "done", "stopped", "failed".
const char* RunStateWord(TRunState state);

struct TSetRun {
  int index = 0;  // k: seed S + k, files FILE-k.*
  int slot = 0;
  long long startWork = 0;  // generations its slot trained before it
  int startGeneration = 0;  // of its population when it began (a copy: its donor's kept best's)
  int from = -1;            // the run whose kept best it began from; -1: a new population
  int generation = 0;       // of its last report
  int bestFitness = 0;      // best of its last generation and its deliveries in its episode
  int bestDeliveries = 0;
  double validatedMean = -1;  // at its last check; -1: no check yet
  double bestMean = -1;       // best ever validated; -1: none
  int bestGeneration = -1;    // the check that showed it
  TRunState state = TRunState::Waiting;
  bool alive = false;  // its process runs (also after a check stopped it, while it stores)
  bool held = false;   // "exploit": a check waits for the other places
  long long settledWork = 0;  // "exploit": its checks up to this work are decided
  long long Work() const { return startWork + generation - startGeneration; }
};

// A run's files as a resumed set finds them.
struct TStoredRun {
  int generation = 0;
  double bestMean = -1;  // of its kept best network; -1: none kept
  int bestGeneration = -1;
  std::optional<TRunStart> start;  // "exploit": how it began, if it followed another
};

class TRunSet {
 public:
  // `budget`: generations of work per slot; none: until the goal or a stop.
  TRunSet(const TRunStrategyDef& def, int slots, std::optional<long long> budget);
  // Only the runs of place `place` are read, started and waited for.
  TRunSet(const TRunStrategyDef& def, int slots, std::optional<long long> budget, int place);

  // Rebuilds the set from what its files say: `stored(k)` for run k, nothing
  // if run k has no file. A run is over if its slot's next run has a file.
  void Resume(const std::function<std::optional<TStoredRun>(int index)>& stored);

  const TRunStrategyDef& Def() const { return Strategy; }
  const std::vector<TSetRun>& Runs() const { return All; }
  TSetRun* Find(int index);

  // Runs to start now; Started marks one as running.
  std::vector<int> Waiting() const;
  void Started(int index);
  // The generation up to which run `index` may train; none: no limit.
  std::optional<int> GenerationLimit(int index) const;

  // A check of run `index` at `generation`: its best's mean now and the best
  // it ever showed. GoOn or Halt (in the state the run now has) is the
  // answer now; Held: DecideRound answers it later.
  enum class TAnswer { GoOn, Halt, Held };
  TAnswer OnCheck(int index, int generation, double validatedMean, double bestMean);
  // "exploit": once every place has reached the lowest held check, the
  // decisions of that check: the runs begun (to be stored as their TRunStart
  // before anything is answered), then the answers, true to go on.
  struct TRound {
    long long work = 0;
    std::vector<int> begun;
    std::vector<std::pair<int, bool>> answers;
  };
  std::optional<TRound> DecideRound();
  // How a begun run began.
  TRunStart StartOf(const TSetRun& r) const { return {r.startWork, r.from, r.from < 0 ? 0 : r.startGeneration}; }
  // The run's process ended: cleanly (after a halt at a check or at its limit),
  // stopped by a signal, or otherwise (failed).
  enum class TEnd { Clean, Stopped, Failed };
  void OnEnd(int index, TEnd end);
  // From now on every check halts and no run is started (a signal, the time).
  void StopAll() { Stopping = true; }
  bool IsStopping() const { return Stopping; }

  // Another place met the goal at `work`: this place goes on only while below it.
  void HeardGoal(long long work);

  bool Finished() const;
  // The run that met the goal first, if one did.
  std::optional<int> GoalWinner() const;
  std::optional<long long> GoalWork() const { return FirstGoalWork; }

 private:
  TSetRun& Add(int index, int slot, long long startWork);
  bool Exploits() const { return Strategy.kind == TSetStrategy::Exploit; }
  TAnswer Settle(TSetRun& r, TRunVerdict verdict);
  // The run now in each place.
  std::vector<TSetRun*> Current();
  bool AtLimit(const TSetRun& r) const { return Budget && r.Work() >= *Budget; }
  void NoteGoal(long long work);
  bool Mine(const TSetRun& r) const { return !OnlyPlace || r.slot == *OnlyPlace; }

  TRunStrategyDef Strategy;
  int SlotCount;
  std::optional<long long> Budget;
  std::vector<TSetRun> All;
  std::optional<long long> FirstGoalWork;
  bool Stopping = false;
  std::optional<int> OnlyPlace;
};
