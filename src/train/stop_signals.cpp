#include "train/stop_signals.h"

#include <unistd.h>

#include <atomic>

namespace {

std::atomic<int> Stops{0};
static_assert(std::atomic<int>::is_always_lock_free);

constexpr int Handled[3] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void CountStop(int) { Stops.fetch_add(1); }

extern "C" void CountStopSecondEnds(int) {
  if (Stops.fetch_add(1) >= 1) _exit(130);
}

}  // namespace

TStopSignals::TStopSignals(TSecond second) {
  Stops = 0;
  struct sigaction sa = {};
  sa.sa_handler = second == TSecond::EndsAtOnce ? CountStopSecondEnds : CountStop;
  sigemptyset(&sa.sa_mask);
  for (int i = 0; i < 3; ++i) sigaction(Handled[i], &sa, &Old[i]);
}

TStopSignals::~TStopSignals() {
  for (int i = 0; i < 3; ++i) sigaction(Handled[i], &Old[i], nullptr);
}

int TStopSignals::Count() { return Stops.load(); }
