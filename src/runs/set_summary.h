#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runs/place_record.h"
#include "runs/text_columns.h"
#include "runs/run_set.h"

// The one page a set spread over machines leaves beside its winner: per
// place the seeds it ran, the generations it trained, the best mean it kept
// and why it ended, and the CPU time of the whole set.
struct TPlaceSummary {
  int place = 0;
  std::vector<uint64_t> seeds;
  long long work = 0;      // generations of the place
  double keptMean = -1;    // best of its runs' kept bests; -1: none
  std::optional<TPlaceRecord> record;  // none: the place never started, or wrote nothing
};

// From a set resumed from all its files and the places' records (by place).
std::vector<TPlaceSummary> SummarizePlaces(const TRunSet& set, uint64_t firstSeed,
                                           const std::vector<std::optional<TPlaceRecord>>& records);
double TotalCpuSeconds(const std::vector<TPlaceSummary>& places);

// The page, UTF-8; `winner` names the winning run's line ("" for none).
std::string FormatSetSummary(const std::vector<TPlaceSummary>& places, const std::string& winner,
                             TRankingTranslator translate = nullptr);
