#pragma once

// Training-2 episodes of several individuals played side by side on one
// thread: one episode stepper per lane, the networks' steps taken together in
// vector lanes.
#include <cstdint>
#include <memory>
#include <span>
#include <utility>

#include "ann-ga/chromosom.h"
#include "evaluation/lane_sum.h"
#include "ann-ga/simulator.h"
#include "ann-ga/task_runner.h"

// Hands out the episodes of a pass; nullptr when none is left.
class TEpisodeSource {
 public:
  virtual TEpisodeJob* Take() = 0;
  // Take, for a player with `busyLanes` episodes under way. A source shared by
  // several players may hold an episode back for a less busy one; Withheld()
  // then says that episodes are left, and the player asks again later.
  virtual TEpisodeJob* TakeFor(int busyLanes) {
    (void)busyLanes;
    return Take();
  }
  virtual bool Withheld() const { return false; }

 protected:
  ~TEpisodeSource() = default;
};

// Test seam, before any batch plays: the compiled variant of the lanes'
// arithmetic to use, 0 for the baseline, 3 or 4 for x86-64-v3 or -v4, -1 for
// the best the processor has. False if the processor lacks that variant.
bool UseLaneVariant(int level);

// Plays training-2 episodes of up to LaneCount individuals side by side on
// one thread, each on its own simulator. Each lane's episode is a
// TEpisodeStepper, as in TChromosom::playEpisode2; the networks of all lanes
// take their step together in vector lanes, so the dependent chains of their
// sums overlap. A lane whose episode ends takes the next one at once. Every
// episode ends exactly as playEpisode2 would end it: fitness, takes and
// deliveries, node values, output vector, simulator and last direction.
class TEpisodeBatch {
 public:
  explicit TEpisodeBatch(std::span<TSimulator* const> lanes);
  ~TEpisodeBatch();
  TEpisodeBatch(const TEpisodeBatch&) = delete;
  TEpisodeBatch& operator=(const TEpisodeBatch&) = delete;

  int Lanes() const { return LaneSims; }
  // Plays until the source is empty and every lane has finished.
  void Play(TEpisodeSource& source);

  // Network steps in the lanes, and vector terms whose doubtful lanes were
  // taken again the x87 way. Episodes of networks that do not fit the
  // vector rule (links outside the layers, other shapes) are played one at a
  // time and counted in ReferenceEpisodes.
  long long Steps = 0, RedoneTerms = 0, ReferenceEpisodes = 0;
  // Vector steps taken again term by term, for a lane the doubles did not
  // settle after the step.
  long long CarefulSteps = 0;

 private:
  struct TLane;
  bool Begin(TLane& lane, TEpisodeSource& source);
  int BusyLanes() const;
  bool AdvanceToStep(TLane& lane, TEpisodeSource& source);
  void Finish(TLane& lane);
  void LoadFactors(TLane& lane, int k);
  void RunNetworks(int active);
  bool FitsShape(const TChromosom& c) const;
  void SetShape(const TChromosom& c);

  // Largest shape the lanes take (the system's has 21 nodes and 54 links);
  // larger networks are played one at a time.
  static constexpr int MaxNodes = 64;
  static constexpr size_t MaxTerms = MaxNodes * MaxNodes / 4;

  int LaneSims = 0;
  std::unique_ptr<TLane[]> LaneState;
  // Shape of the vector rule, taken from the first individual.
  int Nodes = 0, InputNodes = 0, HiddenNodes = 0, HiddenLayers = 0, OutputNodes = 0, Terms = 0;
  std::unique_ptr<TLaneDouble[]> Factors;      // per term, blocks in order, sources, targets
  std::unique_ptr<TLaneDouble[]> Values;       // per node
  std::unique_ptr<TLaneDouble[]> Sums;         // per target of a block
  std::unique_ptr<int32_t[]> OutBuffer;        // the lanes' output vectors
  std::unique_ptr<TDoubtfulTerm[]> Doubts;     // a step's doubtful terms, one spare
  std::unique_ptr<long double[]> LongFactors;  // Factors in extended precision, lane by lane
  TLaneDouble Low{}, High{};               // node bounds per lane
  TLaneInt32 InputLow{}, InputHigh{};      // the same for the inputs
  TLaneInt32 Inputs[MaxNodes] = {};        // per input node, before clamping
  std::pair<int, int> RowTargets[MaxNodes] = {};  // a source's block: first and end target
};
