#include "train/many_runs.h"

#include <QCoreApplication>

#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <optional>
#include <set>

#include "ann-ga/world.h"
#include "history/fitness_log.h"
#include "platform/population_lock.h"
#include "platform/regular_file.h"
#include "platform/atomic_file.h"
#include "runs/place_record.h"
#include "runs/population_files.h"
#include "runs/run_files.h"
#include "runs/run_progress.h"
#include "runs/run_ranking.h"
#include "runs/run_set.h"
#include "runs/run_start.h"
#include "runs/run_winner.h"
#include "runs/set_checks.h"
#include "runs/set_goal.h"
#include "runs/set_identity.h"
#include "runs/set_summary.h"
#include "train/path_commands.h"
#include "train/run_process.h"
#include "train/set_display.h"
#include "train/set_plot.h"
#include "train/stop_signals.h"
#include "train/train_text.h"
#include "train/write_reason.h"

namespace {

using TClock = std::chrono::steady_clock;

void PrintUnranked(const std::vector<TUnrankedFile>& unranked) {
  for (const TUnrankedFile& u : unranked) ReportUnranked(u);
}

// What a resumed set finds of run k: its generation and its kept best.
// Failures are remembered (with their message printed).
struct TFileReader {
  const std::string& file;
  bool starts = false;  // "exploit": runs after the first of a place have a start file
  bool failed = false;
  std::map<int, std::optional<TStoredRun>> seen;

  std::optional<TStoredRun> operator()(int k) {
    if (auto it = seen.find(k); it != seen.end()) return it->second;
    std::optional<TStoredRun> r = Read(k);
    seen[k] = r;
    return r;
  }
  std::optional<TStoredRun> Read(int k) {
    std::optional<TRunStart> start;
    if (starts && !ReadRunStart(file, k, start)) {
      const int error = errno;  // before the name is built
      ReportUnreadable(RunStartFileName(file, k), error);
      failed = true;
      return std::nullopt;
    }
    // A begun copy is made again first if a stop came between its start and its population.
    if (start && !CompleteCopy(file, k, *start)) {
      ReportWriteFailure(RunFileName(file, k), errno);
      failed = true;
      return std::nullopt;
    }
    size_t size = 0;
    const std::string name = RunFileName(file, k);
    TNetworkFileHeader header;
    const TLoadError e = ReadNetworkFileHeader(name.c_str(), header, size);
    // A begun run that had not stored its population yet begins again.
    if (e == TLoadError::Missing && start) return TStoredRun{.start = start};
    if (e == TLoadError::Missing) return std::nullopt;
    if (e != TLoadError::None) {
      ReportLoadFailure(name, e, size);
      failed = true;
      return std::nullopt;
    }
    TStoredRun r;
    r.start = start;
    r.generation = header.Generations;
    TRankedFile best;
    TUnrankedFile why;
    if (MeasureFile(RunBestFileName(file, k), best, why)) {
      r.bestMean = best.tally.MeanDeliveries();
      r.bestGeneration = best.generations;
    } else if (why.error != TLoadError::Missing) {
      ReportLoadFailure(why.file, why.error, why.size);
      failed = true;
    }
    return r;
  }
};

// The set's folder with what the set is: the same call continues it (without
// --seed: with the seed it began with), a different one is refused.
// --collect only reads a set that is there (`mustExist`).
bool OpenSet(const TTrainOptions& o, uint64_t& firstSeed, TSetIdentity* identity = nullptr, bool mustExist = false) {
  std::optional<TSetIdentity> stored;
  if (!ReadSetIdentity(o.file, stored)) {
    const int error = errno;  // before the name is built
    ReportUnreadable(SetIdentityFileName(o.file), error);
    return false;
  }
  firstSeed = o.seed ? *o.seed : stored ? stored->seed : static_cast<uint64_t>(std::time(nullptr));
  const TSetIdentity asked{firstSeed, o.runs, o.untilDeliveries, !o.noRestart, o.strategy};
  if (identity) *identity = asked;
  if (!stored && mustExist) {
    ReportUnreadable(SetIdentityFileName(o.file), ENOENT);
    return false;
  }
  if (!stored) {
    if (WriteSetIdentity(o.file, asked)) return true;
    ReportWriteFailure(SetIdentityFileName(o.file), errno);
    return false;
  }
  if (const auto d = FirstDifference(*stored, asked)) {
    const QString difference = QCoreApplication::translate("zarnik-train", d->format)
                                   .arg(QString::fromStdString(d->stored), QString::fromStdString(d->asked));
    const QString folder = QString::fromStdString(SetFolderName(o.file));
    std::fprintf(stderr, "%s\n",
                 QCoreApplication::translate("zarnik-train",
                                             "zarnik-train: In '%1' liegt ein anderer Satz von Läufen (%2); derselbe "
                                             "Aufruf setzt ihn fort, für einen neuen '%1' umbenennen")
                     .arg(folder, difference)
                     .toLocal8Bit()
                     .constData());
    return false;
  }
  return true;
}

// Ranks `files`, prints the table on stdout and the files that could not be
// ranked on stderr; false if there were any.
bool RankAndPrint(const std::vector<std::string>& files, std::vector<TRankedFile>& ranked) {
  std::vector<TUnrankedFile> unranked;
  RankFiles(files, ranked, unranked);
  if (!ranked.empty()) std::fputs(FormatRanking(ranked, Tr).c_str(), stdout);
  std::fflush(stdout);
  PrintUnranked(unranked);
  return unranked.empty();
}

// While a set runs: a broken pipe to a run that is gone is told by its end, not by a signal.
struct TPipesIgnored {
  struct sigaction old {};
  TPipesIgnored() {
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &old);
  }
  ~TPipesIgnored() { sigaction(SIGPIPE, &old, nullptr); }
};

