// The arm: joint chain, angle wrapping, platforms, what the window is told,
// taking and placing the ball, and one network step with its sensor vector.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "headless_host.h"

namespace {

struct Arm : ::testing::Test {
  THeadlessArmView view;
  TArmModel arm{&view};
  int out[OutputCount] = {0, 0, 0, 0, 0, 0};
  void SetUp() override { arm.SetStartPose(); }
  // Joint D pointing down with its picture at (x, y): a carried ball then lies
  // at (x + 26, y + 63) and the grip's centre row at y + 63.
  void PutClawAt(int x, int y) { arm.AxleDat[3] = {x, y, 270.0f}; }
  void Nudge() { arm.UpdateAxleData(3, 0.0f, false); }
  std::vector<int> Sensors(const int* v) { return std::vector<int>(v, v + SensorCount); }
};

TEST_F(Arm, StartPoseAndPixelOffsetsTruncatingTowardZero) {
  EXPECT_EQ(arm.ClawDat.x, 197);
  EXPECT_EQ(arm.ClawDat.y, 119);
  arm.UpdateAxleData(0, 0.0f, false);  // recomputing every joint from A gives the same pose
  EXPECT_EQ(arm.AxleDat[1].x, 353);
  EXPECT_EQ(arm.AxleDat[1].y, 236);
  EXPECT_EQ(arm.AxleDat[2].y, 55);
  EXPECT_EQ(arm.AxleDat[3].x, 172);  // C at 180: exactly 181 to the left, no one-pixel drop
  EXPECT_EQ(arm.AxleDat[3].y, 55);
  arm.UpdateAxleData(2, 45.0f, false);  // C at 225: both offsets -127.99.. -> -127
  EXPECT_EQ(arm.AxleDat[3].x - arm.AxleDat[2].x, -127);
  EXPECT_EQ(arm.AxleDat[3].y - arm.AxleDat[2].y, 127);
}

TEST_F(Arm, TurningAJointTurnsEverythingBeyondIt) {
  arm.UpdateAxleData(0, 10.0f, false);
  EXPECT_EQ(arm.AxleDat[0].x, 353);
  EXPECT_EQ(arm.AxleDat[0].y, 417);
  const float angles[4] = {100.0f, 100.0f, 190.0f, 280.0f};
  for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(arm.AxleDat[i].a, angles[i]) << i;
  EXPECT_NE(arm.AxleDat[1].x, 353);
  EXPECT_NE(arm.AxleDat[3].y, 55);

  const TAxleData before[4] = {arm.AxleDat[0], arm.AxleDat[1], arm.AxleDat[2], arm.AxleDat[3]};
  arm.UpdateAxleData(3, -30.0f, false);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(arm.AxleDat[i].x, before[i].x);
    EXPECT_EQ(arm.AxleDat[i].y, before[i].y);
  }
  EXPECT_EQ(arm.AxleDat[2].a, 190.0f);
  EXPECT_FLOAT_EQ(arm.AxleDat[3].a, 250.0f);
}

TEST_F(Arm, AnglesWrapWithOneCorrection) {
  arm.AxleDat[3].a = 359.5f;
  arm.UpdateAxleData(3, 1.0f, false);
  EXPECT_FLOAT_EQ(arm.AxleDat[3].a, 0.5f);
  arm.AxleDat[3].a = 0.2f;
  arm.UpdateAxleData(3, -0.5f, false);
  EXPECT_FLOAT_EQ(arm.AxleDat[3].a, 359.7f);

  for (int i = 0; i < 4; ++i) arm.AxleDat[i].a = 0.0f;
  arm.UpdateAxleData(0, -1e-6f, false);  // -1e-6 + 360 rounds to 360.0f
  for (int i = 0; i < 4; ++i) EXPECT_EQ(arm.AxleDat[i].a, 0.0f) << i;
  // The claw uses the next degree: index 10, well inside the tables.
  EXPECT_EQ(arm.ClawDat.x, static_cast<int>(arm.CosRad[10] * 40.0) + arm.AxleDat[3].x + 25);

  const std::pair<float, int> codes[] = {{270.0f, 0},   {0.0f, 90},     {90.99f, 180},
                                         {91.0f, -179}, {180.0f, -90}, {359.9f, 89}};
  for (auto [a, code] : codes) EXPECT_EQ(TArmModel::AngleCode(a), code) << a;
}

