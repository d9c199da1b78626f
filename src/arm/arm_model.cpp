#include "arm/arm_model.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

#include "arm/string_table.h"

namespace {

// Conversions to pixels and table indices truncate toward zero.
inline int32_t Trunc(double v) { return static_cast<int32_t>(v); }

// Table index of an angle in degrees. Angles stay in [0, 360) and the claw adds
// one degree, so the index never passes 3609.
inline int Index(double degrees) { return Trunc(degrees * 10.0); }

constexpr TAxleData StartAxles[4] = {
    {353, 417, 90.0f}, {353, 236, 90.0f}, {353, 55, 180.0f}, {172, 55, 270.0f}};

}  // namespace

TArmModel::TArmModel(TArmView* view)
    : SinRad(ArmTables().SinRad), CosRad(ArmTables().CosRad), Tables(&ArmTables()), View(view) {
  // Every field starts at zero, so a step made before the start pose is set
  // (the population fetches the sensor address early) is harmless.
  std::memset(AxleDat, 0, sizeof AxleDat);
  std::memset(PlatDat, 0, sizeof PlatDat);
  ClawDat = {0, 0};
  BallDat = {0, 0};
  MoveState = BallState = 0;
  OutLines = false;
  std::memset(Buffer, 0, sizeof Buffer);
  std::memset(OutData, 0, sizeof OutData);
}

const TArmTables& ArmTables() {
  static const TArmTables tables = [] {
    TArmTables t;
    const float r = static_cast<float>(std::numbers::pi / 1800.0);
    for (int i = 0; i < TableSize; ++i) {
      t.SinRad[i] = static_cast<float>(std::sin(i * static_cast<double>(r)));
      t.CosRad[i] = static_cast<float>(std::cos(i * static_cast<double>(r)));
    }
    const auto offset = [&t](int k, int radius) {
      return TArmOffset{static_cast<int16_t>(Trunc(static_cast<double>(t.CosRad[k]) * radius)),
                        static_cast<int16_t>(Trunc(static_cast<double>(t.SinRad[k]) * radius))};
    };
    for (int k = 0; k < TableSize; ++k) {
      t.Link[k] = offset(k, LinkLength);
      t.Claw[k] = offset(k, 40);
      t.Carry[k] = offset(k, 67);
    }
    return t;
  }();
  return tables;
}

int TArmModel::ClawIndex() const {
  return Index(static_cast<double>(AxleDat[3].a) + 1.0);
}

[[gnu::always_inline]] inline void TArmModel::PlaceJoint(int i) {
  const TArmOffset o = Tables->Link[Index(AxleDat[i].a)];
  AxleDat[i + 1].x = AxleDat[i].x + o.dx;
  AxleDat[i + 1].y = AxleDat[i].y - o.dy;
}

void TArmModel::CarryBall(int k) {
  BallDat.x = Tables->Carry[k].dx + AxleDat[3].x + 25;
  BallDat.y = AxleDat[3].y - Tables->Carry[k].dy - 3;
}

[[gnu::always_inline]] inline void TArmModel::TurnJoints(int axle, float delta) {
  for (int i = axle; i < 4; ++i) {
    float a = AxleDat[i].a + delta;
    if (a >= 360.0f)
      a -= 360.0f;
    else if (a < 0.0f)
      a += 360.0f;
    // A hair below 0 plus 360 rounds to 360.0 itself: that direction is 0.
    if (a >= 360.0f) a = 0.0f;
    AxleDat[i].a = a;
    if (i < 3) PlaceJoint(i);
  }
}

TPoint32 TArmModel::PlaceClaw() {
  const TArmOffset o = Tables->Claw[ClawIndex()];
  ClawDat.x = o.dx + AxleDat[3].x + 25;
  ClawDat.y = AxleDat[3].y - o.dy + 25;
  return {ClawDat.x, ClawDat.y};
}

