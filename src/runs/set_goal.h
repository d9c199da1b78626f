#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runs/set_identity.h"

// A set spread over machines (--place) learns of the goal through files:
// the place whose run meets it writes FILE.runs/goal-<place>.txt, and every
// place reads all of them at each check and before it begins a run. Each
// place writes only its own note, so no two writers ever share a file and
// no lock is needed; a note, once there, is never changed by another place.
//
// The note says at which work (generations of its place) the goal was met.
// A place stops at its first check at or past the earliest work it knows of,
// exactly as the set on one machine does: a note seen late only lets a place
// train longer, never stop earlier than the set on one machine would, so the
// winner is the same whatever the speed of the machines.
//
//   zarnik-goal 1
//   seed 12        the set's first seed and its places: a note of another
//   places 4       set in the folder is not taken
//   place 2
//   run 6
//   work 2400
//   mean 3.12
struct TGoalNote {
  uint64_t seed = 0;
  int places = 0;
  int place = 0;
  int run = 0;
  long long work = 0;
  double mean = 0;
  bool operator==(const TGoalNote&) const = default;
};

std::string FormatGoalNote(const TGoalNote& note);
// False if `text` is not such a note, whole.
bool ParseGoalNote(std::string_view text, TGoalNote& out);

// "zarnik.dat", 2 -> "zarnik.runs/goal-2.txt".
std::string GoalNoteFileName(const std::string& file, int place);

// Whether `note`, found under the name of `place`, is one of `set`: its
// seed and places, a run of that place, a mean that meets the set's goal.
bool NoteBelongsTo(const TGoalNote& note, int place, const TSetIdentity& set);

// Whether the note's run still shows what it says: its kept best meets the
// goal with the note's mean, from a generation not past the note's work. A
// note left over from files since removed or replaced (stale) does not.
bool GoalNoteHoldsUp(const std::string& file, const TGoalNote& note, double goal);

// Stores the note of its place by the file rule; false with errno.
bool WriteGoalNote(const std::string& file, const TGoalNote& note);

struct TGoalNotes {
  std::vector<TGoalNote> taken;       // in the order of their places
  std::vector<std::string> ignored;   // damaged, another set's, unreadable: never a reason to stop
};
// Every place's note in the set's folder; nothing if the folder is missing.
TGoalNotes ReadGoalNotes(const std::string& file, const TSetIdentity& set);
// The least work at which a note says the goal was met.
std::optional<long long> EarliestGoalWork(const std::vector<TGoalNote>& notes);
