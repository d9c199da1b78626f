// The trainer as a program: exit statuses, files, special files, bad --log
// values, kills, write errors, resume, signals.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <tuple>
#include <string>
#include <thread>
#include <vector>

#include "../support/file_faults.h"
#include "fitness_log.h"
#include "headless_host.h"
#include "headless_pool.h"
#include "random.h"
#include "world.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

void SetZero(TANN& n, int links) {
  for (int s = 0; s < n.getNodes(); ++s)
    for (int t = 0; t < n.getNodes(); ++t) n.setWeight(s, t, 0);
  n.setConnections(links);
}

std::string Read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class Trainer : public ::testing::Test {
 protected:
  fs::path Dir;
  void SetUp() override {
    char pattern[] = "/tmp/zarnik-train-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    Dir = pattern;
  }
  void TearDown() override { fs::remove_all(Dir); }

  // Starts the trainer in Dir with its stdout (and stderr) in files.
  pid_t Start(std::vector<std::string> args, const char* out = "out.txt") {
    args.insert(args.begin(), ZARNIK_TRAIN_EXE);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addchdir_np(&fa, Dir.c_str());
    posix_spawn_file_actions_addopen(&fa, 1, out, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&fa, 2, "err.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, argv[0], &fa, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&fa);
    return pid;
  }
  // The trainer's exit status; one that has not ended after two minutes is
  // killed, and the test fails naming what it waited for.
  static int Wait(pid_t pid, const char* waitedFor = "the trainer's exit") {
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    pid_t done = 0;
    while ((done = waitpid(pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (done == 0) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      ADD_FAILURE() << "no end after two minutes, waiting for " << waitedFor;
      return -1;
    }
    if (done != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
  }
  int Run(std::vector<std::string> args, const char* out = "out.txt") { return Wait(Start(std::move(args), out)); }
  // Waits for the end, but ends the trainer (and says so) if it is still
  // running after a generous safety time: what it must never do is block.
  static int WaitOrEnd(pid_t pid, const char* what) {
    int status = 0;
    for (int i = 0; i < 3000; ++i) {
      const pid_t done = waitpid(pid, &status, WNOHANG);
      if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    ADD_FAILURE() << "zarnik-train still blocked after 30 s on " << what;
    return -1;
  }
  // Waits, with a safety time, until `file` holds `rows` complete rows.
  bool WaitForRows(const fs::path& file, long rows) {
    for (int i = 0; i < 3000; ++i) {
      const std::string text = Read(file);
      if (std::count(text.begin(), text.end(), '\n') >= rows + 1) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ADD_FAILURE() << "no " << rows << " rows in " << file << " after 30 s";
    return false;
  }
  std::string Err() { return Read(Dir / "err.txt"); }
};

// Thread counts are pinned by the core's golden test; here the program's resume.
TEST_F(Trainer, AResumedRunWritesTheSameFileAsAnUninterruptedOne) {
  ASSERT_EQ(Run({"--generations", "6", "--seed", "5", "--threads", "1", "--quiet", "one.dat"}), 0);
  ASSERT_EQ(Run({"--generations", "3", "--seed", "5", "--threads", "2", "--quiet", "part.dat"}), 0);
  ASSERT_EQ(Run({"--generations", "3", "--seed", "5", "--threads", "1", "--quiet", "--log", "h.csv", "part.dat"}), 0);
  const std::string one = Read(Dir / "one.dat");
  ASSERT_EQ(one.size(), 199620u);
  EXPECT_TRUE(one == Read(Dir / "part.dat"));
  // The log of the resumed run: header once, one row per generation, from 3 on.
  ASSERT_EQ(Run({"--generations", "1", "--seed", "5", "--quiet", "--log", "h.csv", "part.dat"}), 0);
  const std::string log = Read(Dir / "h.csv");
  EXPECT_EQ(
      log.rfind("generation,mode,best_fitness,average_fitness,generation_of_best,seconds,best_deliveries\n3,2,", 0),
      0u);
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 5);
  // Beside the file, with or without --log: every generation of the three runs, from 0 on.
  const std::string beside = Read(Dir / "part.csv");
  EXPECT_EQ(beside.rfind(std::string(FitnessLogHeader) + "\n0,2,", 0), 0u);
  EXPECT_EQ(std::count(beside.begin(), beside.end(), '\n'), 8);
  EXPECT_NE(beside.find(log.substr(log.find('\n') + 1, 4)), std::string::npos);  // row "3,2," of the copy
}

TEST_F(Trainer, BadFilesAndUsageGiveTwoAndChangeNothing) {
  { std::ofstream(Dir / "short.dat") << "twelve bytes"; }
  std::string foreign(199620, '\xff');
  { std::ofstream(Dir / "foreign.dat", std::ios::binary) << foreign; }
  EXPECT_EQ(Run({"--generations", "1", "short.dat"}), 2);
  EXPECT_NE(Read(Dir / "err.txt").find("'short.dat' nicht laden: falsche Größe (12 statt 199620 Bytes)"),
            std::string::npos);
  EXPECT_EQ(Read(Dir / "short.dat"), "twelve bytes");
  EXPECT_EQ(Run({"--generations", "1", "foreign.dat"}), 2);
  EXPECT_NE(Read(Dir / "err.txt").find("fremde Netzform"), std::string::npos);
  EXPECT_TRUE(Read(Dir / "foreign.dat") == foreign);
  EXPECT_EQ(Run({"--generations", "1", "missing/zarnik.dat"}), 2);
  EXPECT_NE(Read(Dir / "err.txt").find("Verzeichnis 'missing' fehlt"), std::string::npos);
  EXPECT_EQ(Run({"--mode", "3"}), 2);
  EXPECT_EQ(Run({"--threads", "0"}), 2);
  EXPECT_EQ(Run({"--bogus"}), 2);
  EXPECT_FALSE(fs::exists(Dir / "zarnik.dat"));
  EXPECT_FALSE(fs::exists(Dir / "missing"));
}

TEST_F(Trainer, AStopSignalFinishesTheGenerationAndSavesALoadableFile) {
  const pid_t pid = Start({"--seed", "3", "--threads", "2", "--log", "h.csv"});
  // Wait for the first generation's row, so the handler is in place.
  bool row = false;
  for (int i = 0; i < 1200 && !(row = Read(Dir / "h.csv").find("\n0,2,") != std::string::npos); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(row) << "no first generation's row in h.csv after a minute";
  kill(pid, SIGTERM);
  EXPECT_EQ(Wait(pid, "the end of the generation after SIGTERM"), 130);
  THeadlessHost host;
  auto world = MakeZarnikWorld(&host);
  size_t size = 0;
  EXPECT_EQ(world->LoadANN((Dir / "zarnik.dat").c_str(), size), TLoadError::None);
  EXPECT_GE(world->Generations, 1);
}

TEST_F(Trainer, EvaluateChangesNoFileAndMatchesThreads) {
  ASSERT_EQ(Run({"--generations", "2", "--seed", "9", "p.dat"}), 0);
  // Not a terminal: the progress comes as plain lines, with the best's deliveries.
  const std::string progress = Read(Dir / "err.txt");
  EXPECT_NE(progress.find("Generation 1  best Fitness "), std::string::npos) << progress;
  EXPECT_NE(progress.find("  Ablagen des Besten "), std::string::npos) << progress;
  const std::string before = Read(Dir / "p.dat");
  ASSERT_EQ(Run({"--evaluate", "--seed", "9", "--threads", "1", "p.dat"}, "e1.txt"), 0);
  ASSERT_EQ(Run({"--evaluate", "--seed", "9", "--threads", "2", "p.dat"}, "e2.txt"), 0);
  const std::string e1 = Read(Dir / "e1.txt");
  EXPECT_EQ(std::count(e1.begin(), e1.end(), '\n'), 102);
  EXPECT_EQ(e1.rfind("index,fitness,takes,deliveries\n0,", 0), 0u);
  EXPECT_EQ(e1, Read(Dir / "e2.txt"));
  EXPECT_TRUE(Read(Dir / "p.dat") == before);
}

// The rows of a ranking table: "rank file generations deliveries takes fitness".
std::vector<std::vector<std::string>> TableRows(const std::string& out) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(out);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::vector<std::string> row{std::istream_iterator<std::string>(words), {}};
    if (row.size() == 6 && std::isdigit(static_cast<unsigned char>(row[0][0]))) rows.push_back(row);
  }
  return rows;
}

TEST_F(Trainer, RunsRankTheSameTwiceAndResumeAfterAStop) {
  fs::create_directories(Dir / "a");
  fs::create_directories(Dir / "b");
  const auto args = [](const char* file) {
    return std::vector<std::string>{"--runs",    "3", "--seed",       "5", "--generations", "30",
                                    "--threads", "2", "--checkpoint", "2", file};
  };
  ASSERT_EQ(Run(args("a/zarnik.dat"), "a1.txt"), 0);
  const std::string a1 = Read(Dir / "a1.txt");
  const auto table = TableRows(a1);
  ASSERT_EQ(table.size(), 3u) << a1;
  for (size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table[i][0], std::to_string(i + 1));
    EXPECT_EQ(table[i][2], "30");  // every run at its generation count
  }
  EXPECT_NE(a1.find("Gewinner: " + table[0][1] + " -> a/zarnik.dat"), std::string::npos);
  EXPECT_TRUE(Read(Dir / "a/zarnik.dat") == Read(Dir / table[0][1]));
  EXPECT_TRUE(Read(Dir / "a/zarnik.csv") == Read(Dir / fs::path(table[0][1]).replace_extension(".csv")));
  // A second call has nothing left to train and ranks alike.
  ASSERT_EQ(Run(args("a/zarnik.dat"), "a2.txt"), 0);
  EXPECT_EQ(Read(Dir / "a2.txt"), a1);
  // One run of the set alone, as a scheduler's task makes it, is that run.
  fs::create_directories(Dir / "c");
  ASSERT_EQ(Run({"--run", "1", "--seed", "5", "--generations", "30", "--quiet", "c/zarnik.dat"}), 0);
  EXPECT_TRUE(Read(Dir / "c/zarnik-1.dat") == Read(Dir / "a/zarnik-1.dat"));
  EXPECT_TRUE(fs::exists(Dir / "c/zarnik-1.csv"));

  // Stopped once the first run has saved a checkpoint, then called again.
  const pid_t pid = Start(args("b/zarnik.dat"), "b1.txt");
  for (int i = 0; i < 1200 && !fs::exists(Dir / "b/zarnik-0.dat"); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_TRUE(fs::exists(Dir / "b/zarnik-0.dat")) << "waited 60 s for the first run's checkpoint";
  kill(pid, SIGINT);
  EXPECT_EQ(Wait(pid), 130);
  EXPECT_FALSE(fs::exists(Dir / "b/zarnik.dat"));
  THeadlessHost host;
  auto world = MakeZarnikWorld(&host);
  size_t size = 0;
  ASSERT_EQ(world->LoadANN((Dir / "b/zarnik-0.dat").c_str(), size), TLoadError::None);
  EXPECT_GE(world->Generations, 2);
  EXPECT_LT(world->Generations, 30);
  ASSERT_EQ(Run(args("b/zarnik.dat"), "b2.txt"), 0);
  auto resumed = TableRows(Read(Dir / "b2.txt"));
  for (auto& row : resumed) row[1].replace(0, 1, "a");
  EXPECT_EQ(resumed, table);
  for (int k = 0; k < 3; ++k) {
    const std::string name = "zarnik-" + std::to_string(k) + ".dat";
    EXPECT_TRUE(Read(Dir / "a" / name) == Read(Dir / "b" / name)) << name;
  }
}

TEST_F(Trainer, RankComparesFilesWrittenElsewhere) {
  // Two populations saved here, not by --runs: their bests never move the
  // arm (all weights 0), so the comparison episode takes and delivers
  // nothing, and the fitness is only the link cost: 0 for none, and for 10
  // links running totals -100 .. -500 that add up to -1500.
  for (const auto& [name, links, generations] : {std::tuple{"still.dat", 0, 7}, std::tuple{"costly.dat", 10, 12}}) {
    THeadlessHost host;
    auto world = MakeZarnikWorld(&host);
    SetZero(world->bestIndividual, links);
    world->Generations = generations;
    ASSERT_TRUE(world->DoSaveANN((Dir / name).c_str()));
  }
  ASSERT_EQ(Run({"--rank", "costly.dat", "still.dat"}, "r.txt"), 0);
  const auto table = TableRows(Read(Dir / "r.txt"));
  using Row = std::vector<std::string>;
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0], (Row{"1", "still.dat", "7", "0", "0", "0"}));
  EXPECT_EQ(table[1], (Row{"2", "costly.dat", "12", "0", "0", "-1500"}));
  { std::ofstream(Dir / "short.dat") << "twelve bytes"; }
  EXPECT_EQ(Run({"--rank", "still.dat", "short.dat"}, "r2.txt"), 2);
  EXPECT_NE(Read(Dir / "err.txt").find("'short.dat' nicht laden: falsche Größe"), std::string::npos);
}

TEST_F(Trainer, FifosAsPopulationOrLogAreRefusedAtOnce) {
  ASSERT_EQ(mkfifo((Dir / "fifo.dat").c_str(), 0600), 0);
  ASSERT_EQ(mkfifo((Dir / "fifo.csv").c_str(), 0600), 0);
  EXPECT_EQ(WaitOrEnd(Start({"--evaluate", "fifo.dat"}), "a FIFO population"), 2);
  EXPECT_NE(Err().find("Kann Datei 'fifo.dat' nicht laden: keine reguläre Datei"), std::string::npos) << Err();
  EXPECT_EQ(WaitOrEnd(Start({"--generations", "1", "--log", "fifo.csv", "p.dat"}), "a FIFO log"), 2);
  EXPECT_NE(Err().find("Kann Datei 'fifo.csv' nicht schreiben: keine reguläre Datei"), std::string::npos) << Err();
  EXPECT_EQ(WaitOrEnd(Start({"--generations", "1", "--log", "/dev/zero", "p.dat"}), "/dev/zero as log"), 2);
  EXPECT_FALSE(fs::exists(Dir / "p.dat"));  // refused before any training
}

TEST_F(Trainer, ALogThatIsThePopulationOrAnEmptyNameIsRefusedBeforeTraining) {
  ASSERT_EQ(Run({"--generations", "1", "--seed", "2", "--quiet", "p.dat"}), 0);
  const std::string population = Read(Dir / "p.dat");
  fs::create_symlink("p.dat", Dir / "link.dat");
  fs::create_hard_link(Dir / "p.dat", Dir / "hard.dat");
  fs::create_directory(Dir / "sub");
  for (const char* log : {"p.dat", "./sub/../p.dat", "link.dat", "hard.dat", "p.dat.tmp", "p.dat.tmp.Ab12Cd"}) {
    EXPECT_EQ(Run({"--generations", "1", "--quiet", "--log", log, "p.dat"}), 2) << log;
    EXPECT_NE(Err().find("ist die Netzdatei 'p.dat' oder ihre temporäre Datei"), std::string::npos) << log;
    EXPECT_TRUE(Read(Dir / "p.dat") == population) << log;
  }
  // Through a link to the population the other way round too.
  EXPECT_EQ(Run({"--generations", "1", "--quiet", "--log", "p.dat", "link.dat"}), 2);
  EXPECT_EQ(Run({"--generations", "1", "--log", "", "p.dat"}), 2);
  EXPECT_NE(Err().find("--log braucht einen Dateinamen."), std::string::npos);
  EXPECT_EQ(Run({"--generations", "1", "--log=", "p.dat"}), 2);
  EXPECT_EQ(Run({"--generations", "1", ""}), 2);
  EXPECT_NE(Err().find("Der Name der Netzdatei ist leer."), std::string::npos);
  EXPECT_TRUE(Read(Dir / "p.dat") == population);
  EXPECT_FALSE(fs::exists(Dir / "zarnik.dat"));
  // A log beside it is fine.
  EXPECT_EQ(Run({"--generations", "1", "--quiet", "--log", "p.dat.csv", "p.dat"}), 0);
}

// Kills at any moment of runs with a checkpoint every generation: each time
// the log holds whole rows only, at least up to the stored generation, and
// the next run goes on after a line torn by hand.
TEST_F(Trainer, KillsLeaveWholeRowsUpToTheStoredGeneration) {
  long rows = 0;
  for (int kill = 0; kill < 3; ++kill) {
    const pid_t pid = Start({"--checkpoint", "1", "--threads", "1", "--quiet", "--log", "h.csv"});
    rows += 3;
    const bool running = WaitForRows(Dir / "h.csv", rows);
    ::kill(pid, SIGKILL);
    EXPECT_EQ(Wait(pid), 1000 + SIGKILL);
    if (!running) return;
    const std::string log = Read(Dir / "h.csv");
    ASSERT_EQ(log.back(), '\n');
    std::vector<TFitnessRow> read;
    ASSERT_TRUE(ReadFitnessLog((Dir / "h.csv").c_str(), read));
    THeadlessHost host;
    auto world = MakeZarnikWorld(&host);
    size_t size = 0;
    ASSERT_EQ(world->LoadANN((Dir / "zarnik.dat").c_str(), size), TLoadError::None);
    std::vector<bool> logged(world->Generations, false);
    for (const TFitnessRow& r : read)
      if (r.generation < world->Generations) logged[r.generation] = true;
    EXPECT_EQ(std::count(logged.begin(), logged.end(), false), 0) << "generations stored: " << world->Generations;
    rows = static_cast<long>(read.size());
  }
  { std::ofstream(Dir / "h.csv", std::ios::app) << "99,2,-41"; }
  ASSERT_EQ(Run({"--generations", "1", "--quiet", "--log", "h.csv"}), 0);
  std::vector<TFitnessRow> read;
  ASSERT_TRUE(ReadFitnessLog((Dir / "h.csv").c_str(), read));
  EXPECT_EQ(static_cast<long>(read.size()), rows + 1);
  EXPECT_EQ(Read(Dir / "h.csv").find("99,2,-41"), std::string::npos);
}

// The window's "Speichern" (here: this process) and the trainer's
// checkpoints store the same file at once: neither fails, and the file is
// always a whole population.
TEST_F(Trainer, TwoProgramsStoringOneFileNeverFailEachOther) {
  const pid_t pid = Start({"--checkpoint", "1", "--threads", "1", "--quiet", "--log", "h.csv"});
  ASSERT_TRUE(WaitForRows(Dir / "h.csv", 1));
  THeadlessHost host;
  auto world = MakeZarnikWorld(&host);
  const fs::path file = Dir / "zarnik.dat";
  int failures = 0;
  for (int i = 0; i < 30; ++i) {
    if (!world->DoSaveANN(file.c_str())) ++failures;
    size_t size = 0;
    EXPECT_EQ(world->LoadANN(file.c_str(), size), TLoadError::None);
  }
  kill(pid, SIGTERM);
  EXPECT_EQ(WaitOrEnd(pid, "a stop signal"), 130) << Err();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(Err(), "");
  size_t size = 0;
  EXPECT_EQ(world->LoadANN(file.c_str(), size), TLoadError::None);
}

TEST_F(Trainer, WriteErrorsSayWhy) {
  {
    // Files of the trainer may not grow beyond 100000 bytes: half a population.
    TFileSizeLimit limit(100000);
    EXPECT_EQ(Run({"--generations", "1", "--quiet", "--log", "h.csv", "p.dat"}), 2);
  }
  EXPECT_NE(Err().find("zarnik-train: Kann Datei 'p.dat' nicht schreiben: Datei zu groß\n"), std::string::npos)
      << Err();
  EXPECT_FALSE(fs::exists(Dir / "p.dat"));
  EXPECT_EQ(Read(Dir / "h.csv").rfind(std::string(FitnessLogHeader) + "\n0,2,", 0), 0u);  // the log is fine
  { std::ofstream(Dir / "notes.txt") << "Brot\n"; }
  EXPECT_EQ(Run({"--generations", "1", "--quiet", "--log", "notes.txt", "p.dat"}), 2);
  EXPECT_NE(Err().find("Kann Datei 'notes.txt' nicht schreiben: kein Fitnessverlauf"), std::string::npos);
  EXPECT_EQ(Read(Dir / "notes.txt"), "Brot\n");
  if (geteuid() != 0) {  // root may write anyway
    { std::ofstream(Dir / "ro.csv") << ""; }
    fs::permissions(Dir / "ro.csv", fs::perms::owner_read);
    EXPECT_EQ(Run({"--generations", "1", "--quiet", "--log", "ro.csv", "p.dat"}), 2);
    EXPECT_NE(Err().find("Kann Datei 'ro.csv' nicht schreiben: keine Schreibberechtigung"), std::string::npos);
  }
}

// The pool on its own, in this process (ThreadSanitizer sees both sides):
// pooled generations, one episode at a time and batched, give what serial
// ones give, down to the texts the pass leaves.
TEST(EvaluationPool, PooledGenerationsEqualSerialOnes) {
  struct TOutcome {
    std::vector<int> fitness;
    std::vector<std::string> texts;
    bool operator==(const TOutcome&) const = default;
  };
  const auto run = [](int workers, int lanes) {
    UseFixedRandomSeed(11);
    THeadlessHost host;
    host.View.Running = true;
    TZarnikHostScope useHost(&host);
    auto world = MakeZarnikWorld(&host);
    std::unique_ptr<THeadlessPool> pool;
    if (workers > 0) {
      pool = std::make_unique<THeadlessPool>(workers, lanes);
      world->Pool = &pool->Pool();
    }
    world->BeginTrainANN2();
    TOutcome o;
    for (int g = 0; g < 3; ++g) {
      world->TrainGeneration2();
      for (const TChromosom& c : world->Population) {
        o.fitness.push_back(c.getFitness());
        o.fitness.push_back(static_cast<int>(c.getBallCounts().takes));
        o.fitness.push_back(static_cast<int>(c.getBallCounts().deliveries));
      }
      o.fitness.push_back(world->bestFitness);
      o.fitness.push_back(world->bestIndividualIdx);
      for (int id = 302; id <= 344; ++id) o.texts.push_back(host.DlgText(id));
    }
    world->Pool = nullptr;
    return o;
  };
  const TOutcome serial = run(0, 1);
  EXPECT_EQ(serial.texts[306 - 302], " 99");
  EXPECT_TRUE(serial.texts[312 - 302] == "left" || serial.texts[312 - 302] == "right");
  EXPECT_TRUE(run(2, 1) == serial);
  EXPECT_TRUE(run(2, LaneCount) == serial);
  EXPECT_TRUE(run(1, 5) == serial);
  UseClockRandomSeed();
}

// A host that lets "frames" through while the workers play, as the window
// does, and asks for a stop at the second frame: the pass ends before the
// next frame, the run after that generation. Counts, not clocks, decide.
TEST(EvaluationPool, AStopWhileWorkersPlayEndsThePassBeforeTheNextFrame) {
  struct TFramingHost : THeadlessHost {
    void AwaitPool(TEvaluationPool& pool) override {
      while (!UserBreak) {
        if (pool.WaitUntil(std::chrono::steady_clock::now())) return;
        ++Frames;
        if (StopAt == 0 && Frames == 2) StopAt = Frames;  // the stop request of this frame
        if (StopAt != 0) UserBreak = true;
      }
      pool.Wait();
      Stopped = !pool.Running();
    }
    int Frames = 0, StopAt = 0;
    bool Stopped = false;
  } host;
  host.View.Running = true;
  TZarnikHostScope useHost(&host);
  UseFixedRandomSeed(3);
  auto world = MakeZarnikWorld(&host);
  THeadlessPool pool(2);
  world->Pool = &pool.Pool();
  world->BeginTrainANN2();
  int generations = 0;
  for (; world->IsImprovement() && !UserBreak && generations < 200; ++generations) world->TrainGeneration2();
  world->Pool = nullptr;
  UseClockRandomSeed();
  UserBreak = false;
  ASSERT_EQ(host.StopAt, 2) << "no frame came while the workers played in 200 generations";
  EXPECT_EQ(host.Frames, 2);  // no frame after the stop
  EXPECT_TRUE(host.Stopped);
  EXPECT_LT(generations, 200);
}

}  // namespace