// The set at work: its runs' processes started as the set decides, their
// lines read and answered, their ends taken in, stops passed on.
class TSetDriver {
 public:
  // `lock`: FILE's, passed on to the runs; -1 for a place, which shares FILE with the other places.
  TSetDriver(const TTrainOptions& o, uint64_t firstSeed, int lock, const TSetIdentity& identity)
      : Options(o), FirstSeed(firstSeed), Lock(lock), Identity(identity),
        Set(o.place >= 0 ? TRunSet(Strategy(o), o.runs, o.untilGeneration, o.place)
                         : TRunSet(Strategy(o), o.runs, o.untilGeneration)),
        ThreadsEach(o.place >= 0 ? o.threads : std::max(1, o.threads / o.runs)), Exe(SelfPath()), Display(o, firstSeed) {}

  // What the runs' files say; false (with the reasons printed) if one cannot be read.
  bool Resume() {
    TFileReader reader{Options.file, Options.strategy == TSetStrategy::Exploit, false, {}};
    Set.Resume(std::ref(reader));
    if (reader.failed) return false;
    if (!Alone()) return true;
    // A place that met the goal before it was stopped says so again, in case its note was lost or damaged.
    for (const TSetRun& r : Set.Runs())
      if (r.slot == Options.place && r.state == TRunState::Goal && !NoteGoal(r)) return false;
    HearGoals();
    return true;
  }

  static TRunStrategyDef Strategy(const TTrainOptions& o) {
    TRunStrategyDef def = DefaultRunStrategyDef();
    def.restarts = !o.noRestart;
    def.kind = o.strategy;
    if (o.untilDeliveries) def.goal = *o.untilDeliveries;
    return def;
  }

  // How this place ended, for its record.
  TPlaceEnd PlaceEnd() const {
    const TSetRun* last = nullptr;
    for (const TSetRun& r : Set.Runs())
      if (r.slot == Options.place && (r.state != TRunState::Waiting || !last)) last = &r;
    if (Failure || !last || last->state == TRunState::Failed) return TPlaceEnd::Failed;
    if (last->state == TRunState::Goal) return TPlaceEnd::Goal;
    if (last->state == TRunState::Done)
      return Set.GoalWork() && last->Work() >= *Set.GoalWork() ? TPlaceEnd::AfterGoal : TPlaceEnd::Limit;
    return TPlaceEnd::Stopped;
  }
  long long PlaceWork() const {
    long long work = 0;
    for (const TSetRun& r : Set.Runs())
      if (r.slot == Options.place) work = std::max(work, r.Work());
    return work;
  }

