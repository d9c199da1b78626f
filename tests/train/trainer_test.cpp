// The trainer as a program: refusals, resume, stops and kills, --runs, --rank.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <functional>
#include <set>
#include <sstream>
#include "test_support.h"
#include "../support/temp_dir.h"
#include "fitness_log.h"
#include "headless_pool.h"

extern char** environ;

namespace {
using Args = std::vector<std::string>;

constexpr int SafetyMs = 120000;  // no sign of life for two minutes: something hangs

// Waits for `done`, checked again after every change of a file in `folder`; fails naming `what`
// when nothing changes within the safety limit.
bool WaitForFiles(const fs::path& folder, const std::function<bool()>& done, const std::string& what) {
  const int watch = inotify_init1(IN_CLOEXEC);
  inotify_add_watch(watch, folder.c_str(), IN_CREATE | IN_MODIFY | IN_MOVED_TO | IN_CLOSE_WRITE);
  bool met = done();
  for (pollfd p{watch, POLLIN, 0}; !met && poll(&p, 1, SafetyMs) > 0; met = done()) {
    char events[4096];
    (void)!read(watch, events, sizeof events);
  }
  close(watch);
  if (!met) ADD_FAILURE() << "nothing changed for two minutes while waiting for " << what;
  return met;
}
int StoredGenerations(const fs::path& file) {
  THeadlessHost host;
  auto world = MakeZarnikWorld(&host);
  size_t size = 0;
  EXPECT_EQ(world->LoadANN(file.c_str(), size), TLoadError::None) << file;
  return world->Generations;
}

// The rows of a ranking table: "rank file generations deliveries takes fitness".
std::vector<Args> TableRows(const std::string& out) {
  std::vector<Args> rows;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    Args row{std::istream_iterator<std::string>(words), {}};
    if (row.size() == 6 && std::isdigit(static_cast<unsigned char>(row[0][0]))) rows.push_back(row);
  }
  return rows;
}

struct TResult { int code; std::string out, err; };

struct Trainer : ::testing::Test {
  TTempDir dir;
  // Starts zarnik-train in the directory, stdout to out.txt, stderr to err.txt.
  pid_t Start(Args args) {
    args.insert(args.begin(), ZARNIK_TRAIN_EXE);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addchdir_np(&fa, dir.Dir.c_str());
    posix_spawn_file_actions_addopen(&fa, 1, "out.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&fa, 2, "err.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, argv[0], &fa, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&fa);
    return pid;
  }
  // The exit status, 1000 + the signal if ended by one; one still running at the safety limit is killed.
  static int Wait(pid_t pid, const std::string& what) {
    // The process's descriptor becomes readable when it ends.
    const int process = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    pollfd p{process, POLLIN, 0};
    const bool ended = process >= 0 && poll(&p, 1, SafetyMs) == 1;
    if (process >= 0) close(process);
    if (!ended) {
      ADD_FAILURE() << "still waiting after two minutes for " << what;
      kill(pid, SIGKILL);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!ended) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
  }
  TResult Run(const Args& args) {
    const int code = Wait(Start(args), "the end of zarnik-train " + args.back());
    return {code, ReadAll(dir / "out.txt"), ReadAll(dir / "err.txt")};
  }
};

