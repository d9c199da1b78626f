#include "train/many_runs.h"

#include <QCoreApplication>

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <optional>

#include "history/fitness_log.h"
#include "hosts/headless_host.h"
#include "platform/population_lock.h"
#include "runs/run_files.h"
#include "runs/run_progress.h"
#include "runs/run_ranking.h"
#include "runs/run_set.h"
#include "runs/run_winner.h"
#include "runs/set_identity.h"
#include "train/stop_signals.h"
#include "ann-ga/world.h"
#include "train/write_reason.h"
#include "train/train_text.h"

namespace {

// A run saves this often unless --checkpoint says otherwise: a stopped run
// loses little, and the file is written about once a second.
constexpr int DefaultRunCheckpoint = 25;

using TClock = std::chrono::steady_clock;

void PrintUnranked(const std::vector<TUnrankedFile>& unranked) {
  for (const TUnrankedFile& u : unranked)
    ReportLoadFailure(u.file, u.error, u.size);
}

std::string SelfPath() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "zarnik-train";
  path[n] = '\0';
  return path;
}

// One run's process: its stdin (our answers) and stdout (its lines).
struct TChild {
  pid_t pid = -1;
  int answers = -1;
  int lines = -1;
  std::string pending;  // a line not yet complete
  TClock::time_point lastLine{};
  long long workAtStart = 0;
};

// The run as `--run K --member` of the same set. It stays in our process
// group (a kill of the group ends it too) and gets SIGTERM when we end,
// however we end, so no run of a set outlives the command that started it.
// It also inherits the lock of FILE, so that no second command starts on the
// set while any of its runs lives.
bool Spawn(const std::string& exe, const TTrainOptions& o, uint64_t firstSeed, int k, std::optional<int> limit,
           int threads, int lock, TChild& child) {
  std::vector<std::string> args = {exe, "--run", std::to_string(k), "--seed", std::to_string(firstSeed), "--member",
                                   "--quiet", "--threads", std::to_string(threads)};
  if (limit) args.insert(args.end(), {"--until-generation", std::to_string(*limit)});
  args.insert(args.end(), {"--checkpoint", std::to_string(o.checkpoint > 0 ? o.checkpoint : DefaultRunCheckpoint)});
  args.push_back("--");
  args.push_back(o.file);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  int toChild[2], fromChild[2];
  if (pipe2(toChild, O_CLOEXEC) != 0) return false;
  if (pipe2(fromChild, O_CLOEXEC) != 0) {
    close(toChild[0]), close(toChild[1]);
    return false;
  }
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
    // Only async-signal-safe calls until exec.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);  // we are gone already
    signal(SIGPIPE, SIG_DFL);
    if (dup2(toChild[0], 0) < 0 || dup2(fromChild[1], 1) < 0 || fcntl(lock, F_SETFD, 0) != 0) _exit(127);
    execv(exe.c_str(), argv.data());
    _exit(127);
  }
  close(toChild[0]);
  close(fromChild[1]);
  if (pid < 0) {
    close(toChild[1]), close(fromChild[0]);
    return false;
  }
  child.pid = pid;
  child.answers = toChild[1];
  child.lines = fromChild[0];
  fcntl(child.lines, F_SETFL, O_NONBLOCK);
  return true;
}

