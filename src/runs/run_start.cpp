#include "runs/run_start.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/regular_file.h"
#include "runs/run_files.h"
#include "runs/text_fields.h"

namespace {

constexpr std::string_view Format = "zarnik-start 1";
constexpr long long MaxStartBytes = 4096;
// Far above any population file (a few hundred KB), below what harms the set.
constexpr long long MaxPopulationBytes = 64LL << 20;

}  // namespace

std::string FormatRunStart(const TRunStart& start) {
  return std::string(Format) + "\nwork " + std::to_string(start.work) + "\nfrom " +
         (start.from < 0 ? std::string("-") : std::to_string(start.from)) + "\ngeneration " +
         std::to_string(start.generation) + "\n";
}

bool ParseRunStart(std::string_view text, TRunStart& out) {
  const std::vector<std::string_view> lines = CompleteLines(text);
  if (lines.size() != 4 || lines[0] != Format) return false;
  const auto value = [&](int i, std::string_view key) {
    return lines[i].starts_with(key) && lines[i].size() > key.size() && lines[i][key.size()] == ' '
               ? lines[i].substr(key.size() + 1)
               : std::string_view("?");
  };
  TRunStart s;
  const std::string_view from = value(2, "from");
  if (!ParseNumber(value(1, "work"), s.work) || s.work < 0 || !ParseNumber(value(3, "generation"), s.generation) ||
      s.generation < 0)
    return false;
  if (from != "-" && (!ParseNumber(from, s.from) || s.from < 0)) return false;
  if (from == "-" && s.generation != 0) return false;
  out = s;
  return true;
}

bool ReadRunStart(const std::string& file, int k, std::optional<TRunStart>& out) {
  out.reset();
  std::string text;
  if (!ReadRegularFile(RunStartFileName(file, k).c_str(), text, MaxStartBytes)) return errno == ENOENT;
  TRunStart start;
  if (!ParseRunStart(text, start)) {
    errno = EILSEQ;
    return false;
  }
  out = start;
  return true;
}

bool CompleteCopy(const std::string& file, int k, const TRunStart& start) {
  if (start.from < 0) return true;
  const std::string population = RunFileName(file, k);
  struct stat st;
  if (lstat(population.c_str(), &st) == 0) return true;
  std::string bytes;
  if (!ReadRegularFile(RunBestFileName(file, start.from).c_str(), bytes, MaxPopulationBytes)) return false;
  return WriteFileAtomically(population.c_str(), bytes.data(), bytes.size());
}

bool BeginRun(const std::string& file, int k, const TRunStart& start) {
  const std::string text = FormatRunStart(start);
  return WriteFileAtomically(RunStartFileName(file, k).c_str(), text.data(), text.size()) &&
         CompleteCopy(file, k, start);
}
