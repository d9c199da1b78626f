#include "runs/run_files.h"

namespace {

std::string Stem(const std::string& file) {
  const std::string dat = ".dat";
  if (file.size() > dat.size() && file.compare(file.size() - dat.size(), dat.size(), dat) == 0)
    return file.substr(0, file.size() - dat.size());
  return file;
}

}  // namespace

std::string RunFileName(const std::string& file, int k) { return Stem(file) + "-" + std::to_string(k) + ".dat"; }

std::string RunBestFileName(const std::string& file, int k) {
  return Stem(file) + "-" + std::to_string(k) + "-best.dat";
}

std::string BackupFileName(const std::string& file, int n) {
  return Stem(file) + ".~" + std::to_string(n) + "~.dat";
}
