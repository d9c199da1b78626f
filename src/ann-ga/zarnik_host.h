#pragma once

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
  // Lets waiting window events through (painting, the stop request).
  virtual void PumpMessages() = 0;
  // Sets the text of progress-window control `id` (301..364).
  virtual void SetDlgText(int id, const char* text) = 0;

 protected:
  ~TZarnikHost() = default;
};

// Points at the host the population was built with.
extern TZarnikHost* ZarnikWindow;
