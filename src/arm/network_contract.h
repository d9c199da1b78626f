#pragma once

// What a network's inputs and outputs mean to the arm: which sensor each
// input is and what each output commands, for anybody who takes a network
// elsewhere. The texts are part of a file format, the same in every language.
#include <cstdint>

#include "arm/arm_model.h"

// One entry of the sensor vector OutData.
struct TSensorSignal {
  const char* Name;     // a short identifier, lower case
  const char* Meaning;  // what the value is
  const char* Unit;
  int32_t Low, High;    // the values it takes
  bool Bounded;         // false: Low .. High is the scene, parts of the arm outside it go beyond
};

// One joint step of the output vector.
struct TJointSignal {
  const char* Name;
  const char* Meaning;
};

extern const TSensorSignal SensorSignals[SensorCount];
inline constexpr int JointCount = 4;  // the output vector's joint steps, A to D
extern const TJointSignal JointSignals[JointCount];
// The unit of a joint step: float(value * DegreesPerStepUnit) degrees.
inline constexpr double DegreesPerStepUnit = 0.002;
