#pragma once

class TEvaluationPool;

// Balls taken (picked up by the claw) and delivered (set down on their target
// platform), as the arm model decides them. The model only counts up; a run
// keeps the counts at its start and takes the difference.
struct TBallCounts {
  long long takes = 0;
  long long deliveries = 0;
};

inline TBallCounts operator-(const TBallCounts& a, const TBallCounts& b) {
  return {a.takes - b.takes, a.deliveries - b.deliveries};
}

// What one generation of training 2, or one pass of training 1, came to.
struct TGenerationFigures {
  int mode;              // 1 or 2
  int generation;        // training 2: the population's Generations during the pass;
                         // training 1: the session's count of passes, from 0
  int bestFitness;       // best fitness of the pass
  int averageFitness;    // mean fitness of the 100 individuals
  int generationOfBest;  // generation (pass) in which the present best was found
  int bestDeliveries;    // training 2: deliveries in the episode of the pass's best; -1 in training 1
};

// The one way from the training code to the outside world: the simulator, the
// progress window's texts and the event pump. The Qt main window implements it;
// THeadlessHost does the same without a window, for tests, benchmarks and tools.
class TZarnikHost {
 public:
  // One step of the arm; returns the sensor vector (the same address every call).
  virtual int* GetCalcData(const int* delta, bool keep, bool draw) = 0;
  // Arm and ball back to the start of the task.
  virtual void ResetSimulator() = 0;
  // A run has ended: progress window gone, "Einstellmodus", run flags cleared.
  virtual void AnnHasFinished() = 0;
  // Takes and deliveries of this host's arm since it was made.
  virtual TBallCounts BallCounts() const = 0;
  // Lets waiting window events through (painting, the stop request).
  virtual void PumpMessages() = 0;
  // Sets the text of progress-window control `id` (301..364).
  virtual void SetDlgText(int id, const char* text) = 0;
  // A generation (training 2) or pass (training 1) is complete, after breeding.
  virtual void GenerationDone(const TGenerationFigures& /*figures*/) {}
  // Activation: takes and deliveries since it started, after each change.
  virtual void ActivationCounts(const TBallCounts& /*counts*/) {}
  // The episodes of a pass run on the pool's workers; the training thread
  // waits here until they are done. A window lets its events through meanwhile.
  virtual void AwaitPool(TEvaluationPool& pool);

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