// Every grip point lies within 40 + 26 pixels of D's pivot on each axis: a
// lying ball farther off cannot be touched.
[[gnu::always_inline]] inline bool TArmModel::GripNearBall() const {
  const int32_t bx = BallDat.x - AxleDat[3].x - 25;
  const int32_t by = BallDat.y - AxleDat[3].y - 25;
  return bx <= 71 && bx >= -71 && by <= 67 && by >= -67;
}

[[gnu::always_inline]] inline void TArmModel::TakeOrPlaceBall() {
  if (BallState == 2) {
    CarryBall(ClawIndex());
    const TPlatData& p = PlatDat[MoveState];
    if (BallDat.x - 5 >= p.x && BallDat.x + 5 <= p.x + PlatWidth &&
        BallDat.y + BallSize >= p.y - 1 && BallDat.y + BallSize <= p.y + 1) {
      BallState = MoveState;
      ++Deliveries;
      if (View && !View->RunActive()) {
        View->UpdateSimulator();
        GetStr(IDS_BINGO, Buffer, sizeof Buffer);
        if (View->AskYesNo(Buffer)) {
          MoveState = 1 - MoveState;
          BallState = 2;
        }
      }
    }
  } else if (GripNearBall() && GripTouchesBall()) {
    CarryBall(ClawIndex());
    MoveState = 1 - MoveState;
    BallState = 2;
    ++Takes;
  }
}

void TArmModel::UpdateAxleData(int axle, float delta, bool draw) {
  TurnJoints(axle, delta);
  if (draw && View) {
    for (int i = axle; i < 4; ++i) {
      std::snprintf(Buffer, sizeof Buffer, "%c:%9.1f\xB0", 'A' + i,
                    static_cast<double>(AxleDat[i].a));
      View->SetAxleText(i, Buffer);
      View->RepaintStatusBar();
    }
  }
  PlaceClaw();
  TakeOrPlaceBall();
  if (draw && View) View->UpdateSimulator();
}

bool TArmModel::GripTouchesBallFullScan() const {
  const int k = ClawIndex();
  const int k0 = Index(AxleDat[3].a);
  const int32_t cx = AxleDat[3].x + 25;
  const int32_t cy = AxleDat[3].y + 25;
  for (int i = 38; i <= 40; ++i) {
    for (int j = -24; j <= 26; ++j) {
      const float s = SinRad[k0] * static_cast<float>(j);
      const float c = CosRad[k0] * static_cast<float>(j);
      const int32_t px = Trunc(static_cast<double>(CosRad[k]) * i + s) + cx;
      const int32_t py = Trunc(c - static_cast<double>(SinRad[k]) * i) + cy;
      if (px >= BallDat.x - 5 && px <= BallDat.x + 5 && py >= BallDat.y - 1 && py <= BallDat.y + 1)
        return true;
    }
  }
  return false;
}

bool TArmModel::GripTouchesBall() const {
  // The grip points are trunc(C*i + s_j) and trunc(c_j - S*i). Rounding and
  // truncation are monotonic and s_j, c_j are monotonic in j, so the extreme
  // terms give the exact range of the strip: outside it no point can match.
  const int32_t bx = BallDat.x - AxleDat[3].x - 25;
  const int32_t by = BallDat.y - AxleDat[3].y - 25;
  // Every grip point lies within 40 + 26 pixels of D's pivot on each axis.
  if (bx > 71 || bx < -71 || by > 67 || by < -67) return false;

  const int k = ClawIndex();
  const int k0 = Index(AxleDat[3].a);
  const double C = CosRad[k], S = SinRad[k];
  const float sLo = SinRad[k0] * -24.0f, sHi = SinRad[k0] * 26.0f;
  const float cLo = CosRad[k0] * -24.0f, cHi = CosRad[k0] * 26.0f;
  const double ci38 = C * 38, ci40 = C * 40, si38 = S * 38, si40 = S * 40;
  const double xMin = (ci38 < ci40 ? ci38 : ci40) + (sLo < sHi ? sLo : sHi);
  const double xMax = (ci38 < ci40 ? ci40 : ci38) + (sLo < sHi ? sHi : sLo);
  const double yMin = (cLo < cHi ? cLo : cHi) - (si38 < si40 ? si40 : si38);
  const double yMax = (cLo < cHi ? cHi : cLo) - (si38 < si40 ? si38 : si40);
  if (Trunc(xMax) < bx - 5 || Trunc(xMin) > bx + 5) return false;
  if (Trunc(yMax) < by - 1 || Trunc(yMin) > by + 1) return false;
  return GripTouchesBallFullScan();
}

