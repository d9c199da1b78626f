#include "train/trainer.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "history/fitness_log.h"
#include "hosts/headless_host.h"
#include "hosts/headless_pool.h"
#include "platform/link_rule.h"
#include "train/many_runs.h"
#include "train/network_transfer.h"
#include "train/path_commands.h"
#include "runs/path_entry.h"
#include "platform/population_lock.h"
#include "platform/regular_file.h"
#include "ann-ga/random.h"
#include "train/run_check.h"
#include "runs/population_files.h"
#include "runs/run_files.h"
#include "train/stop_signals.h"
#include "ann-ga/world.h"
#include "train/write_reason.h"
#include "train/train_text.h"

namespace {

using TClock = std::chrono::steady_clock;

// The main thread's host: the simulator of the serial path, and the end of
// every generation (fitness log, progress).
class TTrainHost : public THeadlessHost {
 public:
  void GenerationDone(const TGenerationFigures& figures) override {
    Last = figures;
    ++Done;
    if (Logs.empty()) return;
    const double seconds = std::chrono::duration<double>(TClock::now() - Start).count();
    char line[128];
    const size_t n = FormatFitnessRow(MakeFitnessRow(figures, seconds), line, sizeof line);
    // Out of the buffer at once, whole: a kill loses no row and tears none.
    for (TLog& log : Logs)
      if ((std::fwrite(line, 1, n, log.File) != n || std::fflush(log.File) != 0) && log.Error == 0) log.Error = errno;
  }
  // The rows so far on the disk, before the population that follows them is.
  bool SyncLog() {
    for (TLog& log : Logs)
      if (log.Error == 0 && fsync(fileno(log.File)) != 0) log.Error = errno;
    return !LogFailed();
  }
  bool LogFailed() const {
    for (const TLog& log : Logs)
      if (log.Error != 0) return true;
    return false;
  }
  struct TLog {
    std::string Path;
    FILE* File;
    int Error = 0;  // errno of the first failed write
  };
  TGenerationFigures Last{};
  long long Done = 0;
  std::vector<TLog> Logs;  // the history beside the file, and --log's copy
  TClock::time_point Start = TClock::now();
};

// One refreshing line on a terminal, otherwise a plain line every 10 seconds.
class TProgress {
 public:
  TProgress(bool quiet, std::optional<long long> generations, std::optional<double> minutes)
      : Quiet(quiet), Tty(isatty(2) == 1), Generations(generations), Minutes(minutes) {}

  void Show(const TTrainHost& host, long long added, bool force) {
    if (Quiet || host.Done == 0) return;
    const TClock::time_point now = TClock::now();
    const double interval = Tty ? 0.25 : 10.0;
    if (!force && std::chrono::duration<double>(now - LastShown).count() < interval) return;
    LastShown = now;
    const double elapsed = std::chrono::duration<double>(now - host.Start).count();
    const double rate = elapsed > 0 ? added / elapsed : 0.0;
    const std::string time = FormatDuration(elapsed);
    char rest[48] = "";
    const double remaining = TimeLeft(Generations && rate > 0 ? (*Generations - added) / rate : -1, Minutes, elapsed);
    if (remaining >= 0)
      std::snprintf(rest, sizeof rest, Tr(QT_TRANSLATE_NOOP("zarnik-train", "  Rest %s")), FormatDuration(remaining).c_str());
    const TGenerationFigures& f = host.Last;
    char deliveries[48] = "";
    if (f.mode == 2) std::snprintf(deliveries, sizeof deliveries, Tr(QT_TRANSLATE_NOOP("zarnik-train", "  Ablagen des Besten %d")), f.bestDeliveries);
    std::fprintf(stderr,
                 Tr(QT_TRANSLATE_NOOP("zarnik-train", "%sGeneration %d  best Fitness %d%s  avrg Fitness %d  Gen. of best %d  Gen/s %.1f  %s%s%s")),
                 Tty ? "\r" : "", f.generation, f.bestFitness, deliveries, f.averageFitness, f.generationOfBest, rate,
                 time.c_str(), rest, Tty ? "\033[K" : "\n");
    std::fflush(stderr);
    Pending = Tty;
  }
  void Finish() {
    if (Pending) std::fputc('\n', stderr);
    Pending = false;
  }

