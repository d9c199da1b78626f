// The fitness history file (limits, torn lines, special files, appending)
// and the fixed-seed generator.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../support/file_faults.h"
#include "fitness_log.h"
#include "regular_file.h"
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
         a.averageFitness == b.averageFitness && a.generationOfBest == b.generationOfBest && a.seconds == b.seconds &&
         a.bestDeliveries == b.bestDeliveries;
}

TEST_F(FitnessLog, RoundTripKeepsEveryRowIncludingExtremes) {
  const std::vector<TFitnessRow> rows = {{0, 2, -4230, -9120, 0, 0.812, 3},
                                         {2147483647, 1, -2147483647 - 1, 2147483647, 2147483647, 1e9, -1}};
  const std::string path = (Dir / "h.csv").string();
  ASSERT_TRUE(WriteFitnessLog(path.c_str(), rows));
  EXPECT_EQ(Read(path),
            "generation,mode,best_fitness,average_fitness,generation_of_best,seconds,best_deliveries\n"
            "0,2,-4230,-9120,0,0.812,3\n"
            "2147483647,1,-2147483648,2147483647,2147483647,1000000000.000,\n");
  std::vector<TFitnessRow> back;
  ASSERT_TRUE(ReadFitnessLog(path.c_str(), back));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_TRUE(Same(back[0], rows[0]));
  EXPECT_TRUE(Same(back[1], rows[1]));
}

TEST_F(FitnessLog, DamagedFilesAndNumbersOutOfRangeAreRefusedAndLeaveTheRowsAlone) {
  const std::vector<TFitnessRow> kept = {{5, 2, 1, 2, 3, 4.0}};
  const std::string header(FitnessLogHeader);
  const std::string good = header + "\n0,2,-4230,-9120,0,0.812\n";
  for (const std::string& text :
       {std::string("no header\n"), header + "\n1,2,3,4,5\n", header + "\n1,2,3,4,5,x\n",
        header + "\n1,2,3,4,5,6,7,8\n", header + "\n1,2,3,4,5,6,-1\n", header + "\n1,2,3,4,5,6,x\n",
        header + "\n1,2,99999999999,4,5,6\n",
        // Counts beyond the counters' range, fitness beyond 32 bits.
        good + "2147483648,1,5,5,0,0.5\n", good + "-1,2,5,5,0,0.5\n", good + "3,2,5,5,2147483648,0.5\n",
        good + "3,2,5,5,-1,0.5\n", good + "3,2,-2147483649,5,0,0.5\n", good + "3,3,5,5,0,0.5\n",
        good + "3,2,5,5,0,-0.001\n", good + "3,2,5,5,0,1000000000.001\n", good + "3,2,5,5,0,nan\n",
        good + "3,2,5,5,0,inf\n", good + "3,+2,5,5,0,1\n", good + "3, 2,5,5,0,1\n",
        // A torn line that is not the last one.
        good + "1,2,-41\n2,2,5,5,0,1\n"}) {
    std::vector<TFitnessRow> rows = kept;
    EXPECT_FALSE(ParseFitnessLog(text, rows)) << text;
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(Same(rows[0], kept[0]));
  }
  std::vector<TFitnessRow> rows;
  EXPECT_FALSE(ReadFitnessLog((Dir / "missing.csv").c_str(), rows));
}

TEST_F(FitnessLog, ATornLastLineIsDroppedAndTheRowsBeforeItAreKept) {
  const std::string header(FitnessLogHeader);
  std::vector<TFitnessRow> rows;
  // Cut anywhere in the last row, even where what is left would parse.
  for (const char* torn : {"1,2,-41", "1,2,-4100,-9000,1,1.6", "1", "1,2,-4100,-9000,1,1.630\r"}) {
    ASSERT_TRUE(ParseFitnessLog(header + "\r\n0,2,-4230,-9120,0,0.812\r\n" + torn, rows)) << torn;
    ASSERT_EQ(rows.size(), 1u) << torn;
    EXPECT_TRUE(Same(rows[0], {0, 2, -4230, -9120, 0, 0.812}));
  }
  // A crash while the header was written leaves an empty history.
  for (const std::string& text : {std::string(), std::string("generation,mo"), header}) {
    rows = {{5, 2, 1, 2, 3, 4.0}};
    EXPECT_TRUE(ParseFitnessLog(text, rows)) << text;
    EXPECT_TRUE(rows.empty()) << text;
  }
  EXPECT_FALSE(ParseFitnessLog("generation,mx", rows));
}

