#include "train/run_check.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "runs/all_episodes.h"
#include "hosts/headless_host.h"
#include "platform/atomic_file.h"
#include "runs/path_entry.h"
#include "runs/population_files.h"
#include "runs/run_progress.h"
#include "train/stop_signals.h"
#include "runs/run_ranking.h"
#include "train/write_reason.h"
#include "train/train_text.h"

TRunChecks::TRunChecks(const TTrainOptions& options) : Options(options) {
  Strategy.restarts = false;  // alone a run only stops at its goal; in a set the set decides
  if (options.untilDeliveries) Strategy.goal = *options.untilDeliveries;
}

bool TRunChecks::Begin() {
  if (!On()) return true;
  TRankedFile kept;
  TUnrankedFile why;
  if (MeasureFile(Options.bestFile, kept, why)) {
    BestMean = kept.tally.MeanDeliveries();
    return true;
  }
  if (why.error == TLoadError::Missing) return true;
  ReportLoadFailure(Options.bestFile, why.error, why.size);
  return false;
}

bool TRunChecks::BeginPath(bool stored, int generation) {
  PathFile = TPopulationFiles(Options.file).Path;
  Path.clear();
  const TPathError read = ReadLearningPath(PathFile.c_str(), Path);
  if (read != TPathError::None && read != TPathError::Missing) {
    ReportPathFailure(PathFile, read);
    return false;
  }
  if (!stored) Path.clear();
  while (!Path.empty() && Path.back().generation > generation) Path.pop_back();
  if (const int error = CheckWritable(PathFile.c_str(), true); error != 0) {
    ReportWriteFailure(PathFile, error);
    return false;
  }
  return true;
}

bool TRunChecks::Due(int generation, bool last) const {
  const bool regular = IsCheckGeneration(Strategy, generation);
  return (On() && (last || regular)) || (KeepsPath() && regular);
}

bool TRunChecks::ExtendPath(const TWorld& world, const TEpisodeTally& tally) {
  if (!KeepsPath() || !IsCheckGeneration(Strategy, world.Generations)) return true;
  if (!Path.empty() && tally.MeanDeliveries() <= Path.back().MeanDeliveries()) return true;
  AppendToPath(Path, MakePathEntry(world.bestIndividual, world.Generations, tally));
  if (WriteLearningPath(PathFile.c_str(), Path)) return true;
  ReportWriteFailure(PathFile, errno);
  return false;
}

bool TRunChecks::Check(TWorld& world, bool& failed) {
  THeadlessHost host;
  host.View.Running = true;  // placing the ball asks nothing
  const TEpisodeTally tally = MeasureAllEpisodes(world.bestIndividual, host);
  if (!ExtendPath(world, tally)) {
    failed = true;
    return false;
  }
  if (!On()) return true;  // a run alone keeps only its path
  const double mean = tally.MeanDeliveries();
  if (mean > BestMean) {
    if (!world.DoSaveANN(Options.bestFile.c_str())) {
      ReportWriteFailure(Options.bestFile, errno);
      failed = true;
      return false;
    }
    BestMean = mean;
  }
  if (Options.member) {
    std::puts(FormatRunCheckLine(world.Generations, mean, BestMean).c_str());
    std::fflush(stdout);
    return AskToGoOn();
  }
  if (!Options.quiet) {
    std::fputs("\r", stderr);
    std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Generation %d: Ablagen je Episode %s (bisher bestes Netz %s)")),
                 world.Generations, FormatMean(mean).c_str(), FormatMean(BestMean).c_str());
    std::fputs("\033[K\n", stderr);
  }
  return JudgeRun(Strategy, world.Generations, BestMean) == TRunVerdict::Continue;
}

bool TRunChecks::AskToGoOn() {
  std::string answer;
  for (char c = 0; c != '\n';) {
    const ssize_t n = read(0, &c, 1);
    if (n == 1) {
      answer += c;
      continue;
    }
    if (n < 0 && errno == EINTR && !TStopSignals::Requested()) continue;
    return false;  // the set is gone, or a stop
  }
  return answer == "weiter\n";
}

void TRunChecks::ReportGeneration(const TWorld& world, const TGenerationFigures& figures) {
  if (!Options.member) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - LastTick < std::chrono::milliseconds(500)) return;
  LastTick = now;
  std::puts(FormatRunGenerationLine(world.Generations, figures.bestFitness, figures.bestDeliveries).c_str());
  std::fflush(stdout);
}
