// Joint chain, angle wrapping, platform changes and what the window is told.
#include <gtest/gtest.h>

#include <cmath>

#include "headless_host.h"

namespace {

struct Arm : ::testing::Test {
  THeadlessArmView view;
  TArmModel arm{&view};
  void SetUp() override { arm.SetStartPose(); }
};

TEST_F(Arm, TablesHoldOneEntryPerTenthDegreeWithSinglePrecisionStep) {
  const float r = static_cast<float>(3.14159265358979323846 / 1800.0);
  EXPECT_EQ(r, 0.0017453292f);
  EXPECT_EQ(arm.SinRad[900], static_cast<float>(std::sin(900.0 * r)));
  EXPECT_EQ(arm.CosRad[3609], static_cast<float>(std::cos(3609.0 * r)));
  EXPECT_GT(arm.CosRad[900], 0.0f);  // not exactly zero: r is rounded
}

TEST_F(Arm, StartPoseMatchesTheChainFormula) {
  EXPECT_EQ(arm.AxleDat[1].y, 236);
  EXPECT_EQ(arm.AxleDat[3].x, 172);
  EXPECT_EQ(arm.ClawDat.x, 197);
  EXPECT_EQ(arm.ClawDat.y, 119);
  EXPECT_EQ(arm.BallDat.x, 50);
  EXPECT_EQ(arm.BallDat.y, 286);
  // Recomputing every joint from A gives the same pose.
  arm.UpdateAxleData(0, 0.0f, false);
  EXPECT_EQ(arm.AxleDat[1].x, 353);
  EXPECT_EQ(arm.AxleDat[2].y, 55);
  EXPECT_EQ(arm.AxleDat[3].x, 172);
  EXPECT_EQ(arm.AxleDat[3].y, 55);
}

TEST_F(Arm, TurningAJointTurnsEverythingBeyondIt) {
  arm.UpdateAxleData(0, 10.0f, false);
  EXPECT_EQ(arm.AxleDat[0].x, 353);
  EXPECT_EQ(arm.AxleDat[0].y, 417);
  EXPECT_FLOAT_EQ(arm.AxleDat[0].a, 100.0f);
  EXPECT_FLOAT_EQ(arm.AxleDat[1].a, 100.0f);
  EXPECT_FLOAT_EQ(arm.AxleDat[2].a, 190.0f);
  EXPECT_FLOAT_EQ(arm.AxleDat[3].a, 280.0f);
  EXPECT_NE(arm.AxleDat[1].x, 353);
  EXPECT_NE(arm.AxleDat[3].y, 55);

  const TAxleData before[3] = {arm.AxleDat[0], arm.AxleDat[1], arm.AxleDat[2]};
  const TAxleData d = arm.AxleDat[3];
  arm.UpdateAxleData(3, -30.0f, false);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(arm.AxleDat[i].x, before[i].x);
    EXPECT_EQ(arm.AxleDat[i].a, before[i].a);
  }
  EXPECT_EQ(arm.AxleDat[3].x, d.x);
  EXPECT_EQ(arm.AxleDat[3].y, d.y);
  EXPECT_FLOAT_EQ(arm.AxleDat[3].a, 250.0f);
}

TEST_F(Arm, PixelOffsetsTruncateTowardZero) {
  // Joint C at 180 degrees: cos is -1 and sin tiny, so D
  // move exactly 181 to the left without a one-pixel drop.
  EXPECT_EQ(arm.AxleDat[3].x - arm.AxleDat[2].x, -181);
  arm.UpdateAxleData(2, 45.0f, false);  // C at 225: both offsets -127.99.. -> -127
  EXPECT_EQ(arm.AxleDat[3].x - arm.AxleDat[2].x, -127);
  EXPECT_EQ(arm.AxleDat[3].y - arm.AxleDat[2].y, 127);
}

TEST_F(Arm, AnglesWrapWithOneCorrection) {
  arm.AxleDat[3].a = 359.5f;
  arm.UpdateAxleData(3, 1.0f, false);
  EXPECT_FLOAT_EQ(arm.AxleDat[3].a, 0.5f);
  arm.AxleDat[3].a = 0.2f;
  arm.UpdateAxleData(3, -0.5f, false);
  EXPECT_FLOAT_EQ(arm.AxleDat[3].a, 359.7f);
}