TEST_F(FitnessLog, LinesAndFilesBeyondTheLimitsAreRefusedWithoutReadingThemWhole) {
  const std::string header(FitnessLogHeader);
  // Leading zeros pad a row to exactly the longest line allowed, and one more.
  const std::string tail = "7,2,5,5,0,0.5";
  const std::string longest = std::string(256 - tail.size(), '0') + tail;
  ASSERT_EQ(longest.size(), 256u);
  std::vector<TFitnessRow> rows;
  ASSERT_TRUE(ParseFitnessLog(header + "\n" + longest + "\n", rows));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].generation, 7);
  EXPECT_FALSE(ParseFitnessLog(header + "\n0" + longest + "\n", rows));
  EXPECT_FALSE(ParseFitnessLog(header + "\n0" + longest, rows));  // also as a torn last line

  // Endless bytes without a line end (/dev/zero, a sparse file) are refused
  // at the first piece past the line limit, however much more would come.
  TFitnessLogParser parser;
  EXPECT_TRUE(parser.Feed(header + "\n" + std::string(200, '\0')));
  EXPECT_FALSE(parser.Feed(std::string(100, '\0')));
  EXPECT_FALSE(parser.Feed("\n"));
  EXPECT_FALSE(parser.Finish(rows));

  // A file beyond 1 GiB is refused by its size alone; this one is sparse,
  // 10 GB of nothing after a good history.
  const fs::path big = Dir / "big.csv";
  { std::ofstream(big, std::ios::binary) << header << "\n0,2,1,1,0,0.5\n"; }
  fs::resize_file(big, 10'000'000'000ull);
  EXPECT_FALSE(ReadFitnessLog(big.c_str(), rows));
  fs::resize_file(big, (1ull << 30) + 1);
  EXPECT_FALSE(ReadFitnessLog(big.c_str(), rows));
  // Exactly 1 GiB is read, and refused at the zeros after the rows.
  fs::resize_file(big, 1ull << 30);
  EXPECT_FALSE(ReadFitnessLog(big.c_str(), rows));
}

TEST_F(FitnessLog, SpecialFilesAreRefusedAtOnceForReadingAndAppending) {
  const fs::path fifo = Dir / "h.csv";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // Either open would wait for a writer (reader) for ever; an alarm in the
  // child ends such a wait after 20 s.
  const int status = InChildWithin(20, [&] {
    std::vector<TFitnessRow> rows;
    errno = 0;
    const bool read = ReadFitnessLog(fifo.c_str(), rows);
    const bool refusedRead = !read && errno == NotRegularFile;
    errno = 0;
    FILE* f = OpenFitnessLogForAppend(fifo.c_str());
    return refusedRead && f == nullptr && errno == NotRegularFile;
  });
  EXPECT_EQ(status, 0) << (status == 1000 + SIGALRM ? "blocked on the FIFO" : "not refused as not regular");
  std::vector<TFitnessRow> rows;
  for (const char* special : {"/dev/zero", "/dev/null", "/tmp"}) {
    EXPECT_FALSE(ReadFitnessLog(special, rows)) << special;
    errno = 0;
    EXPECT_EQ(OpenFitnessLogForAppend(special), nullptr) << special;
    EXPECT_EQ(errno, NotRegularFile) << special;
  }
}

