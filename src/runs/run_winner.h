#pragma once

#include <string>

// The winner of a set becomes FILE: its kept best network (a whole
// population), its history and its learning path up to that network's
// generation, so the three always belong together. An older FILE, history
// or path that differs is first kept as the numbered backup
// BackupFileName(FILE, n) with its companions, the smallest n free for all;
// nothing is ever replaced unsaved. A winner without a path leaves none
// beside FILE; a path found without FILE is set aside alone.
struct TWinnerCopy {
  std::string backup;         // "" if no backup was needed
  std::string backupHistory;  // "" if no history was kept
  std::string backupPath;     // "" if no learning path was kept
};

// What could not be done: the file, reading or writing, and errno (EILSEQ:
// not a complete network file or history).
struct TCopyFailure {
  std::string file;
  bool reading = false;
  int error = 0;
};

// False with `why` if something could not be read or written; FILE and its
// companions are then as they were, or whole, and the same call completes them.
bool CopyWinner(const std::string& best, const std::string& runHistory, const std::string& runPath,
                const std::string& file, TWinnerCopy& done, TCopyFailure& why);
