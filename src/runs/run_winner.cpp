#include "run_winner.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "atomic_file.h"
#include "fitness_log.h"
#include "headless_host.h"
#include "regular_file.h"
#include "run_files.h"
#include "world.h"

namespace {

// Reads a regular file whole, at most `limit` bytes; false with errno.
bool ReadBounded(const std::string& path, std::string& bytes, long long limit) {
  const int fd = OpenRegularForReading(path.c_str());
  if (fd < 0) return false;
  bytes.clear();
  char chunk[65536];
  for (;;) {
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || static_cast<long long>(bytes.size()) + n > limit) {
      const int error = n < 0 ? errno : (n == 0 ? 0 : EFBIG);
      close(fd);
      errno = error;
      return n == 0;
    }
    bytes.append(chunk, static_cast<size_t>(n));
  }
}

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

TCopyFailure Reason(const std::string& file, bool reading, int error = errno) { return {file, reading, error}; }

// Keeps `path`'s bytes under `backup`, which does not exist yet: a second
// name for a regular file, else a copy.
bool Keep(const std::string& path, const std::string& backup, TCopyFailure& why) {
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && link(path.c_str(), backup.c_str()) == 0) return true;
  std::string bytes;
  if (!ReadBounded(path, bytes, MaxHistoryFileBytes)) {
    why = Reason(path, true);
    return false;
  }
  const int fd = open(backup.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
  bool ok = fd >= 0;
  for (size_t at = 0; ok && at < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + at, bytes.size() - at);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    at += ok ? static_cast<size_t>(n) : 0;
  }
  if (fd >= 0 && (fsync(fd) != 0 || close(fd) != 0)) ok = false;
  if (!ok) {
    why = Reason(backup, false);
    if (fd >= 0) unlink(backup.c_str());
  }
  return ok;
}

}  // namespace

bool CopyWinner(const std::string& best, const std::string& runHistory, const std::string& file, TWinnerCopy& done,
                TCopyFailure& why) {
  done = {};
  // The winner's network and the rows that led to it.
  std::string population;
  if (!ReadBounded(best, population, 1 << 24)) {
    why = Reason(best, true);
    return false;
  }
  THeadlessHost host;
  auto world = MakeZarnikWorld(&host);
  if (!world->LoadFromBytes(reinterpret_cast<const unsigned char*>(population.data()), population.size())) {
    why = Reason(best, true, EILSEQ);
    return false;
  }
  std::vector<TFitnessRow> rows;
  if (Exists(runHistory) && !ReadFitnessLog(runHistory.c_str(), rows)) {
    why = Reason(runHistory, true, EILSEQ);
    return false;
  }
  std::erase_if(rows, [&](const TFitnessRow& r) { return r.generation >= world->Generations; });

  // What is there now, kept unless it is the winner already (the same call again).
  const std::string history = FitnessLogPathFor(file);
  std::string old;
  std::vector<TFitnessRow> oldRows;
  const bool sameFile = ReadBounded(file, old, 1 << 24) && old == population;
  const bool sameHistory = !Exists(history) || (ReadFitnessLog(history.c_str(), oldRows) && [&] {
    if (oldRows.size() != rows.size()) return false;
    for (size_t i = 0; i < rows.size(); ++i)
      if (oldRows[i].generation != rows[i].generation || oldRows[i].bestFitness != rows[i].bestFitness) return false;
    return true;
  }());
  if (Exists(file) && (!sameFile || !sameHistory)) {
    int n = 1;
    while (Exists(BackupFileName(file, n)) || Exists(FitnessLogPathFor(BackupFileName(file, n)))) ++n;
    const std::string backup = BackupFileName(file, n), backupHistory = FitnessLogPathFor(backup);
    if (!Keep(file, backup, why)) return false;
    done.backup = backup;
    if (Exists(history)) {
      if (!Keep(history, backupHistory, why)) return false;
      done.backupHistory = backupHistory;
    }
  }
  if (!sameFile && !WriteFileAtomically(file.c_str(), population.data(), population.size())) {
    why = Reason(file, false);
    return false;
  }
  if (!sameHistory || !Exists(history)) {
    if (!WriteFitnessLog(history.c_str(), rows)) {
      why = Reason(history, false);
      return false;
    }
  }
  return true;
}