  void Announce() {
    if (!Options.quiet && !Options.progress)
      std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: %d Läufe gleichzeitig ab Startwert %llu, je %d Thread(s)%s\n")),
                   Options.runs, static_cast<unsigned long long>(FirstSeed), ThreadsEach,
                   Options.noRestart ? "" : Tr(QT_TRANSLATE_NOOP("zarnik-train", ", Neustart ohne Fortschritt")));
    for (const TSetRun& r : Set.Runs())
      if (r.state != TRunState::Waiting)
        Display.Event(r, r.state == TRunState::Goal ? Tr(QT_TRANSLATE_NOOP("zarnik-train", "hat das Ziel schon erreicht"))
                                                    : Tr(QT_TRANSLATE_NOOP("zarnik-train", "schon beendet")));
  }

  // One round: stops, new runs, their lines, their ends; false once the set is over.
  bool Step() {
    PassOnStops();
    StartWaiting();
    if (Set.Finished()) return false;
    ReadLines();
    TakeEnded();
    Display.Line(Set, Processes, false);
    return true;
  }

  void Finish() { Display.ClearLine(); }
  bool Failed() const { return Failure; }
  const TRunSet& Runs() const { return Set; }

 private:
  bool Alone() const { return Options.place >= 0; }

  // The other places' notes of the goal: the earliest work ends this place there.
  void HearGoals() {
    const TGoalNotes notes = ReadGoalNotes(Options.file, Identity);
    for (const std::string& name : notes.ignored)
      if (Ignored.insert(name).second)
        std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: '%s' ist beschädigt oder gehört zu einem anderen Satz; nicht beachtet\n")),
                     name.c_str());
    std::vector<TGoalNote> upheld;
    for (const TGoalNote& note : notes.taken) {
      auto seen = Checked.find(note.place);
      if (seen == Checked.end() || seen->second.first != note) {
        // Measured once (some 15 ms): a stale note must not end the place early.
        const bool holds = GoalNoteHoldsUp(Options.file, note, *Identity.goal);
        seen = Checked.insert_or_assign(note.place, std::pair(note, holds)).first;
        if (!holds)
          std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: '%s' passt nicht zum besten Netz seines Laufs; nicht beachtet\n")),
                       GoalNoteFileName(Options.file, note.place).c_str());
      }
      if (seen->second.second) upheld.push_back(note);
    }
    if (const std::optional<long long> work = EarliestGoalWork(upheld)) Set.HeardGoal(*work);
  }

  // This place's run met the goal: the other places learn it from its note.
  bool NoteGoal(const TSetRun& r) {
    const TGoalNote note{FirstSeed, Options.runs, Options.place, r.index, r.Work(), r.bestMean};
    std::string bytes;
    TGoalNote stored;
    if (ReadRegularFile(GoalNoteFileName(Options.file, Options.place).c_str(), bytes, 4096) &&
        ParseGoalNote(bytes, stored) && stored == note)
      return true;
    if (WriteGoalNote(Options.file, note)) return true;
    ReportWriteFailure(GoalNoteFileName(Options.file, Options.place), errno);
    Failure = true;
    return false;
  }

  void StopAll(int signal) {
    Set.StopAll();
    for (auto& [k, p] : Processes) kill(p.pid, signal);
  }

  // Each stop signal passed on; the second ends every run at once. --minutes ends the set as the first does.
  void PassOnStops() {
    const int stopped = TStopSignals::Count();
    if (stopped > Forwarded) {
      StopAll(stopped >= 2 ? SIGKILL : SIGTERM);
      Forwarded = stopped;
    }
    if (Options.minutes && !Set.IsStopping() &&
        std::chrono::duration<double>(TClock::now() - Start).count() >= *Options.minutes * 60)
      StopAll(SIGTERM);
  }

  void StartWaiting() {
    // A place learns of a goal before it begins a run, so that it begins none past it.
    if (Alone() && !Set.Waiting().empty()) HearGoals();
    for (int k : Set.Waiting()) {
      TSetRun& r = *Set.Find(k);
      TRunProcess p;
      p.workAtStart = r.Work();
      const bool started = static_cast<uint64_t>(k) <= UINT64_MAX - FirstSeed &&
                           StartRunProcess(Exe, Options, FirstSeed, k, Set.GenerationLimit(k), ThreadsEach, Lock, p);
      Set.Started(k);
      if (!started) {
        std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Lauf %d lässt sich nicht starten\n")), k);
        Set.OnEnd(k, TRunSet::TEnd::Failed);
        Failure = true;
        StopAll(SIGTERM);
        continue;
      }
      Processes[k] = p;
      char text[192], from[96] = "";
      if (r.from >= 0)
        std::snprintf(from, sizeof from, Tr(QT_TRANSLATE_NOOP("zarnik-train", " (neu gestartet mit Lauf %d aus Generation %d)")),
                      r.from, r.startGeneration);
      std::snprintf(text, sizeof text, Tr(QT_TRANSLATE_NOOP("zarnik-train", "Startwert %llu, '%s'%s")),
                    static_cast<unsigned long long>(FirstSeed + k), RunFileName(Options.file, k).c_str(),
                    r.from >= 0 ? from : r.startWork > 0 ? Tr(QT_TRANSLATE_NOOP("zarnik-train", " (neu gestartet)")) : "");
      Display.Event(*Set.Find(k), text);
      if (r.from >= 0) Display.Began(*Set.Find(k));
    }
  }

  // Waits up to 200 ms for lines of any run, then takes in what came.
  void ReadLines() {
    std::vector<pollfd> fds;
    std::vector<int> order;
    for (auto& [k, p] : Processes)
      if (p.lines >= 0) {
        fds.push_back({p.lines, POLLIN, 0});
        order.push_back(k);
      }
    if (fds.empty()) {
      usleep(20000);
      return;
    }
    poll(fds.data(), fds.size(), 200);
    for (size_t i = 0; i < fds.size(); ++i)
      if (fds[i].revents != 0) ReadFrom(order[i], Processes[order[i]]);
  }

  void ReadFrom(int k, TRunProcess& p) {
    char buffer[4096];
    const ssize_t n = read(p.lines, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
    if (n <= 0) {
      close(p.lines);
      p.lines = -1;
      return;
    }
    p.pending.append(buffer, static_cast<size_t>(n));
    for (size_t end; (end = p.pending.find('\n')) != std::string::npos;) {
      const std::string line = p.pending.substr(0, end);
      p.pending.erase(0, end + 1);
      TRunLine said;
      if (ParseRunLine(line, said)) Heard(k, p, said);
    }
  }

  // A run's line: its progress, or a check that the set answers.
  void Heard(int k, TRunProcess& p, const TRunLine& said) {
    if (said.kind == TRunLine::TKind::Generation) {
      TSetRun& r = *Set.Find(k);
      r.generation = said.generation;
      r.bestFitness = said.bestFitness;
      r.bestDeliveries = said.bestDeliveries;
      Display.RunProgressed(r, p.lastLine);
      return;
    }
    if (Alone()) HearGoals();
    const TRunSet::TAnswer answer = Set.OnCheck(k, said.generation, said.mean, said.bestMean);
    if (!Alone()) Record(*Set.Find(k), said);  // places on other machines would share one file
    if (Alone() && Set.Find(k)->state == TRunState::Goal && !NoteGoal(*Set.Find(k))) StopAll(SIGTERM);
    if (answer != TRunSet::TAnswer::Held) Answer(k, answer == TRunSet::TAnswer::GoOn);
    if (answer != TRunSet::TAnswer::Held || Options.progress) Told(k, said);
    while (const std::optional<TRunSet::TRound> round = Set.DecideRound()) Decided(*round);
  }

  // The check kept for the set's picture; a failure is told once and the set goes on without it.
  void Record(const TSetRun& r, const TRunLine& said) {
    const TSetCheck check{r.index, r.slot, r.startWork + said.generation - r.startGeneration, said.mean, r.startWork, r.from};
    if (AppendSetCheck(Options.file, check) || RecordFailed) return;
    ReportWriteFailure(SetChecksFileName(Options.file), errno);
    RecordFailed = true;
  }

  void Answer(int k, bool goOn) {
    if (auto p = Processes.find(k); p != Processes.end()) WriteAll(p->second.answers, goOn ? "weiter\n" : "halt\n");
  }

  // A round's decisions: the runs begun are stored (and copied) before any run hears its answer, so that
  // a donor's kept best is still the one decided on, and a stop in between decides the same again.
  void Decided(const TRunSet::TRound& round) {
    for (int k : round.begun)
      if (!BeginRun(Options.file, k, Set.StartOf(*Set.Find(k)))) {
        ReportWriteFailure(RunStartFileName(Options.file, k), errno);
        Failure = true;
        StopAll(SIGTERM);
        return;
      }
    for (const auto& [k, goOn] : round.answers) {
      Answer(k, goOn);
      const TSetRun& r = *Set.Find(k);
      if (r.state != TRunState::Running) Told(k, {TRunLine::TKind::Check, r.generation, 0, 0, r.validatedMean, r.bestMean});
    }
  }

  // What a check of run k said, as the set took it.
  void Told(int k, const TRunLine& said) {
    const TSetRun& r = *Set.Find(k);  // found again: a restart may have added a run
    char text[160];
    std::snprintf(text, sizeof text, Tr(QT_TRANSLATE_NOOP("zarnik-train", "Generation %d, %s Ablagen je Episode in allen 100 Episoden")),
                  said.generation, FormatMean(said.bestMean).c_str());
    const char* what = r.state == TRunState::Goal        ? Tr(QT_TRANSLATE_NOOP("zarnik-train", ": Ziel erreicht"))
                       : r.state == TRunState::Restarted ? Tr(QT_TRANSLATE_NOOP("zarnik-train", ": aufgegeben, ein neuer Lauf beginnt"))
                                                         : nullptr;
    if (Options.progress || what) Display.Event(r, (std::string(text) + (what ? what : "")).c_str());
  }

  // Runs whose lines have ended: their process's end.
  void TakeEnded() {
    for (auto it = Processes.begin(); it != Processes.end();) {
      TRunProcess& p = it->second;
      int status = 0;
      if (p.lines >= 0 || waitpid(p.pid, &status, WNOHANG) != p.pid) {
        ++it;
        continue;
      }
      close(p.answers);
      const int k = it->first;
      it = Processes.erase(it);
      Ended(k, status);
    }
  }

  void Ended(int k, int status) {
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    // A run that a stop ended, by its own save or by the second signal, is stopped, not failed. Ctrl-C
    // reaches the runs of our process group as soon as us: the stop counts before we pass it on.
    const bool byStop = (Set.IsStopping() || TStopSignals::Requested()) && (code == 130 || WIFSIGNALED(status));
    const TRunSet::TEnd end = code == 0 ? TRunSet::TEnd::Clean : byStop ? TRunSet::TEnd::Stopped : TRunSet::TEnd::Failed;
    Set.OnEnd(k, end);
    const TSetRun& r = *Set.Find(k);
    if (end != TRunSet::TEnd::Failed) {
      if (Options.progress) Display.Event(r, "");
      return;
    }
    char text[64];
    std::snprintf(text, sizeof text, Tr(QT_TRANSLATE_NOOP("zarnik-train", "endete mit Status %d")), code);
    Display.Event(r, text);
    if (!Set.IsStopping()) {
      Failure = true;
      StopAll(SIGTERM);
    }
  }

  const TTrainOptions& Options;
  const uint64_t FirstSeed;
  const int Lock;
  const TSetIdentity Identity;
  TRunSet Set;
  const int ThreadsEach;  // every run at once, one thread each unless --threads gives more
  const std::string Exe;
  TSetDisplay Display;
  std::map<int, TRunProcess> Processes;
  const TClock::time_point Start = TClock::now();
  int Forwarded = 0;
  bool Failure = false;
  bool RecordFailed = false;
  std::set<std::string> Ignored;  // goal notes not taken, named once
  std::map<int, std::pair<TGoalNote, bool>> Checked;  // by place: the note measured, and whether it held up
};

