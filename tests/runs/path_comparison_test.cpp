// Two learning-path entries over the same 100 episodes: the sums against the ranking of each entry and
// the figures it was kept with, the table by hand.
#include "runs/path_comparison.h"
#include "runs/path_entry.h"
#include "runs/run_ranking.h"
#include "test_support.h"
#include "../support/temp_dir.h"

namespace {

// A short training of seed 1 keeping its path as a run does: at each check (every 20 generations here)
// where the best delivers more over the 100 episodes than the last entry, that best joins the path.
std::vector<TPathEntry> TrainedPath(int generations) {
  THeadlessHost host;
  host.View.Running = true;  // placing the ball asks nothing
  TZarnikHostScope useHost(&host);
  UseFixedRandomSeed(1);
  auto world = MakeZarnikWorld(&host);
  world->BeginTrainANN2();
  std::vector<TPathEntry> path;
  for (int g = 1; g <= generations; ++g) {
    world->TrainGeneration2();
    if (g % 20 != 0) continue;
    const TEpisodeTally tally = MeasureAllEpisodes(world->bestIndividual, host);
    if (path.empty() || tally.MeanDeliveries() > path.back().MeanDeliveries())
      AppendToPath(path, MakePathEntry(world->bestIndividual, g, tally));
  }
  UseClockRandomSeed();
  return path;
}

TEST(PathComparison, SumsAreTheRankingsOfEachEntryAndAnEntryBesideItselfDiffersNowhere) {
  TTempDir dir;
  const std::vector<TPathEntry> path = TrainedPath(200);
  ASSERT_GE(path.size(), 2u) << "seed 1 kept one best only";
  const std::string file = (dir / "trained.path").string();
  ASSERT_TRUE(WriteLearningPath(file.c_str(), path));
  const TPathEntry& first = path.front();
  const TPathEntry& last = path.back();
  const TPathComparison c = ComparePathEntries(first, last);
  ASSERT_EQ(c.episodes.size(), 100u);
  for (const auto& [entry, sum] : {std::pair(first, c.a), std::pair(last, c.b)}) {
    TRankedFile ranked;
    TUnrankedFile why;
    ASSERT_TRUE(MeasureFile(file + "@" + std::to_string(entry.generation), ranked, why));
    EXPECT_EQ(std::tuple(sum.episodes, sum.takes, sum.deliveries, sum.fitnessSum),
              std::tuple(ranked.tally.episodes, ranked.tally.takes, ranked.tally.deliveries, ranked.tally.fitnessSum));
    // As measured in the training's own population when it was kept.
    EXPECT_EQ(std::tuple(sum.episodes, sum.takes, sum.deliveries, sum.fitnessSum),
              std::tuple(100LL, entry.takes, entry.deliveries, entry.fitnessSum));
  }
  EXPECT_GT(c.Differing(), 0);  // the last entry delivers more than the first, so somewhere
  EXPECT_EQ(std::tuple(c.episodes[0].heights.e, c.episodes[0].heights.f, c.episodes[12].heights.e,
                       c.episodes[12].heights.f, c.episodes[99].heights.e, c.episodes[99].heights.f),
            std::tuple(1, 1, 2, 3, 10, 10));

  const TPathComparison same = ComparePathEntries(last, last);
  EXPECT_EQ(same.Differing(), 0);
  const std::string table = FormatPathComparison(same, "a", "a");
  EXPECT_EQ(table.find(" *\n"), std::string::npos) << table;  // no line marked
  EXPECT_NE(table.find("in 0 von 100 Episoden"), std::string::npos) << table;
}

// Two episodes by hand: equal in the first, B takes and delivers more in the second.
TEST(PathComparison, TableLinesByHand) {
  TPathComparison c;
  c.episodes = {{{1, 1}, {1, 3, 2, -40}, {1, 3, 2, -40}}, {{1, 2}, {1, 0, 0, -150}, {1, 12, 4, 900}}};
  c.a = {2, 3, 2, -190};
  c.b = {2, 15, 6, 860};
  EXPECT_EQ(FormatPathComparison(c, "x.path@100", "x.path@200"),
            "A: x.path@100\n"
            "B: x.path@200\n"
            "Höhen Aufnahmen A Ablagen A Aufnahmen B Ablagen B\n"
            "  1,1           3         2           3         2\n"
            "  1,2           0         0          12         4 *\n"
            "Summe           3         2          15         6 *\n"
            "(beide Netze in denselben 100 Episoden, erste Podesthöhen h1,h2 je 1 bis 10; "
            "* A und B verschieden, in 1 von 2 Episoden)\n");
}

}  // namespace
