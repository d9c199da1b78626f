#include "runs/population_files.h"

#include "history/fitness_log.h"
#include "history/learning_path.h"
#include "platform/population_lock.h"
#include "runs/run_files.h"

TPopulationFiles::TPopulationFiles(const std::string& file)
    : File(file.empty() ? DefaultPopulationFile : file),
      History(FitnessLogPathFor(File)),
      Path(LearningPathFor(File)),
      Lock(PopulationLockPath(File.c_str())) {}

std::string TPopulationFiles::SetFolder() const { return SetFolderName(File); }

std::string TPopulationFiles::Run(int k) const { return RunFileName(File, k); }

std::string TPopulationFiles::RunHistory(int k) const { return FitnessLogPathFor(Run(k)); }

std::string TPopulationFiles::RunBest(int k) const { return RunBestFileName(File, k); }

std::string TPopulationFiles::RunPath(int k) const { return LearningPathFor(Run(k)); }

std::string TPopulationFiles::Backup(int n) const { return BackupFileName(File, n); }

std::string TPopulationFiles::BackupHistory(int n) const { return FitnessLogPathFor(Backup(n)); }

std::string TPopulationFiles::BackupPath(int n) const { return LearningPathFor(Backup(n)); }

std::string PopulationBesidePath(const std::string& path) {
  constexpr std::string_view suffix = ".path";
  const std::string stem = path.size() > suffix.size() && path.ends_with(suffix) ? path.substr(0, path.size() - suffix.size()) : path;
  return stem.ends_with(suffix) ? stem : stem + ".dat";
}
