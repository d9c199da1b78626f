#include "many_runs.h"

#include <errno.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <numeric>

#include "atomic_file.h"
#include "fitness_log.h"
#include "headless_host.h"
#include "run_standing.h"
#include "world.h"
#include "write_reason.h"

extern char** environ;

namespace {

std::atomic<int> StopSignals{0};

// A run saves this often unless --checkpoint says otherwise: a stopped run
// loses little, and the file is written about once a second.
constexpr int DefaultRunCheckpoint = 25;

extern "C" void OnManyStop(int) { StopSignals.fetch_add(1); }

std::string Stem(const std::string& file) {
  const std::string dat = ".dat";
  if (file.size() > dat.size() && file.compare(file.size() - dat.size(), dat.size(), dat) == 0)
    return file.substr(0, file.size() - dat.size());
  return file;
}

struct TStanding {
  std::string file;
  TRunStanding standing;
};

// Loads `file` and measures its best; false (with a message) if it cannot be loaded.
bool Measure(const std::string& file, TStanding& out) {
  THeadlessHost host;
  host.View.Running = true;
  TZarnikHostScope useHost(&host);
  auto world = MakeZarnikWorld(&host);
  size_t size = 0;
  const TLoadError e = world->LoadANN(file.c_str(), size);
  if (e != TLoadError::None) {
    std::fprintf(stderr, "zarnik-train: Kann Datei '%s' nicht laden: %s\n", file.c_str(), LoadReason(e));
    return false;
  }
  UserBreak = false;
  out = {file, MeasureRunStanding(*world, host)};
  return true;
}

// Ranked, ties kept in the order given.
bool RankAndPrint(const std::vector<std::string>& files, std::vector<TStanding>& ranked) {
  ranked.clear();
  for (const std::string& f : files) {
    TStanding s;
    if (!Measure(f, s)) return false;
    ranked.push_back(s);
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const TStanding& a, const TStanding& b) { return RanksBefore(a.standing, b.standing); });
  std::printf("%4s  %-28s %12s %8s %10s %12s\n", "Rang", "Datei", "Generationen", "Ablagen", "Aufnahmen", "Fitness");
  for (size_t i = 0; i < ranked.size(); ++i) {
    const TRunStanding& s = ranked[i].standing;
    std::printf("%4zu  %-28s %12d %8lld %10lld %12d\n", i + 1, ranked[i].file.c_str(), s.generations,
                s.counts.deliveries, s.counts.takes, s.fitness);
  }
  std::printf("(Ablagen und Aufnahmen: Summe über %d Episoden mit denselben Podesthöhen; Fitness: ihr Mittel)\n",
              StandingEpisodes);
  std::fflush(stdout);
  return true;
}

bool ReadWhole(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  return !in.bad();
}

// Generations stored in a run's file; 0 if it does not exist yet, -1 (with a
// message) if it cannot be loaded.
int StoredGenerations(const std::string& file) {
  THeadlessHost host;
  auto world = MakeZarnikWorld(&host);
  size_t size = 0;
  const TLoadError e = world->LoadANN(file.c_str(), size);
  if (e == TLoadError::Missing) return 0;
  if (e != TLoadError::None) {
    std::fprintf(stderr, "zarnik-train: Kann Datei '%s' nicht laden: %s\n", file.c_str(), LoadReason(e));
    return -1;
  }
  return world->Generations;
}

std::string SelfPath() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "zarnik-train";
  path[n] = '\0';
  return path;
}

struct TRun {
  int k;
  uint64_t seed;
  std::string file;
  long long todo;
  pid_t pid = -1;
  int status = 0;
};

// The run as `--run K` of the same set, the way a scheduler's task starts it.
pid_t Spawn(const std::string& exe, const TTrainOptions& o, uint64_t firstSeed, const TRun& r, int threads) {
  std::vector<std::string> args = {exe,
                                   "--run",
                                   std::to_string(r.k),
                                   "--seed",
                                   std::to_string(firstSeed),
                                   "--generations",
                                   std::to_string(*o.generations),
                                   "--threads",
                                   std::to_string(threads),
                                   "--quiet",
                                   o.file};
  if (o.checkpoint > 0) {
    args.insert(args.end() - 1, "--checkpoint");
    args.insert(args.end() - 1, std::to_string(o.checkpoint));
  }
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  // A group of its own: Ctrl-C on the terminal reaches only this process,
  // which passes each stop on exactly once.
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  posix_spawnattr_setpgroup(&attr, 0);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
  pid_t pid = -1;
  if (posix_spawn(&pid, exe.c_str(), nullptr, &attr, argv.data(), environ) != 0) pid = -1;
  posix_spawnattr_destroy(&attr);
  return pid;
}

}  // namespace

std::string RunFileName(const std::string& file, int k) { return Stem(file) + "-" + std::to_string(k) + ".dat"; }