TEST_F(Arm, StatusTextsOnlyWhenDrawn) {
  arm.UpdateAxleData(3, -6.0f, false);
  out[2] = 250;
  arm.GetCalcData(out, true, false);
  EXPECT_EQ(view.AxleText[3], "");
  EXPECT_EQ(view.Redraws, 0);

  arm.UpdateAxleData(3, 6.0f, true);
  EXPECT_EQ(view.AxleText[3], "D:    270.5\xB0");
  EXPECT_EQ(view.AxleText[2], "");
  EXPECT_EQ(view.Redraws, 1);

  arm.UpdateAxleData(0, 6.0f, true);
  EXPECT_EQ(view.AxleText[0], "A:     96.0\xB0");
  EXPECT_EQ(view.AxleText[2], "C:    186.5\xB0");
  EXPECT_EQ(view.StatusRepaints, 5);

  arm.GetCalcData(out, true, true);  // a drawn step reports every turned joint
  EXPECT_EQ(view.AxleText[0], "A:     96.0\xB0");
  EXPECT_EQ(view.AxleText[3], "D:    277.0\xB0");
  EXPECT_EQ(view.Redraws, 2 + 4);
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

  arm.BallState = 2;  // a held ball stays where it is
  arm.MoveState = 1;
  arm.BallDat = {198, 118};
  arm.UpdatePlatData(1, +1);
  arm.UpdatePlatData(0, -1);
  EXPECT_EQ(arm.BallDat.x, 198);
  EXPECT_EQ(arm.BallDat.y, 118);
}

TEST_F(Arm, StartPoseGripTakesOnlyBallsInsideTheStrip) {
  const std::pair<TPoint32, bool> balls[] = {{{197, 118}, true},  {{197, 116}, true},  {{167, 118}, true},
                                             {{226, 120}, true},  {{197, 115}, false}, {{197, 121}, false},
                                             {{166, 118}, false}, {{227, 118}, false}};
  for (auto [b, taken] : balls) {
    arm.SetStartPose();
    arm.BallDat = b;
    Nudge();
    EXPECT_EQ(arm.BallState, taken ? 2 : 0) << b.x << "," << b.y;
    EXPECT_EQ(arm.MoveState, taken ? 1 : 0) << b.x << "," << b.y;
    // A taken ball is carried 67 px out along the claw.
    EXPECT_EQ(arm.BallDat.x, taken ? 198 : b.x);
    EXPECT_EQ(arm.BallDat.y, taken ? 118 : b.y);
  }
}

