#pragma once

// The arm model's window-side effects without a window: it records what
// would have been shown and answers the ball question as the caller chooses.
#include <array>
#include <string>

#include "arm/arm_view.h"

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
