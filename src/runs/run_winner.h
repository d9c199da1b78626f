#pragma once

#include <string>

// The winner of a set becomes FILE: its kept best network (a whole
// population) and its history up to that network's generation, so the two
// always belong together. An older FILE or FILE's history that differs is
// first kept as the numbered backup BackupFileName(FILE, n), with the
// smallest n free for both; nothing is ever replaced unsaved.
struct TWinnerCopy {
  std::string backup;         // "" if no backup was needed
  std::string backupHistory;  // "" if no backup was needed
};

// What could not be done: the file, reading or writing, and errno (EILSEQ:
// not a complete network file or history).
struct TCopyFailure {
  std::string file;
  bool reading = false;
  int error = 0;
};

// False with `why` if something could not be read or written; FILE and its
// history are then as they were, or whole.
bool CopyWinner(const std::string& best, const std::string& runHistory, const std::string& file, TWinnerCopy& done,
                TCopyFailure& why);
