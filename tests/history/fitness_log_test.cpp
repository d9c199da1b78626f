// The fitness history file: ranges, limits, torn lines, appending.
#include <gtest/gtest.h>
#include <cstdio>
#include "../support/temp_dir.h"
#include "fitness_log.h"
#include "regular_file.h"

namespace {
const std::string Header(FitnessLogHeader);

std::string Text(const std::vector<TFitnessRow>& rows) {
  std::string text;
  char line[128];
  for (const TFitnessRow& r : rows) text.append(line, FormatFitnessRow(r, line, sizeof line));
  return text;
}

struct FitnessLog : ::testing::Test {
  TTempDir dir;
  const std::string path = dir / "h.csv";
  void Append(TGenerationFigures figures, double seconds) {
    FILE* f = OpenFitnessLogForAppend(path.c_str());
    ASSERT_NE(f, nullptr);
    char line[128];
    std::fwrite(line, 1, FormatFitnessRow(MakeFitnessRow(figures, seconds), line, sizeof line), f);
    std::fclose(f);
  }
};

TEST_F(FitnessLog, RowsUpToTheRangeLimitsRoundTripAndAnythingBeyondIsRefused) {
  const std::vector<TFitnessRow> extremes = {{0, 2, -4230, -9120, 0, 0.812, 3},
                                             {2147483647, 1, -2147483647 - 1, 2147483647, 2147483647, 1e9, -1}};
  const std::string body = "0,2,-4230,-9120,0,0.812,3\n"
                           "2147483647,1,-2147483648,2147483647,2147483647,1000000000.000,\n";
  ASSERT_TRUE(WriteFitnessLog(path.c_str(), extremes));
  EXPECT_EQ(ReadAll(path),
            "generation,mode,best_fitness,average_fitness,generation_of_best,seconds,best_deliveries\n" + body);
  std::vector<TFitnessRow> back;
  ASSERT_TRUE(ReadFitnessLog(path.c_str(), back));
  EXPECT_EQ(Text(back), body);
  const std::string good = Header + "\n0,2,-4230,-9120,0,0.812\n";
  for (const std::string& text :
       {std::string("no header\n"), Header + "\n1,2,3,4,5\n", Header + "\n1,2,3,4,5,x\n",
        Header + "\n1,2,3,4,5,6,7,8\n", Header + "\n1,2,3,4,5,6,-1\n", Header + "\n1,2,3,4,5,6,x\n",
        Header + "\n1,2,99999999999,4,5,6\n", good + "2147483648,1,5,5,0,0.5\n", good + "-1,2,5,5,0,0.5\n",
        good + "3,2,5,5,2147483648,0.5\n", good + "3,2,5,5,-1,0.5\n", good + "3,2,-2147483649,5,0,0.5\n",
        good + "3,3,5,5,0,0.5\n", good + "3,2,5,5,0,-0.001\n", good + "3,2,5,5,0,1000000000.001\n",
        good + "3,2,5,5,0,nan\n", good + "3,2,5,5,0,inf\n", good + "3,+2,5,5,0,1\n", good + "3, 2,5,5,0,1\n",
        good + "1,2,-41\n2,2,5,5,0,1\n"}) {  // the last: a torn line that is not the last one
    std::vector<TFitnessRow> rows = {{5, 2, 1, 2, 3, 4.0}};
    EXPECT_FALSE(ParseFitnessLog(text, rows)) << text;
    EXPECT_EQ(Text(rows), "5,2,1,2,3,4.000,\n");
  }
  std::vector<TFitnessRow> rows;
  EXPECT_FALSE(ReadFitnessLog((dir / "missing.csv").c_str(), rows));
  // Files from before the deliveries column still load, without counts.
  ASSERT_TRUE(ParseFitnessLog("generation,mode,best_fitness,average_fitness,generation_of_best,seconds\n"
                              "3,2,5,6,1,0.5\n", rows));
  EXPECT_EQ(Text(rows), "3,2,5,6,1,0.500,\n");
}

TEST_F(FitnessLog, LinesAndFilesBeyondTheLimitsAreRefusedWithoutReadingThemWhole) {
  const std::string tail = "7,2,5,5,0,0.5";
  const std::string longest = std::string(256 - tail.size(), '0') + tail;  // 256 characters
  std::vector<TFitnessRow> rows;
  ASSERT_TRUE(ParseFitnessLog(Header + "\n" + longest + "\n", rows));
  EXPECT_EQ(Text(rows), "7,2,5,5,0,0.500,\n");
  EXPECT_FALSE(ParseFitnessLog(Header + "\n0" + longest + "\n", rows));
  EXPECT_FALSE(ParseFitnessLog(Header + "\n0" + longest, rows));  // also as a torn last line
  // Endless bytes without a line end are refused at the first piece past the limit.
  TFitnessLogParser parser;
  EXPECT_TRUE(parser.Feed(Header + "\n" + std::string(200, '\0')));
  EXPECT_FALSE(parser.Feed(std::string(100, '\0')));
  EXPECT_FALSE(parser.Feed("\n"));
  EXPECT_FALSE(parser.Finish(rows));
  // Beyond 1 GiB by the size alone (sparse); exactly 1 GiB is read and refused at the zeros.
  std::ofstream(path, std::ios::binary) << Header << "\n0,2,1,1,0,0.5\n";
  for (uintmax_t size : {10'000'000'000ull, (1ull << 30) + 1, 1ull << 30}) {
    fs::resize_file(path, size);
    EXPECT_FALSE(ReadFitnessLog(path.c_str(), rows)) << size;
  }
}

TEST_F(FitnessLog, ATornLastLineIsDroppedOnReadingAndCutBeforeAppending) {
  std::vector<TFitnessRow> rows;
  for (const char* torn : {"1,2,-41", "1,2,-4100,-9000,1,1.6", "1", "1,2,-4100,-9000,1,1.630\r"}) {
    ASSERT_TRUE(ParseFitnessLog(Header + "\r\n0,2,-4230,-9120,0,0.812\r\n" + torn, rows)) << torn;
    EXPECT_EQ(Text(rows), "0,2,-4230,-9120,0,0.812,\n") << torn;
  }
  for (const std::string& text : {std::string(), std::string("generation,mo"), Header}) {
    rows = {{5, 2, 1, 2, 3, 4.0}};
    EXPECT_TRUE(ParseFitnessLog(text, rows)) << text;
    EXPECT_TRUE(rows.empty()) << text;
  }
  EXPECT_FALSE(ParseFitnessLog("generation,mx", rows));
  Append({2, 0, 10, -10, 0, 1}, 0.5);
  Append({2, 1, 10, -10, 1, 1}, 0.5);
  std::ofstream(path, std::ios::app | std::ios::binary) << "2,2,-4";  // a kill within a row
  Append({2, 2, 10, -10, 2, 1}, 0.5);
  EXPECT_EQ(ReadAll(path), Header + "\n0,2,10,-10,0,0.500,1\n1,2,10,-10,1,0.500,1\n2,2,10,-10,2,0.500,1\n");
  std::ofstream(path, std::ios::binary) << "generation,mode,be";  // a torn header is written anew
  Append({2, 3, 10, -10, 3, 1}, 0.5);
  EXPECT_EQ(ReadAll(path), Header + "\n3,2,10,-10,3,0.500,1\n");
  for (const std::string& other : {std::string("Einkaufsliste"), std::string("Brot\nMilch\n"),
                                   Header + "\n" + std::string(300, '1')}) {
    std::ofstream(path, std::ios::binary) << other;
    errno = 0;
    EXPECT_EQ(OpenFitnessLogForAppend(path.c_str()), nullptr) << other;
    EXPECT_EQ(errno, NotAFitnessLog);
    EXPECT_EQ(ReadAll(path), other);
  }
}
}  // namespace
