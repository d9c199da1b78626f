#pragma once

#include <optional>
#include <string>
#include <string_view>

// How a run of an "exploit" set began, kept beside its files as
// STEM.runs/run-K-start.txt before its population is: at which work of its
// place, and from which run's kept best (at which generation) or from a new
// population. A resumed set takes it from there, so a place's work and the
// copy never depend on how far the predecessor's file got.
struct TRunStart {
  long long work = 0;
  int from = -1;  // -1: a new population from the run's seed
  int generation = 0;  // of the copied population; 0 for a new one
  bool operator==(const TRunStart&) const = default;
};

// One "key value" a line after a first line naming the format:
//
//   zarnik-start 1
//   work 1500
//   from 3            ("-" for a new population)
//   generation 1200
std::string FormatRunStart(const TRunStart& start);
// False if `text` is not such a file.
bool ParseRunStart(std::string_view text, TRunStart& out);

// Run k's start in FILE's set: `out` unset if there is none; false with
// errno if it is there and cannot be read, or (EILSEQ) is damaged.
bool ReadRunStart(const std::string& file, int k, std::optional<TRunStart>& out);
// Stores run k's start by the file rule; then, for a copy, run `start.from`'s
// kept best as run k's population. False with errno.
bool BeginRun(const std::string& file, int k, const TRunStart& start);
// The copy of a begun run, made again if its population is missing (a stop
// between the two); false with errno.
bool CompleteCopy(const std::string& file, int k, const TRunStart& start);
