// The fitness history file: ranges, limits, torn lines, appending.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>
#include <cstdio>
#include "../support/temp_dir.h"
#include "history/fitness_log.h"
#include "platform/regular_file.h"

namespace {
const std::string Header(FitnessLogHeader), Bom = "\xEF\xBB\xBF";

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
  // Beyond 1 GiB of rows that are each fine: refused by the count of bytes. The rows are one 64 KiB piece
  // mapped again and again, so no gigabyte is ever written.
  std::string piece;
  while (piece.size() < 64 * 1024) piece += std::string(255 - tail.size(), '0') + tail + "\n";
  const int fd = ::memfd_create("rows", 0);
  ASSERT_TRUE(fd >= 0 && ::write(fd, piece.data(), piece.size()) == static_cast<ssize_t>(piece.size()));
  const size_t pieces = (1 << 30) / piece.size() + 1, span = pieces * piece.size();
  char* rowsInMemory = static_cast<char*>(::mmap(nullptr, span, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0));
  ASSERT_NE(rowsInMemory, MAP_FAILED);
  for (size_t k = 0; k < pieces; ++k)
    ASSERT_NE(::mmap(rowsInMemory + k * piece.size(), piece.size(), PROT_READ, MAP_SHARED | MAP_FIXED, fd, 0), MAP_FAILED);
  TFitnessLogParser big;
  EXPECT_TRUE(big.Feed(Header + "\n") && big.Feed(piece));
  EXPECT_FALSE(big.Feed(std::string_view(rowsInMemory, span)));
  ::munmap(rowsInMemory, span);
  ::close(fd);
  // A file beyond 1 GiB is refused by its size before a byte of it is read; one of exactly 1 GiB is read
  // (and refused at its zeros). The kernel counts the bytes this process reads.
  const auto bytesRead = [] {
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = -1;
    while (io >> key >> value && key != "rchar:") {}
    return value;
  };
  std::ofstream(path, std::ios::binary) << Header << "\n0,2,1,1,0,0.5\n";
  for (uintmax_t size : {10'000'000'000ull, (1ull << 30) + 1, 1ull << 30}) {
    fs::resize_file(path, size);
    const long long before = bytesRead();
    EXPECT_FALSE(ReadFitnessLog(path.c_str(), rows)) << size;
    const long long after = bytesRead();
    EXPECT_EQ(after - before > 4096, size == 1ull << 30) << size << ": " << after - before << " bytes read";
  }
}

TEST_F(FitnessLog, ATornLastLineIsDroppedOnReadingAndCutBeforeAppending) {
  std::vector<TFitnessRow> rows;
  for (const char* torn : {"1,2,-41", "1,2,-4100,-9000,1,1.6", "1", "1,2,-4100,-9000,1,1.630\r"}) {
    ASSERT_TRUE(ParseFitnessLog(Header + "\r\n0,2,-4230,-9120,0,0.812\r\n" + torn, rows)) << torn;
    EXPECT_EQ(Text(rows), "0,2,-4230,-9120,0,0.812,\n") << torn;
  }
  // Texts a run leaves before its first row: no rows, also after a spreadsheet's byte-order mark.
  for (const std::string& text : {std::string(), std::string("generation,mo"), Header, Bom.substr(0, 2), Bom,
                                  Bom + "generation,mo"}) {
    rows = {{5, 2, 1, 2, 3, 4.0}};
    EXPECT_TRUE(ParseFitnessLog(text, rows)) << text;
    EXPECT_TRUE(rows.empty()) << text;
  }
  EXPECT_FALSE(ParseFitnessLog("generation,mx", rows));
  // A row torn by a kill goes before the next is appended: the resume table below, and the trainer's resumed run.
  // A history from before the deliveries column loads (without counts) and gets the present header before
  // the next row.
  std::ofstream(path, std::ios::binary) << "generation,mode,best_fitness,average_fitness,generation_of_best,seconds\n"
                                           "3,2,5,6,1,0.5\n";
  Append({2, 4, 10, -10, 4, 1}, 0.5);
  EXPECT_EQ(ReadAll(path), Header + "\n3,2,5,6,1,0.500,\n4,2,10,-10,4,0.500,1\n");
  std::ofstream(path, std::ios::binary) << "generation,mode,be";  // a torn header is written anew
  Append({2, 3, 10, -10, 3, 1}, 0.5);
  EXPECT_EQ(ReadAll(path), Header + "\n3,2,10,-10,3,0.500,1\n");
  for (const std::string& other : {std::string("Einkaufsliste"), std::string("Brot\nMilch\n"),
                                   Header + "\n" + std::string(300, '1'), Header + "\n0,2,5,5,0,nan\n1,2,5,5,0,1\n"}) {
    std::ofstream(path, std::ios::binary) << other;
    errno = 0;
    EXPECT_EQ(OpenFitnessLogForAppend(path.c_str()), nullptr) << other;
    EXPECT_EQ(errno, NotAFitnessLog);
    EXPECT_EQ(ReadAll(path), other);
  }
}

// What a spreadsheet leaves (a byte-order mark, CRLF) reads and is appended to; a resumed run's repeated rows
// (training 2 from the stored generation on, at the end) are cut, and the last row that stays is told.
TEST_F(FitnessLog, AByteOrderMarkAndCrLfAreReadAndAResumeCutsTheRowsItRepeats) {
  std::vector<TFitnessRow> rows;
  ASSERT_TRUE(ParseFitnessLog(Bom + Header + "\r\n0,2,-4230,-9120,0,0.812,1\r\n", rows));
  EXPECT_EQ(Text(rows), "0,2,-4230,-9120,0,0.812,1\n");
  EXPECT_FALSE(ParseFitnessLog("\xEF\xBB" + Header + "\n", rows));  // half a mark is no mark
  std::ofstream(path, std::ios::binary) << Bom << Header << "\r\n0,2,10,-10,0,0.500,1\r\n";
  Append({2, 1, 10, -10, 1, 1}, 0.5);
  ASSERT_TRUE(ReadFitnessLog(path.c_str(), rows));
  EXPECT_EQ(Text(rows), "0,2,10,-10,0,0.500,1\n1,2,10,-10,1,0.500,1\n");

  const std::string kept = "0,2,9,1,0,0.100,1\n1,2,9,1,0,0.200,1\n0,1,5,1,0,0.300,\n";
  struct Case { int stored; std::string tail; long long cut; int lastGeneration; };
  const Case cases[] = {
      {2, "2,2,9,1,0,0.400,1\n3,2,9,1,3,0.500,1\n\n", 2, 0},  // training 1's pass 0 stays, and so before it
      {2, "", 0, 0},
      {-1, "2,2,9,1,0,0.400,1\n", 0, 2},                 // nothing stored: nothing cut
      {3, "2,2,9,1,0,0.400,1\n3,2,9,1,3,0.5", 0, 2},     // only the torn line goes
  };
  for (const Case& c : cases) {
    std::ofstream(path, std::ios::binary) << Header << "\n" << kept << c.tail;
    TFitnessLogResume resume;
    resume.StoredGeneration = c.stored;
    FILE* f = OpenFitnessLogForAppend(path.c_str(), resume);
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    const std::string stays = c.cut > 0 || c.tail.empty() ? kept : kept + "2,2,9,1,0,0.400,1\n";
    EXPECT_EQ(ReadAll(path), Header + "\n" + stays) << c.stored;
    EXPECT_EQ(std::tuple(resume.RowsCut, resume.HasLastRow, resume.LastRow.generation, resume.LastPass1),
              std::tuple(c.cut, true, c.lastGeneration, 0)) << c.stored;
  }
}
}  // namespace