bool OneRunOfMany(const TTrainOptions& o, TTrainOptions& single) {
  single = o;
  single.run = -1;
  single.file = RunFileName(o.file, o.run);
  single.seed = *o.seed + static_cast<uint64_t>(o.run);
  if (single.checkpoint == 0) single.checkpoint = DefaultRunCheckpoint;
  const int have = StoredGenerations(single.file);
  if (have < 0) return false;
  single.generations = std::max(0LL, *o.generations - have);
  return true;
}

int RankRunFiles(const std::vector<std::string>& files) {
  std::vector<TStanding> ranked;
  return RankAndPrint(files, ranked) ? 0 : 2;
}

int RunManyRuns(const TTrainOptions& o) {
  StopSignals = 0;
  const uint64_t firstSeed = o.seed ? *o.seed : static_cast<uint64_t>(std::time(nullptr));
  const long long target = o.generations.value_or(0);

  std::vector<TRun> runs;
  for (int k = 0; k < o.runs; ++k) {
    TRun r{k, firstSeed + static_cast<uint64_t>(k), RunFileName(o.file, k), 0};
    const int have = StoredGenerations(r.file);
    if (have < 0) return 2;
    r.todo = std::max(0LL, target - have);
    runs.push_back(r);
  }

  struct sigaction sa = {};
  sa.sa_handler = OnManyStop;
  sigemptyset(&sa.sa_mask);
  struct sigaction oldInt, oldTerm;
  sigaction(SIGINT, &sa, &oldInt);
  sigaction(SIGTERM, &sa, &oldTerm);

  // As many runs at once as there are cores; cores left over go to their pools.
  const int cores = std::max(1, o.threads);
  const int parallel = std::max(1, std::min(cores, o.runs));
  const int threadsEach = std::max(1, cores / parallel);
  const std::string exe = SelfPath();
  std::fprintf(stderr, "zarnik-train: %d Läufe, Startwerte %llu bis %llu, %d gleichzeitig, je %d Thread(s)\n", o.runs,
               static_cast<unsigned long long>(firstSeed),
               static_cast<unsigned long long>(firstSeed + static_cast<uint64_t>(o.runs) - 1), parallel, threadsEach);

  size_t next = 0;
  int running = 0, forwarded = 0;
  bool failed = false;
  for (;;) {
    const int stops = StopSignals.load();
    while (forwarded < stops) {
      for (const TRun& r : runs)
        if (r.pid > 0) kill(r.pid, SIGINT);
      ++forwarded;
    }
    while (stops == 0 && !failed && running < parallel && next < runs.size()) {
      TRun& r = runs[next++];
      if (r.todo == 0) continue;
      r.pid = Spawn(exe, o, firstSeed, r, threadsEach);
      if (r.pid < 0) {
        std::fprintf(stderr, "zarnik-train: Lauf %d lässt sich nicht starten\n", r.k);
        failed = true;
        break;
      }
      ++running;
      std::fprintf(stderr, "zarnik-train: Lauf %d (Startwert %llu): %lld Generationen nach '%s'\n", r.k,
                   static_cast<unsigned long long>(r.seed), r.todo, r.file.c_str());
    }
    if (running == 0) break;
    // Polled, so a stop arriving at any moment is passed on within a tenth of a second.
    int status = 0;
    const pid_t pid = waitpid(-1, &status, WNOHANG);
    if (pid == 0) {
      usleep(100000);
      continue;
    }
    if (pid < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (TRun& r : runs) {
      if (r.pid != pid) continue;
      r.pid = -1;
      --running;
      r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      if (r.status == 0)
        std::fprintf(stderr, "zarnik-train: Lauf %d fertig\n", r.k);
      else if (StopSignals.load() == 0) {
        std::fprintf(stderr, "zarnik-train: Lauf %d endete mit Status %d\n", r.k, r.status);
        failed = true;
      }
    }
  }
  sigaction(SIGINT, &oldInt, nullptr);
  sigaction(SIGTERM, &oldTerm, nullptr);

  if (StopSignals.load() > 0) {
    std::fprintf(stderr, "zarnik-train: unterbrochen; derselbe Aufruf setzt jeden Lauf fort\n");
    return 130;
  }
  if (failed) return 2;

  std::vector<std::string> files;
  for (const TRun& r : runs) files.push_back(r.file);
  std::vector<TStanding> ranked;
  if (!RankAndPrint(files, ranked)) return 2;

  // The winner and its history become FILE and FILE's history, each atomically.
  const std::string& winner = ranked.front().file;
  std::string bytes;
  if (!ReadWhole(winner, bytes) || !WriteFileAtomically(o.file.c_str(), bytes.data(), bytes.size())) {
    std::fprintf(stderr, "zarnik-train: Kann Datei '%s' nicht schreiben\n", o.file.c_str());
    return 2;
  }
  std::string history;
  if (ReadWhole(FitnessLogPathFor(winner), history) &&
      !WriteFileAtomically(FitnessLogPathFor(o.file).c_str(), history.data(), history.size())) {
    std::fprintf(stderr, "zarnik-train: Kann Datei '%s' nicht schreiben\n", FitnessLogPathFor(o.file).c_str());
    return 2;
  }
  std::printf("Gewinner: %s -> %s\n", winner.c_str(), o.file.c_str());
  return 0;
}