TEST_F(FitnessLog, AppendingWritesTheHeaderOnceAndCutsATornLine) {
  const std::string path = (Dir / "h.csv").string();
  char line[128];
  const auto append = [&](int generation) {
    FILE* f = OpenFitnessLogForAppend(path.c_str());
    ASSERT_NE(f, nullptr);
    const size_t n =
        FormatFitnessRow(MakeFitnessRow({2, generation, 10, -10, generation, 1}, 0.5), line, sizeof line);
    ASSERT_GT(n, 0u);
    std::fwrite(line, 1, n, f);
    std::fclose(f);
  };
  append(0);
  append(1);
  const std::string header(FitnessLogHeader);
  EXPECT_EQ(Read(path), header + "\n0,2,10,-10,0,0.500,1\n1,2,10,-10,1,0.500,1\n");

  // What a kill in the middle of a row leaves: the next run cuts it off.
  { std::ofstream(path, std::ios::app | std::ios::binary) << "2,2,-4"; }
  append(2);
  EXPECT_EQ(Read(path), header + "\n0,2,10,-10,0,0.500,1\n1,2,10,-10,1,0.500,1\n2,2,10,-10,2,0.500,1\n");
  // A torn header is written anew.
  { std::ofstream(path, std::ios::binary) << "generation,mode,be"; }
  append(3);
  EXPECT_EQ(Read(path), header + "\n3,2,10,-10,3,0.500,1\n");

  // Anything else in its place is left alone.
  for (const std::string& other : {std::string("Einkaufsliste"), std::string("Brot\nMilch\n"),
                                   header + "\n" + std::string(300, '1')}) {
    { std::ofstream(path, std::ios::binary) << other; }
    errno = 0;
    EXPECT_EQ(OpenFitnessLogForAppend(path.c_str()), nullptr) << other;
    EXPECT_EQ(errno, NotAFitnessLog);
    EXPECT_EQ(Read(path), other);
  }
  errno = 0;
  EXPECT_EQ(OpenFitnessLogForAppend((Dir / "no" / "h.csv").c_str()), nullptr);
  EXPECT_EQ(errno, ENOENT);
}

TEST_F(FitnessLog, OlderFilesWithoutDeliveriesLoadAndGetTheColumnWhenAppendedTo) {
  const std::string path = (Dir / "old.csv").string();
  {
    std::ofstream(path, std::ios::binary) << "generation,mode,best_fitness,average_fitness,generation_of_best,seconds\n"
                                             "0,2,-500,-900,0,1.500\n4,1,-20,-30,3,2.000\n7,2,-1";
  }  // the last row torn by a kill
  std::vector<TFitnessRow> rows;
  ASSERT_TRUE(ReadFitnessLog(path.c_str(), rows));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_TRUE(Same(rows[0], {0, 2, -500, -900, 0, 1.5, -1}));
  EXPECT_TRUE(Same(rows[1], {4, 1, -20, -30, 3, 2.0, -1}));

  FILE* f = OpenFitnessLogForAppend(path.c_str());
  ASSERT_NE(f, nullptr);
  char line[128];
  const size_t n = FormatFitnessRow(MakeFitnessRow({2, 1, 700, 100, 1, 5}, 0.25), line, sizeof line);
  std::fwrite(line, 1, n, f);
  std::fclose(f);
  EXPECT_EQ(Read(path),
            "generation,mode,best_fitness,average_fitness,generation_of_best,seconds,best_deliveries\n"
            "0,2,-500,-900,0,1.500,\n4,1,-20,-30,3,2.000,\n1,2,700,100,1,0.250,5\n");
  ASSERT_TRUE(ReadFitnessLog(path.c_str(), rows));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[2].bestDeliveries, 5);
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

// The window and the trainer keep a population's history under the same name.
TEST(FitnessLogPath, BesideThePopulationWithItsLastSuffixReplaced) {
  EXPECT_EQ(FitnessLogPathFor("zarnik.dat"), "zarnik.csv");
  EXPECT_EQ(FitnessLogPathFor("runs/a.b.dat"), "runs/a.b.csv");
  EXPECT_EQ(FitnessLogPathFor("runs.d/pop"), "runs.d/pop.csv");
  EXPECT_EQ(FitnessLogPathFor("a.csv"), "a.csv.csv");  // never the population file itself
}
