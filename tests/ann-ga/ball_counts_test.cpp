// Takes and deliveries of a scripted arm whose poses are found here, so the counts are known beforehand.
#include <cmath>
#include <cstring>
#include <optional>

#include "test_support.h"

namespace {

constexpr double DegPerRad = 180.0 / 3.14159265358979323846;

struct TPose {
  float a[4];
};
constexpr TPose Parked{{90.0f, 90.0f, 180.0f, 270.0f}};

float Wrap(double a) { return static_cast<float>(std::fmod(a + 720.0, 360.0)); }

// Places the joints at absolute angles (a turn by 0 from A); the model's take-or-place test runs too.
void PlaceJoints(TArmModel& arm, const TPose& p) {
  for (int i = 0; i < 4; ++i) arm.AxleDat[i].a = p.a[i];
  arm.UpdateAxleData(0, 0.0f, false);
}

// A claw-down pose with D's pivot near (x, y) for which `holds` is true: the
// two-link solution for A and B, then tenths of a degree around it, nearest first.
template <class Pred>
std::optional<TPose> FindPose(const TArmModel& arm, int x, int y, Pred holds) {
  const double ax = arm.AxleDat[0].x + 25, ay = arm.AxleDat[0].y + 25;
  auto probe = std::make_unique<TArmModel>(arm);
  for (const double c : {0.0, 180.0}) {
    const double cx = x - 181 * std::cos(c / DegPerRad), cy = y + 181 * std::sin(c / DegPerRad);
    const double dx = cx - ax, up = ay - cy, l = std::hypot(dx, up);
    if (l >= 2 * 181) continue;
    const double base = std::atan2(up, dx) * DegPerRad, bend = std::acos(l / (2 * 181)) * DegPerRad;
    for (int i = 0; i <= 60; ++i)
      for (int j = 0; j <= 60; ++j) {
        *probe = arm;
        const TPose p{{Wrap(base + bend + (i % 2 ? -1 : 1) * (i / 2 + i % 2) * 0.1),
                       Wrap(base - bend + (j % 2 ? -1 : 1) * (j / 2 + j % 2) * 0.1), Wrap(c), 270.0f}};
        PlaceJoints(*probe, p);
        if (holds(*probe)) return p;
      }
  }
  return std::nullopt;
}

// Each step ignores the network and puts the arm into the script's next pose:
// take the ball, set it down on the other platform away from its middle, twice; then park.
struct TScriptedArmHost : THeadlessHost {
  int Done = 0;
  bool Failed = false;
  TGenerationFigures Figures{};
  void GenerationDone(const TGenerationFigures& f) override { Figures = f; }
  void ResetSimulator() override {
    THeadlessHost::ResetSimulator();
    Done = 0;
  }
  int* GetCalcData(const int* delta, bool keep, bool draw) override {
    std::optional<TPose> pose = Parked;
    if (Done < 2 && Arm.BallState == 2)
      pose = FindPose(Arm, (Arm.MoveState == 1 ? 690 : 41) - 1, Arm.PlatDat[Arm.MoveState].y - 95,
                      [](const TArmModel& m) { return m.BallState != 2; });
    else if (Done < 2)
      pose = FindPose(Arm, Arm.BallDat.x, Arm.BallDat.y - 38, [](const TArmModel& m) { return m.BallState == 2; });
    Failed |= !pose;
    auto probe = std::make_unique<TArmModel>(Arm);
    PlaceJoints(*probe, pose.value_or(Parked));
    std::memcpy(Arm.AxleDat, probe->AxleDat, sizeof Arm.AxleDat);
    const int still[OutputCount] = {0, 0, 0, 0, delta[4], delta[5]};
    const bool held = Arm.BallState == 2;
    int* out = Arm.GetCalcData(still, keep, draw);
    if (held && Arm.BallState != 2) ++Done;
    return out;
  }
};

using BallCounts = WorldTest<TScriptedArmHost>;

// Run 0's set-up step takes the ball; step 1 sets it down on F with 100 steps
// left (first target: 100 * 1 * 100); the next set-up step takes it again, one
// step later (98 left) it lands on E: 98 * 2 * 100. No link cost: 29600 a run.
TEST_F(BallCounts, ScriptedArmTakesAndDeliversTwiceAndTheBestCarriesItsCounts) {
  TChromosom& c = w.Population[0];
  SetAllWeights(c, 0, 0);
  host.ResetSimulator();
  c.playEpisode2(host, 5, 5);
  ASSERT_FALSE(host.Failed) << "no pose found for the script";
  EXPECT_EQ(c.getBallCounts().takes, 2);
  EXPECT_EQ(c.getBallCounts().deliveries, 2);
  EXPECT_EQ(c.getFitness(), 29600);

  for (TChromosom& p : w.Population) SetAllWeights(p, 0, 0);
  SetAllWeights(w.bestIndividual, 0, 5);  // 50 a run for links: 29450, so individual 0 replaces it
  w.BeginTrainANN2();
  w.TrainGeneration2();
  ASSERT_FALSE(host.Failed);
  EXPECT_EQ(w.bestIndividualIdx, 0);
  EXPECT_EQ(host.Figures.bestFitness, 29600);
  EXPECT_EQ(host.Figures.bestDeliveries, 2);
  EXPECT_EQ(w.bestIndividual.getBallCounts().takes, 2);
}

}  // namespace
