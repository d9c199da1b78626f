#pragma once

#include <algorithm>
#include <cstdint>

#include "arm/arm_model.h"

// The frame of a joint in which its link, claw and marks are placed: u runs
// across the link, v along it away from the pivot. Across terms use the
// joint's angle; along terms use it plus one degree for the claw, as the grip
// point does. Across products are rounded to float, products with v are exact
// in double, and every conversion to a pixel truncates toward zero.
class TJointFrame {
 public:
  TJointFrame(const TArmModel& arm, int joint, bool claw) {
    const TAxleData& d = arm.AxleDat[joint];
    const double a = d.a;
    const int k = Index(a * 10.0);
    const int k2 = claw ? Index((a + 1.0) * 10.0) : k;
    S = arm.SinRad[k];
    C = arm.CosRad[k];
    S2 = arm.SinRad[k2];
    C2 = arm.CosRad[k2];
    Cx = d.x + 25;
    Cy = d.y + 25;
  }

  // Across terms of column u, rounded to float.
  float AcrossX(int u) const { return S * static_cast<float>(u); }
  float AcrossY(int u) const { return C * static_cast<float>(u); }
  // Along terms of row v, exact.
  double AlongX(int v) const { return C2 * v; }
  double AlongY(int v) const { return S2 * v; }

  int32_t X(double alongX, float acrossX) const {
    return Cx + static_cast<int32_t>(alongX + static_cast<double>(acrossX));
  }
  int32_t Y(double alongY, float acrossY) const {
    return Cy + static_cast<int32_t>(static_cast<double>(acrossY) - alongY);
  }
  int32_t X(int u, int v) const { return X(AlongX(v), AcrossX(u)); }
  int32_t Y(int u, int v) const { return Y(AlongY(v), AcrossY(u)); }

 private:
  // Angles stay in [0, 360), so this only guards against a broken model.
  static int Index(double tenths) {
    return std::clamp(static_cast<int>(tenths), 0, TableSize - 1);
  }

  float S, C;        // across: the joint's angle
  double S2, C2;     // along: the joint's angle, plus one degree for the claw
  int32_t Cx, Cy;    // pivot
};