TEST_F(Arm, AnAngleThatRoundsToFullCircleBecomesZero) {
  for (int i = 0; i < 4; ++i) arm.AxleDat[i].a = 0.0f;
  arm.UpdateAxleData(0, -1e-6f, false);  // -1e-6 + 360 rounds to 360.0f
  for (int i = 0; i < 4; ++i) {
    EXPECT_GE(arm.AxleDat[i].a, 0.0f);
    EXPECT_LT(arm.AxleDat[i].a, 360.0f);
  }
  EXPECT_EQ(arm.AxleDat[3].a, 0.0f);
  // The claw uses the next degree: index 10, well inside the tables.
  EXPECT_EQ(arm.ClawDat.x, static_cast<int>(arm.CosRad[10] * 40.0) + arm.AxleDat[3].x + 25);
}

TEST_F(Arm, DrawnTurnsReportTheTurnedJointsOnly) {
  arm.UpdateAxleData(3, -6.0f, false);
  EXPECT_EQ(view.AxleText[3], "");
  EXPECT_EQ(view.Redraws, 0);

  arm.UpdateAxleData(3, 6.0f, true);
  EXPECT_EQ(view.AxleText[3], "D:    270.0\xB0");
  EXPECT_EQ(view.AxleText[2], "");
  EXPECT_EQ(view.Redraws, 1);

  arm.UpdateAxleData(0, 6.0f, true);
  EXPECT_EQ(view.AxleText[0], "A:     96.0\xB0");
  EXPECT_EQ(view.AxleText[1], "B:     96.0\xB0");
  EXPECT_EQ(view.AxleText[2], "C:    186.0\xB0");
  EXPECT_EQ(view.AxleText[3], "D:    276.0\xB0");
  EXPECT_EQ(view.StatusRepaints, 5);
}

TEST_F(Arm, PlatformsMoveWithinTheirBoundsAndCarryALyingBall) {
  arm.UpdatePlatData(0, +1);
  EXPECT_EQ(arm.PlatDat[0].h, 6);
  EXPECT_EQ(arm.PlatDat[0].y, 318);
  EXPECT_EQ(arm.BallDat.y, 261);
  EXPECT_EQ(view.PlatText[0], "E:    6");
  EXPECT_EQ(view.Redraws, 1);

  arm.UpdatePlatData(1, +1);  // the ball lies on E: F moves alone
  EXPECT_EQ(arm.BallDat.y, 261);

  for (int i = 0; i < 4; ++i) arm.UpdatePlatData(0, +1);
  EXPECT_EQ(arm.PlatDat[0].h, 10);
  EXPECT_EQ(view.Beeps, 0);
  arm.UpdatePlatData(0, +1);
  EXPECT_EQ(view.Beeps, 1);
  EXPECT_EQ(arm.PlatDat[0].h, 10);
  EXPECT_EQ(arm.PlatDat[0].y, 218);

  arm.PlatDat[1] = {655, 443, 1};
  const int redraws = view.Redraws;
  arm.UpdatePlatData(1, -1);
  EXPECT_EQ(view.Beeps, 2);
  EXPECT_EQ(arm.PlatDat[1].h, 1);
  EXPECT_EQ(view.Redraws, redraws);
}

TEST_F(Arm, AHeldBallStaysWhenItsTargetPlatformMoves) {
  arm.BallState = 2;
  arm.MoveState = 1;
  arm.BallDat = {198, 118};
  arm.UpdatePlatData(1, +1);
  arm.UpdatePlatData(0, -1);
  EXPECT_EQ(arm.BallDat.x, 198);
  EXPECT_EQ(arm.BallDat.y, 118);
}

TEST(AngleCode, MeasuresFromStraightDownInWholeDegrees) {
  EXPECT_EQ(TArmModel::AngleCode(270.0f), 0);
  EXPECT_EQ(TArmModel::AngleCode(0.0f), 90);
  EXPECT_EQ(TArmModel::AngleCode(90.0f), 180);
  EXPECT_EQ(TArmModel::AngleCode(90.99f), 180);
  EXPECT_EQ(TArmModel::AngleCode(91.0f), -179);
  EXPECT_EQ(TArmModel::AngleCode(180.0f), -90);
  EXPECT_EQ(TArmModel::AngleCode(359.9f), 89);
}

}  // namespace