TEST_F(Arm, CheapGripRejectionAgreesWithTheFullScan) {
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

TEST_F(Arm, PlacedExactlyInsideTheDropWindowOfF) {
  arm.Train2AN = true;  // during a run: no question
  for (int x = 640; x <= 770; ++x) {
    for (int y = 280; y <= 292; ++y) {
      arm.BallState = 2;
      arm.MoveState = 1;
      PutClawAt(x - 26, y - 63);
      Nudge();
      ASSERT_EQ(arm.BallDat.x, x);
      ASSERT_EQ(arm.BallDat.y, y);
      const bool inside = x >= 660 && x <= 751 && y >= 285 && y <= 287;
      ASSERT_EQ(arm.BallState, inside ? 1 : 2) << x << "," << y;
    }
  }
  EXPECT_EQ(view.Questions, 0);
}

TEST_F(Arm, ABallPlacedByHandAsksWhetherToTakeItAgain) {
  arm.BallState = 2;
  arm.MoveState = 1;
  view.Answer = true;
  PutClawAt(705 - 26, 286 - 63);
  Nudge();
  EXPECT_EQ(view.LastQuestion, "Bingo!\n\nKugel wieder mitnehmen?");
  EXPECT_EQ(arm.BallState, 2);
  EXPECT_EQ(arm.MoveState, 0);
  EXPECT_EQ(arm.BallDat.x, 705);

  arm.MoveState = 1;
  view.Answer = false;
  Nudge();
  EXPECT_EQ(view.Questions, 2);
  EXPECT_EQ(arm.BallState, 1);
  EXPECT_EQ(arm.MoveState, 1);
  Nudge();  // the grip still touches the ball: the next move takes it again
  EXPECT_EQ(arm.BallState, 2);
  EXPECT_EQ(arm.MoveState, 0);
}

TEST_F(Arm, BallCycleFromEToFAndBack) {
  arm.StartANN = true;
  // {claw x, claw y, ball state, move state} after each move
  const std::array<int, 4> moves[] = {
      {25, 223, 2, 1},              // take the ball from E
      {25, 223, 2, 1},              // over E, away from the target: nothing happens
      {705 - 26, 223, 1, 1},        // put it on F
      {705 - 26, 223, 2, 0},        // take it again
      {50 - 26, 223, 0, 0},         // put it back on E
  };
  for (auto [x, y, ball, move] : moves) {
    PutClawAt(x, y);
    Nudge();
    EXPECT_EQ(arm.BallState, ball) << x;
    EXPECT_EQ(arm.MoveState, move) << x;
  }
  EXPECT_EQ(view.Questions, 0);
  // The grip hovers one block above the ball; raising E brings the ball up to
  // it, but only the next move takes it.
  PutClawAt(25, 261 - 63);
  Nudge();
  ASSERT_EQ(arm.BallState, 0);
  arm.UpdatePlatData(0, +1);
  EXPECT_EQ(arm.BallDat.y, 261);
  EXPECT_EQ(arm.BallState, 0);
  Nudge();
  EXPECT_EQ(arm.BallState, 2);
}

TEST_F(Arm, StepSensorVectorsAtTheStartPoseAndWithTheBallHeld) {
  arm.Train2AN = true;
  const int* s = arm.GetCalcData(out, false, false);
  EXPECT_EQ(Sensors(s), (std::vector<int>{50, 286, 197, 119, 50, 258, -1, 180, 180, -90, 0}));
  arm.BallDat = {197, 118};
  s = arm.GetCalcData(out, true, false);  // a zero step takes the touching ball
  ASSERT_EQ(arm.BallState, 2);
  EXPECT_EQ(Sensors(s), (std::vector<int>{198, 118, 198, 118, 705, 343, 1, 180, 180, -90, 0}));
}

TEST_F(Arm, StepOutputsAreRelativeTurnsAndTrialStepsPutTheJointsBack) {
  out[0] = 1000;  // 2 degrees per 1000
  out[3] = 500;
  const int* s = arm.GetCalcData(out, true, false);
  const float turned[4] = {92.0f, 92.0f, 182.0f, 273.0f};
  for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(arm.AxleDat[i].a, turned[i]) << i;
  EXPECT_EQ(s[10], 3);

  arm.SetStartPose();
  const int trial[4] = {-300, 700, 20, -1000};
  std::copy(trial, trial + 4, out);
  s = arm.GetCalcData(out, false, false);
  EXPECT_EQ(arm.AxleDat[3].x, 172);
  EXPECT_EQ(arm.AxleDat[1].a, 90.0f);
  EXPECT_EQ(arm.AxleDat[3].a, 270.0f);
  EXPECT_EQ(s[7], 179);  // the vector still reports the moved pose: A at 89.4
  EXPECT_EQ(s[10], -2);  // D at 268.84

  arm.BallDat = {197, 118};  // a ball taken in a trial step stays taken
  std::fill(out, out + 4, 0);
  arm.GetCalcData(out, false, false);
  EXPECT_EQ(arm.BallState, 2);
  EXPECT_EQ(arm.MoveState, 1);
}

TEST_F(Arm, JointsAfterAPickUpByADoNotMoveInThatStep) {
  arm.BallDat = {197, 118};  // touching already: A's zero step takes it
  out[1] = out[2] = out[3] = 1000;
  arm.GetCalcData(out, true, false);
  EXPECT_EQ(arm.BallState, 2);
  EXPECT_EQ(arm.AxleDat[1].a, 90.0f);
  EXPECT_EQ(arm.AxleDat[2].a, 180.0f);
  EXPECT_EQ(arm.AxleDat[3].a, 270.0f);
  arm.GetCalcData(out, true, false);  // the next step moves them
  EXPECT_FLOAT_EQ(arm.AxleDat[3].a, 276.0f);
}

TEST_F(Arm, StepPlatformCommandsSetHeightsOnlyFromOneToTen) {
  for (int bad : {0, 11, -3}) {
    out[4] = bad;
    arm.GetCalcData(out, true, false);
    EXPECT_EQ(arm.PlatDat[0].h, 5) << bad;
    EXPECT_EQ(arm.PlatDat[0].y, 343) << bad;
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

}  // namespace
