#pragma once

// The training-2 episode as a state machine of network steps: five runs of up
// to 101 steps, each with its own platform heights, scored as they go.
// TChromosom::playEpisode2 drives one episode step by step; the batched lanes
// drive one each and take the network steps of all lanes together. The
// network step itself is the driver's: between Input() and Step() it writes
// the outputs into the output vector.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "ann-ga/run_control.h"
#include "ann-ga/run_figures.h"
#include "ann-ga/simulator.h"
#include "ann-ga/zarnik_host.h"

namespace Episode2 {
constexpr int PodestRuns = 5, MaxRuns = 100, DeltaMaxRuns = 1, MeetFactor = 100, Boden = 390, BodenFactor = 100,
              ConnectionsFactor = 10;
// Heights of the next run, or after a target was reached: 1..10.
inline int NextHeight(int h) { return (h + 2) % 10 + 1; }
// Text of the progress window's direction field (312) for a target's x.
inline const char* DirectionText(int targetX) { return targetX < 200 ? "left" : "right"; }
}  // namespace Episode2

// Final score of an episode from the five running totals: summed while the sum
// stays at or above -2000, afterwards only a smaller total replaces it; a
// positive result is averaged over the runs.
int64_t CombineRunTotals(const int64_t (&savFitness)[5]);

class TEpisodeStepper {
 public:
  // Starts an episode on `sim`, which the caller has reset. `out` is the
  // network's output vector (its outputs, then the two height slots 4 and 5),
  // `links` its link count; `display`, if given, shows every direction
  // (control 312). Runs up to the first network step, or to the end if a stop
  // has been requested.
  void Begin(TSimulator& sim, int32_t* out, int outputs, int32_t links, int heightE, int heightF,
             TProgressDisplay* display = nullptr) {
    Sim = &sim;
    Out = out;
    Outputs = outputs;
    Links = links;
    Display = display;
    F = Meets = 0;
    PodestRun = 0;
    Ended = false;
    HeightE = heightE;
    HeightF = heightF;
    // The model counts its events; the episode's are the difference.
    Before = sim.BallCounts();
    BeginRun();
    Settle();
  }

  // A network step is due: it reads Input() and writes the output vector.
  bool StepDue() const { return !Ended; }
  const int* Input() const { return In; }

  // The arm moves by the outputs, the step is scored, and the episode runs on
  // to its next network step or to its end.
  void Step() {
    using namespace Episode2;
    In = Sim->GetCalcData(Out, true, false);
    if (In[4] != GoalOld) {
      // A target was reached: the ball was taken or set down.
      GoalOld = In[4];
      ++Meets;
      Show();
      F += Run * Meets * MeetFactor;
      MaxRuns2 -= DeltaMaxRuns;
      Run = MaxRuns2;
      HeightE = NextHeight(HeightE);
      HeightF = NextHeight(HeightF);
      SetPlatforms();
    }
    --Run;
    if (In[3] > Boden) F -= BodenFactor;
    Settle();
  }

  // After the end: the score, the balls taken and delivered, and the target x
  // of the last direction shown.
  int32_t Fitness() const { return Score; }
  const TBallCounts& Counts() const { return Balls; }
  int LastTargetX() const { return GoalOld; }

 private:
  void SetPlatforms() {
    std::fill(Out, Out + Outputs, 0);
    Out[4] = HeightE;
    Out[5] = HeightF;
    In = Sim->GetCalcData(Out, true, false);
    Out[4] = Out[5] = 0;
  }
  void Show() const {
    if (Display != nullptr) Display->SetDlgText(312, Episode2::DirectionText(GoalOld));
  }
  void BeginRun() {
    MaxRuns2 = Run = Episode2::MaxRuns;
    SetPlatforms();
    GoalOld = In[4];
    Show();
  }
  // Ends runs whose budget is spent (or all, after a stop): each pays for the
  // network's size; after the last the episode is scored.
  void Settle() {
    while (Run < 0 || UserBreak) {
      // 64-bit totals: a loaded network may carry any link count.
      F -= static_cast<int64_t>(Links) * Episode2::ConnectionsFactor;
      Sav[PodestRun] = F;
      if (++PodestRun == Episode2::PodestRuns) {
        Ended = true;
        Score = static_cast<int32_t>(std::clamp<int64_t>(CombineRunTotals(Sav), INT32_MIN, INT32_MAX));
        Balls = Sim->BallCounts() - Before;
        return;
      }
      HeightE = Episode2::NextHeight(HeightE);
      HeightF = Episode2::NextHeight(HeightF);
      BeginRun();
    }
  }

  TSimulator* Sim = nullptr;
  TProgressDisplay* Display = nullptr;
  int32_t* Out = nullptr;
  const int* In = nullptr;  // the simulator's sensor vector
  int Outputs = 0;
  int32_t Links = 0;
  bool Ended = true;
  int64_t F = 0, Meets = 0, Sav[Episode2::PodestRuns] = {};
  int PodestRun = 0, MaxRuns2 = 0, Run = 0, GoalOld = 0, HeightE = 0, HeightF = 0;
  TBallCounts Before, Balls;
  int32_t Score = 0;
};
