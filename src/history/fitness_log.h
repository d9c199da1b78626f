#pragma once

// The fitness history: one CSV row per generation, its reading, writing and
// appending, and where it lies beside a population file.
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "ann-ga/run_figures.h"

// The fitness history as CSV, one row per generation (training 2) or pass
// (training 1), written by the headless trainer's --log and beside the
// window's population file, read back by the window's chart:
//
//   generation,mode,best_fitness,average_fitness,generation_of_best,seconds,best_deliveries
//   0,2,-4230,-9120,0,0.812,0
//
// Integers in decimal; seconds since the start of the run that wrote the row,
// with three decimals; '.' as decimal point whatever the locale; lines end in
// "\n". Rows appear in the order they happened; a later run appends.
// best_deliveries (deliveries in the episode of the pass's best) is empty in
// training 1. Files written before it existed have six columns and still load.
// Every row is written whole, with one write, as soon as it exists.
struct TFitnessRow {
  int generation;
  int mode;
  int bestFitness;
  int averageFitness;
  int generationOfBest;
  double seconds;
  int bestDeliveries = -1;  // -1: none (training 1, or an older file)
};

inline constexpr std::string_view FitnessLogHeader =
    "generation,mode,best_fitness,average_fitness,generation_of_best,seconds,best_deliveries";
// The header of files from before best_deliveries.
inline constexpr std::string_view FitnessLogHeaderV1 =
    "generation,mode,best_fitness,average_fitness,generation_of_best,seconds";

TFitnessRow MakeFitnessRow(const TGenerationFigures& figures, double seconds);

// Limits of a history file, far beyond any real one: a row is at most about
// 76 bytes and the trainer writes at most some 150 rows a second on two
// cores, so a day of training makes less than 350 MB. Beyond the
// limits a file is refused whole, after reading no more than the limit.
inline constexpr size_t MaxHistoryLineBytes = 256;
inline constexpr long long MaxHistoryFileBytes = 1LL << 30;  // 1 GiB
// generation and generation_of_best lie in 0 .. MaxHistoryGeneration, the
// counters' own range, so that every row the programs write reads back (a
// loaded count that is counted on must saturate there); mode is 1 or 2; the
// fitness figures are any 32-bit integers; seconds lie in
// 0 .. MaxHistorySeconds (31 years).
inline constexpr int MaxHistoryGeneration = std::numeric_limits<int>::max();
inline constexpr double MaxHistorySeconds = 1e9;
// errno when a file to be appended to is not a fitness history.
inline constexpr int NotAFitnessLog = EILSEQ;

// The row as one line with its "\n"; returns its length (0 if it does not fit).
// 128 bytes always do.
size_t FormatFitnessRow(const TFitnessRow& row, char* out, size_t size);
// One line without its end of line; false if it is not a complete row with
// every number in its range (six fields, or seven with an empty or
// non-negative last one).
bool ParseFitnessRow(std::string_view line, TFitnessRow& row);

// Reads a history piece by piece, as it comes from the file. A UTF-8
// byte-order mark before the header and "\r\n" line ends (what a spreadsheet
// leaves after saving it) are accepted.
class TFitnessLogParser {
 public:
  // The next bytes; false (and from then on) if they cannot be a history.
  bool Feed(std::string_view bytes);
  // The end of the file. A last line without its "\n" is what a crash
  // leaves while writing it: it is dropped. A file that holds no more than
  // (a beginning of) the header is an empty history.
  bool Finish(std::vector<TFitnessRow>& rows);
  // The complete rows fed so far, appended to `rows`, for a reader that
  // follows a file while another program appends to it; a line still
  // without its "\n" stays for the next bytes. False once refused.
  bool TakeRows(std::vector<TFitnessRow>& rows);

  // If set, each row goes here, with the offset just past its line end,
  // instead of into the rows Finish returns.
  std::function<void(const TFitnessRow& row, long long lineEnd)> OnRow;
  // Offset just past the header's line end; 0 while it has not ended.
  long long HeaderEnd() const { return HeaderEndAt; }
  // Offset just past the last line end.
  long long LinesEnd() const { return LinesEndAt; }
  // Whether the header is the one from before best_deliveries.
  bool OlderHeader() const { return Older; }

 private:
  bool EndOfLine(long long lineEnd);
  std::string Line;
  std::vector<TFitnessRow> Rows;
  long long Total = 0;
  long long HeaderEndAt = 0;
  long long LinesEndAt = 0;
  bool HeaderSeen = false;
  bool Older = false;
  bool Refused = false;
};

// A whole history in memory, as ReadFitnessLog reads a file.
bool ParseFitnessLog(std::string_view text, std::vector<TFitnessRow>& rows);
// Reads a whole history. False, with `rows` untouched, if the file is
// missing, not a regular file (a FIFO is refused without waiting), beyond the
// limits above, does not start with the header or has a complete line that
// is not a row.
bool ReadFitnessLog(const char* path, std::vector<TFitnessRow>& rows);
// Writes the header and every row, atomically.
bool WriteFitnessLog(const char* path, const std::vector<TFitnessRow>& rows);
// Opens `path` for appending rows: a regular file only; a new or empty file
// gets the header first; a file from before best_deliveries is written again
// with the present header first (so that it stays one table); a torn last
// line (no "\n") is cut off, so the next row starts a line of its own.
// nullptr with errno set if it cannot be opened or written, or
// (NotAFitnessLog) if anything but a history that ReadFitnessLog reads is in
// its place: that is left as it is.
FILE* OpenFitnessLogForAppend(const char* path);

// A run resumed from a stored population repeats the generations its
// predecessor trained after its last save: their rows at the end of the
// history are cut off before it appends, so that the history holds each
// generation once and matches the population.
struct TFitnessLogResume {
  int StoredGeneration = -1;  // training-2 rows from this generation on are cut; -1: none
  // Found: the last row that stays, if any, and how many were cut.
  bool HasLastRow = false;
  TFitnessRow LastRow{};
  long long RowsCut = 0;
  int LastPass1 = -1;  // the last training-1 pass that stays; -1: none
};
FILE* OpenFitnessLogForAppend(const char* path, TFitnessLogResume& resume);

// What OpenFitnessLogForAppend would refuse, without creating or changing
// anything: 0, or the errno it would fail with.
int CheckFitnessLogForAppend(const char* path);

// Where the history of a population file is kept: beside it, with ".csv" in
// place of the file's last suffix ("runs/a.dat" -> "runs/a.csv", "a" -> "a.csv";
// "a.csv" -> "a.csv.csv", never the population file itself).
std::string FitnessLogPathFor(std::string_view population);
