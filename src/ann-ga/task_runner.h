#pragma once

// What the population hands to whoever runs its work in parallel: the
// episodes of a training-2 pass and the per-individual part of a mutation.
// Enqueue, then finish (the host waits in its own way), as in Box2D's
// enqueueTask/finishTask.
#include <chrono>

class TChromosom;

// One training-2 episode to play: the individual and its first platform
// heights; LastTargetX gets the target x of the episode's last direction
// text ("left" below 200), which a serial pass would leave on screen.
struct TEpisodeJob {
  TChromosom* Individual = nullptr;
  int HeightE = 0, HeightF = 0;
  int LastTargetX = 0;
};

class TTaskRunner {
 public:
  // Plays the episodes jobs[0 .. count - 1], each as TChromosom::playEpisode2
  // would, on a freshly reset simulator of the runner's own, and returns at
  // once. aside(context), if given, runs once beside them.
  virtual void EnqueueEpisodes(TEpisodeJob* jobs, int count, void (*aside)(void* context) = nullptr,
                               void* context = nullptr) = 0;
  // Runs task(context, k) for k = 0 .. count - 1, each k exactly once, and
  // returns at once.
  virtual void EnqueueTask(void (*task)(void* context, int k), int count, void* context) = 0;
  // Waits until the work enqueued last is done.
  virtual void FinishTask() = 0;
  // The same until `deadline`; true when the work is done.
  virtual bool FinishTaskUntil(std::chrono::steady_clock::time_point deadline) = 0;
  // Work enqueued last is still under way.
  virtual bool Running() const = 0;

 protected:
  ~TTaskRunner() = default;
};