 private:
  bool Quiet, Tty, Pending = false;
  std::optional<long long> Generations;
  std::optional<double> Minutes;
  TClock::time_point LastShown{};
};

// A history, or --log, that cannot be appended to; nullptr if it can.
const char* AppendRefusal(const std::string& path) {
  const int error = CheckFitnessLogForAppend(path.c_str());
  return error == 0 ? nullptr : WriteReason(error);
}

bool Save(TWorld& world, const std::string& file) {
  if (world.DoSaveANN(file.c_str())) return true;
  ReportWriteFailure(file, errno);
  return false;
}

// The generation of the best and the passes without improvement are not
// stored in the population file; the history's row of the last stored
// generation holds the one, and so the other: a resumed run goes on as the
// uninterrupted one would have.
void ResumeBestFromHistory(TWorld& world, const std::optional<TFitnessRow>& last) {
  if (!last || last->mode != 2 || last->generation != world.Generations - 1) return;
  if (last->generationOfBest > last->generation) return;
  world.ResumeBestFoundAt(last->generationOfBest);
}

void UseSeedOf(const TTrainOptions& o) {
  if (o.seed)
    UseFixedRandomSeed(*o.seed);
  else
    UseClockRandomSeed();
}

// Everything that can refuse the run is checked before anything is written:
// --log, the directory, the population file and its temporary and lock files.
// `logPaths`: the histories the run appends to.
bool CheckRunFiles(const TTrainOptions& o, std::vector<std::string>& logPaths) {
  if (!o.log.empty() && IsSaveTargetOrTemporary(o.log.c_str(), o.file.c_str())) {
    std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: --log '%s' ist die Netzdatei '%s' oder ihre temporäre Datei\n")),
                 o.log.c_str(), o.file.c_str());
    return false;
  }
  logPaths = {TPopulationFiles(o.file).History};
  // The same file by another spelling or link gets its rows once.
  if (!o.log.empty() && !IsSaveTargetOrTemporary(o.log.c_str(), logPaths[0].c_str())) logPaths.push_back(o.log);
  const std::string dir = DirectoryOf(o.file);
  struct stat st = {};
  if (stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Kann Datei '%s' nicht laden: Verzeichnis '%s' fehlt\n")), o.file.c_str(),
                 dir.c_str());
    return false;
  }
  if (o.evaluate) return true;
  if (access(dir.c_str(), W_OK) != 0) {
    std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Kann Datei '%s' nicht schreiben: Verzeichnis '%s' nicht beschreibbar\n")),
                 o.file.c_str(), dir.c_str());
    return false;
  }
  // Something else in the population file's place is the load's to report.
  const int error = CheckWritable(o.file.c_str(), true, LockSuffixBytes);
  if (error != 0 && error != NotRegularFile) {
    ReportWriteFailure(o.file, error);
    return false;
  }
  return true;
}

// The population file, or a fresh population if there is none.
bool LoadPopulation(TWorld& world, const std::string& file, TLoadError& loaded) {
  size_t size = 0;
  loaded = world.LoadANN(file.c_str(), size);
  if (loaded == TLoadError::WrongSize) {
    std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Kann Datei '%s' nicht laden: falsche Größe (%zu statt %zu Bytes)\n")),
                 file.c_str(), size, world.FileSize());
    return false;
  }
  if (loaded != TLoadError::None && loaded != TLoadError::Missing) {
    ReportLoadFailure(file, loaded, size);
    return false;
  }
  return true;
}

// Every history the run will append to, with the names of its temporary
// files, before the first generation rather than after the last.
bool CheckHistories(const TTrainOptions& o, const std::vector<std::string>& logPaths) {
  for (const std::string& path : logPaths)
    if (const char* reason = AppendRefusal(path)) {
      std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Kann Datei '%s' nicht schreiben: %s\n")), path.c_str(), reason);
      return false;
    }
  if (!OwnerCanBeKept(o.file.c_str()))
    std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Datei '%s' gehört nach dem Speichern Benutzer %u statt ihrem Eigentümer\n")),
                 o.file.c_str(), static_cast<unsigned>(geteuid()));
  return true;
}

// --evaluate: every individual's fitness (and in training 2 its ball counts)
// as CSV on stdout; nothing is trained or written.
void PrintEvaluation(const TTrainOptions& o, TWorld& world, TTrainHost& host) {
  host.View.Running = true;
  if (o.mode == 2) {
    world.BeginTrainANN2();
    SeedRandomAtGeneration(world.Generations);
    world.calcFitness2();
  } else {
    world.BeginTrainANN1();
    world.calcFitness1();
  }
  // Mode 1 plays no episode: its counts stay empty.
  const auto counts = [&](const TChromosom& c) {
    std::string text(",");
    if (o.mode == 2)
      text = std::to_string(c.getBallCounts().takes) + "," + std::to_string(c.getBallCounts().deliveries);
    return text;
  };
  std::printf("index,fitness,takes,deliveries\n");
  for (int i = 0; i < TWorld::Individuals; ++i)
    std::printf("%d,%d,%s\n", i, world.Population[i].getFitness(), counts(world.Population[i]).c_str());
  std::printf("best,%d,%d,%s\n", world.bestIndividualIdx, world.bestFitness, counts(world.bestIndividual).c_str());
}

