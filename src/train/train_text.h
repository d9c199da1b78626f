#pragma once

#include <QtGlobal>

#include <optional>
#include <string>

// The trainer's lines are German, marked QT_TRANSLATE_NOOP("zarnik-train", ...)
// where they are written, and printed in the language installed: English
// under an English locale. A printf format's English keeps its conversions.
const char* Tr(const char* text);

// Seconds as "hh:mm:ss" (negative as 0), for the elapsed and the remaining time.
std::string FormatDuration(double seconds);
// The seconds left: the work's estimate (-1: none) or what --minutes leaves,
// whichever ends first; -1 if neither says.
double TimeLeft(double byWork, std::optional<double> minutes, double elapsed);