TEST_F(Trainer, RefusalsGiveTwoBeforeTrainingAndChangeNothing) {
  std::ofstream(dir / "short.dat") << "twelve bytes";
  std::ofstream(dir / "foreign.dat", std::ios::binary) << std::string(199620, '\xff');
  std::ofstream(dir / "notes.txt") << "Brot\n";
  THeadlessHost host;
  ASSERT_TRUE(MakeZarnikWorld(&host)->DoSaveANN((dir / "p.dat").c_str()));
  const std::string population = ReadAll(dir / "p.dat");
  ASSERT_EQ(mkfifo((dir / "fifo.dat").c_str(), 0600) | mkfifo((dir / "fifo.csv").c_str(), 0600), 0);
  fs::create_symlink("p.dat", dir / "link.dat");
  fs::create_hard_link(dir / "p.dat", dir / "hard.dat");
  fs::create_directory(dir / "sub");
  const std::string itself = "ist die Netzdatei 'p.dat' oder ihre temporäre Datei";
  std::vector<std::pair<Args, std::string>> cases = {
      {{"short.dat"}, "Kann Datei 'short.dat' nicht laden: falsche Größe (12 statt 199620 Bytes)"},
      {{"foreign.dat"}, "fremde Netzform"},
      {{"missing/zarnik.dat"}, "Verzeichnis 'missing' fehlt"},
      {{"--mode", "3"}, ""}, {{"--threads", "0"}, ""}, {{"--bogus"}, ""}, {{"--log=", "p.dat"}, ""},
      {{"--evaluate", "fifo.dat"}, "Kann Datei 'fifo.dat' nicht laden: keine reguläre Datei"},
      {{"--log", "fifo.csv", "p.dat"}, "Kann Datei 'fifo.csv' nicht schreiben: keine reguläre Datei"},
      {{"--log", "/dev/zero", "p.dat"}, "keine reguläre Datei"},
      {{"--log", "notes.txt", "p.dat"}, "Kann Datei 'notes.txt' nicht schreiben: kein Fitnessverlauf"},
      {{"--log=p.dat", "p.dat"}, itself},
      {{"--log", "p.dat", "link.dat"}, ""},
      {{"--log", "", "p.dat"}, "--log braucht einen Dateinamen."},
      {{""}, "Der Name der Netzdatei ist leer."},
      {{"--rank", "p.dat", "short.dat"}, "'short.dat' nicht laden: falsche Größe"},
  };
  for (const char* log : {"p.dat", "./sub/../p.dat", "link.dat", "hard.dat", "p.dat.tmp", "p.dat.tmp.Ab12Cd"})
    cases.push_back({{"--log", log, "p.dat"}, itself});
  for (auto& [args, message] : cases) {
    const std::string what = args.front() + " .. " + args.back();
    if (args[0] != "--rank" && args[0] != "--evaluate") args.insert(args.begin(), {"--generations", "1", "--quiet"});
    const auto [code, out, err] = Run(args);
    EXPECT_EQ(code, 2) << what;
    EXPECT_NE(err.find(message), std::string::npos) << what << ": " << err;
  }
  EXPECT_EQ(ReadAll(dir / "short.dat") + ReadAll(dir / "notes.txt"), "twelve bytesBrot\n");
  EXPECT_TRUE(ReadAll(dir / "foreign.dat") == std::string(199620, '\xff') && ReadAll(dir / "p.dat") == population);
  EXPECT_FALSE(fs::exists(dir / "zarnik.dat") || fs::exists(dir / "missing"));
  EXPECT_EQ(Run({"--generations", "1", "--quiet", "--log", "p.dat.csv", "p.dat"}).code, 0);  // beside it is fine
}

TEST_F(Trainer, AResumedRunWritesTheSameFileAsAnUninterruptedOne) {
  const TResult first = Run({"--generations", "6", "--seed", "5", "--threads", "1", "one.dat"});
  ASSERT_EQ(first.code, 0);  // not a terminal: plain progress lines, with the best's deliveries
  EXPECT_TRUE(first.err.find("Generation 5  best Fitness ") != std::string::npos &&
              first.err.find("  Ablagen des Besten ") != std::string::npos) << first.err;
  ASSERT_EQ(Run({"--generations", "3", "--seed", "5", "--threads", "2", "--quiet", "part.dat"}).code, 0);
  ASSERT_EQ(Run({"--generations", "3", "--seed", "5", "--quiet", "--log", "h.csv", "part.dat"}).code, 0);
  const std::string one = ReadAll(dir / "one.dat");
  EXPECT_TRUE(one.size() == 199620 && one == ReadAll(dir / "part.dat"));
  // --log gets a header once and the rows from 3 on; the history beside the file all rows from 0.
  ASSERT_EQ(Run({"--generations", "1", "--seed", "5", "--quiet", "--log", "h.csv", "part.dat"}).code, 0);
  const std::string log = ReadAll(dir / "h.csv"), beside = ReadAll(dir / "part.csv");
  const std::string header(FitnessLogHeader);
  EXPECT_EQ(std::pair(log.rfind(header + "\n3,2,", 0), std::ranges::count(log, '\n')), std::pair(0ul, 5l));
  EXPECT_EQ(std::pair(beside.rfind(header + "\n0,2,", 0), std::ranges::count(beside, '\n')), std::pair(0ul, 8l));
}

