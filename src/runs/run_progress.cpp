#include "runs/run_progress.h"

#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <vector>

#include "runs/text_fields.h"

std::string FormatRunProgressLine(const TSetRun& r, uint64_t seed) {
  char head[160];
  std::snprintf(head, sizeof head, "run\t%d\t%" PRIu64 "\t%d\t%d\t%d\t", r.index, seed, r.generation, r.bestFitness,
                r.bestDeliveries);
  return head + FormatMean(r.validatedMean) + "\t" + FormatMean(r.bestMean) + "\t" + RunStateWord(r.state);
}

namespace {

bool Mean(std::string_view text, double& out) {
  if (text == "-") {
    out = -1;
    return true;
  }
  return ParseNumber(text, out) && out >= 0;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (size_t start = 0;;) {
    const size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

}  // namespace

bool ParseRunProgressLine(std::string_view line, TRunProgress& out) {
  const std::vector<std::string_view> fields = Fields(line);
  if (fields.size() != 9 || fields[0] != "run") return false;
  TRunProgress p;
  p.state = fields[8];
  const bool known = p.state == "running" || p.state == "restarted" || p.state == "goal" || p.state == "done" ||
                     p.state == "stopped" || p.state == "failed";
  if (!known || !ParseNumber(fields[1], p.run) || !ParseNumber(fields[2], p.seed) || !ParseNumber(fields[3], p.generation) ||
      !ParseNumber(fields[4], p.bestFitness) || !ParseNumber(fields[5], p.bestDeliveries) || !Mean(fields[6], p.validatedMean) ||
      !Mean(fields[7], p.bestValidatedMean))
    return false;
  out = p;
  return true;
}

std::string FormatRunOriginLine(const TRunOrigin& o) {
  return "from\t" + std::to_string(o.run) + "\t" + std::to_string(o.from) + "\t" + std::to_string(o.generation);
}

bool ParseRunOriginLine(std::string_view line, TRunOrigin& out) {
  const std::vector<std::string_view> f = Fields(line);
  TRunOrigin o;
  if (f.size() != 4 || f[0] != "from" || !ParseNumber(f[1], o.run) || !ParseNumber(f[2], o.from) || !ParseNumber(f[3], o.generation) ||
      o.run < 0 || o.from < 0 || o.generation < 0)
    return false;
  out = o;
  return true;
}

std::string FormatRunGenerationLine(int generation, int bestFitness, int bestDeliveries) {
  return "gen\t" + std::to_string(generation) + "\t" + std::to_string(bestFitness) + "\t" + std::to_string(bestDeliveries);
}

std::string FormatRunCheckLine(int generation, double mean, double bestMean) {
  return "check\t" + std::to_string(generation) + "\t" + FormatMean(mean) + "\t" + FormatMean(bestMean);
}

bool ParseRunLine(std::string_view line, TRunLine& out) {
  const std::vector<std::string_view> f = Fields(line);
  TRunLine r;
  if (f.size() != 4 || !ParseNumber(f[1], r.generation)) return false;
  if (f[0] == "gen") {
    r.kind = TRunLine::TKind::Generation;
    if (!ParseNumber(f[2], r.bestFitness) || !ParseNumber(f[3], r.bestDeliveries)) return false;
  } else if (f[0] == "check") {
    r.kind = TRunLine::TKind::Check;
    if (!Mean(f[2], r.mean) || !Mean(f[3], r.bestMean)) return false;
  } else {
    return false;
  }
  out = r;
  return true;
}
