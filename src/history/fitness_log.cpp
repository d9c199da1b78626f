#include "fitness_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "atomic_file.h"
#include "regular_file.h"

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

bool TFitnessLogParser::EndOfLine() {
  const std::string_view line = WithoutLineEnd(Line);
  bool ok = true;
  if (!HeaderSeen) {
    ok = HeaderSeen = line == FitnessLogHeader || line == FitnessLogHeaderV1;
  } else if (!line.empty()) {
    TFitnessRow r;
    ok = ParseFitnessRow(line, r);
    if (ok) Rows.push_back(r);
  }
  Line.clear();
  return ok;
}

bool TFitnessLogParser::Feed(std::string_view bytes) {
  if (Refused) return false;
  Total += static_cast<long long>(bytes.size());
  if (Total > MaxHistoryFileBytes) Refused = true;
  while (!Refused && !bytes.empty()) {
    const size_t end = bytes.find('\n');
    const size_t take = end == std::string_view::npos ? bytes.size() : end;
    // A line beyond the limit is refused before it is kept whole.
    if (Line.size() + take > MaxHistoryLineBytes) {
      Refused = true;
      break;
    }
    Line.append(bytes.substr(0, take));
    if (end == std::string_view::npos) break;
    bytes.remove_prefix(end + 1);
    if (!EndOfLine()) Refused = true;
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
  if (!HeaderSeen && FitnessLogHeader.substr(0, Line.size()) != Line) return false;
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

bool ReadFitnessLog(const char* path, std::vector<TFitnessRow>& rows) {
  const int fd = OpenRegularForReading(path);
  if (fd < 0) return false;
  struct TCloser {
    int fd;
    ~TCloser() { ::close(fd); }
  } closer{fd};
  // A file beyond the limit is refused without reading it.
  struct stat st = {};
  if (::fstat(fd, &st) != 0 || st.st_size > MaxHistoryFileBytes) return false;
  TFitnessLogParser parser;
  std::vector<char> chunk(64 * 1024);
  for (;;) {
    const ssize_t n = ::read(fd, chunk.data(), chunk.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    // Also stops a file that grows while it is read.
    if (!parser.Feed(std::string_view(chunk.data(), static_cast<size_t>(n)))) return false;
  }
  return parser.Finish(rows);
}

bool WriteFitnessLog(const char* path, const std::vector<TFitnessRow>& rows) {
  std::string text(FitnessLogHeader);
  text += '\n';
  char line[128];
  for (const TFitnessRow& r : rows) text.append(line, FormatFitnessRow(r, line, sizeof line));
  return WriteFileAtomically(path, text.data(), text.size());
}

namespace {

bool PreadAll(int fd, char* out, size_t size, off_t at) {
  while (size > 0) {
    const ssize_t n = ::pread(fd, out, size, at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = NotAFitnessLog;  // shorter than fstat said
      return false;
    }
    out += n;
    size -= static_cast<size_t>(n);
    at += n;
  }
  return true;
}

bool WriteLine(int fd, std::string_view text) {
  std::string line(text);
  line += '\n';
  const ssize_t n = ::write(fd, line.data(), line.size());
  if (n >= 0 && static_cast<size_t>(n) != line.size()) errno = ENOSPC;
  return n >= 0 && static_cast<size_t>(n) == line.size();
}

// Makes the end of the file a line end: a header is written into an empty
// file, a torn last line is cut. Refuses a file that is no history.
bool PrepareForAppend(int fd) {
  struct stat st = {};
  if (::fstat(fd, &st) != 0) return false;
  const off_t size = st.st_size;
  if (size == 0) return WriteLine(fd, FitnessLogHeader);
  // Something else in the history's place is left alone.
  std::string head(std::min<size_t>(static_cast<size_t>(size), FitnessLogHeader.size() + 1), '\0');
  if (!PreadAll(fd, head.data(), head.size(), 0)) return false;
  const bool torn = head.size() <= FitnessLogHeader.size();  // no line end after the header yet
  const std::string_view header = std::string_view(head).substr(0, FitnessLogHeader.size());
  const bool history = header == FitnessLogHeader.substr(0, head.size()) &&
                       (torn || head.back() == '\n' || head.back() == '\r');
  if (!history) {
    errno = NotAFitnessLog;
    return false;
  }
  if (torn) return ::ftruncate(fd, 0) == 0 && WriteLine(fd, FitnessLogHeader);
  // The last line end lies within the last line's limit.
  const size_t tail = std::min<size_t>(static_cast<size_t>(size), MaxHistoryLineBytes + 2);
  std::string end(tail, '\0');
  if (!PreadAll(fd, end.data(), tail, size - static_cast<off_t>(tail))) return false;
  if (end.back() == '\n') return true;
  const size_t lineEnd = end.rfind('\n');
  if (lineEnd == std::string::npos) {
    errno = NotAFitnessLog;
    return false;
  }
  return ::ftruncate(fd, size - static_cast<off_t>(tail - lineEnd - 1)) == 0;
}

// A history from before best_deliveries is written again with the present
// header before rows are appended, so that it stays one table. One that
// cannot be read whole is left for PrepareForAppend to refuse.
bool UpgradeOlderHistory(const char* path) {
  const int fd = OpenRegularForReading(path);
  if (fd < 0) return true;  // missing, or refused when it is opened for appending
  std::string head(FitnessLogHeaderV1.size() + 1, '\0');
  const bool older = PreadAll(fd, head.data(), head.size(), 0) &&
                     std::string_view(head).substr(0, FitnessLogHeaderV1.size()) == FitnessLogHeaderV1 &&
                     (head.back() == '\n' || head.back() == '\r');
  ::close(fd);
  std::vector<TFitnessRow> rows;
  if (!older || !ReadFitnessLog(path, rows)) return true;
  return WriteFitnessLog(path, rows);
}

}  // namespace

FILE* OpenFitnessLogForAppend(const char* path) {
  if (!UpgradeOlderHistory(path)) return nullptr;
  const int fd = OpenRegularForAppend(path);
  if (fd < 0) return nullptr;
  FILE* f = PrepareForAppend(fd) ? ::fdopen(fd, "a+b") : nullptr;
  if (!f) {
    const int error = errno;
    ::close(fd);
    errno = error;
  }
  return f;
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
