#pragma once

// The one way from the training code to the outside world, in its three
// roles: the simulator, the progress display and the event loop. The Qt main
// window implements it; THeadlessHost does the same without a window, for
// tests, benchmarks and tools. ZarnikWindow is the host of the run.
#include "ann-ga/run_figures.h"
#include "ann-ga/simulator.h"
#include "ann-ga/task_runner.h"

// The progress window's texts and what a run reports as it goes.
class TProgressDisplay {
 public:
  // Sets the text of progress-window control `id` (301..364).
  virtual void SetDlgText(int id, const char* text) = 0;
  // A generation (training 2) or pass (training 1) is complete, after breeding.
  virtual void GenerationDone(const TGenerationFigures& /*figures*/) {}
  // Activation: takes and deliveries since it started, after each change.
  virtual void ActivationCounts(const TBallCounts& /*counts*/) {}
  // A run has ended: progress window gone, "Einstellmodus", run flags cleared.
  virtual void AnnHasFinished() = 0;

 protected:
  ~TProgressDisplay() = default;
};

// The event loop the run loops are nested in.
class TEventLoop {
 public:
  // Lets waiting window events through (painting, the stop request).
  virtual void PumpMessages() = 0;
  // Work handed to a task runner is under way; the training thread waits here
  // until it is done. A window lets its events through meanwhile.
  virtual void AwaitPool(TTaskRunner& pool) { pool.FinishTask(); }

 protected:
  ~TEventLoop() = default;
};

class TZarnikHost : public TSimulator, public TProgressDisplay, public TEventLoop {
 protected:
  ~TZarnikHost() = default;
};

// The host the training code works through. Its owner sets it and clears it
// when the host goes (the window in its constructor and destructor, headless
// drivers through a TZarnikHostScope); building a population leaves it alone.
extern TZarnikHost* ZarnikWindow;

// Points ZarnikWindow at `host` while it lives, then back at the one before.
class TZarnikHostScope {
 public:
  explicit TZarnikHostScope(TZarnikHost* host) : Previous(ZarnikWindow) { ZarnikWindow = host; }
  ~TZarnikHostScope() { ZarnikWindow = Previous; }
  TZarnikHostScope(const TZarnikHostScope&) = delete;
  TZarnikHostScope& operator=(const TZarnikHostScope&) = delete;

 private:
  TZarnikHost* Previous;
};
