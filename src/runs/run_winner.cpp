#include "runs/run_winner.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/atomic_file.h"
#include "history/fitness_log.h"
#include "platform/link_rule.h"
#include "platform/regular_file.h"
#include "runs/population_files.h"
#include "ann-ga/world.h"

namespace {

bool ReadBounded(const std::string& path, std::string& bytes, long long limit) {
  return ReadRegularFile(path.c_str(), bytes, limit);
}

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

TCopyFailure Reason(const std::string& file, bool reading, int error = errno) { return {file, reading, error}; }

// Keeps `path`'s bytes under `backup`, which does not exist yet: a second
// name for a regular file, else a whole copy (never a half-written one).
bool Keep(const std::string& path, const std::string& backup, TCopyFailure& why) {
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && link(path.c_str(), backup.c_str()) == 0) return true;
  std::string bytes;
  if (!ReadBounded(path, bytes, MaxHistoryFileBytes)) {
    why = Reason(path, true);
    return false;
  }
  if (Exists(backup) || !WriteFileAtomically(backup.c_str(), bytes.data(), bytes.size())) {
    why = Reason(backup, false, Exists(backup) ? EEXIST : errno);
    return false;
  }
  return true;
}

// Whether `path` holds `bytes` (a missing file holds nothing).
bool Holds(const std::string& path, const std::string& bytes) {
  std::string there;
  return Exists(path) ? ReadBounded(path, there, MaxHistoryFileBytes) && there == bytes : bytes.empty();
}

// Keeps FILE and its history as the numbered backup pair before the winner
// replaces them. A copy that was killed halfway left the newest pair holding
// what is there now (or the population without its history yet): that pair
// is completed rather than a second one begun, so FILE's backup and its
// history's always belong together.
bool KeepPair(const TPopulationFiles& files, bool fileIsWinner, bool historyIsWinners, TWinnerCopy& done,
              TCopyFailure& why) {
  const std::string &file = files.File, &history = files.History;
  std::string now, nowHistory;
  if (!ReadBounded(file, now, MaxHistoryFileBytes)) {
    why = Reason(file, true);
    return false;
  }
  if (Exists(history) && !ReadBounded(history, nowHistory, MaxHistoryFileBytes)) {
    why = Reason(history, true);
    return false;
  }
  int newest = 0;
  while (Exists(files.Backup(newest + 1)) || Exists(files.BackupHistory(newest + 1))) ++newest;
  if (newest > 0) {
    const std::string backup = files.Backup(newest), backupHistory = files.BackupHistory(newest);
    const bool fileKept = fileIsWinner || (Exists(backup) && Holds(backup, now));
    const bool historyKept = historyIsWinners || !Exists(history) || (Exists(backupHistory) && Holds(backupHistory, nowHistory));
    if (fileKept && (historyKept || (!Exists(backupHistory) && Exists(backup)))) {
      if (!historyKept && !Keep(history, backupHistory, why)) return false;
      done.backup = backup;
      done.backupHistory = Exists(backupHistory) ? backupHistory : "";
      return true;
    }
  }
  const std::string backup = files.Backup(newest + 1), backupHistory = files.BackupHistory(newest + 1);
  if (!Keep(file, backup, why)) return false;
  done.backup = backup;
  if (Exists(history)) {
    if (!Keep(history, backupHistory, why)) return false;
    done.backupHistory = backupHistory;
  }
  return true;
}

}  // namespace

bool CopyWinner(const std::string& best, const std::string& runHistory, const std::string& file, TWinnerCopy& done,
                TCopyFailure& why) {
  done = {};
  // A link in FILE's or its history's place that the program may not follow
  // is refused before anything behind it is read or kept as a backup.
  const TPopulationFiles files(file);
  const std::string& history = files.History;
  for (const std::string& target : {file, history}) {
    std::string resolved;
    if (!ResolveForWriting(target.c_str(), resolved)) {
      why = Reason(target, false);
      return false;
    }
  }
  // The winner's network and the rows that led to it.
  std::string population;
  if (!ReadBounded(best, population, 1 << 24)) {
    why = Reason(best, true);
    return false;
  }
  TNetworkFileHeader header;
  if (CheckNetworkFile(reinterpret_cast<const unsigned char*>(population.data()), population.size(), header) !=
      TLoadError::None) {
    why = Reason(best, true, EILSEQ);
    return false;
  }
  std::vector<TFitnessRow> rows;
  if (Exists(runHistory) && !ReadFitnessLog(runHistory.c_str(), rows)) {
    why = Reason(runHistory, true, EILSEQ);
    return false;
  }
  std::erase_if(rows, [&](const TFitnessRow& r) { return r.generation >= header.Generations; });

  // Something in FILE's or its history's place that cannot be replaced stops
  // the copy before either is written, so the two stay a pair.
  for (const std::string& target : {file, history}) {
    struct stat st;
    if (stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
      why = Reason(target, false, NotRegularFile);
      return false;
    }
  }
  // What is there now, kept unless it is the winner already (the same call again).
  std::string old;
  std::vector<TFitnessRow> oldRows;
  const bool sameFile = ReadBounded(file, old, 1 << 24) && old == population;
  const bool sameHistory = !Exists(history) || (ReadFitnessLog(history.c_str(), oldRows) && [&] {
    if (oldRows.size() != rows.size()) return false;
    for (size_t i = 0; i < rows.size(); ++i)
      if (oldRows[i].generation != rows[i].generation || oldRows[i].bestFitness != rows[i].bestFitness) return false;
    return true;
  }());
  if (Exists(file) && (!sameFile || !sameHistory) && !KeepPair(files, sameFile, sameHistory, done, why))
    return false;
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
