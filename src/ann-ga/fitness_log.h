#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>
#include <vector>

#include "zarnik_host.h"

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

// The row as one line with its "\n"; returns its length (0 if it does not fit).
// 128 bytes always do.
size_t FormatFitnessRow(const TFitnessRow& row, char* out, size_t size);
// One line without its end of line; false if it is not a complete row (six
// fields, or seven with an empty or non-negative last one).
bool ParseFitnessRow(std::string_view line, TFitnessRow& row);

// Reads a whole history. False, with `rows` untouched, if the file is missing,
// does not start with the header or has any line that is not a row.
bool ReadFitnessLog(const char* path, std::vector<TFitnessRow>& rows);
// Writes the header and every row, atomically.
bool WriteFitnessLog(const char* path, const std::vector<TFitnessRow>& rows);
// Opens `path` for appending rows, writing the header first if the file is
// new or empty, and bringing an older file's header up to date first (so
// that it stays one table); nullptr if it cannot be opened.
FILE* OpenFitnessLogForAppend(const char* path);
