// The set's checks as kept in its folder, and the picture drawn from them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "runs/set_checks.h"
#include "runs/set_picture.h"
#include "temp_dir.h"

namespace {

// A set of two places: place 0 gives its run 0 up at work 200 and run 2 begins anew there; place 1's run 1
// is resumed and checks work 300 again (the later one counts), then run 3 goes on from a copy of run 2's best.
// A check of a third place is no place of this set.
constexpr const char* TwoPlaces =
    "zarnik-checks 1\n"
    "0\t0\t100\t0.50\t0\t-\n"
    "1\t1\t100\t1.00\t0\t-\n"
    "0\t0\t200\t0.40\t0\t-\n"
    "1\t1\t200\t1.50\t0\t-\n"
    "2\t0\t300\t0.20\t200\t-\n"
    "1\t1\t300\t2.00\t0\t-\n"
    "1\t1\t300\t2.10\t0\t-\n"
    "3\t1\t400\t2.20\t300\t2\n"
    "2\t2\t400\t9.00\t0\t-\n"
    "5\t1\t5";  // torn while it was appended: dropped

TEST(SetPicture, EachPlaceIsOneLineWithItsRestartsAndCopiesMarked) {
  std::vector<TSetCheck> checks;
  ASSERT_TRUE(ParseSetChecks(TwoPlaces, checks));
  ASSERT_EQ(checks.size(), 9u);
  EXPECT_EQ(checks[7], (TSetCheck{.run = 3, .place = 1, .work = 400, .mean = 2.2, .startWork = 300, .from = 2}));
  const TSetPicture picture = GatherSetPicture(checks, 2, 3.0);
  EXPECT_EQ(picture.places, (std::vector<std::vector<TPlacePoint>>{{{100, 0.5}, {200, 0.4}, {300, 0.2}},
                                                                   {{100, 1.0}, {200, 1.5}, {300, 2.1}, {400, 2.2}}}));
  // Each mark sits on its place's line where the new run took over: the last mean before it.
  EXPECT_EQ(picture.marks, (std::vector<TPlaceMark>{{.place = 0, .run = 2, .from = -1, .work = 200, .mean = 0.4},
                                                    {.place = 1, .run = 3, .from = 2, .work = 300, .mean = 2.1}}));
  EXPECT_EQ(picture.goal, 3.0);
  EXPECT_TRUE(picture.spread.empty());  // two places: no median

  for (const char* bad : {"zarnik-checks 2\n", "zarnik-checks 1\n0\t0\t100\t0,50\t0\t-\n", "zarnik-checks 1\n0\t0\t100\t0.5\t0\n",
                          "zarnik-checks 1\n0\t0\t100\t0.5\t200\t-\n",  // checked before it began
                          "zarnik-checks 1\n1\t2\t100\t0.5\t0\t-\n", "x"})
    EXPECT_FALSE(ParseSetChecks(bad, checks)) << bad;
  EXPECT_TRUE(ParseSetChecks("zarnik-ch", checks) && checks.empty());  // just begun
}

// Five places; place 2 checks once off the common works, place 4 ends (at its goal) at work 100. At each work,
// over the places whose line passes there, each with its last mean so far:
//   100: 0 1 2 3 4       -> quartiles at positions 1, 2, 3:        1, 2, 3
//   150: 0 0 1 2 (p1 p2 p0 p3) -> positions 0.75, 1.5, 2.25:        0, 0.5, 1.25
//   200: 0.5 1 2 3      -> positions 0.75, 1.5, 2.25:               0.875, 1.5, 2.25
TEST(SetPicture, MoreThanFourPlacesShowTheirMedianAndMiddleHalf) {
  const auto check = [](int place, long long work, double mean) {
    return TSetCheck{.run = place, .place = place, .work = work, .mean = mean};
  };
  const std::vector<TSetCheck> checks = {check(0, 100, 1.0), check(1, 100, 0.0), check(2, 100, 3.0), check(3, 100, 2.0),
                                         check(4, 100, 4.0), check(2, 150, 0.0), check(0, 200, 2.0), check(1, 200, 1.0),
                                         check(2, 200, 3.0), check(3, 200, 0.5)};
  EXPECT_EQ(GatherSetPicture(checks, 5, std::nullopt).spread,
            (std::vector<TSpreadPoint>{{100, 1, 2, 3}, {150, 0, 0.5, 1.25}, {200, 0.875, 1.5, 2.25}}));
  EXPECT_TRUE(GatherSetPicture(checks, 4, std::nullopt).spread.empty());  // four: only their lines
}

TEST(SetPicture, ChecksAreAppendedWholeAndNeverIntoAnotherFile) {
  TTempDir dir;
  const std::string file = (dir / "s.dat").string();
  std::filesystem::create_directory(dir / "s.runs");
  std::vector<TSetCheck> back{{}};
  ASSERT_TRUE(ReadSetChecks(file, back));
  EXPECT_TRUE(back.empty());  // no file yet: no checks
  const TSetCheck first{.run = 0, .place = 0, .work = 100, .mean = 1.25, .startWork = 0, .from = -1};
  const TSetCheck second{.run = 2, .place = 0, .work = 300, .mean = 0.5, .startWork = 200, .from = 1};
  ASSERT_TRUE(AppendSetCheck(file, first));
  std::ofstream(dir / "s.runs/checks.txt", std::ios::app) << "1\t1\t10";  // a crash while appending
  ASSERT_TRUE(AppendSetCheck(file, second));
  EXPECT_EQ(ReadAll(dir / "s.runs/checks.txt"), "zarnik-checks 1\n0\t0\t100\t1.25\t0\t-\n2\t0\t300\t0.50\t200\t1\n");
  ASSERT_TRUE(ReadSetChecks(file, back));
  EXPECT_EQ(back, (std::vector<TSetCheck>{first, second}));

  std::filesystem::create_directory(dir / "o.runs");
  std::ofstream(dir / "o.runs/checks.txt") << "a list of the user's\n";
  errno = 0;
  EXPECT_FALSE(AppendSetCheck((dir / "o.dat").string(), first));
  EXPECT_EQ(errno, EILSEQ);
  EXPECT_EQ(ReadAll(dir / "o.runs/checks.txt"), "a list of the user's\n");
  EXPECT_FALSE(ReadSetChecks((dir / "o.dat").string(), back));
}

}  // namespace
