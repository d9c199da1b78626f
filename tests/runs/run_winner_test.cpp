// The winner's copy into FILE: what it keeps of the user's files, after a kill
// at every step of an earlier copy, where the learning paths go, and a planted
// link it must not read through.
#include <sys/stat.h>
#include <unistd.h>

#include "../support/temp_dir.h"
#include "../support/test_support.h"
#include "history/fitness_log.h"
#include "history/learning_path.h"
#include "platform/link_rule.h"
#include "runs/path_entry.h"
#include "runs/run_winner.h"

namespace {

TFitnessRow Row(int generation, int best) { return {generation, 2, best, best - 50, generation, 0.5, 1}; }

// A path of kept bests at `generations`, each delivering one more in 100 episodes than the one before.
std::vector<TPathEntry> PathAt(const TChromosom& best, std::initializer_list<int> generations) {
  std::vector<TPathEntry> path;
  long long deliveries = 0;
  for (const int g : generations) path.push_back(MakePathEntry(best, g, {100, 2 * ++deliveries, deliveries, -500}));
  return path;
}

// A winner of 30 generations with its run's 40 rows and its path of the checks at 10, 20 and 30; the
// user's older population, history and path.
struct RunWinnerTest : WorldTest<> {
  TTempDir T;
  std::string best = T / "z-0-best.dat", runHistory = T / "z-0.csv", runPath = T / "z-0.path", file = T / "z.dat",
              history = T / "z.csv", pathFile = T / "z.path";
  std::string winner, users, usersHistory, winnersPath, usersPath;

  void SetUp() override {
    w.Generations = 30;
    ASSERT_TRUE(w.DoSaveANN(best.c_str()));
    winner = ReadAll(best);
    w.Generations = 7;
    ASSERT_TRUE(w.DoSaveANN(file.c_str()));
    users = ReadAll(file);
    std::vector<TFitnessRow> run, old{Row(0, -900), Row(1, -800)};
    for (int g = 0; g < 40; ++g) run.push_back(Row(g, -1000 + g));
    ASSERT_TRUE(WriteFitnessLog(runHistory.c_str(), run) && WriteFitnessLog(history.c_str(), old));
    usersHistory = ReadAll(history);
    ASSERT_TRUE(WriteLearningPath(runPath.c_str(), PathAt(w.bestIndividual, {10, 20, 30})));
    ASSERT_TRUE(WriteLearningPath(pathFile.c_str(), PathAt(w.bestIndividual, {3, 5})));
    winnersPath = ReadAll(runPath);
    usersPath = ReadAll(pathFile);
  }

  bool Copy(TWinnerCopy& done) {
    TCopyFailure why;
    const bool copied = CopyWinner(best, runHistory, runPath, file, done, why);
    EXPECT_TRUE(copied) << why.file << ' ' << why.error;
    return copied;
  }

