#include "hosts/arm_simulator.h"

TArmSimulator::TArmSimulator() : Arm(&View) {
  View.Running = true;
  Arm.SetStartPose();
}
