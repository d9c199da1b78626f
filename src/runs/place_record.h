#pragma once

#include <optional>
#include <string>
#include <string_view>

// What one place of a set spread over machines (--place) says of itself for
// the set's summary, in FILE.runs/place-<K>.txt, written by that place only:
// how often it was started (a requeued task starts again), how it ended the
// last time, the work of its place then and the CPU time of all its starts.
//
//   zarnik-place 1
//   starts 2
//   ended goal       goal, after-goal, limit, stopped, failed; "running" while it runs
//   work 2400
//   cpu 812.50
enum class TPlaceEnd { Running, Goal, AfterGoal, Limit, Stopped, Failed };

// The word of the file; "running" etc.
const char* PlaceEndWord(TPlaceEnd end);

struct TPlaceRecord {
  int starts = 0;
  TPlaceEnd ended = TPlaceEnd::Running;
  long long work = 0;
  double cpuSeconds = 0;
  bool operator==(const TPlaceRecord&) const = default;
};

std::string FormatPlaceRecord(const TPlaceRecord& record);
bool ParsePlaceRecord(std::string_view text, TPlaceRecord& out);

// "zarnik.dat", 2 -> "zarnik.runs/place-2.txt".
std::string PlaceRecordFileName(const std::string& file, int place);
// `out` unset if there is none; false with errno if it cannot be read,
// EILSEQ if it is damaged.
bool ReadPlaceRecord(const std::string& file, int place, std::optional<TPlaceRecord>& out);
bool WritePlaceRecord(const std::string& file, int place, const TPlaceRecord& record);
