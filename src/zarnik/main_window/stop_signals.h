#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP (a shutdown, kill, Ctrl+C or the closing of
// the terminal it was started from) end the program cleanly instead of
// cutting it off: the handler only writes the signal's number into a pipe,
// and `onSignal` runs on the UI thread when the event loop reads it. One at a time; the default handling comes back
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
