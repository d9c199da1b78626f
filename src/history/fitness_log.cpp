#include "history/fitness_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "platform/atomic_file.h"
#include "platform/link_rule.h"
#include "platform/regular_file.h"

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

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

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
  // Six fields in files from before best_deliveries, seven since (the last
  // one empty in training 1).
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
  const auto counted = [](int n) { return n >= 0 && n <= MaxHistoryGeneration; };
  if ((r.mode != 1 && r.mode != 2) || !counted(r.generation) || !counted(r.generationOfBest) ||
      !(r.seconds >= 0 && r.seconds <= MaxHistorySeconds))
    return false;
  row = r;
  return true;
}

bool TFitnessLogParser::EndOfLine(long long lineEnd) {
  std::string_view line = WithoutLineEnd(Line);
  bool ok = true;
  if (!HeaderSeen) {
    if (line.starts_with(ByteOrderMark)) line.remove_prefix(ByteOrderMark.size());
    Older = line == FitnessLogHeaderV1;
    ok = HeaderSeen = line == FitnessLogHeader || Older;
    HeaderEndAt = lineEnd;
  } else if (!line.empty()) {
    TFitnessRow r;
    ok = ParseFitnessRow(line, r);
    if (ok && OnRow)
      OnRow(r, lineEnd);
    else if (ok)
      Rows.push_back(r);
  }
  Line.clear();
  LinesEndAt = lineEnd;
  return ok;
}

bool TFitnessLogParser::Feed(std::string_view bytes) {
  if (Refused) return false;
  const long long start = Total;
  Total += static_cast<long long>(bytes.size());
  if (Total > MaxHistoryFileBytes) Refused = true;
  size_t used = 0;
  while (!Refused && used < bytes.size()) {
    const std::string_view rest = bytes.substr(used);
    const size_t end = rest.find('\n');
    const size_t take = end == std::string_view::npos ? rest.size() : end;
    // A line beyond the limit is refused before it is kept whole.
    if (Line.size() + take > MaxHistoryLineBytes) {
      Refused = true;
      break;
    }
    Line.append(rest.substr(0, take));
    if (end == std::string_view::npos) break;
    used += end + 1;
    if (!EndOfLine(start + static_cast<long long>(used))) Refused = true;
  }
  if (Refused) {
    Rows = {};
    Line = {};
  }
  return !Refused;
}

bool TFitnessLogParser::Finish(std::vector<TFitnessRow>& rows) {
  if (Refused) return false;
  // The torn last line is dropped; a torn header means no rows yet (the
  // older header is the beginning of the present one).
  if (!HeaderSeen) {
    std::string_view torn = Line;
    if (torn.starts_with(ByteOrderMark))
      torn.remove_prefix(ByteOrderMark.size());
    else if (ByteOrderMark.starts_with(torn))
      torn = {};  // a torn mark
    if (!FitnessLogHeader.starts_with(torn)) return false;
  }
  Line.clear();
  rows = std::move(Rows);
  Rows.clear();
  return true;
}

bool TFitnessLogParser::TakeRows(std::vector<TFitnessRow>& rows) {
  if (Refused) return false;
  rows.insert(rows.end(), Rows.begin(), Rows.end());
  Rows.clear();
  return true;
}

bool ParseFitnessLog(std::string_view text, std::vector<TFitnessRow>& rows) {
  TFitnessLogParser parser;
  return parser.Feed(text) && parser.Finish(rows);
}

