#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// SIGTERM and SIGINT (a shutdown, kill, Ctrl+C in the terminal) end the
// program cleanly instead of cutting it off: the handler only writes the
// signal's number into a pipe, and `onSignal` runs on the UI thread when
// the event loop reads it. One at a time; the default handling comes back
// when it is destroyed.
class TStopSignals : public QObject {
 public:
  explicit TStopSignals(std::function<void(int signal)> onSignal, QObject* parent = nullptr);
  ~TStopSignals() override;
  TStopSignals(const TStopSignals&) = delete;
  TStopSignals& operator=(const TStopSignals&) = delete;

 private:
  void Read();
  std::function<void(int)> OnSignal;
  QSocketNotifier* Notifier = nullptr;
};