void TArmModel::UpdatePlatData(int plat, int delta) {
  TPlatData& p = PlatDat[plat];
  const int32_t n = p.h + delta;
  if (n < 1 || n > 10) {
    if (View) View->Beep();
    return;
  }
  p.h = n;
  p.y -= BlockHeight * delta;
  if (plat == BallState) BallDat.y = p.y - BallSize;
  std::snprintf(Buffer, sizeof Buffer, "%c:%5d", 'E' + plat, static_cast<int>(p.h));
  if (View) {
    View->SetPlatText(plat, Buffer);
    View->RepaintStatusBar();
    View->UpdateSimulator();
  }
}

int32_t TArmModel::AngleCode(float a) {
  const int32_t t = Trunc(static_cast<double>(a) + 90.0);
  return t > 180 ? t - 360 : t;
}

int* TArmModel::GetCalcData(const int* delta, bool keep, bool draw) {
  TAxleData saved[4];
  if (!keep) std::memcpy(saved, AxleDat, sizeof saved);

  const int32_t ballBefore = BallState;
#pragma GCC unroll 4
  for (int i = 0; i < 4; ++i) {
    const float step = static_cast<float>(delta[i] * 0.002);
    if (draw) {
      UpdateAxleData(i, step, true);
    } else {
      // The same as UpdateAxleData without showing anything; the claw point
      // depends on the final pose only, so it is placed once at the end.
      if (step != 0.0f) TurnJoints(i, step);  // a zero turn changes no joint
      TakeOrPlaceBall();
    }
    if (BallState != ballBefore) break;  // the rest of this step is void
  }
  // The claw point as computed, not read back: a wide read of two fields
  // just written narrow waits for the writes to finish.
  const TPoint32 claw = draw ? ClawDat : PlaceClaw();
  for (int i = 0; i < 4; ++i) OutData[7 + i] = AngleCode(AxleDat[i].a);

  if (!keep) std::memcpy(AxleDat, saved, sizeof saved);

  for (int j = 0; j < 2; ++j) {
    const int h = delta[4 + j];
    if (h < 1 || h > 10) continue;
    PlatDat[j].h = h;
    PlatDat[j].y = SceneHeight - BlockHeight * h;
    if (BallState == j) BallDat.y = PlatDat[j].y - BallSize;
  }

  OutData[0] = BallDat.x;
  OutData[1] = BallDat.y;
  if (BallState == 2) {
    OutData[2] = BallDat.x;
    OutData[3] = BallDat.y;
    OutData[4] = PlatDat[MoveState].x + 50;
    OutData[5] = PlatDat[MoveState].y;
  } else {
    OutData[2] = claw.x;
    OutData[3] = claw.y;
    OutData[4] = BallDat.x;
    OutData[5] = BallDat.y - 28;
  }
  OutData[6] = MoveState == 1 ? 1 : -1;
  return OutData;
}

void TArmModel::ResetSimulator() {
  std::memcpy(AxleDat, StartAxles, sizeof AxleDat);
  PlaceClaw();
  BallDat = {50, PlatDat[0].y - BallSize};
  MoveState = 0;
  BallState = 0;
}

void TArmModel::SetStartPose() {
  PlatDat[0] = {0, 343, 5};
  PlatDat[1] = {655, 343, 5};
  ResetSimulator();
}