  void CopyAndExpectOnePair() {
    TWinnerCopy done;
    ASSERT_TRUE(Copy(done));
    EXPECT_EQ(done.backup, T / "z.~1~.dat");
    EXPECT_EQ(done.backupPath, T / "z.~1~.path");
    EXPECT_EQ(ReadAll(T / "z.~1~.dat"), users);
    EXPECT_EQ(ReadAll(T / "z.~1~.csv"), usersHistory);
    EXPECT_EQ(ReadAll(T / "z.~1~.path"), usersPath);
    EXPECT_FALSE(fs::exists(T / "z.~2~.dat") || fs::exists(T / "z.~2~.csv") || fs::exists(T / "z.~2~.path"));
    EXPECT_EQ(ReadAll(file), winner);
    EXPECT_EQ(ReadAll(pathFile), winnersPath);
    std::vector<TFitnessRow> rows;
    ASSERT_TRUE(ReadFitnessLog(history.c_str(), rows));
    ASSERT_EQ(rows.size(), 30u);  // the rows up to the winner's generation 30
    EXPECT_EQ(rows.back().generation, 29);
    EXPECT_EQ(rows.back().bestFitness, -971);
  }
};

TEST_F(RunWinnerTest, KeepsTheUsersPairOnce) {
  CopyAndExpectOnePair();
  // The same call again: nothing more to keep.
  TWinnerCopy again;
  ASSERT_TRUE(Copy(again));
  EXPECT_EQ(again.backup, "");
  EXPECT_FALSE(fs::exists(T / "z.~2~.dat"));
}

// Where an earlier copy was killed: after the population's backup, after its history's, after its
// path's, after the new population, after the new history.
TEST_F(RunWinnerTest, AKilledCopyIsCompletedNotKeptTwice) {
  std::vector<TFitnessRow> winnersRows;
  for (int g = 0; g < 30; ++g) winnersRows.push_back(Row(g, -1000 + g));
  for (int step = 1; step <= 5; ++step) {
    SCOPED_TRACE(step);
    for (const char* name : {"z.~1~.dat", "z.~1~.csv", "z.~1~.path"}) fs::remove(T / name);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << users;
    std::ofstream(history, std::ios::binary | std::ios::trunc) << usersHistory;
    std::ofstream(pathFile, std::ios::binary | std::ios::trunc) << usersPath;
    fs::copy_file(file, T / "z.~1~.dat");
    if (step >= 2) fs::copy_file(history, T / "z.~1~.csv");
    if (step >= 3) fs::copy_file(pathFile, T / "z.~1~.path");
    if (step >= 4) fs::copy_file(best, file, fs::copy_options::overwrite_existing);
    if (step >= 5) {
      ASSERT_TRUE(WriteFitnessLog(history.c_str(), winnersRows));
    }
    CopyAndExpectOnePair();
  }
}

// A winner without a path leaves none beside FILE: the user's goes with FILE's backup. A path found
// without its population is set aside alone, under the next free number, before the winner's takes its place.
TEST_F(RunWinnerTest, NoPathButTheWinnersStaysBesideFile) {
  fs::remove(runPath);
  TWinnerCopy done;
  ASSERT_TRUE(Copy(done));
  EXPECT_FALSE(fs::exists(pathFile));
  EXPECT_EQ(ReadAll(T / "z.~1~.path"), usersPath);

  ASSERT_TRUE(WriteLearningPath(runPath.c_str(), PathAt(w.bestIndividual, {10, 20, 30})));
  for (const std::string& gone : {file, history}) fs::remove(gone);
  std::ofstream(pathFile, std::ios::binary) << usersPath;
  ASSERT_TRUE(Copy(done));
  EXPECT_EQ(done.backupPath, T / "z.~2~.path");
  EXPECT_EQ(ReadAll(T / "z.~2~.path"), usersPath);
  EXPECT_FALSE(fs::exists(T / "z.~2~.dat") || fs::exists(T / "z.~2~.csv"));
  EXPECT_EQ(ReadAll(pathFile), winnersPath);
  EXPECT_EQ(ReadAll(file), winner);
}

// A link planted by another user in a sticky shared directory, pointing at the user's private file:
// refused before the file behind it is read, so no backup of it appears for the planter to read.
TEST_F(RunWinnerTest, APlantedLinkIsRefusedBeforeAnythingIsKept) {
  if (geteuid() != 0) GTEST_SKIP() << "giving a link to another user needs root";
  const fs::path shared = T / "shared";
  fs::create_directory(shared);
  ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
  const std::string notes = "the user's private notes\n";
  std::ofstream(T / "notes.txt") << notes;
  ASSERT_EQ(chmod((T / "notes.txt").c_str(), 0600), 0);
  fs::create_symlink(T / "notes.txt", shared / "z.dat");
  ASSERT_EQ(lchown((shared / "z.dat").c_str(), 4242, 4242), 0);
  TWinnerCopy done;
  TCopyFailure why;
  EXPECT_FALSE(CopyWinner(best, runHistory, runPath, shared / "z.dat", done, why));
  EXPECT_EQ(why.error, UntrustedLink);
  EXPECT_EQ(why.file, shared / "z.dat");
  EXPECT_EQ(Listing(shared), std::vector<std::string>{"z.dat"});
  EXPECT_EQ(ReadAll(T / "notes.txt"), notes);
}

}  // namespace