namespace {

// Feeds the whole file to `parser`; false if it is beyond the limits or
// cannot be read.
bool FeedWhole(int fd, TFitnessLogParser& parser) {
  // A file beyond the limit is refused without reading it.
  struct stat st = {};
  if (::fstat(fd, &st) != 0 || st.st_size > MaxHistoryFileBytes) return false;
  std::vector<char> chunk(64 * 1024);
  for (off_t at = 0;;) {
    const ssize_t n = ::pread(fd, chunk.data(), chunk.size(), at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    at += n;
    // Also stops a file that grows while it is read.
    if (!parser.Feed(std::string_view(chunk.data(), static_cast<size_t>(n)))) return false;
  }
}

}  // namespace

bool ReadFitnessLog(const char* path, std::vector<TFitnessRow>& rows) {
  const int fd = OpenRegularForReading(path);
  if (fd < 0) return false;
  TFitnessLogParser parser;
  const bool read = FeedWhole(fd, parser);
  ::close(fd);
  return read && parser.Finish(rows);
}

bool WriteFitnessLog(const char* path, const std::vector<TFitnessRow>& rows) {
  std::string text(FitnessLogHeader);
  text += '\n';
  char line[128];
  for (const TFitnessRow& r : rows) text.append(line, FormatFitnessRow(r, line, sizeof line));
  return WriteFileAtomically(path, text.data(), text.size());
}

namespace {

bool WriteLine(int fd, std::string_view text) {
  std::string line(text);
  line += '\n';
  const ssize_t n = ::write(fd, line.data(), line.size());
  if (n >= 0 && static_cast<size_t>(n) != line.size()) errno = ENOSPC;
  return n >= 0 && static_cast<size_t>(n) == line.size();
}

// Reads the history whole and makes its end a line end: a header is written
// into an empty file, a torn last line is cut, and so are the rows a resumed
// run repeats. Refuses a file that is no history, leaving it alone.
// `older`: it is a history from before best_deliveries, left as it is.
bool PrepareForAppend(int fd, TFitnessLogResume& resume, bool& older) {
  TFitnessLogParser parser;
  long long keepEnd = 0, cut = 0;
  resume.HasLastRow = false;
  resume.LastPass1 = -1;
  parser.OnRow = [&](const TFitnessRow& row, long long lineEnd) {
    if (resume.StoredGeneration >= 0 && row.mode == 2 && row.generation >= resume.StoredGeneration) {
      ++cut;
      return;
    }
    keepEnd = lineEnd;
    cut = 0;
    if (row.mode == 1) resume.LastPass1 = row.generation;
    resume.LastRow = row;
    resume.HasLastRow = true;
  };
  std::vector<TFitnessRow> none;
  if (!FeedWhole(fd, parser) || !parser.Finish(none)) {
    errno = NotAFitnessLog;
    return false;
  }
  older = parser.OlderHeader();
  if (older) return true;
  resume.RowsCut = cut;
  if (parser.HeaderEnd() == 0) return ::ftruncate(fd, 0) == 0 && WriteLine(fd, FitnessLogHeader);
  // Empty lines after cut rows go with them.
  struct stat st = {};
  if (::fstat(fd, &st) != 0) return false;
  const long long end = cut > 0 ? std::max(keepEnd, parser.HeaderEnd()) : parser.LinesEnd();
  return end == st.st_size || ::ftruncate(fd, static_cast<off_t>(end)) == 0;
}

}  // namespace

FILE* OpenFitnessLogForAppend(const char* path) {
  TFitnessLogResume resume;
  return OpenFitnessLogForAppend(path, resume);
}

FILE* OpenFitnessLogForAppend(const char* path, TFitnessLogResume& resume) {
  std::string target;
  if (!ResolveForWriting(path, target)) return nullptr;
  const bool existed = ::access(target.c_str(), F_OK) == 0;
  for (int pass = 0; pass < 2; ++pass) {
    const int fd = OpenRegularForAppend(target.c_str());
    if (fd < 0) return nullptr;
    bool older = false;
    FILE* f = PrepareForAppend(fd, resume, older) && !older ? ::fdopen(fd, "a+b") : nullptr;
    if (f) return f;
    const int error = errno;
    ::close(fd);
    // A history from before best_deliveries is written again with the
    // present header, so that it stays one table; then opened again.
    std::vector<TFitnessRow> rows;
    if (older && pass == 0 && ReadFitnessLog(target.c_str(), rows) && WriteFitnessLog(target.c_str(), rows)) continue;
    if (!existed) ::unlink(target.c_str());  // nothing left behind of a file that could not be begun
    errno = older ? errno : error;
    return nullptr;
  }
  errno = NotAFitnessLog;
  return nullptr;
}

int CheckFitnessLogForAppend(const char* path) {
  std::string target;
  if (!ResolveForWriting(path, target)) return errno;
  const int fd = OpenRegularForReading(target.c_str());
  if (fd < 0) return errno == ENOENT ? CheckWritable(target.c_str(), false) : errno;
  TFitnessLogParser parser;
  parser.OnRow = [](const TFitnessRow&, long long) {};
  std::vector<TFitnessRow> none;
  const bool history = FeedWhole(fd, parser) && parser.Finish(none);
  ::close(fd);
  if (!history) return NotAFitnessLog;
  // An older history is written again beside itself.
  return CheckWritable(target.c_str(), false, parser.OlderHeader() ? TemporarySuffixBytes : 0);
}

std::string FitnessLogPathFor(std::string_view population) {
  const size_t slash = population.rfind('/');
  const size_t name = slash == std::string_view::npos ? 0 : slash + 1;
  const size_t dot = population.rfind('.');
  const size_t end = dot != std::string_view::npos && dot >= name ? dot : population.size();
  // "a.csv" keeps its history in "a.csv.csv", never in itself.
  if (population.substr(end) == ".csv") return std::string(population) + ".csv";
  return std::string(population.substr(0, end)) + ".csv";
}
