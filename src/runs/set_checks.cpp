#include "runs/set_checks.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

#include "platform/regular_file.h"
#include "runs/all_episodes.h"  // FormatMean
#include "runs/run_files.h"
#include "runs/text_fields.h"

namespace {

constexpr std::string_view Format = "zarnik-checks 1\n";

bool ParseLine(std::string_view line, TSetCheck& c) {
  std::string_view f[6];
  for (int i = 0; i < 6; ++i) {
    const size_t tab = line.find('\t');
    if ((tab == std::string_view::npos) != (i == 5)) return false;
    f[i] = line.substr(0, tab);
    line.remove_prefix(i == 5 ? line.size() : tab + 1);
  }
  if (f[5] == "-")
    c.from = -1;
  else if (!ParseNumber(f[5], c.from) || c.from < 0)
    return false;
  return ParseNumber(f[0], c.run) && ParseNumber(f[1], c.place) && ParseNumber(f[2], c.work) && ParseNumber(f[3], c.mean) &&
         ParseNumber(f[4], c.startWork) && c.run >= 0 && c.place >= 0 && c.place <= c.run && c.mean >= 0 &&
         c.startWork >= 0 && c.work >= c.startWork;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Cuts a torn last line (no "\n") off the open file, so the next line starts one of its own.
bool CutTornLine(int fd, off_t size) {
  char tail[128];
  for (off_t end = size; end > 0;) {
    const off_t from = end > static_cast<off_t>(sizeof tail) ? end - static_cast<off_t>(sizeof tail) : 0;
    const ssize_t n = ::pread(fd, tail, static_cast<size_t>(end - from), from);
    if (n != end - from) return false;
    for (ssize_t i = n; i > 0; --i)
      if (tail[i - 1] == '\n') return from + i == size || ::ftruncate(fd, from + i) == 0;
    end = from;
  }
  return ::ftruncate(fd, 0) == 0;
}

}  // namespace

std::string SetChecksFileName(const std::string& file) { return SetFolderName(file) + "/checks.txt"; }

bool ParseSetChecks(std::string_view text, std::vector<TSetCheck>& out) {
  if (text.size() < Format.size()) {
    // A torn format line: the file was just begun.
    if (!Format.starts_with(text)) return false;
    out.clear();
    return true;
  }
  if (!text.starts_with(Format)) return false;
  text.remove_prefix(Format.size());
  std::vector<TSetCheck> checks;
  for (size_t end; (end = text.find('\n')) != std::string_view::npos; text.remove_prefix(end + 1)) {
    TSetCheck c;
    if (!ParseLine(text.substr(0, end), c)) return false;
    checks.push_back(c);
  }
  out = std::move(checks);
  return true;
}

bool ReadSetChecks(const std::string& file, std::vector<TSetCheck>& out) {
  std::string text;
  if (!ReadRegularFile(SetChecksFileName(file).c_str(), text, MaxSetChecksBytes)) {
    if (errno != ENOENT) return false;
    out.clear();
    return true;
  }
  if (ParseSetChecks(text, out)) return true;
  errno = EILSEQ;
  return false;
}

bool AppendSetCheck(const std::string& file, const TSetCheck& c) {
  const int fd = OpenRegularForAppend(SetChecksFileName(file).c_str());
  if (fd < 0) return false;
  struct stat st = {};
  std::string line = std::to_string(c.run) + "\t" + std::to_string(c.place) + "\t" + std::to_string(c.work) + "\t" +
                     FormatMean(c.mean) + "\t" + std::to_string(c.startWork) + "\t" +
                     (c.from < 0 ? std::string("-") : std::to_string(c.from)) + "\n";
  bool ok = ::fstat(fd, &st) == 0;
  const bool begun = ok && st.st_size >= static_cast<off_t>(Format.size());
  char head[Format.size()];
  if (begun && (::pread(fd, head, sizeof head, 0) != static_cast<ssize_t>(sizeof head) ||
                std::string_view(head, sizeof head) != Format)) {
    ::close(fd);
    errno = EILSEQ;  // something else under its name stays as it is
    return false;
  }
  ok = ok && CutTornLine(fd, st.st_size);
  if (ok && !begun) {
    // Nothing whole in it yet: it begins with its format line.
    ok = ::ftruncate(fd, 0) == 0;
    line = std::string(Format) + line;
  }
  ok = ok && WriteAll(fd, line);
  const int error = errno;
  ::close(fd);
  errno = error;
  return ok;
}
