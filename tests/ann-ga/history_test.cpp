// The fitness history file and the fixed-seed generator.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fitness_log.h"
#include "random.h"

namespace {

namespace fs = std::filesystem;

struct FitnessLog : ::testing::Test {
  fs::path Dir;
  void SetUp() override {
    char pattern[] = "/tmp/zarnik-log-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    Dir = pattern;
  }
  void TearDown() override { fs::remove_all(Dir); }
  std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
};

bool Same(const TFitnessRow& a, const TFitnessRow& b) {
  return a.generation == b.generation && a.mode == b.mode && a.bestFitness == b.bestFitness &&
         a.averageFitness == b.averageFitness && a.generationOfBest == b.generationOfBest && a.seconds == b.seconds;
}

TEST_F(FitnessLog, RoundTripKeepsEveryRowIncludingExtremes) {
  const std::vector<TFitnessRow> rows = {{0, 2, -4230, -9120, 0, 0.812},
                                         {2147483647, 1, -2147483647 - 1, 2147483647, 7, 123456.5}};
  const std::string path = (Dir / "h.csv").string();
  ASSERT_TRUE(WriteFitnessLog(path.c_str(), rows));
  EXPECT_EQ(Read(path).rfind("generation,mode,best_fitness,average_fitness,generation_of_best,seconds\n0,2,-4230,", 0),
            0u);
  std::vector<TFitnessRow> back;
  ASSERT_TRUE(ReadFitnessLog(path.c_str(), back));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_TRUE(Same(back[0], rows[0]));
  EXPECT_TRUE(Same(back[1], rows[1]));
}

TEST_F(FitnessLog, DamagedFilesAreRefusedAndLeaveTheRowsAlone) {
  const std::vector<TFitnessRow> kept = {{5, 2, 1, 2, 3, 4.0}};
  const std::string header(FitnessLogHeader);
  for (const std::string& text : {std::string("no header\n"), header + "\n1,2,3,4,5\n", header + "\n1,2,3,4,5,x\n",
                                  header + "\n1,2,3,4,5,6,7\n", header + "\n1,2,99999999999,4,5,6\n",
                                  header + "\n-1,2,3,4,5,6\n", header + "\n1,0,3,4,5,6\n",
                                  header + "\n1,3,3,4,5,6\n", header + "\n1,2,3,4,5,inf\n"}) {
    const std::string path = (Dir / "bad.csv").string();
    { std::ofstream(path, std::ios::binary) << text; }
    std::vector<TFitnessRow> rows = kept;
    EXPECT_FALSE(ReadFitnessLog(path.c_str(), rows)) << text;
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(Same(rows[0], kept[0]));
  }
  std::vector<TFitnessRow> rows;
  EXPECT_FALSE(ReadFitnessLog((Dir / "missing.csv").c_str(), rows));
  // The ends of the ranges are rows: generation 0, modes 1 and 2.
  const std::string path = (Dir / "edges.csv").string();
  { std::ofstream(path, std::ios::binary) << header << "\n0,1,-5,-6,0,0.000\n0,2,7,8,0,1.500\n"; }
  ASSERT_TRUE(ReadFitnessLog(path.c_str(), rows));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_TRUE(Same(rows[1], {0, 2, 7, 8, 0, 1.5}));
}

TEST_F(FitnessLog, AppendingWritesTheHeaderOnce) {
  const std::string path = (Dir / "h.csv").string();
  char line[96];
  for (int run = 0; run < 2; ++run) {
    FILE* f = OpenFitnessLogForAppend(path.c_str());
    ASSERT_NE(f, nullptr);
    const size_t n = FormatFitnessRow(MakeFitnessRow({2, run, 10, -10, run}, 0.5), line, sizeof line);
    ASSERT_GT(n, 0u);
    std::fwrite(line, 1, n, f);
    std::fclose(f);
  }
  std::vector<TFitnessRow> rows;
  ASSERT_TRUE(ReadFitnessLog(path.c_str(), rows));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].generation, 1);
  EXPECT_EQ(OpenFitnessLogForAppend((Dir / "no" / "h.csv").c_str()), nullptr);
}

std::vector<int32_t> Draws(int n) {
  std::vector<int32_t> v;
  for (int i = 0; i < n; ++i) v.push_back(NextRandom());
  return v;
}

TEST(FixedSeed, RepeatsPerGenerationAndReseedAndDiffersBetweenSeeds) {
  UseFixedRandomSeed(42);
  SeedRandom(3);
  const auto first = Draws(8);
  SeedRandom(3);  // the second reseed of generation 3 gives another stream
  const auto second = Draws(8);
  UseFixedRandomSeed(42);
  SeedRandom(7);
  SeedRandomAtGeneration(3);  // a resumed run starts the generation afresh
  EXPECT_EQ(Draws(8), first);
  SeedRandom(3);
  EXPECT_EQ(Draws(8), second);
  EXPECT_NE(first, second);
  UseFixedRandomSeed(43);
  SeedRandom(3);
  EXPECT_NE(Draws(8), first);
  UseClockRandomSeed();
}

}  // namespace
