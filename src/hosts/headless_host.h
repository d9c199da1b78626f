#pragma once

// The training code's host without a window, over one arm: for tests,
// benchmarks and the trainer.
#include <array>

#include "arm/arm_model.h"
#include "hosts/headless_arm_view.h"
#include "ann-ga/zarnik_host.h"

// A complete host for the training code over one arm model, in its start pose.
// Progress texts are kept per control id in fixed buffers, so the run loops
// allocate nothing here either.
class THeadlessHost : public TZarnikHost {
 public:
  THeadlessHost();
  // Tests and the trainer derive their own hosts from this one.
  virtual ~THeadlessHost() = default;

  int* GetCalcData(const int* delta, bool keep, bool draw) override {
    return Arm.GetCalcData(delta, keep, draw);
  }
  void ResetSimulator() override { Arm.ResetSimulator(); }
  TBallCounts BallCounts() const override { return {Arm.Takes, Arm.Deliveries}; }
  void AnnHasFinished() override;
  void PumpMessages() override;
  void SetDlgText(int id, const char* text) override;

  // The last text written to control `id`, "" if none.
  const char* DlgText(int id) const;
  void ClearDlgTexts();

  // Called at every pump, e.g. to request a stop after so many pumps.
  void (*OnPump)(THeadlessHost& host, void* context) = nullptr;
  void* OnPumpContext = nullptr;

  THeadlessArmView View;
  TArmModel Arm;
  long long Pumps = 0;
  int Finished = 0;  // AnnHasFinished calls
  long long DlgWrites = 0;

 private:
  static constexpr int FirstId = 300, LastId = 364;
  std::array<std::array<char, 64>, LastId - FirstId + 1> Texts{};
};