// The ranking of every run's kept best; the winner, the run that met the
// goal first, otherwise the first of the ranking, copied to FILE.
// `winnerLine` gets the winner's line of the summary.
int RankAndCopyWinner(const TTrainOptions& o, const TRunSet& set, std::string* winnerLine = nullptr) {
  // A run stopped (by --minutes) before its first check has no kept best yet: it is not ranked. Collected
  // from files, every run with a kept best is.
  std::vector<std::string> files;
  for (const TSetRun& r : set.Runs())
    if ((r.state != TRunState::Waiting || o.collect) && access(RunBestFileName(o.file, r.index).c_str(), F_OK) == 0)
      files.push_back(RunBestFileName(o.file, r.index));
  std::vector<TRankedFile> ranked;
  if (!RankAndPrint(files, ranked)) return 2;
  int winnerRun = -1;
  if (const auto goal = set.GoalWinner()) {
    winnerRun = *goal;
  } else if (!ranked.empty()) {
    for (const TSetRun& r : set.Runs())
      if (RunBestFileName(o.file, r.index) == ranked.front().file) winnerRun = r.index;
  }
  if (winnerRun < 0) {
    std::printf(o.progress ? "nowinner\n" : Tr(QT_TRANSLATE_NOOP("zarnik-train", "Kein Gewinner: kein Lauf hat ein Netz geprüft\n")));
    return 0;
  }
  const TPopulationFiles names(o.file);
  const std::string winner = names.RunBest(winnerRun);
  TWinnerCopy copy;
  TCopyFailure why;
  if (!CopyWinner(winner, names.RunHistory(winnerRun), names.RunPath(winnerRun), o.file, copy, why)) {
    std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Gewinner '%s' nicht nach '%s' kopiert: Kann Datei '%s' nicht %s: %s\n")),
                 winner.c_str(), o.file.c_str(), why.file.c_str(), why.reading ? Tr(QT_TRANSLATE_NOOP("zarnik-train", "lesen")) : Tr(QT_TRANSLATE_NOOP("zarnik-train", "schreiben")),
                 why.error == EILSEQ ? Tr(QT_TRANSLATE_NOOP("zarnik-train", "unvollständig oder fremd")) : WriteReason(why.error));
    return 2;
  }
  std::string note;
  if (!copy.backup.empty())
    note = (copy.backupHistory.empty()
                ? QCoreApplication::translate("zarnik-train", "; das vorige '%1' liegt jetzt in '%2'")
                      .arg(QString::fromStdString(o.file), QString::fromStdString(copy.backup))
                : QCoreApplication::translate("zarnik-train", "; das vorige '%1' liegt jetzt in '%2', sein Verlauf in '%3'")
                      .arg(QString::fromStdString(o.file), QString::fromStdString(copy.backup),
                           QString::fromStdString(copy.backupHistory)))
               .toStdString();
  const bool goalMet = set.GoalWinner().has_value();
  std::printf(Tr(QT_TRANSLATE_NOOP("zarnik-train", "Gewinner: %s -> %s%s%s\n")), winner.c_str(), o.file.c_str(),
              goalMet || !o.untilDeliveries ? "" : Tr(QT_TRANSLATE_NOOP("zarnik-train", " (Ziel nicht erreicht: das beste Netz bisher)")), note.c_str());
  if (o.progress) std::printf("winner %s\n", o.file.c_str());
  if (winnerLine) {
    char text[512];
    std::snprintf(text, sizeof text, Tr(QT_TRANSLATE_NOOP("zarnik-train", "Gewinner: %s (Platz %d, Startwert %llu)%s")),
                  winner.c_str(), winnerRun % o.runs, static_cast<unsigned long long>(*o.seed + static_cast<uint64_t>(winnerRun)),
                  goalMet || !o.untilDeliveries ? "" : Tr(QT_TRANSLATE_NOOP("zarnik-train", " (Ziel nicht erreicht: das beste Netz bisher)")));
    *winnerLine = text;
  }
  std::fflush(stdout);
  return 0;
}

}  // namespace

