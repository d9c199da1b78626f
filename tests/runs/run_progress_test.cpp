// The lines of a run: to a program that watches a set, and from a run to its set.
#include <gtest/gtest.h>
#include <clocale>
#include <tuple>
#include "runs/run_progress.h"

namespace {

TEST(RunProgress, TheLineOfARunAsTheWindowReadsIt) {
  const TSetRun r{.index = 2, .generation = 300, .bestFitness = -45, .bestDeliveries = 3, .validatedMean = 0.3,
                  .bestMean = 1.25, .state = TRunState::Restarted};
  EXPECT_EQ(FormatRunProgressLine(r, 7), "run\t2\t7\t300\t-45\t3\t0.30\t1.25\trestarted");
  TRunProgress back;
  ASSERT_TRUE(ParseRunProgressLine("run\t2\t7\t300\t-45\t3\t-\t1.25\tgoal", back));
  EXPECT_EQ(std::tuple(back.run, back.seed, back.generation, back.bestFitness, back.validatedMean, back.state),
            std::tuple(2, 7ull, 300, -45, -1.0, std::string("goal")));
  for (const char* bad : {"run\t2\t7\t300\t-45\t3\t-\t1.25", "run\t2\t7\t300\t-45\t3\t-\t1,25\tgoal",
                          "run\t2\t7\t300\t-45\t3\t-\t1.25\twaiting", "gen\t2\t7\t300\t-45\t3\t-\t1.25\tgoal"})
    EXPECT_FALSE(ParseRunProgressLine(bad, back)) << bad;
}

// A run that begins from a copy of another's kept best says so once, for the window's table.
TEST(RunProgress, TheOriginOfACopiedRun) {
  EXPECT_EQ(FormatRunOriginLine({.run = 5, .from = 2, .generation = 1200}), "from\t5\t2\t1200");
  TRunOrigin back;
  ASSERT_TRUE(ParseRunOriginLine("from\t5\t2\t1200", back));
  EXPECT_EQ(back, (TRunOrigin{5, 2, 1200}));
  for (const char* bad : {"from\t5\t2", "from\t5\t-1\t1200", "run\t5\t2\t1200", "from\t5\t2\t1200\t0"})
    EXPECT_FALSE(ParseRunOriginLine(bad, back)) << bad;
}

// Under a locale with a decimal comma the lines stay as they are in C: the
// set and the window read them with '.' only (a comma froze the window's table).
TEST(RunProgress, TheLinesOfARunInEveryLocale) {
  const std::string before = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale (scripts/install-deps.sh makes it)";
  const TSetRun r{.index = 0, .generation = 20, .validatedMean = 0.54, .bestMean = 0.575, .state = TRunState::Running};
  const std::string progress = FormatRunProgressLine(r, 12);
  const std::string check = FormatRunCheckLine(4000, 3.004, 3.2);
  const std::string gen = FormatRunGenerationLine(4001, -17, 6);
  TRunLine c, g;
  const bool parsed = ParseRunLine(check, c) && ParseRunLine(gen, g);
  const bool comma = ParseRunLine("check\t300\t0,54\t1.25", g);
  std::setlocale(LC_ALL, before.c_str());
  EXPECT_EQ(progress, "run\t0\t12\t20\t0\t0\t0.54\t0.57\trunning");  // 0.575 is 0.57499.. as a double
  EXPECT_EQ(check, "check\t4000\t3.00\t3.20");
  EXPECT_EQ(gen, "gen\t4001\t-17\t6");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(std::tuple(c.kind, c.generation, c.mean, c.bestMean), std::tuple(TRunLine::TKind::Check, 4000, 3.0, 3.2));
  EXPECT_EQ(std::tuple(g.kind, g.generation, g.bestFitness, g.bestDeliveries),
            std::tuple(TRunLine::TKind::Generation, 4001, -17, 6));
  EXPECT_FALSE(comma);
}

}  // namespace
