#include "main_window/stop_signals.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace {

int Pipe[2] = {-1, -1};
constexpr int Signals[] = {SIGTERM, SIGINT, SIGHUP};  // SIGHUP: the terminal it was started from closed

void OnSignal(int signal) {
  const int error = errno;
  const char number = static_cast<char>(signal);
  (void)!::write(Pipe[1], &number, 1);  // async-signal-safe; a full pipe already carries a stop
  errno = error;
}

}  // namespace

TStopSignals::TStopSignals(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), OnSignal(std::move(onSignal)) {
  if (::pipe2(Pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;  // then the signals keep their default
  Notifier = new QSocketNotifier(Pipe[0], QSocketNotifier::Read, this);
  connect(Notifier, &QSocketNotifier::activated, this, [this] { Read(); });
  struct sigaction action = {};
  action.sa_handler = ::OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int s : Signals) ::sigaction(s, &action, nullptr);
}

TStopSignals::~TStopSignals() {
  if (Notifier == nullptr) return;
  for (int s : Signals) ::signal(s, SIG_DFL);
  delete Notifier;
  ::close(Pipe[0]);
  ::close(Pipe[1]);
  Pipe[0] = Pipe[1] = -1;
}

void TStopSignals::Read() {
  char number = 0;
  while (::read(Pipe[0], &number, 1) == 1) OnSignal(number);
}
