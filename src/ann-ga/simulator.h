#pragma once

// The arm simulator as the training code sees it: the one role a worker's
// episode lane needs of its host.
#include "ann-ga/run_figures.h"

class TSimulator {
 public:
  // One step of the arm; returns the sensor vector (the same address every call).
  virtual int* GetCalcData(const int* delta, bool keep, bool draw) = 0;
  // Arm and ball back to the start of the task.
  virtual void ResetSimulator() = 0;
  // Takes and deliveries of this simulator's arm since it was made.
  virtual TBallCounts BallCounts() const = 0;

 protected:
  ~TSimulator() = default;
};
