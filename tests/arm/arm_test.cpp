// The arm: joint chain, angle wrapping, platforms, status texts, the grip, the drop window, one step.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "headless_host.h"

namespace {

struct Arm : ::testing::Test {
  THeadlessArmView view;
  TArmModel arm{&view};
  int out[OutputCount] = {0, 0, 0, 0, 0, 0};
  void SetUp() override { arm.SetStartPose(); }
  // D pointing down with its picture at (x, y): a carried ball lies at (x + 26, y + 63).
  void PutClawAt(int x, int y) { arm.AxleDat[3] = {x, y, 270.0f}; }
  void Nudge() { arm.UpdateAxleData(3, 0.0f, false); }
  std::vector<int> Step(bool keep = true) {
    const int* s = arm.GetCalcData(out, keep, false);
    return {s, s + SensorCount};
  }
};

TEST_F(Arm, TurningAJointTurnsEverythingBeyondItAndAnglesWrapOnce) {
  arm.UpdateAxleData(0, 10.0f, false);
  EXPECT_EQ(arm.AxleDat[0].x, 353);
  const float angles[4] = {100.0f, 100.0f, 190.0f, 280.0f};
  for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(arm.AxleDat[i].a, angles[i]) << i;
  arm.SetStartPose();
  arm.UpdateAxleData(2, 45.0f, false);  // C at 225: both offsets -127.99.. truncate to -127
  EXPECT_EQ(arm.AxleDat[3].x - arm.AxleDat[2].x, -127);
  EXPECT_EQ(arm.AxleDat[3].y - arm.AxleDat[2].y, 127);
  arm.AxleDat[3].a = 359.5f;
  arm.UpdateAxleData(3, 1.0f, false);
  EXPECT_FLOAT_EQ(arm.AxleDat[3].a, 0.5f);
  arm.UpdateAxleData(3, -0.8f, false);
  EXPECT_FLOAT_EQ(arm.AxleDat[3].a, 359.7f);
  for (int i = 0; i < 4; ++i) arm.AxleDat[i].a = 0.0f;
  arm.UpdateAxleData(0, -1e-6f, false);  // -1e-6 + 360 rounds to 360.0f
  for (int i = 0; i < 4; ++i) EXPECT_EQ(arm.AxleDat[i].a, 0.0f) << i;
}

TEST_F(Arm, StatusTextsOnlyWhenDrawn) {
  arm.UpdateAxleData(3, -6.0f, false);
  out[2] = 250;
  arm.GetCalcData(out, true, false);
  EXPECT_EQ(view.AxleText[3], "");
  EXPECT_EQ(view.Redraws, 0);
  arm.UpdateAxleData(3, 6.0f, true);
  EXPECT_EQ(view.AxleText[3], "D:    270.5\xB0");
  arm.GetCalcData(out, true, true);  // a drawn step reports every turned joint
  EXPECT_EQ(view.AxleText[2], "C:    181.0\xB0");
  EXPECT_EQ(view.AxleText[3], "D:    271.0\xB0");
}

TEST_F(Arm, PlatformsMoveOnlyFromOneToTenAndCarryALyingBall) {
  arm.UpdatePlatData(0, +1);
  EXPECT_EQ(arm.PlatDat[0].y, 318);
  EXPECT_EQ(arm.BallDat.y, 261);
  EXPECT_EQ(view.PlatText[0], "E:    6");
  arm.UpdatePlatData(1, +1);  // the ball lies on E: F moves alone
  EXPECT_EQ(arm.BallDat.y, 261);
  for (int i = 0; i < 4; ++i) arm.UpdatePlatData(0, +1);
  EXPECT_EQ(view.Beeps, 0);
  arm.UpdatePlatData(0, +1);
  EXPECT_EQ(view.Beeps, 1);
  EXPECT_EQ(arm.PlatDat[0].h, 10);
  arm.PlatDat[1] = {655, 443, 1};
  arm.UpdatePlatData(1, -1);
  EXPECT_EQ(view.Beeps, 2);
  EXPECT_EQ(arm.PlatDat[1].h, 1);
  for (int bad : {0, 11, -3}) {  // a step's platform commands too
    out[4] = bad;
    arm.GetCalcData(out, true, false);
    EXPECT_EQ(arm.PlatDat[0].h, 10) << bad;
  }
  out[4] = 1;
  arm.GetCalcData(out, true, false);
  EXPECT_EQ(arm.PlatDat[0].y, 443);
  EXPECT_EQ(arm.BallDat.y, 386);  // the ball rides on E
}

TEST_F(Arm, StartPoseGripTakesOnlyBallsInsideTheStripAndAgreesWithTheFullScan) {
  const std::pair<TPoint32, bool> balls[] = {{{197, 116}, true},  {{167, 118}, true},  {{226, 120}, true},
                                             {{197, 115}, false}, {{197, 121}, false}, {{166, 118}, false},
                                             {{227, 118}, false}};
  for (auto [b, taken] : balls) {
    arm.SetStartPose();
    arm.BallDat = b;
    Nudge();
    EXPECT_EQ(arm.BallState, taken ? 2 : 0) << b.x << "," << b.y;
  }
  std::mt19937 rng(12345);
  std::uniform_real_distribution<float> angle(0.0f, 359.9f);
  std::uniform_int_distribution<int> near(-80, 80), pos(-300, 1000), tenths(0, 3599);
  int matches = 0;
  for (int n = 0; n < 200000; ++n) {  // every fourth pose at a table edge
    arm.AxleDat[3] = {pos(rng), pos(rng), n % 4 ? angle(rng) : static_cast<float>(tenths(rng)) / 10.0f};
    arm.BallDat = {arm.AxleDat[3].x + 25 + near(rng), arm.AxleDat[3].y + 25 + near(rng)};
    const bool full = arm.GripTouchesBallFullScan();
    ASSERT_EQ(arm.GripTouchesBall(), full) << "pose " << n;
    matches += full;
  }
  EXPECT_GT(matches, 1000);  // both outcomes covered
}

TEST_F(Arm, PlacedExactlyInsideTheDropWindowOfF) {
  view.Running = true;  // during a run: no question
  for (int x = 640; x <= 770; ++x)
    for (int y = 280; y <= 292; ++y) {
      arm.BallState = 2, arm.MoveState = 1;
      PutClawAt(x - 26, y - 63);
      Nudge();
      ASSERT_EQ(arm.BallState, x >= 660 && x <= 751 && y >= 285 && y <= 287 ? 1 : 2) << x << "," << y;
    }
}

TEST_F(Arm, StepsReportTheSensorVectorAndKeepATakenBall) {
  view.Running = true;
  EXPECT_EQ(Step(false), (std::vector<int>{50, 286, 197, 119, 50, 258, -1, 180, 180, -90, 0}));
  const int trial[4] = {-300, 700, 20, -1000};
  std::copy(trial, trial + 4, out);
  EXPECT_EQ(Step(false)[10], -2);  // the moved pose, D at 268.84, then put back:
  EXPECT_EQ(arm.AxleDat[3].x, 172);
  EXPECT_EQ(arm.AxleDat[3].a, 270.0f);
  arm.BallDat = {197, 118};  // touching: A's zero step takes it (kept by a trial step), B..D wait a step
  out[0] = 0, out[1] = out[2] = out[3] = 1000;
  EXPECT_EQ(Step(false), (std::vector<int>{198, 118, 198, 118, 705, 343, 1, 180, 180, -90, 0}));
  EXPECT_EQ(arm.BallState, 2);
  EXPECT_EQ(arm.AxleDat[3].a, 270.0f);
  Step();
  EXPECT_FLOAT_EQ(arm.AxleDat[3].a, 276.0f);
}

}  // namespace
