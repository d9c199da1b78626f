// The winner's copy into FILE: what it keeps of the user's files, after a kill
// at every step of an earlier copy, and a planted link it must not read through.
#include <sys/stat.h>
#include <unistd.h>

#include "../support/temp_dir.h"
#include "../support/test_support.h"
#include "history/fitness_log.h"
#include "platform/link_rule.h"
#include "runs/run_winner.h"

namespace {

TFitnessRow Row(int generation, int best) { return {generation, 2, best, best - 50, generation, 0.5, 1}; }

// A winner of 30 generations with its run's 40 rows, the user's older population and history.
struct RunWinnerTest : WorldTest<> {
  TTempDir T;
  std::string best = T / "z-0-best.dat", runHistory = T / "z-0.csv", file = T / "z.dat", history = T / "z.csv";
  std::string winner, users, usersHistory;

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
  }

  void CopyAndExpectOnePair() {
    TWinnerCopy done;
    TCopyFailure why;
    ASSERT_TRUE(CopyWinner(best, runHistory, file, done, why)) << why.file << ' ' << why.error;
    EXPECT_EQ(done.backup, T / "z.~1~.dat");
    EXPECT_EQ(ReadAll(T / "z.~1~.dat"), users);
    EXPECT_EQ(ReadAll(T / "z.~1~.csv"), usersHistory);
    EXPECT_FALSE(fs::exists(T / "z.~2~.dat") || fs::exists(T / "z.~2~.csv"));
    EXPECT_EQ(ReadAll(file), winner);
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
  TCopyFailure why;
  ASSERT_TRUE(CopyWinner(best, runHistory, file, again, why));
  EXPECT_EQ(again.backup, "");
  EXPECT_FALSE(fs::exists(T / "z.~2~.dat"));
}

// Where an earlier copy was killed: after the population's backup, after both, after the new population.
TEST_F(RunWinnerTest, AKilledCopyIsCompletedNotKeptTwice) {
  for (int step = 1; step <= 3; ++step) {
    SCOPED_TRACE(step);
    for (const char* name : {"z.~1~.dat", "z.~1~.csv"}) fs::remove(T / name);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << users;
    std::ofstream(history, std::ios::binary | std::ios::trunc) << usersHistory;
    fs::copy_file(file, T / "z.~1~.dat");
    if (step >= 2) fs::copy_file(history, T / "z.~1~.csv");
    if (step == 3) fs::copy_file(best, file, fs::copy_options::overwrite_existing);
    CopyAndExpectOnePair();
  }
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
  EXPECT_FALSE(CopyWinner(best, runHistory, shared / "z.dat", done, why));
  EXPECT_EQ(why.error, UntrustedLink);
  EXPECT_EQ(why.file, shared / "z.dat");
  EXPECT_EQ(Listing(shared), std::vector<std::string>{"z.dat"});
  EXPECT_EQ(ReadAll(T / "notes.txt"), notes);
}

}  // namespace
