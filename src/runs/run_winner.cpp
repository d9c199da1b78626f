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
#include "history/learning_path.h"
#include "runs/population_files.h"
#include "runs/stale_path.h"
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

// The winner's learning path up to its network's generation ("": it has
// none); the entries after it are the ones a resumed run makes again.
bool ReadWinnerPath(const std::string& runPath, int generation, std::string& bytes, TCopyFailure& why) {
  std::vector<TPathEntry> path;
  const TPathError read = ReadLearningPath(runPath.c_str(), path);
  if (read == TPathError::Missing) return true;
  if (read != TPathError::None) {
    why = Reason(runPath, true, EILSEQ);
    return false;
  }
  std::erase_if(path, [&](const TPathEntry& e) { return e.generation > generation; });
  if (!path.empty()) bytes = EncodeLearningPath(path, PathRecordBytes());
  return true;
}

// Keeps FILE, its history and its learning path as the numbered backup
// before the winner replaces them. A copy that was killed halfway left the
// newest backup holding what is there now, its members begun in this order:
// that backup is completed rather than a second one begun, so FILE's backup,
// its history's and its path's always belong together.
bool KeepFamily(const TPopulationFiles& files, bool fileIsWinner, bool historyIsWinners, bool pathIsWinners,
                TWinnerCopy& done, TCopyFailure& why) {
  const std::string &file = files.File, &history = files.History, &path = files.Path;
  std::string now, nowHistory, nowPath;
  for (auto [name, bytes] : {std::pair{&file, &now}, {&history, &nowHistory}, {&path, &nowPath}}) {
    if (Exists(*name) && !ReadBounded(*name, *bytes, MaxHistoryFileBytes)) {
      why = Reason(*name, true);
      return false;
    }
  }
  const int newest = FreeBackupNumber(files) - 1;
  if (newest > 0) {
    const std::string backup = files.Backup(newest), backupHistory = files.BackupHistory(newest),
                      backupPath = files.BackupPath(newest);
    const bool fileKept = fileIsWinner || (Exists(backup) && Holds(backup, now));
    const bool historyKept = historyIsWinners || !Exists(history) || (Exists(backupHistory) && Holds(backupHistory, nowHistory));
    const bool pathKept = pathIsWinners || !Exists(path) || (Exists(backupPath) && Holds(backupPath, nowPath));
    // A member not kept yet may join only where the population's backup is and its place is free.
    const bool historyJoins = historyKept || (!Exists(backupHistory) && Exists(backup));
    const bool pathJoins = pathKept || (!Exists(backupPath) && Exists(backup));
    if (fileKept && historyJoins && pathJoins) {
      if (!historyKept && !Keep(history, backupHistory, why)) return false;
      if (!pathKept && !Keep(path, backupPath, why)) return false;
      done.backup = Exists(backup) ? backup : "";
      done.backupHistory = Exists(backupHistory) ? backupHistory : "";
      done.backupPath = Exists(backupPath) ? backupPath : "";
      return true;
    }
  }
  const std::string backup = files.Backup(newest + 1), backupHistory = files.BackupHistory(newest + 1),
                    backupPath = files.BackupPath(newest + 1);
  if (!Keep(file, backup, why)) return false;
  done.backup = backup;
  if (Exists(history)) {
    if (!Keep(history, backupHistory, why)) return false;
    done.backupHistory = backupHistory;
  }
  if (Exists(path)) {
    if (!Keep(path, backupPath, why)) return false;
    done.backupPath = backupPath;
  }
  return true;
}

}  // namespace

bool CopyWinner(const std::string& best, const std::string& runHistory, const std::string& runPath,
                const std::string& file, TWinnerCopy& done, TCopyFailure& why) {
  done = {};
  // A link in the place of FILE or one of its companions that the program may not follow
  // is refused before anything behind it is read or kept as a backup.
  const TPopulationFiles files(file);
  const std::string &history = files.History, &pathFile = files.Path;
  for (const std::string& target : {file, history, pathFile}) {
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
  std::string path;
  if (!ReadWinnerPath(runPath, header.Generations, path, why)) return false;

  // Something in the place of FILE or a companion that cannot be replaced
  // stops the copy before any is written, so they stay together.
  for (const std::string& target : {file, history, pathFile}) {
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
  const bool samePath = Holds(pathFile, path);
  if (Exists(file) && (!sameFile || !sameHistory || (!samePath && Exists(pathFile))) &&
      !KeepFamily(files, sameFile, sameHistory, samePath, done, why))
    return false;
  // A path without its population belongs to none the winner could be.
  std::string keptPath;
  if (!Exists(file) && !samePath && !SetAsideStalePath(files, keptPath)) {
    why = Reason(pathFile, false);
    return false;
  }
  if (!keptPath.empty()) done.backupPath = keptPath;
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
  // Last, as the history: until here a killed copy finds the old path still beside FILE, kept.
  if (!samePath && (path.empty() ? unlink(pathFile.c_str()) != 0 && errno != ENOENT
                                 : !WriteFileAtomically(pathFile.c_str(), path.data(), path.size()))) {
    why = Reason(pathFile, false);
    return false;
  }
  return true;
}