void OneRunOfMany(const TTrainOptions& o, TTrainOptions& single) {
  single = o;
  single.run = -1;
  single.file = RunFileName(o.file, o.run);
  single.bestFile = RunBestFileName(o.file, o.run);
  single.seed = *o.seed + static_cast<uint64_t>(o.run);
  if (single.checkpoint == 0) single.checkpoint = DefaultRunCheckpoint;
}

int RankRunFiles(const std::vector<std::string>& files) {
  std::vector<TRankedFile> ranked;
  return RankAndPrint(files, ranked) ? 0 : 2;
}

namespace {

// CPU seconds of this process and of the runs it waited for.
double CpuSecondsSpent() {
  double total = 0;
  for (const int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
    rusage use{};
    if (getrusage(who, &use) == 0)
      total += use.ru_utime.tv_sec + use.ru_stime.tv_sec + (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
  }
  return total;
}

// --place K: one place of the set, as a cluster's task. It takes no lock of FILE (the other places share
// it, perhaps on other machines); each run still locks its own file. Its record says how often it began,
// how it ended and the CPU time of all its beginnings.
int RunPlace(const TTrainOptions& o) {
  uint64_t firstSeed = 0;
  TSetIdentity identity;
  if (!OpenSet(o, firstSeed, &identity)) return 2;
  std::optional<TPlaceRecord> before;
  if (!ReadPlaceRecord(o.file, o.place, before)) {
    const int error = errno;
    ReportUnreadable(PlaceRecordFileName(o.file, o.place), error);
    if (error != EILSEQ) return 2;  // a damaged record begins anew
  }
  TPlaceRecord record = before.value_or(TPlaceRecord{});
  ++record.starts;
  record.ended = TPlaceEnd::Running;
  const double cpuBefore = record.cpuSeconds;
  TSetDriver driver(o, firstSeed, -1, identity);
  if (!driver.Resume()) return 2;
  record.work = driver.PlaceWork();
  if (!WritePlaceRecord(o.file, o.place, record)) {
    ReportWriteFailure(PlaceRecordFileName(o.file, o.place), errno);
    return 2;
  }
  if (record.starts > 1 && !o.quiet)
    std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Platz %d setzt bei Generation %lld fort (Start %d)\n")),
                 o.place, record.work, record.starts);
  {
    const TStopSignals stops(TStopSignals::TSecond::Counts);
    const TPipesIgnored pipes;
    driver.Announce();
    while (driver.Step()) {
    }
    driver.Finish();
  }
  record.ended = TStopSignals::Requested() ? TPlaceEnd::Stopped : driver.PlaceEnd();
  record.work = driver.PlaceWork();
  record.cpuSeconds = cpuBefore + CpuSecondsSpent();
  if (!WritePlaceRecord(o.file, o.place, record)) {
    ReportWriteFailure(PlaceRecordFileName(o.file, o.place), errno);
    return 2;
  }
  if (record.ended == TPlaceEnd::Stopped) return 130;
  return record.ended == TPlaceEnd::Failed ? 2 : 0;
}

// --collect: the set of places as its files left it, ranked and summed up; the winner to FILE.
int CollectSet(const TTrainOptions& options) {
  TTrainOptions o = options;
  uint64_t firstSeed = 0;
  TSetIdentity identity;
  if (!OpenSet(o, firstSeed, &identity, true)) return 2;
  o.seed = firstSeed;
  TPopulationLock lock;
  if (!TakeLock(o.file, lock)) return 2;
  TRunSet set(TSetDriver::Strategy(o), o.runs, o.untilGeneration);
  TFileReader reader{o.file, o.strategy == TSetStrategy::Exploit, false, {}};
  set.Resume(std::ref(reader));
  std::vector<std::optional<TPlaceRecord>> records(static_cast<size_t>(o.runs));
  for (int p = 0; p < o.runs; ++p)
    if (!ReadPlaceRecord(o.file, p, records[p])) {
      const int error = errno;  // before the name is built
      ReportUnreadable(PlaceRecordFileName(o.file, p), error);
    }
  std::string winner;
  const int ranked = RankAndCopyWinner(o, set, &winner);
  const std::string page = FormatSetSummary(SummarizePlaces(set, firstSeed, records), winner, Tr);
  std::fputs(page.c_str(), stdout);
  std::fflush(stdout);
  const std::string summary = SetFolderName(o.file) + "/summary.txt";
  if (!WriteFileAtomically(summary.c_str(), page.data(), page.size())) {
    ReportWriteFailure(summary, errno);
    return 2;
  }
  return reader.failed ? 2 : ranked;
}

}  // namespace

