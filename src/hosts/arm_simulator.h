#pragma once

// The arm model as a bare simulator, for the lanes of a worker pool: no
// window, and always inside a run (placing the ball asks nothing).
#include "arm/arm_model.h"
#include "hosts/headless_arm_view.h"
#include "ann-ga/simulator.h"

class TArmSimulator final : public TSimulator {
 public:
  TArmSimulator();
  TArmSimulator(const TArmSimulator&) = delete;
  TArmSimulator& operator=(const TArmSimulator&) = delete;

  int* GetCalcData(const int* delta, bool keep, bool draw) override {
    Steps += delta[4] == 0 && delta[5] == 0;
    return Arm.GetCalcData(delta, keep, draw);
  }
  void ResetSimulator() override { Arm.ResetSimulator(); }
  TBallCounts BallCounts() const override { return {Arm.Takes, Arm.Deliveries}; }

  // Calls that set no platform height: in training 2, the network steps.
  // Read it only when the pool's work has finished.
  long long Steps = 0;

 private:
  THeadlessArmView View;
  TArmModel Arm;
};
