// One network step through GetCalcData: joint steps, trial steps, platform
// commands and the sensor vector in both encodings.
#include <gtest/gtest.h>

#include <vector>

#include "headless_host.h"

namespace {

struct Step : ::testing::Test {
  THeadlessArmView view;
  TArmModel arm{&view};
  int out[OutputCount] = {0, 0, 0, 0, 0, 0};
  void SetUp() override {
    arm.SetStartPose();
    arm.Train2AN = true;
  }
  std::vector<int> Sensors(const int* v) { return std::vector<int>(v, v + SensorCount); }
};

TEST_F(Step, StartPoseSensorVector) {
  const int* s = arm.GetCalcData(out, false, false);
  EXPECT_EQ(Sensors(s), (std::vector<int>{50, 286, 197, 119, 50, 258, -1, 180, 180, -90, 0}));
  EXPECT_EQ(s, arm.OutData);
  EXPECT_EQ(arm.GetCalcData(out, true, false), s);  // the same address every call
}

TEST_F(Step, HeldBallEncodingPointsAtTheTargetPlatform) {
  arm.BallDat = {197, 118};
  const int* s = arm.GetCalcData(out, true, false);  // a zero step takes the touching ball
  ASSERT_EQ(arm.BallState, 2);
  EXPECT_EQ(Sensors(s), (std::vector<int>{198, 118, 198, 118, 705, 343, 1, 180, 180, -90, 0}));
}

TEST_F(Step, OutputsAreRelativeTurnsFromTheBaseOutward) {
  out[0] = 1000;
  arm.GetCalcData(out, true, false);
  EXPECT_FLOAT_EQ(arm.AxleDat[0].a, 92.0f);
  EXPECT_FLOAT_EQ(arm.AxleDat[1].a, 92.0f);
  EXPECT_FLOAT_EQ(arm.AxleDat[2].a, 182.0f);
  EXPECT_FLOAT_EQ(arm.AxleDat[3].a, 272.0f);

  arm.SetStartPose();
  out[0] = 0;
  out[3] = 500;
  const int* s = arm.GetCalcData(out, true, false);
  EXPECT_FLOAT_EQ(arm.AxleDat[2].a, 180.0f);
  EXPECT_FLOAT_EQ(arm.AxleDat[3].a, 271.0f);
  EXPECT_EQ(s[10], 1);
}

TEST_F(Step, ATrialStepPutsTheJointsBackButKeepsATakenBall) {
  out[0] = -300;
  out[1] = 700;
  out[2] = 20;
  out[3] = -1000;
  const int* s = arm.GetCalcData(out, false, false);
  EXPECT_EQ(arm.AxleDat[3].x, 172);
  EXPECT_EQ(arm.AxleDat[1].a, 90.0f);
  EXPECT_EQ(arm.AxleDat[3].a, 270.0f);
  // The vector still reports the moved pose.
  EXPECT_EQ(s[7], 179);   // A at 89.4
  EXPECT_EQ(s[10], -2);   // D at 268.84

  arm.BallDat = {197, 118};
  out[0] = out[1] = out[2] = out[3] = 0;
  arm.GetCalcData(out, false, false);
  EXPECT_EQ(arm.BallState, 2);
  EXPECT_EQ(arm.MoveState, 1);
}

TEST_F(Step, JointsAfterThePickUpDoNotMoveInThatStep) {
  arm.BallDat = {197, 118};  // touching already: A's zero step takes it
  out[1] = 1000;
  out[2] = 1000;
  out[3] = 1000;
  arm.GetCalcData(out, true, false);
  EXPECT_EQ(arm.BallState, 2);
  EXPECT_EQ(arm.AxleDat[1].a, 90.0f);
  EXPECT_EQ(arm.AxleDat[3].a, 270.0f);
  arm.GetCalcData(out, true, false);  // the next step moves them
  EXPECT_FLOAT_EQ(arm.AxleDat[3].a, 276.0f);
}

TEST_F(Step, PlatformCommandsSetHeightsOnlyFromOneToTen) {
  for (int bad : {0, 11, -3}) {
    out[4] = bad;
    arm.GetCalcData(out, true, false);
    EXPECT_EQ(arm.PlatDat[0].h, 5);
    EXPECT_EQ(arm.PlatDat[0].y, 343);
  }
  out[4] = 10;
  out[5] = 1;
  const int* s = arm.GetCalcData(out, true, false);
  EXPECT_EQ(arm.PlatDat[0].y, 218);
  EXPECT_EQ(arm.PlatDat[1].y, 443);
  EXPECT_EQ(arm.BallDat.y, 161);  // the ball rides on E
  EXPECT_EQ(s[1], 161);
  EXPECT_EQ(s[5], 133);
  EXPECT_EQ(view.Beeps, 0);
  EXPECT_EQ(view.PlatText[0], "");  // the status bar keeps its old texts
  EXPECT_EQ(view.Redraws, 0);
}

TEST_F(Step, DrawnStepsReportEveryTurnedJoint) {
  out[2] = 250;
  arm.GetCalcData(out, true, true);
  EXPECT_EQ(view.AxleText[0], "A:     90.0\xB0");
  EXPECT_EQ(view.AxleText[3], "D:    270.5\xB0");
  EXPECT_EQ(view.Redraws, 4);
}

}  // namespace
