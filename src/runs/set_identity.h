#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runs/run_strategy.h"

// What a set of runs is, stored with its files: the same call continues the
// set, a different one is refused with the differences, so that a new set
// never silently continues an old one's runs. The limits (--until-generation,
// --minutes) and the threads are not part of it: a stopped set may go on
// longer, on other cores, and decides the same.
struct TSetIdentity {
  uint64_t seed = 0;
  int runs = 0;
  std::optional<double> goal;  // --until-deliveries
  bool restarts = true;
  TSetStrategy strategy = TSetStrategy::Restart;
  bool operator==(const TSetIdentity&) const = default;
};

// The file's text, one "key value" a line after a first line naming the format:
//
//   zarnik-set 1
//   seed 12
//   runs 4
//   goal 3.0          ("-" for none)
//   restarts 1
//   strategy exploit  (only in format 2; a set of format 1 restarts)
//
// A set that restarts ("restart") is stored in format 1, as before there
// were others; "exploit" in format 2, "zarnik-set 2" with the line above.
std::string FormatSetIdentity(const TSetIdentity& set);
// False if `text` is not such a file (also for an unknown format version).
bool ParseSetIdentity(std::string_view text, TSetIdentity& out);

// What differs, in the words of the trainer's refusal:
// "Startwert 12 statt 50, 4 Läufe statt 2". Translated where it is shown
// (context "zarnik-train"), each part separately.
struct TIdentityDifference {
  const char* format;  // with %1 (stored) and %2 (asked for)
  std::string stored, asked;
};
std::optional<TIdentityDifference> FirstDifference(const TSetIdentity& stored, const TSetIdentity& asked);

// The identity file of FILE's set: `out` unset if there is none yet; false
// with errno if it is there and cannot be read, or (EILSEQ) is damaged.
bool ReadSetIdentity(const std::string& file, std::optional<TSetIdentity>& out);
// Makes FILE's set folder if needed and stores `set` in it, by the file rule.
bool WriteSetIdentity(const std::string& file, const TSetIdentity& set);
// Moves FILE's set folder aside under the smallest free SetFolderBackupName,
// never over anything; false with errno if it cannot.
bool MoveSetAside(const std::string& file, std::string& movedTo);
