#pragma once

#include <string>

// The names of a set's files beside its FILE.

// "zarnik.dat", 3 -> "zarnik-3.dat" (its history beside it: "zarnik-3.csv").
std::string RunFileName(const std::string& file, int k);
// The population at the check that showed run k's best network so far:
// "zarnik.dat", 3 -> "zarnik-3-best.dat".
std::string RunBestFileName(const std::string& file, int k);
// The n-th numbered backup of FILE: "zarnik.dat", 2 -> "zarnik.~2~.dat", so that
// its history keeps the rule of the name beside it ("zarnik.~2~.csv").
std::string BackupFileName(const std::string& file, int n);
