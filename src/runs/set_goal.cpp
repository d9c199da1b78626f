#include "runs/set_goal.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>

#include "platform/atomic_file.h"
#include "platform/regular_file.h"
#include "runs/run_files.h"
#include "runs/run_ranking.h"
#include "runs/run_strategy.h"
#include "runs/text_fields.h"

namespace {

constexpr std::string_view Format = "zarnik-goal 1";
constexpr long long MaxNoteBytes = 4096;

// "goal-<n>.txt" with n written as a number is written; -1 for any other name.
int PlaceOfName(std::string_view name) {
  constexpr std::string_view head = "goal-", tail = ".txt";
  if (name.size() <= head.size() + tail.size() || !name.starts_with(head) || !name.ends_with(tail)) return -1;
  const std::string_view digits = name.substr(head.size(), name.size() - head.size() - tail.size());
  int place = -1;
  if (!ParseNumber(digits, place) || place < 0 || std::to_string(place) != digits) return -1;
  return place;
}

}  // namespace

std::string FormatGoalNote(const TGoalNote& n) {
  char mean[32];
  std::snprintf(mean, sizeof mean, "%.2f", n.mean);
  return std::string(Format) + "\nseed " + std::to_string(n.seed) + "\nplaces " + std::to_string(n.places) +
         "\nplace " + std::to_string(n.place) + "\nrun " + std::to_string(n.run) + "\nwork " +
         std::to_string(n.work) + "\nmean " + mean + "\n";
}

bool ParseGoalNote(std::string_view text, TGoalNote& out) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    if (end == std::string_view::npos) return false;  // torn
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  constexpr const char* keys[] = {"seed ", "places ", "place ", "run ", "work ", "mean "};
  if (lines.size() != 7 || lines[0] != Format) return false;
  std::string_view values[6];
  for (int i = 0; i < 6; ++i) {
    const std::string_view key = keys[i];
    if (!lines[i + 1].starts_with(key)) return false;
    values[i] = lines[i + 1].substr(key.size());
  }
  TGoalNote n;
  if (!ParseNumber(values[0], n.seed) || !ParseNumber(values[1], n.places) || !ParseNumber(values[2], n.place) ||
      !ParseNumber(values[3], n.run) || !ParseNumber(values[4], n.work) || !ParseNumber(values[5], n.mean))
    return false;
  if (n.places < 1 || n.place < 0 || n.run < 0 || n.work < 0 || !(n.mean >= 0)) return false;
  out = n;
  return true;
}

std::string GoalNoteFileName(const std::string& file, int place) {
  return SetFolderName(file) + "/goal-" + std::to_string(place) + ".txt";
}

bool NoteBelongsTo(const TGoalNote& n, int place, const TSetIdentity& set) {
  return n.seed == set.seed && n.places == set.runs && n.place == place && place < set.runs &&
         n.run % set.runs == place && set.goal && MeetsMean(n.mean, *set.goal);
}

bool GoalNoteHoldsUp(const std::string& file, const TGoalNote& note, double goal) {
  TRankedFile best;
  TUnrankedFile why;
  if (!MeasureFile(RunBestFileName(file, note.run), best, why)) return false;
  const double mean = best.tally.MeanDeliveries();
  return MeetsMean(mean, goal) && FormatMean(mean) == FormatMean(note.mean) && best.generations <= note.work;
}

bool WriteGoalNote(const std::string& file, const TGoalNote& note) {
  const std::string text = FormatGoalNote(note);
  return WriteFileAtomically(GoalNoteFileName(file, note.place).c_str(), text.data(), text.size());
}

TGoalNotes ReadGoalNotes(const std::string& file, const TSetIdentity& set) {
  TGoalNotes out;
  const std::string folder = SetFolderName(file);
  DIR* dir = opendir(folder.c_str());
  if (!dir) return out;
  std::vector<int> places;
  while (const dirent* e = readdir(dir))
    if (const int place = PlaceOfName(e->d_name); place >= 0) places.push_back(place);
  closedir(dir);
  std::sort(places.begin(), places.end());
  for (const int place : places) {
    const std::string name = GoalNoteFileName(file, place);
    std::string bytes;
    TGoalNote note;
    if (!ReadRegularFile(name.c_str(), bytes, MaxNoteBytes)) {
      if (errno != ENOENT) out.ignored.push_back(name);  // gone since the listing: as if never there
      continue;
    }
    if (ParseGoalNote(bytes, note) && NoteBelongsTo(note, place, set))
      out.taken.push_back(note);
    else
      out.ignored.push_back(name);
  }
  return out;
}

std::optional<long long> EarliestGoalWork(const std::vector<TGoalNote>& notes) {
  std::optional<long long> earliest;
  for (const TGoalNote& n : notes)
    if (!earliest || n.work < *earliest) earliest = n.work;
  return earliest;
}
