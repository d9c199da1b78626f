#include "arm/network_contract.h"

// The rows follow GetCalcData's filling of OutData; y grows downward. The
// ball is "held" while the claw carries it, otherwise it lies on a platform.
const TSensorSignal SensorSignals[SensorCount] = {
    {"ball_x", "ball: horizontal centre", "pixel", 0, SceneWidth - 1, false},
    {"ball_y", "ball: top edge", "pixel", 0, SceneHeight - 1, false},
    {"effector_x", "the claw's grip point while the ball lies, the ball's centre (ball_x) while it is held",
     "pixel", 0, SceneWidth - 1, false},
    {"effector_y", "the claw's grip point while the ball lies, the ball's top edge (ball_y) while it is held",
     "pixel", 0, SceneHeight - 1, false},
    {"target_x", "ball_x while the ball lies, the middle of the platform it is to go to while it is held", "pixel",
     0, SceneWidth - 1, false},
    {"target_y", "28 pixels above the ball's top edge while it lies, the top of the platform it is to go to while "
     "it is held", "pixel", 0, SceneHeight - 1, false},
    {"carry_direction", "+1 while the ball is to go to platform F (right), -1 to platform E (left)", "sign", -1, 1,
     true},
    {"angle_a", "joint A: direction of its link from straight down, counter-clockwise positive, truncated to whole "
     "degrees", "degree", -179, 180, true},
    {"angle_b", "joint B: as angle_a", "degree", -179, 180, true},
    {"angle_c", "joint C: as angle_a", "degree", -179, 180, true},
    {"angle_d", "joint D: direction of the claw, as angle_a", "degree", -179, 180, true},
};

// The joints turn from the base outward, each with every joint beyond it;
// in a step that takes or sets down the ball the later joints stay.
const TJointSignal JointSignals[JointCount] = {
    {"step_a", "turns joint A and everything beyond it, counter-clockwise positive; applied first"},
    {"step_b", "turns joint B and everything beyond it, after A; not if A's turn took or set down the ball"},
    {"step_c", "turns joint C and D, after B; not if an earlier turn of this step took or set down the ball"},
    {"step_d", "turns joint D (the claw), last; not if an earlier turn of this step took or set down the ball"},
};
