#include "runs/run_files.h"

namespace {

std::string Stem(const std::string& file) {
  const std::string dat = ".dat";
  if (file.size() > dat.size() && file.compare(file.size() - dat.size(), dat.size(), dat) == 0)
    return file.substr(0, file.size() - dat.size());
  return file;
}

}  // namespace

std::string SetFolderName(const std::string& file) { return Stem(file) + ".runs"; }

std::string SetIdentityFileName(const std::string& file) { return SetFolderName(file) + "/set.txt"; }

std::string RunFileName(const std::string& file, int k) {
  return SetFolderName(file) + "/run-" + std::to_string(k) + ".dat";
}

std::string RunBestFileName(const std::string& file, int k) {
  return SetFolderName(file) + "/run-" + std::to_string(k) + "-best.dat";
}

std::string RunStartFileName(const std::string& file, int k) {
  return SetFolderName(file) + "/run-" + std::to_string(k) + "-start.txt";
}

std::string BackupFileName(const std::string& file, int n) {
  return Stem(file) + ".~" + std::to_string(n) + "~.dat";
}

std::string SetFolderBackupName(const std::string& file, int n) {
  return SetFolderName(file) + ".~" + std::to_string(n) + "~";
}
