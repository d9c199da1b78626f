#pragma once

#include <string>

// The names of a set's files: together in one folder beside its FILE.

// "zarnik.dat" -> "zarnik.runs" ("runs/a.dat" -> "runs/a.runs").
std::string SetFolderName(const std::string& file);
// What the set is (seed, runs, goal): "zarnik.runs/set.txt".
std::string SetIdentityFileName(const std::string& file);
// "zarnik.dat", 3 -> "zarnik.runs/run-3.dat" (its history beside it: "zarnik.runs/run-3.csv").
std::string RunFileName(const std::string& file, int k);
// The population at the check that showed run k's best network so far:
// "zarnik.dat", 3 -> "zarnik.runs/run-3-best.dat".
std::string RunBestFileName(const std::string& file, int k);
// How run k began in an exploiting set: "zarnik.dat", 3 -> "zarnik.runs/run-3-start.txt".
std::string RunStartFileName(const std::string& file, int k);
// The n-th numbered backup of FILE: "zarnik.dat", 2 -> "zarnik.~2~.dat", so that
// its history keeps the rule of the name beside it ("zarnik.~2~.csv").
std::string BackupFileName(const std::string& file, int n);
// A set folder moved aside for a new set: "zarnik.runs", 1 -> "zarnik.runs.~1~".
std::string SetFolderBackupName(const std::string& file, int n);
