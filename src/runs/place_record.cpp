#include "runs/place_record.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/regular_file.h"
#include "runs/run_files.h"
#include "runs/text_fields.h"

namespace {

constexpr std::string_view Format = "zarnik-place 1";
constexpr long long MaxRecordBytes = 4096;
constexpr TPlaceEnd Ends[] = {TPlaceEnd::Running, TPlaceEnd::Goal,    TPlaceEnd::AfterGoal,
                              TPlaceEnd::Limit,   TPlaceEnd::Stopped, TPlaceEnd::Failed};

}  // namespace

const char* PlaceEndWord(TPlaceEnd end) {
  switch (end) {
    case TPlaceEnd::Running: return "running";
    case TPlaceEnd::Goal: return "goal";
    case TPlaceEnd::AfterGoal: return "after-goal";
    case TPlaceEnd::Limit: return "limit";
    case TPlaceEnd::Stopped: return "stopped";
    case TPlaceEnd::Failed: return "failed";
  }
  return "failed";
}

std::string FormatPlaceRecord(const TPlaceRecord& r) {
  char cpu[48];
  std::snprintf(cpu, sizeof cpu, "%.2f", r.cpuSeconds);
  return std::string(Format) + "\nstarts " + std::to_string(r.starts) + "\nended " + PlaceEndWord(r.ended) +
         "\nwork " + std::to_string(r.work) + "\ncpu " + cpu + "\n";
}

bool ParsePlaceRecord(std::string_view text, TPlaceRecord& out) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    if (end == std::string_view::npos) return false;
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  constexpr std::string_view keys[] = {"starts ", "ended ", "work ", "cpu "};
  if (lines.size() != 5 || lines[0] != Format) return false;
  std::string_view v[4];
  for (int i = 0; i < 4; ++i) {
    if (!lines[i + 1].starts_with(keys[i])) return false;
    v[i] = lines[i + 1].substr(keys[i].size());
  }
  TPlaceRecord r;
  bool known = false;
  for (const TPlaceEnd e : Ends)
    if (v[1] == PlaceEndWord(e)) r.ended = e, known = true;
  if (!known || !ParseNumber(v[0], r.starts) || !ParseNumber(v[2], r.work) || !ParseNumber(v[3], r.cpuSeconds) || r.starts < 0 ||
      r.work < 0 || !(r.cpuSeconds >= 0))
    return false;
  out = r;
  return true;
}

std::string PlaceRecordFileName(const std::string& file, int place) {
  return SetFolderName(file) + "/place-" + std::to_string(place) + ".txt";
}

bool ReadPlaceRecord(const std::string& file, int place, std::optional<TPlaceRecord>& out) {
  out.reset();
  std::string bytes;
  if (!ReadRegularFile(PlaceRecordFileName(file, place).c_str(), bytes, MaxRecordBytes)) return errno == ENOENT;
  TPlaceRecord r;
  if (!ParsePlaceRecord(bytes, r)) {
    errno = EILSEQ;
    return false;
  }
  out = r;
  return true;
}

bool WritePlaceRecord(const std::string& file, int place, const TPlaceRecord& record) {
  const std::string text = FormatPlaceRecord(record);
  return WriteFileAtomically(PlaceRecordFileName(file, place).c_str(), text.data(), text.size());
}
