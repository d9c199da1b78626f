#include "train/train_text.h"

#include <algorithm>
#include <cstdio>

#include "translation/language.h"

const char* Tr(const char* text) { return TrainerText(text); }

std::string FormatDuration(double seconds) {
  // Bounded by --minutes' largest value; the clamp keeps the cast defined.
  const long long s = seconds < 0 ? 0 : static_cast<long long>(std::min(seconds, 1e12));
  char text[40];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
  return text;
}

double TimeLeft(double byWork, std::optional<double> minutes, double elapsed) {
  if (!minutes) return byWork;
  const double byClock = *minutes * 60 - elapsed;
  return byWork < 0 ? byClock : std::min(byWork, byClock);
}
