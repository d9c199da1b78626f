#pragma once

#include <string>
#include <string_view>
#include <vector>

// Every check of a set's runs as the set took it, kept in the set's folder
// (STEM.runs/checks.txt) so that a resumed set, and a window opened on it
// later, see the whole course of every place:
//
//   zarnik-checks 1
//   <run> <place> <work> <validated_mean> <start_work> <from>
//
// tab-separated, one line a check, appended as it comes; the mean as
// FormatMean gives it, <from> "-" for a run that began from nothing.
struct TSetCheck {
  int run = 0;
  int place = 0;
  long long work = 0;      // generations its place had trained at the check
  double mean = 0;         // its best's deliveries per episode in all 100 episodes
  long long startWork = 0;  // where the run began in its place
  int from = -1;            // the run whose kept best it began from; -1: none
  bool operator==(const TSetCheck&) const = default;
};

// Far above a real set (a line is about 30 bytes: a thousand runs checked a
// thousand times each), below what slows a window that reads it every second.
inline constexpr long long MaxSetChecksBytes = 32LL << 20;

std::string SetChecksFileName(const std::string& file);

// The file's text; a last line without its "\n" (a crash while appending) is
// dropped. False if it is not such a file.
bool ParseSetChecks(std::string_view text, std::vector<TSetCheck>& out);
// FILE's set's checks: none if there is no such file yet; false with errno
// if it cannot be read, or (EILSEQ) is damaged.
bool ReadSetChecks(const std::string& file, std::vector<TSetCheck>& out);
// Appends one check in one write, the format line first into a new file and
// a torn last line cut off first; false with errno.
bool AppendSetCheck(const std::string& file, const TSetCheck& check);
