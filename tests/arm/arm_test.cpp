// The arm: joint chain, angle wrapping, platform limits, the grip, one step.
#include <gtest/gtest.h>
#include <tuple>
#include <vector>
#include "hosts/headless_host.h"

namespace {
struct Arm : ::testing::Test {
  THeadlessArmView view;
  TArmModel arm{&view};
  int out[OutputCount] = {0, 0, 0, 0, 0, 0};
  void SetUp() override { arm.SetStartPose(); }
  void Nudge() { arm.UpdateAxleData(3, 0.0f, false); }
  std::vector<int> Step(bool keep) {
    const int* s = arm.GetCalcData(out, keep, false);
    return {s, s + SensorCount};
  }
};

TEST_F(Arm, TurningAJointTurnsEverythingBeyondItAndAnglesWrapOnce) {
  arm.UpdateAxleData(0, 10.0f, true);
  EXPECT_EQ(arm.AxleDat[0].x, 353);
  const float angles[4] = {100.0f, 100.0f, 190.0f, 280.0f};
  for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(arm.AxleDat[i].a, angles[i]) << i;
  EXPECT_EQ(view.AxleText[3], "D:    280.0\xB0");  // texts only when drawn
  arm.SetStartPose();
  arm.UpdateAxleData(2, 45.0f, false);  // C at 225: both offsets -127.99.. truncate to -127
  EXPECT_EQ(std::pair(arm.AxleDat[3].x - arm.AxleDat[2].x, arm.AxleDat[3].y - arm.AxleDat[2].y), std::pair(-127, 127));
  arm.AxleDat[3].a = 359.5f;
  arm.UpdateAxleData(3, 1.0f, false);
  EXPECT_FLOAT_EQ(arm.AxleDat[3].a, 0.5f);
  arm.UpdateAxleData(3, -0.8f, false);
  EXPECT_FLOAT_EQ(arm.AxleDat[3].a, 359.7f);
  EXPECT_EQ(view.AxleText[2], "C:    190.0\xB0");  // the turns not drawn left it
  // A hair below 0 plus 360 rounds to 360.0f: that is 0, and the claw (1 degree on) stays in the tables.
  // D at the start pose, pivot (197, 80): claw 40 px at 1 degree (39.99, 0.69), a held ball 67 px (66.98, 1.16).
  arm.SetStartPose();
  arm.AxleDat[3].a = 0.0f;
  arm.BallState = 2, arm.MoveState = 1;
  arm.UpdateAxleData(3, -1e-6f, false);
  EXPECT_EQ(std::tuple(arm.AxleDat[3].a, arm.ClawDat.x, arm.ClawDat.y, arm.BallDat.x, arm.BallDat.y),
            std::tuple(0.0f, 236, 80, 263, 51));
}

TEST_F(Arm, PlatformsMoveOnlyFromOneToTenAndCarryALyingBall) {
  arm.UpdatePlatData(0, +1);
  arm.UpdatePlatData(1, +1);  // the ball lies on E: F moves alone
  EXPECT_EQ(std::tuple(arm.PlatDat[0].y, arm.BallDat.y, view.PlatText[0]), std::tuple(318, 261, "E:    6"));
  for (int i = 0; i < 4; ++i) arm.UpdatePlatData(0, +1);
  EXPECT_EQ(view.Beeps, 0);
  arm.UpdatePlatData(0, +1);
  arm.PlatDat[1] = {655, 443, 1};
  arm.UpdatePlatData(1, -1);
  EXPECT_EQ(std::tuple(view.Beeps, arm.PlatDat[0].h, arm.PlatDat[1].h), std::tuple(2, 10, 1));
  for (int h : {0, 11, -3, 1}) {  // a step's platform commands too
    out[4] = h;
    arm.GetCalcData(out, true, false);
    EXPECT_EQ(arm.PlatDat[0].h, h == 1 ? 1 : 10) << h;
  }
  EXPECT_EQ(std::pair(arm.PlatDat[0].y, arm.BallDat.y), std::pair(443, 386));  // the ball rides on E
}

TEST_F(Arm, StartPoseGripTakesOnlyBallsInsideItsStripAndStepsReportTheSensors) {
  const std::pair<TPoint32, bool> balls[] = {{{197, 116}, true},  {{167, 118}, true},  {{226, 120}, true},
                                             {{197, 115}, false}, {{197, 121}, false}, {{166, 118}, false},
                                             {{227, 118}, false}};
  for (auto [b, taken] : balls) {
    arm.SetStartPose();
    arm.BallDat = b;
    Nudge();
    EXPECT_EQ(arm.BallState, taken ? 2 : 0) << b.x << "," << b.y;
  }
  arm.SetStartPose(), arm.BallDat = {50, 286};  // untaken on E
  view.Running = true;
  EXPECT_EQ(Step(false), (std::vector<int>{50, 286, 197, 119, 50, 258, -1, 180, 180, -90, 0}));
  out[0] = -300, out[1] = 700, out[2] = 20, out[3] = -1000;
  EXPECT_EQ(Step(false)[10], -2);  // the moved pose, D at 268.84, then put back:
  EXPECT_EQ(std::pair(arm.AxleDat[3].x, arm.AxleDat[3].a), std::pair(172, 270.0f));
  arm.BallDat = {197, 118};  // touching: A's zero step takes it (kept by a trial step), B..D wait a step
  out[0] = 0, out[1] = out[2] = out[3] = 1000;
  EXPECT_EQ(Step(false), (std::vector<int>{198, 118, 198, 118, 705, 343, 1, 180, 180, -90, 0}));
  EXPECT_EQ(std::pair(arm.BallState, arm.AxleDat[3].a), std::pair(2, 270.0f));
  Step(true);
  EXPECT_FLOAT_EQ(arm.AxleDat[3].a, 276.0f);
}
}  // namespace