TEST_F(Trainer, RunsRankTheSameTwiceAndResumeAfterAStop) {
  for (const char* d : {"a", "b", "c"}) fs::create_directory(dir / d);
  const auto args = [](const char* file) {
    return Args{"--runs", "3", "--seed", "5", "--generations", "30", "--threads", "2", "--checkpoint", "2", file};
  };
  const TResult a1 = Run(args("a/zarnik.dat"));
  const auto table = TableRows(a1.out);
  ASSERT_EQ(table.size(), 3u) << a1.out;
  for (size_t i = 0; i < table.size(); ++i) EXPECT_EQ(table[i][0] + table[i][2], std::to_string(i + 1) + "30");
  EXPECT_NE(a1.out.find("Gewinner: " + table[0][1] + " -> a/zarnik.dat"), std::string::npos);
  EXPECT_TRUE(ReadAll(dir / "a/zarnik.dat") == ReadAll(dir / table[0][1]));
  EXPECT_TRUE(ReadAll(dir / "a/zarnik.csv") == ReadAll(dir / fs::path(table[0][1]).replace_extension(".csv")));
  EXPECT_EQ(Run(args("a/zarnik.dat")).out, a1.out);  // nothing left to train, ranked alike
  // One run of the set alone, as a scheduler's task makes it, is that run.
  ASSERT_EQ(Run({"--run", "1", "--seed", "5", "--generations", "30", "--quiet", "c/zarnik.dat"}).code, 0);
  EXPECT_TRUE(ReadAll(dir / "c/zarnik-1.dat") == ReadAll(dir / "a/zarnik-1.dat") && fs::exists(dir / "c/zarnik-1.csv"));
  // Stopped once the first run has saved a checkpoint, then called again.
  const pid_t pid = Start(args("b/zarnik.dat"));
  WaitForFiles(dir / "b", [&] { return fs::exists(dir / "b/zarnik-0.dat"); }, "the first run's checkpoint");
  kill(pid, SIGINT);
  EXPECT_EQ(Wait(pid, "the end after SIGINT"), 130);
  const int stored = StoredGenerations(dir / "b/zarnik-0.dat");
  EXPECT_TRUE(stored >= 2 && stored < 30 && !fs::exists(dir / "b/zarnik.dat")) << stored;
  auto resumed = TableRows(Run(args("b/zarnik.dat")).out);
  for (auto& row : resumed) row[1].replace(0, 1, "a");
  EXPECT_EQ(resumed, table);
  for (const char* name : {"zarnik-0.dat", "zarnik-1.dat", "zarnik-2.dat"})
    EXPECT_TRUE(ReadAll(dir / "a" / name) == ReadAll(dir / "b" / name)) << name;
}

// Still bests (weights 0) pay only for links: 0 for none; for 10, totals -100 .. -500 add to -1500.
TEST_F(Trainer, RankComparesFilesWrittenElsewhere) {
  for (const auto& [name, links, generations] : {std::tuple{"still.dat", 0, 7}, std::tuple{"costly.dat", 10, 12}}) {
    THeadlessHost host;
    auto world = MakeZarnikWorld(&host);
    SetAllWeights(world->bestIndividual, 0, links);
    world->Generations = generations;
    ASSERT_TRUE(world->DoSaveANN((dir / name).c_str()));
  }
  EXPECT_EQ(TableRows(Run({"--rank", "costly.dat", "still.dat"}).out),
            (std::vector<Args>{{"1", "still.dat", "7", "0", "0", "0"}, {"2", "costly.dat", "12", "0", "0", "-1500"}}));
}

// Kills leave whole rows up to at least the stored generation; the next run cuts a torn line.
TEST_F(Trainer, KillsLeaveWholeRowsUpToTheStoredGeneration) {
  const std::string log = dir / "h.csv";
  std::vector<TFitnessRow> read;
  for (int round = 0; round < 3; ++round) {
    const pid_t pid = Start({"--checkpoint", "1", "--threads", "1", "--quiet", "--log", "h.csv"});
    const auto grown = [&] { return std::ranges::count(ReadAll(log), '\n') > std::ssize(read) + 3; };
    const bool running = WaitForFiles(dir.Dir, grown, "three more rows in h.csv");
    kill(pid, SIGKILL);
    EXPECT_EQ(Wait(pid, "the end after SIGKILL"), 1000 + SIGKILL);
    ASSERT_TRUE(running);
    ASSERT_EQ(ReadAll(log).back(), '\n');
    ASSERT_TRUE(ReadFitnessLog(log.c_str(), read));
    const int stored = StoredGenerations(dir / "zarnik.dat");
    std::set<int> logged;
    for (const TFitnessRow& r : read) logged.insert(r.generation);
    EXPECT_EQ(std::ranges::count_if(logged, [&](int g) { return g < stored; }), stored) << stored << " stored";
  }
  std::ofstream(log, std::ios::app) << "99,2,-41";
  const size_t before = read.size();
  ASSERT_EQ(Run({"--generations", "1", "--quiet", "--log", "h.csv"}).code, 0);
  ASSERT_TRUE(ReadFitnessLog(log.c_str(), read));
  EXPECT_EQ(read.size(), before + 1);
  EXPECT_EQ(ReadAll(log).find("99,2,-41"), std::string::npos);
}
}  // namespace
