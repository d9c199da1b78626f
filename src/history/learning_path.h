#pragma once

// The learning path: the networks a run kept as its best on the way, each
// with the figures it showed when it was kept, beside the population file.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// One kept best: the network exactly as the network file stores a record
// (weights, node values, score), so that it plays again bit for bit, and
// what it did over the episodes it was measured on.
struct TPathEntry {
  int generation = 0;
  int episodes = 0;
  long long takes = 0;
  long long deliveries = 0;
  long long fitnessSum = 0;
  std::vector<unsigned char> network;

  double MeanDeliveries() const { return episodes > 0 ? static_cast<double>(deliveries) / episodes : 0.0; }
  double MeanTakes() const { return episodes > 0 ? static_cast<double>(takes) / episodes : 0.0; }
  // Truncated toward zero, as the ranking gives it.
  long long MeanFitness() const { return episodes > 0 ? fitnessSum / episodes : 0; }
  bool operator==(const TPathEntry&) const = default;
};

// A path holds at most this many entries. When it is full, the next entry
// first thins its older half: every second entry of it goes (the 2nd, 4th,
// .. of the oldest half), so the first stays, the recent past stays dense
// and the distant past keeps evenly spaced points. The rule depends only on
// the entries appended, so a resumed run's path is the uninterrupted one's.
inline constexpr size_t MaxPathEntries = 256;

// Appends `entry`, thinning first as described when `path` holds `cap`
// entries (`cap` even and at least 4; other values only in tests).
void AppendToPath(std::vector<TPathEntry>& path, TPathEntry entry, size_t cap = MaxPathEntries);

// The file, little-endian:
//   "ZARNIKLP", u32 version (1), u32 bytes of a network record, u32 entries,
//   per entry: u32 generation, u32 episodes, i64 takes, i64 deliveries,
//              i64 fitness sum, the network record,
//   u32 CRC-32 (as zlib computes it) of everything before.
// Generations rise from entry to entry, and so do the deliveries per episode
// (an entry is kept only when it does better).
enum class TPathError {
  None,
  Missing,
  NotRegular,   // a FIFO, device or directory, refused without waiting
  Unreadable,
  TooLarge,     // more than a full path of this program's networks
  Foreign,      // not a learning path, another version or network shape
  Truncated,    // shorter than its entries need: a torn copy
  Damaged,      // its checksum, sizes or order do not hold
};

// Why a path could not be read, in the programs' words (German; the Qt
// programs translate them in the context "LoadReason").
const char* PathReason(TPathError e);

// The bytes of a path with networks of `recordBytes` each; `shapeFits` says
// whether a record fits the program's networks (nullptr: any).
std::string EncodeLearningPath(const std::vector<TPathEntry>& path, size_t recordBytes);
TPathError ParseLearningPath(std::string_view bytes, size_t recordBytes, bool (*shapeFits)(const unsigned char*),
                             std::vector<TPathEntry>& path);

// Reads and writes a path of this program's networks: all or nothing. A
// read error leaves `path` untouched; a read never takes more than a full
// path's bytes. The write replaces the file whole (errno on failure).
TPathError ReadLearningPath(const char* file, std::vector<TPathEntry>& path);
bool WriteLearningPath(const char* file, const std::vector<TPathEntry>& path);

// The bytes of a network record of this program's networks.
size_t PathRecordBytes();

// Where a population file's path lies: beside it, ".path" in place of its
// last suffix ("runs/run-3.dat" -> "runs/run-3.path"; "a.path" -> "a.path.path",
// never the population file itself).
std::string LearningPathFor(std::string_view population);
