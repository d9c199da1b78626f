// What a set of runs is, as stored beside its runs.
#include <gtest/gtest.h>

#include "runs/set_identity.h"

namespace {

TEST(SetIdentity, TheStoredTextAndItsWayBack) {
  const TSetIdentity set{.seed = 18446744073709551615ull, .runs = 4, .goal = 2.5, .restarts = false,
                         .strategy = TSetStrategy::Restart};
  EXPECT_EQ(FormatSetIdentity(set), "zarnik-set 1\nseed 18446744073709551615\nruns 4\ngoal 2.5\nrestarts 0\n");
  // The strategy that copies is named in a second format; the first means "restart", as it did.
  const TSetIdentity exploit{.seed = 12, .runs = 2, .goal = 3.0, .strategy = TSetStrategy::Exploit};
  EXPECT_EQ(FormatSetIdentity(exploit), "zarnik-set 2\nseed 12\nruns 2\ngoal 3\nrestarts 1\nstrategy exploit\n");
  TSetIdentity back;
  ASSERT_TRUE(ParseSetIdentity("zarnik-set 2\nseed 12\nruns 2\ngoal 3\nrestarts 1\nstrategy exploit\n", back));
  EXPECT_EQ(back, exploit);
  ASSERT_TRUE(ParseSetIdentity("zarnik-set 1\nseed 12\nruns 2\ngoal -\nrestarts 1\n", back));
  EXPECT_EQ(back, (TSetIdentity{.seed = 12, .runs = 2, .goal = std::nullopt, .restarts = true,
                                .strategy = TSetStrategy::Restart}));
  ASSERT_TRUE(ParseSetIdentity("zarnik-set 1\nseed 1\nruns 2\ngoal 3.0\nrestarts 1\n", back));
  EXPECT_EQ(back.goal, 3.0);
  for (const char* bad : {"", "zarnik-set 1\nseed 12\nruns 2\ngoal -\nrestarts 1",  // torn: no last line end
                          "zarnik-set 2\nseed 12\nruns 2\ngoal -\nrestarts 1\n",
                          "zarnik-set 1\nseed -1\nruns 2\ngoal -\nrestarts 1\n",
                          "zarnik-set 1\nseed 12\nruns 0\ngoal -\nrestarts 1\n",
                          "zarnik-set 1\nseed 12\nruns 2\ngoal 3,0\nrestarts 1\n",
                          "zarnik-set 1\nseed 12\nruns 2\ngoal -\nrestarts yes\n",
                          "zarnik-set 1\nruns 2\nseed 12\ngoal -\nrestarts 1\n",
                          "zarnik-set 1\nseed 12\nruns 2\ngoal -\nrestarts 1\nextra 1\n",
                          "zarnik-set 1\nseed 12\nruns 2\ngoal -\nrestarts 1\nstrategy exploit\n",
                          "zarnik-set 2\nseed 12\nruns 2\ngoal -\nrestarts 1\nstrategy restart\n",
                          "zarnik-set 2\nseed 12\nruns 2\ngoal -\nrestarts 1\nstrategy halving\n"})
    EXPECT_FALSE(ParseSetIdentity(bad, back)) << bad;
}

TEST(SetIdentity, TheFirstDifferenceIsTheOneNamed) {
  const TSetIdentity stored{.seed = 12, .runs = 4, .goal = 3.0, .restarts = true};
  EXPECT_FALSE(FirstDifference(stored, stored));
  auto d = FirstDifference(stored, {.seed = 50, .runs = 2, .goal = 3.0, .restarts = true});
  ASSERT_TRUE(d);
  EXPECT_EQ(std::string(d->format) + ' ' + d->stored + ' ' + d->asked, "Startwert %1 statt %2 12 50");
  d = FirstDifference(stored, {.seed = 12, .runs = 4, .goal = std::nullopt, .restarts = true});
  ASSERT_TRUE(d);
  EXPECT_EQ(d->stored + ' ' + d->asked, "3 -");
  d = FirstDifference(stored, {.seed = 12, .runs = 4, .goal = 3.0, .restarts = true, .strategy = TSetStrategy::Exploit});
  ASSERT_TRUE(d);
  EXPECT_EQ(std::string(d->format) + ' ' + d->stored + ' ' + d->asked, "Strategie %1 statt %2 restart exploit");
}

}  // namespace
