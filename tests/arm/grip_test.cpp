// Taking the ball with the grip strip, placing it on the target platform, and
// the whole ball cycle between the two platforms.
#include <gtest/gtest.h>

#include <random>

#include "headless_host.h"

namespace {

struct Grip : ::testing::Test {
  THeadlessArmView view;
  TArmModel arm{&view};
  void SetUp() override { arm.SetStartPose(); }

  // Joint D pointing down with its picture at (x, y): a carried ball then lies
  // at (x + 26, y + 63) and the grip's centre row at y + 63.
  void PutClawAt(int x, int y) { arm.AxleDat[3] = {x, y, 270.0f}; }
};

TEST_F(Grip, StartPoseStripAcceptsTheDocumentedBallPositions) {
  const TPoint32 taken[] = {{197, 118}, {197, 116}, {167, 118}, {226, 120}};
  const TPoint32 missed[] = {{197, 115}, {197, 121}, {166, 118}, {227, 118}};
  for (TPoint32 b : taken) {
    arm.SetStartPose();
    arm.BallDat = b;
    arm.UpdateAxleData(3, 0.0f, false);
    EXPECT_EQ(arm.BallState, 2) << b.x << "," << b.y;
    EXPECT_EQ(arm.MoveState, 1);
    EXPECT_EQ(arm.BallDat.x, 198);  // carried 67 px out along the claw
    EXPECT_EQ(arm.BallDat.y, 118);
  }
  for (TPoint32 b : missed) {
    arm.SetStartPose();
    arm.BallDat = b;
    arm.UpdateAxleData(3, 0.0f, false);
    EXPECT_EQ(arm.BallState, 0) << b.x << "," << b.y;
    EXPECT_EQ(arm.BallDat.x, b.x);
  }
}

TEST_F(Grip, CheapRejectionAgreesWithTheFullScan) {
  std::mt19937 rng(12345);
  std::uniform_real_distribution<float> angle(0.0f, 359.9f);
  std::uniform_int_distribution<int> near(-80, 80), pos(-300, 1000);
  int matches = 0;
  for (int n = 0; n < 200000; ++n) {
    arm.AxleDat[3] = {pos(rng), pos(rng), angle(rng)};
    if (n % 4 == 0) arm.AxleDat[3].a = static_cast<float>(rng() % 3600) / 10.0f;  // table edges
    arm.BallDat = {arm.AxleDat[3].x + 25 + near(rng), arm.AxleDat[3].y + 25 + near(rng)};
    const bool full = arm.GripTouchesBallFullScan();
    ASSERT_EQ(arm.GripTouchesBall(), full) << "pose " << n;
    matches += full;
  }
  EXPECT_GT(matches, 1000);  // the comparison covered both outcomes
}

TEST_F(Grip, PlacedExactlyInsideTheDropWindowOfF) {
  arm.Train2AN = true;  // during a run: no question
  for (int x = 640; x <= 770; ++x) {
    for (int y = 280; y <= 292; ++y) {
      arm.BallState = 2;
      arm.MoveState = 1;
      PutClawAt(x - 26, y - 63);
      arm.UpdateAxleData(3, 0.0f, false);
      ASSERT_EQ(arm.BallDat.x, x);
      ASSERT_EQ(arm.BallDat.y, y);
      const bool inside = x >= 660 && x <= 751 && y >= 285 && y <= 287;
      ASSERT_EQ(arm.BallState, inside ? 1 : 2) << x << "," << y;
    }
  }
  EXPECT_EQ(view.Questions, 0);
}

TEST_F(Grip, ABallPlacedByHandAsksWhetherToTakeItAgain) {
  arm.BallState = 2;
  arm.MoveState = 1;
  view.Answer = true;
  PutClawAt(705 - 26, 286 - 63);
  arm.UpdateAxleData(3, 0.0f, false);
  EXPECT_EQ(view.Questions, 1);
  EXPECT_EQ(view.LastQuestion, "Bingo!\n\nKugel wieder mitnehmen?");
  EXPECT_EQ(arm.BallState, 2);
  EXPECT_EQ(arm.MoveState, 0);
  EXPECT_EQ(arm.BallDat.x, 705);

  arm.MoveState = 1;
  view.Answer = false;
  arm.UpdateAxleData(3, 0.0f, false);
  EXPECT_EQ(view.Questions, 2);
  EXPECT_EQ(arm.BallState, 1);
  EXPECT_EQ(arm.MoveState, 1);
  // The grip still touches the ball: the next move takes it again.
  arm.UpdateAxleData(3, 0.0f, false);
  EXPECT_EQ(arm.BallState, 2);
  EXPECT_EQ(arm.MoveState, 0);
}

TEST_F(Grip, BallCycleFromEToFAndBack) {
  arm.StartANN = true;
  // Take the ball from E.
  PutClawAt(25, 286 - 63);
  arm.UpdateAxleData(3, 0.0f, false);
  EXPECT_EQ(arm.BallState, 2);
  EXPECT_EQ(arm.MoveState, 1);

  // Carry it over E and down: nothing happens away from the target.
  PutClawAt(25, 223);
  arm.UpdateAxleData(3, 0.0f, false);
  EXPECT_EQ(arm.BallState, 2);

  // Put it on F, take it again, put it back on E.
  PutClawAt(705 - 26, 286 - 63);
  arm.UpdateAxleData(3, 0.0f, false);
  EXPECT_EQ(arm.BallState, 1);
  EXPECT_EQ(arm.MoveState, 1);
  arm.UpdateAxleData(3, 0.0f, false);
  EXPECT_EQ(arm.BallState, 2);
  EXPECT_EQ(arm.MoveState, 0);
  PutClawAt(50 - 26, 286 - 63);
  arm.UpdateAxleData(3, 0.0f, false);
  EXPECT_EQ(arm.BallState, 0);
  EXPECT_EQ(arm.MoveState, 0);
  EXPECT_EQ(view.Questions, 0);

  arm.ResetSimulator();
  EXPECT_EQ(arm.BallState, 0);
  EXPECT_EQ(arm.MoveState, 0);
}

TEST_F(Grip, APlatformChangeNeverTakesOrPlacesTheBall) {
  // The grip hovers one block above the ball; raising E brings the ball up to it.
  PutClawAt(25, 261 - 63);
  arm.UpdateAxleData(3, 0.0f, false);
  ASSERT_EQ(arm.BallState, 0);
  arm.UpdatePlatData(0, +1);
  EXPECT_EQ(arm.BallDat.y, 261);
  EXPECT_EQ(arm.BallState, 0);
  arm.UpdateAxleData(3, 0.0f, false);  // the next move does
  EXPECT_EQ(arm.BallState, 2);
}

}  // namespace