int RunManyRuns(const TTrainOptions& o) {
  if (o.collect) return CollectSet(o);
  if (o.place >= 0) return RunPlace(o);
  if (RefusePlotName(o)) return 2;
  // Nobody else works on FILE while the set does (its runs each lock their own file too).
  TPopulationLock lock;
  if (!TakeLock(o.file, lock)) return 2;
  uint64_t firstSeed = 0;
  TSetIdentity identity;
  if (!OpenSet(o, firstSeed, &identity)) return 2;
  TSetDriver driver(o, firstSeed, lock.Descriptor(), identity);
  if (!driver.Resume()) return 2;
  {
    const TStopSignals stops(TStopSignals::TSecond::Counts);
    const TPipesIgnored pipes;
    driver.Announce();
    while (driver.Step()) {
    }
    driver.Finish();
  }
  // The picture shows how far the set got, also when it was stopped.
  const bool drawn = o.plot.empty() || WriteSetPlot(o);
  if (TStopSignals::Requested()) {
    std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: unterbrochen; derselbe Aufruf setzt jeden Lauf fort\n")));
    return 130;
  }
  if (driver.Failed()) return 2;
  const int ranked = RankAndCopyWinner(o, driver.Runs());
  return ranked == 0 && !drawn ? 2 : ranked;
}
