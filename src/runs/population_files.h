#pragma once

#include <string>

// The population file the programs use when none is named.
inline constexpr const char* DefaultPopulationFile = "zarnik.dat";

// A population file's family of names, worked out once from the name given
// and passed on: the file, its history, its learning path, the trainer's
// lock, its set's files and its numbered backups. Names only; nothing is opened.
struct TPopulationFiles {
  // "" stands for DefaultPopulationFile.
  explicit TPopulationFiles(const std::string& file);

  std::string File;     // "zarnik.dat"
  std::string History;  // "zarnik.csv", as FitnessLogPathFor names it
  std::string Path;     // "zarnik.path", the learning path, as LearningPathFor names it
  std::string Lock;     // "<save target>.lock"

  std::string SetFolder() const;               // "zarnik.runs"
  std::string Run(int k) const;                // "zarnik.runs/run-3.dat"
  std::string RunHistory(int k) const;         // "zarnik.runs/run-3.csv"
  std::string RunBest(int k) const;            // "zarnik.runs/run-3-best.dat"
  std::string RunPath(int k) const;            // "zarnik.runs/run-3.path"
  std::string Backup(int n) const;             // "zarnik.~2~.dat"
  std::string BackupHistory(int n) const;      // "zarnik.~2~.csv"
  std::string BackupPath(int n) const;         // "zarnik.~2~.path"
};

// The population a learning path lies beside, the one whose family names it:
// "runs/run-3.path" -> "runs/run-3.dat", "a.path.path" -> "a.path". Another
// suffix than ".dat" cannot be told from the path's name.
std::string PopulationBesidePath(const std::string& path);
