#pragma once

#include <array>
#include <string>

#include "arm_model.h"
#include "zarnik_host.h"

// The window-side effects of the arm model without a window: it records what
// would have been shown and answers the ball question as the caller chooses.
class THeadlessArmView : public TArmView {
 public:
  void SetAxleText(int axle, const char* text) override { AxleText[axle] = text; }
  void SetPlatText(int plat, const char* text) override { PlatText[plat] = text; }
  void RepaintStatusBar() override { ++StatusRepaints; }
  void UpdateSimulator() override { ++Redraws; }
  bool AskYesNo(const char* text) override {
    ++Questions;
    LastQuestion = text;
    return Answer;
  }
  void Beep() override { ++Beeps; }
  bool RunActive() const override { return Running; }

  bool Running = false;  // a run is active: placing the ball asks nothing
  bool Answer = false;   // what the Yes/No question is answered with
  std::array<std::string, 4> AxleText;
  std::array<std::string, 2> PlatText;
  std::string LastQuestion;
  int Questions = 0, Beeps = 0, Redraws = 0, StatusRepaints = 0;
};

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
