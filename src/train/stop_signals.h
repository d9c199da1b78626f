#pragma once

#include <signal.h>

// One count of the stop signals (SIGINT, SIGTERM and SIGHUP, which a closed
// terminal sends) for a training run, a set of runs and a run's checks: the
// first asks for a stop at the next generation or check. A run alone ends at
// once at the second (its last stored file stays); a set and a run of a set
// only count, the set passing a second stop on as SIGKILL.
class TStopSignals {
 public:
  enum class TSecond { EndsAtOnce, Counts };
  // Counts from 0 while it lives; the handlers before come back afterwards.
  explicit TStopSignals(TSecond second);
  ~TStopSignals();
  TStopSignals(const TStopSignals&) = delete;
  TStopSignals& operator=(const TStopSignals&) = delete;

  static int Count();
  static bool Requested() { return Count() > 0; }

 private:
  struct sigaction Old[3] = {};
};