// The history goes beside the population file, where the window reads it;
// --log asks for a second copy. A resumed run trains again what its
// predecessor did after its last save: those rows go, and `lastRow` says
// where the best was found.
bool OpenHistories(const std::vector<std::string>& logPaths, TLoadError loaded, TWorld& world, TTrainHost& host,
                   std::optional<TFitnessRow>& lastRow) {
  for (const std::string& path : logPaths) {
    // Without a population the rows beside it belong to none (a run killed
    // before its first save): a fresh run begins them anew. A --log may
    // collect other runs' rows and keeps them.
    TFitnessLogResume resume;
    if (loaded == TLoadError::None) resume.StoredGeneration = world.Generations;
    else if (path == logPaths.front()) resume.StoredGeneration = 0;
    FILE* f = OpenFitnessLogForAppend(path.c_str(), resume);
    if (!f) {
      ReportWriteFailure(path, errno);
      return false;
    }
    if (host.Logs.empty() && resume.HasLastRow) lastRow = resume.LastRow;
    // Training 1 numbers its passes on from the history's, as the window does.
    if (host.Logs.empty()) world.NumberPassesAfter(resume.LastPass1);
    host.Logs.push_back({path, f});
  }
  return true;
}

struct THistoriesCloser {
  std::vector<TTrainHost::TLog>& logs;
  ~THistoriesCloser() {
    for (TTrainHost::TLog& log : logs) std::fclose(log.File);
  }
};

// When a run ends by itself: after so many generations (or passes) more, or
// after so many minutes. --until-generation counts from the generation the file holds.
struct TRunLimit {
  std::optional<long long> toAdd;
  std::optional<double> minutes;
  TClock::time_point start;

  bool Reached(long long added) const {
    return (toAdd && added >= *toAdd) ||
           (minutes && std::chrono::duration<double>(TClock::now() - start).count() >= *minutes * 60);
  }
};

TRunLimit LimitOf(const TTrainOptions& o, const TWorld& world) {
  std::optional<long long> toAdd = o.generations;
  if (o.untilGeneration) toAdd = std::max(0LL, *o.untilGeneration - world.Generations);
  return {toAdd, o.minutes, TClock::now()};
}

// Training 2 or 1 begins as F2 or F1 would; training 2 takes up its best's
// age from the history it goes on with.
void BeginTraining(int mode, TWorld& world, const std::optional<TFitnessRow>& lastRow) {
  if (mode == 2) {
    world.BeginTrainANN2();
    ResumeBestFromHistory(world, lastRow);
  } else {
    world.BeginTrainANN1();
  }
}

// One generation of training 2 or one pass of training 1; false when
// training 1 no longer improves. A training-2 run that ends on its own is
// started again, as pressing F2 again would.
bool TrainOnce(int mode, TWorld& world) {
  if (mode == 2) {
    if (!world.IsImprovement()) world.BeginTrainANN2();
    world.TrainGeneration2();
    return true;
  }
  if (!world.IsImprovement()) return false;
  world.TrainPass1();
  return true;
}

enum class TLoopState { GoOn, Ended, Failed };

// The run's check of its best, where one is due; it may end the run.
TLoopState CheckIfDue(TRunChecks& checks, TWorld& world, bool limitReached) {
  if (!checks.Due(world.Generations, limitReached)) return TLoopState::GoOn;
  bool failed = false;
  if (checks.Check(world, failed)) return TLoopState::GoOn;
  return failed ? TLoopState::Failed : TLoopState::Ended;
}

// After each generation the rows go to the disk before the population they
// lead up to; a failed history ends the run (the population is stored
// afterwards all the same), a failed checkpoint fails it.
TLoopState StoreAndCheck(const TTrainOptions& o, TRunChecks& checks, TWorld& world, TTrainHost& host,
                        long long added, const TRunLimit& limit) {
  const bool checkpoint = o.checkpoint > 0 && added % o.checkpoint == 0;
  if (checkpoint) host.SyncLog();
  if (host.LogFailed()) return TLoopState::Ended;
  if (checkpoint && !Save(world, o.file)) return TLoopState::Failed;
  checks.ReportGeneration(world, host.Last);
  if (TStopSignals::Requested()) return TLoopState::GoOn;  // the loop ends on it
  return CheckIfDue(checks, world, limit.Reached(added));
}

