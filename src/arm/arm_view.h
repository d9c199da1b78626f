#pragma once

// What the arm model needs of the window that shows it: status-bar fields, the
// scene redraw, whether a run is active, the Yes/No question when the ball is
// placed by hand, and the beep.
// The Qt main window implements it; THeadlessArmView stands in for tests and tools.
class TArmView {
 public:
  virtual void SetAxleText(int axle, const char* text) = 0;  // joint field A..D
  virtual void SetPlatText(int plat, const char* text) = 0;  // platform field E, F
  virtual void RepaintStatusBar() = 0;                       // show the fields now
  virtual void UpdateSimulator() = 0;                        // rebuild and show the scene now
  virtual bool RunActive() const = 0;                        // a training or activation runs
  virtual bool AskYesNo(const char* text) = 0;               // modal question, true on Yes
  virtual void Beep() = 0;

 protected:
  ~TArmView() = default;
};
