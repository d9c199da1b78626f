#pragma once

// The arm model: four joints, two platforms and the ball, their geometry,
// the manual moves, the steps the networks drive, and the sensor values.

#include <cstdint>

#include "arm/arm_view.h"

// Scene of 756 x 468 pixels, origin top-left, y downward. Angles are degrees,
// counter-clockwise as seen on screen, stored as float in [0, 360).
constexpr int SceneWidth = 756;
constexpr int SceneHeight = 468;
constexpr int LinkLength = 181;    // pivot to pivot
constexpr int PlatWidth = 101;
constexpr int BlockHeight = 25;
constexpr int BallSize = 57;
constexpr int TableSize = 3610;    // one entry per tenth of a degree, 0.0 .. 360.9
constexpr int SensorCount = 11;    // entries of the sensor vector OutData
constexpr int OutputCount = 6;     // four joint steps, two platform heights

struct TAxleData {
  int32_t x, y;  // top-left corner of the joint's 51 x 51 picture; pivot at +25
  float a;       // direction of the outgoing link (for D: of the claw)
};

struct TPlatData {
  int32_t x, y;  // left and top edge; y = 468 - 25 h
  int32_t h;     // height in blocks, 1..10
};

struct TPoint32 {
  int32_t x, y;
};

// trunc(CosRad[k] * r) and trunc(SinRad[k] * r) for one of the radii the model
// uses: the hot path reads offsets instead of converting and multiplying.
struct TArmOffset {
  int16_t dx, dy;
};

// The sine and cosine tables and the offsets drawn from them. They are the
// same for every arm, so all share one copy: the eight arms of a worker's
// lanes then read one set, which stays in the cache.
struct TArmTables {
  float SinRad[TableSize];
  float CosRad[TableSize];
  TArmOffset Link[TableSize];   // 181: next joint
  TArmOffset Claw[TableSize];   // 40: claw point
  TArmOffset Carry[TableSize];  // 67: held ball
};
const TArmTables& ArmTables();

// The simulated world: four joints, two platforms, one ball. Plain fields, as
// the drawing and the commands read them directly.
class TArmModel {
 public:
  explicit TArmModel(TArmView* view);

  TAxleData AxleDat[4];   // joints A..D
  TPlatData PlatDat[2];   // platforms E, F
  TPoint32 ClawDat;       // grip point, 40 px from D's pivot at D's angle + 1 degree
  TPoint32 BallDat;       // ball: horizontal centre and top edge
  const float* SinRad;    // the shared tables' (TableSize entries)
  const float* CosRad;
  int32_t MoveState;      // platform the ball is to be carried to: 0 = E, 1 = F
  int32_t BallState;      // 0 on E, 1 on F, 2 held by the claw
  bool OutLines;
  char Buffer[64];
  int32_t OutData[SensorCount];
  // Every take (the ball becomes held) and delivery (the held ball is set down
  // on its target platform) since construction; only ever counted up.
  long long Takes = 0;
  long long Deliveries = 0;

  // Turns joint `axle` and everything beyond it by `delta` degrees; may take or
  // place the ball. With `draw` the joint fields and the scene follow.
  void UpdateAxleData(int axle, float delta, bool draw);
  // Raises or lowers platform `plat` by `delta` blocks; beeps at the bounds.
  void UpdatePlatData(int plat, int delta);

  // One step of a network: joint steps in units of 0.002 degree (delta[0..3])
  // and platform heights (delta[4..5], 1..10, other values leave them). With
  // `keep` false the joints are put back afterwards (a taken ball stays taken).
  // Returns OutData, the same address on every call.
  int* GetCalcData(const int* delta, bool keep, bool draw);

  // Arm, claw and ball back to the start of the task; platforms stay.
  void ResetSimulator();
  // The full start pose: ResetSimulator plus both platforms at height 5 (the
  // window resets its Rotation and Selection beside it).
  void SetStartPose();

  // Pick-up test of the grip strip against the lying ball: a cheap bounding box
  // first, then the exact scan, points in their fixed order.
  bool GripTouchesBall() const;
  // The exact 153-point scan on its own (kept for comparison in tests).
  bool GripTouchesBallFullScan() const;

  static int32_t AngleCode(float a);

 private:
  void PlaceJoint(int i);
  void TurnJoints(int axle, float delta);
  TPoint32 PlaceClaw();
  void TakeOrPlaceBall();
  bool GripNearBall() const;
  int ClawIndex() const;
  void CarryBall(int clawIndex);

  const TArmTables* Tables;  // ArmTables(), kept so that an arm stays assignable
  TArmView* View;
};
