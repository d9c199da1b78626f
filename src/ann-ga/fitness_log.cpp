#include "fitness_log.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <string>

#include "atomic_file.h"

namespace {

template <class T>
bool ParseField(std::string_view& rest, T& value, bool last) {
  const size_t end = last ? rest.size() : rest.find(',');
  if (end == std::string_view::npos || end == 0) return false;
  const std::string_view field = rest.substr(0, end);
  const auto [ptr, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (ec != std::errc() || ptr != field.data() + field.size()) return false;
  rest.remove_prefix(last ? end : end + 1);
  return true;
}

std::string_view WithoutLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

}  // namespace

TFitnessRow MakeFitnessRow(const TGenerationFigures& f, double seconds) {
  return {f.generation, f.mode, f.bestFitness, f.averageFitness, f.generationOfBest, seconds,
          f.mode == 2 ? f.bestDeliveries : -1};
}

size_t FormatFitnessRow(const TFitnessRow& r, char* out, size_t size) {
  // to_chars: no locale, so the decimal point is always '.'.
  char seconds[48];
  const double s = std::isfinite(r.seconds) ? r.seconds : 0.0;
  const auto res = std::to_chars(seconds, seconds + sizeof seconds, s, std::chars_format::fixed, 3);
  if (res.ec != std::errc()) return 0;
  *res.ptr = '\0';
  char deliveries[16] = "";
  if (r.bestDeliveries >= 0) std::snprintf(deliveries, sizeof deliveries, "%d", r.bestDeliveries);
  const int n = std::snprintf(out, size, "%d,%d,%d,%d,%d,%s,%s\n", r.generation, r.mode, r.bestFitness,
                              r.averageFitness, r.generationOfBest, seconds, deliveries);
  return n > 0 && static_cast<size_t>(n) < size ? static_cast<size_t>(n) : 0;
}

bool ParseFitnessRow(std::string_view line, TFitnessRow& row) {
  TFitnessRow r{};
  std::string_view rest = WithoutLineEnd(line);
  if (!ParseField(rest, r.generation, false) || !ParseField(rest, r.mode, false) ||
      !ParseField(rest, r.bestFitness, false) || !ParseField(rest, r.averageFitness, false) ||
      !ParseField(rest, r.generationOfBest, false))
    return false;
  const size_t comma = rest.find(',');
  if (comma == std::string_view::npos) {
    if (!ParseField(rest, r.seconds, true)) return false;
  } else {
    std::string_view seconds = rest.substr(0, comma);
    std::string_view deliveries = rest.substr(comma + 1);
    if (!ParseField(seconds, r.seconds, true)) return false;
    if (!deliveries.empty() && (!ParseField(deliveries, r.bestDeliveries, true) || r.bestDeliveries < 0))
      return false;
  }
  if ((r.mode != 1 && r.mode != 2) || r.generation < 0 || !std::isfinite(r.seconds)) return false;
  row = r;
  return true;
}

bool ReadFitnessLog(const char* path, std::vector<TFitnessRow>& rows) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string line;
  if (!std::getline(in, line)) return false;
  const std::string_view header = WithoutLineEnd(line);
  if (header != FitnessLogHeader && header != FitnessLogHeaderV1) return false;
  std::vector<TFitnessRow> read;
  while (std::getline(in, line)) {
    if (WithoutLineEnd(line).empty()) continue;
    TFitnessRow r;
    if (!ParseFitnessRow(line, r)) return false;
    read.push_back(r);
  }
  if (in.bad()) return false;
  rows = std::move(read);
  return true;
}

bool WriteFitnessLog(const char* path, const std::vector<TFitnessRow>& rows) {
  std::string text(FitnessLogHeader);
  text += '\n';
  char line[128];
  for (const TFitnessRow& r : rows) text.append(line, FormatFitnessRow(r, line, sizeof line));
  return WriteFileAtomically(path, text.data(), text.size());
}

FILE* OpenFitnessLogForAppend(const char* path) {
  {
    // An older file gets the new header before new rows follow it; if it
    // cannot be read as a whole it is left as it is.
    std::ifstream in(path, std::ios::binary);
    std::string first;
    std::vector<TFitnessRow> rows;
    if (in && std::getline(in, first) && WithoutLineEnd(first) == FitnessLogHeaderV1) {
      in.close();
      if (ReadFitnessLog(path, rows) && !WriteFitnessLog(path, rows)) return nullptr;
    }
  }
  FILE* f = std::fopen(path, "ab");
  if (!f) return nullptr;
  // Where an append-mode stream starts is up to the library: ask the end.
  if (std::fseek(f, 0, SEEK_END) == 0 && std::ftell(f) == 0) {
    std::fprintf(f, "%.*s\n", static_cast<int>(FitnessLogHeader.size()), FitnessLogHeader.data());
    if (std::fflush(f) != 0) {
      std::fclose(f);
      return nullptr;
    }
  }
  return f;
}
