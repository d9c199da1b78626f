#include "runs/stale_path.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <cerrno>

namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

}  // namespace

int FreeBackupNumber(const TPopulationFiles& files) {
  int n = 1;
  while (Exists(files.Backup(n)) || Exists(files.BackupHistory(n)) || Exists(files.BackupPath(n))) ++n;
  return n;
}

bool SetAsideStalePath(const TPopulationFiles& files, std::string& keptAs) {
  keptAs.clear();
  // A number taken meanwhile by another writer is passed over, not replaced.
  for (int tries = 0; Exists(files.Path); ++tries) {
    const std::string backup = files.BackupPath(FreeBackupNumber(files));
    if (renameat2(AT_FDCWD, files.Path.c_str(), AT_FDCWD, backup.c_str(), RENAME_NOREPLACE) == 0) {
      keptAs = backup;
      return true;
    }
    if (errno != EEXIST || tries == 100) return false;
  }
  return true;
}
