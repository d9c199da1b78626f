#pragma once

// A worker pool for tests whose simulators count the network steps made after
// a stop was requested: a worker that honours the stop makes at most the one
// step under way in each lane.
#include <algorithm>
#include <memory>
#include <vector>

#include "arm/arm_model.h"
#include "evaluation/evaluation_pool.h"
#include "hosts/headless_arm_view.h"
#include "ann-ga/run_control.h"

class TStopCountingSimulator final : public TSimulator {
 public:
  TStopCountingSimulator() : Arm(&View) {
    View.Running = true;
    Arm.SetStartPose();
  }
  int* GetCalcData(const int* delta, bool keep, bool draw) override {
    // Setting the platform heights is no network step.
    if (delta[4] == 0 && delta[5] == 0 && UserBreak) ++StepsAfterStop;
    return Arm.GetCalcData(delta, keep, draw);
  }
  void ResetSimulator() override { Arm.ResetSimulator(); }
  TBallCounts BallCounts() const override { return {Arm.Takes, Arm.Deliveries}; }
  long long StepsAfterStop = 0;  // read once the pool's work has finished

 private:
  THeadlessArmView View;
  TArmModel Arm;
};

struct TStopCountingPool {
  TStopCountingPool(int workers, int lanes) {
    std::vector<TSimulator*> sims;
    for (int i = 0; i < workers * lanes; ++i) sims.push_back(Sims.emplace_back(std::make_unique<TStopCountingSimulator>()).get());
    Pool = std::make_unique<TEvaluationPool>(sims, lanes);
  }
  long long MostStepsAfterStop() const {
    long long most = 0;
    for (const auto& s : Sims) most = std::max(most, s->StepsAfterStop);
    return most;
  }
  std::vector<std::unique_ptr<TStopCountingSimulator>> Sims;
  std::unique_ptr<TEvaluationPool> Pool;
};
