// The trainer as a program: exit statuses, files, resume, signals.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "headless_host.h"
#include "world.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

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
  EXPECT_EQ(log.rfind("generation,mode,best_fitness,average_fitness,generation_of_best,seconds\n3,2,", 0), 0u);
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 5);
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
  ASSERT_EQ(Run({"--generations", "2", "--seed", "9", "--quiet", "p.dat"}), 0);
  const std::string before = Read(Dir / "p.dat");
  ASSERT_EQ(Run({"--evaluate", "--seed", "9", "--threads", "1", "p.dat"}, "e1.txt"), 0);
  ASSERT_EQ(Run({"--evaluate", "--seed", "9", "--threads", "2", "p.dat"}, "e2.txt"), 0);
  const std::string e1 = Read(Dir / "e1.txt");
  EXPECT_EQ(std::count(e1.begin(), e1.end(), '\n'), 102);
  EXPECT_EQ(e1.rfind("index,fitness\n0,", 0), 0u);
  EXPECT_EQ(e1, Read(Dir / "e2.txt"));
  EXPECT_TRUE(Read(Dir / "p.dat") == before);
}

}  // namespace
