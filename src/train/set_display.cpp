#include "train/set_display.h"

#include <QCoreApplication>

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "runs/all_episodes.h"
#include "runs/run_progress.h"
#include "train/train_text.h"

namespace {

int TerminalWidth() {
  winsize w{};
  if (ioctl(2, TIOCGWINSZ, &w) == 0 && w.ws_col > 20) return w.ws_col;
  return 200;
}

}  // namespace

TSetDisplay::TSetDisplay(const TTrainOptions& o, uint64_t firstSeed)
    : Options(o), FirstSeed(firstSeed), Tty(isatty(2) == 1), Start(TClock::now()) {}

void TSetDisplay::Event(const TSetRun& r, const char* text) {
  if (Options.progress) {
    Machine(r);
    return;
  }
  if (Options.quiet) return;
  ClearLine();
  std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Lauf %d: %s\n")), r.index, text);
  std::fflush(stderr);
}

void TSetDisplay::Began(const TSetRun& r) {
  if (!Options.progress) return;
  std::printf("%s\n", FormatRunOriginLine({r.index, r.from, r.startGeneration}).c_str());
  std::fflush(stdout);
}

void TSetDisplay::RunProgressed(const TSetRun& r, TClock::time_point& last) {
  if (!Options.progress || TClock::now() - last < std::chrono::seconds(1)) return;
  last = TClock::now();
  Machine(r);
}

void TSetDisplay::Line(const TRunSet& set, const std::map<int, TRunProcess>& children, bool force) {
  if (Options.progress || Options.quiet) return;
  const TClock::time_point now = TClock::now();
  if (!force && now - LastShown < std::chrono::milliseconds(Tty ? 250 : 10000)) return;
  LastShown = now;
  const double elapsed = std::chrono::duration<double>(now - Start).count();
  std::string text;
  double remaining = -1;
  for (const TSetRun& r : set.Runs()) {
    if (!r.alive) continue;
    char part[192];
    std::snprintf(part, sizeof part, Tr(QT_TRANSLATE_NOOP("zarnik-train", "%sLauf %d: Gen. %d, Fitness %d, Ablagen %d, je Episode %s")), text.empty() ? "" : " | ",
                  r.index, r.generation, r.bestFitness, r.bestDeliveries, FormatMean(r.bestMean).c_str());
    text += part;
    const auto limit = set.GenerationLimit(r.index);
    const auto child = children.find(r.index);
    if (limit && child != children.end() && elapsed > 1) {
      const double done = static_cast<double>(r.Work() - child->second.workAtStart);
      if (done > 0) remaining = std::max(remaining, (*limit - r.generation) * elapsed / done);
    }
  }
  remaining = TimeLeft(remaining, Options.minutes, elapsed);
  char tail[96];
  if (remaining >= 0)
    std::snprintf(tail, sizeof tail, Tr(QT_TRANSLATE_NOOP("zarnik-train", " | %s, Rest %s")), FormatDuration(elapsed).c_str(),
                  FormatDuration(remaining).c_str());
  else
    std::snprintf(tail, sizeof tail, " | %s", FormatDuration(elapsed).c_str());
  text += tail;
  if (Tty) {
    const size_t width = static_cast<size_t>(TerminalWidth()) - 1;
    if (text.size() > width) text = "..." + text.substr(text.size() - width + 3);
    std::fprintf(stderr, "\r%s\033[K", text.c_str());
    Pending = true;
  } else {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
  std::fflush(stderr);
}

void TSetDisplay::ClearLine() {
  if (Pending) std::fputs("\r\033[K", stderr);
  Pending = false;
}

void TSetDisplay::Machine(const TSetRun& r) {
  std::printf("%s\n", FormatRunProgressLine(r, FirstSeed + static_cast<uint64_t>(r.index)).c_str());
  std::fflush(stdout);
}