void WriteAll(int fd, const std::string& text) {
  for (size_t at = 0; at < text.size();) {
    const ssize_t n = write(fd, text.data() + at, text.size() - at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // the run is gone; its end tells
    at += static_cast<size_t>(n);
  }
}

int TerminalWidth() {
  winsize w{};
  if (ioctl(2, TIOCGWINSZ, &w) == 0 && w.ws_col > 20) return w.ws_col;
  return 200;
}

// What a set shows while it runs: without --progress one line on stderr,
// refreshed on a terminal (otherwise every 10 seconds), and a line for every
// run that starts, is given up, meets the goal or fails; with --progress the
// machine-readable lines on stdout.
class TSetDisplay {
 public:
  TSetDisplay(const TTrainOptions& o, uint64_t firstSeed)
      : Options(o), FirstSeed(firstSeed), Tty(isatty(2) == 1), Start(TClock::now()) {}

  void Event(const TSetRun& r, const char* text) {
    if (Options.progress) {
      Machine(r);
      return;
    }
    if (Options.quiet) return;
    ClearLine();
    std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Lauf %d: %s\n")), r.index, text);
    std::fflush(stderr);
  }
  void Tick(const TSetRun& r, TClock::time_point& last) {
    if (!Options.progress || TClock::now() - last < std::chrono::seconds(1)) return;
    last = TClock::now();
    Machine(r);
  }
  void Line(const TRunSet& set, const std::map<int, TChild>& children, bool force) {
    if (Options.progress || Options.quiet) return;
    const TClock::time_point now = TClock::now();
    if (!force && now - LastShown < std::chrono::milliseconds(Tty ? 250 : 10000)) return;
    LastShown = now;
    const double elapsed = std::chrono::duration<double>(now - Start).count();
    std::string text;
    double remaining = -1;
    for (const TSetRun& r : set.Runs()) {
      if (!r.alive) continue;
      char part[192];
      std::snprintf(part, sizeof part, Tr(QT_TRANSLATE_NOOP("zarnik-train", "%sLauf %d: Gen. %d, Fitness %d, Ablagen %d, je Episode %s")), text.empty() ? "" : " | ",
                    r.index, r.generation, r.bestFitness, r.bestDeliveries, FormatMean(r.bestMean).c_str());
      text += part;
      const auto limit = set.GenerationLimit(r.index);
      const auto child = children.find(r.index);
      if (limit && child != children.end() && elapsed > 1) {
        const double done = static_cast<double>(r.Work() - child->second.workAtStart);
        if (done > 0) remaining = std::max(remaining, (*limit - r.generation) * elapsed / done);
      }
    }
    remaining = TimeLeft(remaining, Options.minutes, elapsed);
    char tail[96];
    if (remaining >= 0)
      std::snprintf(tail, sizeof tail, Tr(QT_TRANSLATE_NOOP("zarnik-train", " | %s, Rest %s")), FormatDuration(elapsed).c_str(),
                    FormatDuration(remaining).c_str());
    else
      std::snprintf(tail, sizeof tail, " | %s", FormatDuration(elapsed).c_str());
    text += tail;
    if (Tty) {
      const size_t width = static_cast<size_t>(TerminalWidth()) - 1;
      if (text.size() > width) text = "..." + text.substr(text.size() - width + 3);
      std::fprintf(stderr, "\r%s\033[K", text.c_str());
      Pending = true;
    } else {
      std::fprintf(stderr, "%s\n", text.c_str());
    }
    std::fflush(stderr);
  }
  void ClearLine() {
    if (Pending) std::fputs("\r\033[K", stderr);
    Pending = false;
  }

 private:
  void Machine(const TSetRun& r) {
    std::printf("%s\n", FormatRunProgressLine(r, FirstSeed + static_cast<uint64_t>(r.index)).c_str());
    std::fflush(stdout);
  }

  const TTrainOptions& Options;
  uint64_t FirstSeed;
  bool Tty, Pending = false;
  TClock::time_point Start, LastShown{};
};

// What a resumed set finds of run k: its generation and its kept best.
// Failures are remembered (with their message printed).
struct TFileReader {
  const std::string& file;
  bool failed = false;
  std::map<int, std::optional<TStoredRun>> seen;

  std::optional<TStoredRun> operator()(int k) {
    if (auto it = seen.find(k); it != seen.end()) return it->second;
    std::optional<TStoredRun> r = Read(k);
    seen[k] = r;
    return r;
  }
  std::optional<TStoredRun> Read(int k) {
    THeadlessHost host;
    auto world = MakeZarnikWorld(&host);
    size_t size = 0;
    const std::string name = RunFileName(file, k);
    const TLoadError e = world->LoadANN(name.c_str(), size);
    if (e == TLoadError::Missing) return std::nullopt;
    if (e != TLoadError::None) {
      ReportLoadFailure(name, e, size);
      failed = true;
      return std::nullopt;
    }
    TStoredRun r;
    r.generation = world->Generations;
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
bool OpenSet(const TTrainOptions& o, uint64_t& firstSeed) {
  std::optional<TSetIdentity> stored;
  if (!ReadSetIdentity(o.file, stored)) {
    const int error = errno;
    std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Kann Datei '%s' nicht laden: %s\n")),
                 SetIdentityFileName(o.file).c_str(),
                 error == EILSEQ ? Tr(QT_TRANSLATE_NOOP("zarnik-train", "unvollständig oder fremd")) : WriteReason(error));
    return false;
  }
  firstSeed = o.seed ? *o.seed : stored ? stored->seed : static_cast<uint64_t>(std::time(nullptr));
  const TSetIdentity asked{firstSeed, o.runs, o.untilDeliveries, !o.noRestart};
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

}  // namespace

void OneRunOfMany(const TTrainOptions& o, TTrainOptions& single) {
  single = o;
  single.run = -1;
  single.file = RunFileName(o.file, o.run);
  single.bestFile = RunBestFileName(o.file, o.run);
  single.seed = *o.seed + static_cast<uint64_t>(o.run);
  if (single.checkpoint == 0) single.checkpoint = DefaultRunCheckpoint;
}

namespace {

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

}  // namespace

int RankRunFiles(const std::vector<std::string>& files) {
  std::vector<TRankedFile> ranked;
  return RankAndPrint(files, ranked) ? 0 : 2;
}

int RunManyRuns(const TTrainOptions& o) {
  // Nobody else works on FILE while the set does (its runs each lock their own file too).
  TPopulationLock lock;
  if (!TakeLock(o.file, lock)) return 2;
  uint64_t firstSeed = 0;
  if (!OpenSet(o, firstSeed)) return 2;
  TRunStrategyDef def = DefaultRunStrategyDef();
  def.restarts = !o.noRestart;
  if (o.untilDeliveries) def.goal = *o.untilDeliveries;
  TRunSet set(def, o.runs, o.untilGeneration);
  TFileReader reader{o.file, false, {}};
  set.Resume(std::ref(reader));
  if (reader.failed) return 2;

  std::optional<TStopSignals> stops(std::in_place, TStopSignals::TSecond::Counts);
  struct sigaction oldPipe, ignore = {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &oldPipe);

  // Every run at once, one thread each unless --threads gives more.
  const int threadsEach = std::max(1, o.threads / o.runs);
  const std::string exe = SelfPath();
  TSetDisplay display(o, firstSeed);
  if (!o.quiet && !o.progress)
    std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: %d Läufe gleichzeitig ab Startwert %llu, je %d Thread(s)%s\n")), o.runs,
                 static_cast<unsigned long long>(firstSeed), threadsEach,
                 def.restarts ? Tr(QT_TRANSLATE_NOOP("zarnik-train", ", Neustart ohne Fortschritt")) : "");
  for (const TSetRun& r : set.Runs())
    if (r.state != TRunState::Waiting) display.Event(r, r.state == TRunState::Goal ? Tr(QT_TRANSLATE_NOOP("zarnik-train", "hat das Ziel schon erreicht")) : Tr(QT_TRANSLATE_NOOP("zarnik-train", "schon beendet")));

  std::map<int, TChild> children;
  const TClock::time_point start = TClock::now();
  int forwarded = 0;
  bool failed = false;
  const auto stopChildren = [&](int signal) {
    for (auto& [k, c] : children) kill(c.pid, signal);
  };
  for (;;) {
    // Stops: each one passed on; the second ends every run at once.
    const int stopped = TStopSignals::Count();
    if (stopped > forwarded) {
      set.StopAll();
      stopChildren(stopped >= 2 ? SIGKILL : SIGTERM);
      forwarded = stopped;
    }
    if (o.minutes && !set.IsStopping() &&
        std::chrono::duration<double>(TClock::now() - start).count() >= *o.minutes * 60) {
      set.StopAll();
      stopChildren(SIGTERM);
    }
    for (int k : set.Waiting()) {
      TSetRun& r = *set.Find(k);
      TChild c;
      c.workAtStart = r.Work();
      if (static_cast<uint64_t>(k) > UINT64_MAX - firstSeed ||
          !Spawn(exe, o, firstSeed, k, set.GenerationLimit(k), threadsEach, lock.Descriptor(), c)) {
        std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Lauf %d lässt sich nicht starten\n")), k);
        set.Started(k);
        set.OnEnd(k, TRunSet::TEnd::Failed);
        failed = true;
        set.StopAll();
        stopChildren(SIGTERM);
        continue;
      }
      set.Started(k);
      children[k] = c;
      char text[160];
      std::snprintf(text, sizeof text, Tr(QT_TRANSLATE_NOOP("zarnik-train", "Startwert %llu, '%s'%s")), static_cast<unsigned long long>(firstSeed + k),
                    RunFileName(o.file, k).c_str(), r.startWork > 0 ? Tr(QT_TRANSLATE_NOOP("zarnik-train", " (neu gestartet)")) : "");
      display.Event(*set.Find(k), text);
    }
    if (set.Finished()) break;

    std::vector<pollfd> fds;
    std::vector<int> order;
    for (auto& [k, c] : children)
      if (c.lines >= 0) {
        fds.push_back({c.lines, POLLIN, 0});
        order.push_back(k);
      }
    if (!fds.empty()) poll(fds.data(), fds.size(), 200);
    else usleep(20000);

    for (size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].revents == 0) continue;
      const int k = order[i];
      TChild& c = children[k];
      char buffer[4096];
      const ssize_t n = read(c.lines, buffer, sizeof buffer);
      if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (n <= 0) {
        close(c.lines);
        c.lines = -1;
        continue;
      }
      c.pending.append(buffer, static_cast<size_t>(n));
      for (size_t end; (end = c.pending.find('\n')) != std::string::npos;) {
        const std::string line = c.pending.substr(0, end);
        c.pending.erase(0, end + 1);
        TSetRun& r = *set.Find(k);
        TRunLine said;
        if (!ParseRunLine(line, said)) continue;
        if (said.kind == TRunLine::TKind::Generation) {
          r.generation = said.generation;
          r.bestFitness = said.bestFitness;
          r.bestDeliveries = said.bestDeliveries;
          display.Tick(r, c.lastLine);
        } else {
          const bool goOn = set.OnCheck(k, said.generation, said.mean, said.bestMean);
          WriteAll(c.answers, goOn ? "weiter\n" : "halt\n");
          const TSetRun& now = *set.Find(k);
          char text[160];
          std::snprintf(text, sizeof text, Tr(QT_TRANSLATE_NOOP("zarnik-train", "Generation %d, %s Ablagen je Episode in allen 100 Episoden")), said.generation,
                        FormatMean(said.bestMean).c_str());
          const char* what = now.state == TRunState::Goal        ? Tr(QT_TRANSLATE_NOOP("zarnik-train", ": Ziel erreicht"))
                             : now.state == TRunState::Restarted ? Tr(QT_TRANSLATE_NOOP("zarnik-train", ": aufgegeben, ein neuer Lauf beginnt"))
                                                                 : nullptr;
          if (o.progress || what) display.Event(now, (std::string(text) + (what ? what : "")).c_str());
        }
      }
    }

    // Runs whose lines have ended: their process's end.
    for (auto it = children.begin(); it != children.end();) {
      TChild& c = it->second;
      int status = 0;
      if (c.lines >= 0 || waitpid(c.pid, &status, WNOHANG) != c.pid) {
        ++it;
        continue;
      }
      const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      // A run that a stop ended, by its own save or by the second signal, is stopped, not failed.
      // Ctrl-C reaches the runs of our process group as soon as us: the stop counts before we pass it on.
      const bool byStop = (set.IsStopping() || TStopSignals::Requested()) && (code == 130 || WIFSIGNALED(status));
      const TRunSet::TEnd end = code == 0 ? TRunSet::TEnd::Clean : byStop ? TRunSet::TEnd::Stopped : TRunSet::TEnd::Failed;
      close(c.answers);
      const int k = it->first;
      it = children.erase(it);
      set.OnEnd(k, end);
      const TSetRun& r = *set.Find(k);
      if (end == TRunSet::TEnd::Failed) {
        char text[64];
        std::snprintf(text, sizeof text, Tr(QT_TRANSLATE_NOOP("zarnik-train", "endete mit Status %d")), code);
        display.Event(r, text);
        if (!set.IsStopping()) {
          failed = true;
          set.StopAll();
          stopChildren(SIGTERM);
        }
      } else if (o.progress) {
        display.Event(r, "");
      }
    }
    display.Line(set, children, false);
  }
  display.ClearLine();
  const bool interrupted = TStopSignals::Requested();
  stops.reset();
  sigaction(SIGPIPE, &oldPipe, nullptr);

  if (interrupted) {
    std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: unterbrochen; derselbe Aufruf setzt jeden Lauf fort\n")));
    return 130;
  }
  if (failed) return 2;

  // The ranking of every run's kept best; the winner is the run that met
  // the goal first, otherwise the first of the ranking.
  // A run stopped (by --minutes) before its first check has no kept best yet: it is not ranked.
  std::vector<std::string> files;
  for (const TSetRun& r : set.Runs())
    if (r.state != TRunState::Waiting && access(RunBestFileName(o.file, r.index).c_str(), F_OK) == 0)
      files.push_back(RunBestFileName(o.file, r.index));
  std::vector<TRankedFile> ranked;
  if (!RankAndPrint(files, ranked)) return 2;
  std::string winner;
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
  winner = RunBestFileName(o.file, winnerRun);
  TWinnerCopy copy;
  TCopyFailure why;
  if (!CopyWinner(winner, FitnessLogPathFor(RunFileName(o.file, winnerRun)), o.file, copy, why)) {
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
  std::fflush(stdout);
  return 0;
}
