// The files through which the places of a set spread over machines learn of the goal and sum themselves up.
#include <gtest/gtest.h>

#include <fstream>

#include "runs/place_record.h"
#include "runs/set_goal.h"
#include "runs/set_summary.h"
#include "temp_dir.h"

namespace {

void Put(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

TEST(SetGoal, TheNoteAndItsWayBack) {
  const TGoalNote note{.seed = 13, .places = 4, .place = 0, .run = 4, .work = 400, .mean = 2.42};
  const std::string text = "zarnik-goal 1\nseed 13\nplaces 4\nplace 0\nrun 4\nwork 400\nmean 2.42\n";
  EXPECT_EQ(FormatGoalNote(note), text);
  TGoalNote back;
  ASSERT_TRUE(ParseGoalNote(text, back));
  EXPECT_EQ(back, note);
  for (const std::string& bad : {text.substr(0, text.size() - 1),  // torn
                                std::string("zarnik-goal 2\nseed 13\nplaces 4\nplace 0\nrun 4\nwork 400\nmean 2.42\n"),
                                std::string("zarnik-goal 1\nseed 13\nplaces 4\nplace 0\nrun 4\nwork -1\nmean 2.42\n"),
                                std::string("zarnik-goal 1\nseed 13\nplaces 4\nplace 0\nrun 4\nmean 2.42\nwork 400\n"),
                                std::string("zarnik-goal 1\nseed 13\nplaces 0\nplace 0\nrun 4\nwork 400\nmean 2.42\n")})
    EXPECT_FALSE(ParseGoalNote(bad, back)) << bad;
}

// In the folder: place 1's note at 2400 is taken; place 0's is torn, place 2's belongs to a set of another
// seed and says 100, place 3's names a run of another place, place 5 is beyond the set: none of them
// stops a place, each is named. Temporary files of a writer and other names are not notes at all.
TEST(SetGoal, OnlyWholeNotesOfThisSetCount) {
  TTempDir dir;
  const std::string file = (dir / "z.dat").string();
  const TSetIdentity set{.seed = 13, .runs = 4, .goal = 3.0};
  fs::create_directory(dir / "z.runs");
  EXPECT_EQ(ReadGoalNotes(file, set).taken.size(), 0u);
  const TGoalNote mine{.seed = 13, .places = 4, .place = 1, .run = 5, .work = 2400, .mean = 3.1};
  ASSERT_TRUE(WriteGoalNote(file, mine));
  EXPECT_EQ(ReadAll(dir / "z.runs/goal-1.txt"), "zarnik-goal 1\nseed 13\nplaces 4\nplace 1\nrun 5\nwork 2400\nmean 3.10\n");
  Put(dir / "z.runs/goal-0.txt", "zarnik-goal 1\nseed 13\nplaces 4\nplace 0\nrun 0\nwork 100\nme");
  Put(dir / "z.runs/goal-2.txt", FormatGoalNote({.seed = 14, .places = 4, .place = 2, .run = 2, .work = 100, .mean = 3.5}));
  Put(dir / "z.runs/goal-3.txt", FormatGoalNote({.seed = 13, .places = 4, .place = 3, .run = 4, .work = 100, .mean = 3.5}));
  Put(dir / "z.runs/goal-5.txt", FormatGoalNote({.seed = 13, .places = 4, .place = 5, .run = 5, .work = 100, .mean = 3.5}));
  Put(dir / "z.runs/goal-2.txt.tmp.a1b2c3", FormatGoalNote({.seed = 13, .places = 4, .place = 2, .run = 2, .work = 100, .mean = 3.5}));
  Put(dir / "z.runs/goal-02.txt", FormatGoalNote({.seed = 13, .places = 4, .place = 2, .run = 2, .work = 100, .mean = 3.5}));
  const TGoalNotes notes = ReadGoalNotes(file, set);
  EXPECT_EQ(notes.taken, std::vector<TGoalNote>{mine});
  EXPECT_EQ(EarliestGoalWork(notes.taken), std::optional(2400LL));
  EXPECT_EQ(notes.ignored, (std::vector<std::string>{file.substr(0, file.size() - 4) + ".runs/goal-0.txt",
                                                     file.substr(0, file.size() - 4) + ".runs/goal-2.txt",
                                                     file.substr(0, file.size() - 4) + ".runs/goal-3.txt",
                                                     file.substr(0, file.size() - 4) + ".runs/goal-5.txt"}));
  // Run 5 has no kept best that shows 3.10: the note is stale (its files were removed) and ends no place.
  EXPECT_FALSE(GoalNoteHoldsUp(file, mine, 3.0));
  // A mean below the goal is no note of it (a note of a set with another goal).
  EXPECT_FALSE(NoteBelongsTo({.seed = 13, .places = 4, .place = 1, .run = 5, .work = 100, .mean = 2.99}, 1, set));
}

// Two places of seed 10 resumed from their files: place 0 gave run 0 up at 300 and met the goal with run 2
// at its 2100, work 2400; place 1 (run 1) stopped at 2500 after two starts. Worked by hand.
TEST(SetGoal, TheSummaryOfAScriptedSet) {
  TRunSet set(TRunStrategyDef{.goal = 3}, 2, std::nullopt);
  std::map<int, TStoredRun> files{{0, {.generation = 300, .bestMean = 0.1, .bestGeneration = 100, .start = {}}},
                                  {1, {.generation = 2500, .bestMean = 1.2, .bestGeneration = 2000, .start = {}}},
                                  {2, {.generation = 2100, .bestMean = 3.1, .bestGeneration = 2100, .start = {}}}};
  set.Resume([&](int k) { return files.count(k) ? std::optional(files[k]) : std::nullopt; });
  const std::vector<std::optional<TPlaceRecord>> records{
      TPlaceRecord{.starts = 1, .ended = TPlaceEnd::Goal, .work = 2400, .cpuSeconds = 100.5},
      TPlaceRecord{.starts = 2, .ended = TPlaceEnd::AfterGoal, .work = 2500, .cpuSeconds = 50.25}};
  const std::vector<TPlaceSummary> places = SummarizePlaces(set, 10, records);
  ASSERT_EQ(places.size(), 2u);
  EXPECT_EQ(places[0].seeds, (std::vector<uint64_t>{10, 12}));
  EXPECT_EQ(std::pair(places[0].work, places[0].keptMean), std::pair(2400LL, 3.1));
  EXPECT_EQ(places[1].seeds, std::vector<uint64_t>{11});
  EXPECT_EQ(std::pair(places[1].work, places[1].keptMean), std::pair(2500LL, 1.2));
  EXPECT_DOUBLE_EQ(TotalCpuSeconds(places), 150.75);
  const std::string page = FormatSetSummary(places, "Gewinner: x");
  EXPECT_NE(page.find("\n0      2400          3.10       100.5          1        Ziel erreicht; 10,12\n"), std::string::npos) << page;
  EXPECT_NE(page.find("\n1      2500          1.20       50.2           2        nach dem Ziel; 11\n"), std::string::npos) << page;
  EXPECT_NE(page.find("CPU-Zeit aller Plätze: 150.8 s\nGewinner: x\n"), std::string::npos) << page;
  // The record's way back; a torn one is refused.
  TPlaceRecord back;
  ASSERT_TRUE(ParsePlaceRecord("zarnik-place 1\nstarts 2\nended after-goal\nwork 2500\ncpu 50.25\n", back));
  EXPECT_EQ(back, *records[1]);
  EXPECT_EQ(FormatPlaceRecord(back), "zarnik-place 1\nstarts 2\nended after-goal\nwork 2500\ncpu 50.25\n");
  EXPECT_FALSE(ParsePlaceRecord("zarnik-place 1\nstarts 2\nended after-goal\nwork 2500\ncpu 50", back));
}

}  // namespace