// Generations (or passes of training 1) until the limit, a stop, a failed
// history, a failed checkpoint or a check that ends the run; false if
// something could not be stored.
bool TrainLoop(const TTrainOptions& o, TRunChecks& checks, TWorld& world, TTrainHost& host,
               const std::optional<TFitnessRow>& lastRow) {
  const TRunLimit limit = LimitOf(o, world);
  TProgress progress(o.quiet, limit.toAdd, o.minutes);
  host.Start = limit.start;
  host.View.Running = true;
  BeginTraining(o.mode, world, lastRow);
  // A run resumed at a check (or with nothing left to do) is checked again
  // first: a check only ever stores a better best, so doing it twice is harmless.
  TLoopState state = TLoopState::GoOn;
  if (world.Generations > 0 || limit.Reached(0)) state = CheckIfDue(checks, world, limit.Reached(0));
  long long added = 0;
  while (state == TLoopState::GoOn && !limit.Reached(added) && !TStopSignals::Requested()) {
    if (!TrainOnce(o.mode, world)) break;
    ++added;
    progress.Show(host, added, false);
    state = StoreAndCheck(o, checks, world, host, added, limit);
  }
  host.AnnHasFinished();
  progress.Show(host, added, true);
  progress.Finish();
  return state != TLoopState::Failed;
}

// The histories to the disk, then the population (unless storing already
// failed); every history that could not be written is reported.
bool StoreAndReport(bool ok, TWorld& world, TTrainHost& host, const std::string& file) {
  host.SyncLog();
  if (ok && !Save(world, file)) ok = false;
  for (const TTrainHost::TLog& log : host.Logs)
    if (log.Error != 0) {
      ReportWriteFailure(log.Path, log.Error);
      ok = false;
    }
  return ok;
}

// One population file: checked, locked, loaded, then evaluated or trained.
int TrainFile(const TTrainOptions& o) {
  UserBreak = false;
  // Before the seed: measuring a kept best builds a population, which draws.
  TRunChecks checks(o);
  if (!checks.Begin()) return 2;
  UseSeedOf(o);

  TTrainHost host;
  TZarnikHostScope useHost(&host);
  auto world = MakeZarnikWorld(&host);
  std::vector<std::string> logPaths;
  if (!CheckRunFiles(o, logPaths)) return 2;
  TPopulationLock lock;
  if (!o.evaluate && !TakeLock(o.file, lock)) return 2;
  TLoadError loaded{};
  if (!LoadPopulation(*world, o.file, loaded)) return 2;
  if (!o.evaluate && !CheckHistories(o, logPaths)) return 2;
  if (!o.evaluate && o.mode == 2 && !checks.BeginPath(loaded == TLoadError::None, world->Generations)) return 2;

  // Workers start once, each playing several episodes side by side.
  std::unique_ptr<THeadlessPool> pool;
  if (o.mode == 2) {
    pool = std::make_unique<THeadlessPool>(o.threads);
    world->Pool = &pool->Pool();
  }
  if (o.evaluate) {
    PrintEvaluation(o, *world, host);
    world->Pool = nullptr;
    return 0;
  }
  THistoriesCloser closeHistories{host.Logs};
  std::optional<TFitnessRow> lastRow;
  if (!OpenHistories(logPaths, loaded, *world, host, lastRow)) return 2;
  // A run of a set hears a stop from the terminal and from the set as well:
  // every one asks for the same stop, which takes a generation at most.
  const TStopSignals stops(o.member ? TStopSignals::TSecond::Counts : TStopSignals::TSecond::EndsAtOnce);
  const bool trained = TrainLoop(o, checks, *world, host, lastRow);
  world->Pool = nullptr;
  if (!StoreAndReport(trained, *world, host, o.file)) return 2;
  return TStopSignals::Requested() ? 130 : 0;
}

}  // namespace

int RunTrainer(const TTrainOptions& o) {
  if (!o.rankFiles.empty()) return RankRunFiles(o.rankFiles);
  if (!o.exportJson.empty()) return ExportNetwork(o);
  if (!o.importJson.empty()) return ImportNetwork(o);
  if (!o.pathList.empty()) return ListLearningPath(o);
  if (!o.compareEntries.empty()) return CompareEntries(o);
  if (TPathEntryName entry; o.evaluate && ParsePathEntryName(o.file, entry)) return EvaluatePathEntry(o);
  if (o.runs > 0) return RunManyRuns(o);
  if (o.run >= 0) {
    TTrainOptions single;
    OneRunOfMany(o, single);
    // A run on its own (a cluster's task) makes the set's folder itself.
    if (mkdir(SetFolderName(o.file).c_str(), 0777) != 0 && errno != EEXIST) {
      ReportWriteFailure(SetFolderName(o.file), errno);
      return 2;
    }
    return RunTrainer(single);
  }
  return TrainFile(o);
}
