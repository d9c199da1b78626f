// Takes and deliveries of a scripted arm whose poses are found here, so the counts are known beforehand.
#include <cmath>
#include <cstring>
#include "test_support.h"

namespace {
constexpr double DegPerRad = 180.0 / 3.14159265358979323846;
using TPose = std::array<double, 4>;  // absolute joint angles

// Puts `arm`'s joints at `p` (a turn by 0 from A) if the probe's take-or-place test then `holds`.
template <class Pred>
bool Place(TArmModel& arm, const TPose& p, Pred holds) {
  auto probe = std::make_unique<TArmModel>(arm);
  for (int i = 0; i < 4; ++i) probe->AxleDat[i].a = static_cast<float>(std::fmod(p[i] + 720.0, 360.0));
  probe->UpdateAxleData(0, 0.0f, false);
  if (!holds(*probe)) return false;
  std::memcpy(arm.AxleDat, probe->AxleDat, sizeof arm.AxleDat);
  return true;
}

// A claw-down pose near (x, y) where `holds`: the two-link solution for A and B, then tenths of a degree around it.
template <class Pred>
bool MoveTo(TArmModel& arm, int x, int y, Pred holds) {
  const double ax = arm.AxleDat[0].x + 25, ay = arm.AxleDat[0].y + 25;
  for (const double c : {0.0, 180.0}) {
    const double dx = x - 181 * std::cos(c / DegPerRad) - ax, up = ay - y - 181 * std::sin(c / DegPerRad);
    const double l = std::hypot(dx, up);
    if (l >= 2 * 181) continue;
    const double base = std::atan2(up, dx) * DegPerRad, bend = std::acos(l / (2 * 181)) * DegPerRad;
    for (int i = 0; i <= 60; ++i)
      for (int j = 0; j <= 60; ++j)
        if (Place(arm, {base + bend + (i % 2 ? -1 : 1) * (i / 2 + i % 2) * 0.1,
                        base - bend + (j % 2 ? -1 : 1) * (j / 2 + j % 2) * 0.1, c, 270.0}, holds))
          return true;
  }
  return false;
}

// Each step puts the arm into the script's next pose: take, set down off-centre on the other platform; twice.
struct TScriptedArmHost : THeadlessHost {
  int Done = 0;
  bool Failed = false;
  TGenerationFigures Figures{};
  void GenerationDone(const TGenerationFigures& f) override { Figures = f; }
  void ResetSimulator() override { THeadlessHost::ResetSimulator(), Done = 0; }
  int* GetCalcData(const int* delta, bool keep, bool draw) override {
    const bool held = Arm.BallState == 2;
    if (Done >= 2)
      Place(Arm, {90, 90, 180, 270}, [](const TArmModel&) { return true; });
    else if (held)
      Failed |= !MoveTo(Arm, Arm.MoveState == 1 ? 689 : 40, Arm.PlatDat[Arm.MoveState].y - 95,
                        [](const TArmModel& m) { return m.BallState != 2; });
    else
      Failed |= !MoveTo(Arm, Arm.BallDat.x, Arm.BallDat.y - 38, [](const TArmModel& m) { return m.BallState == 2; });
    const int still[OutputCount] = {0, 0, 0, 0, delta[4], delta[5]};
    int* out = Arm.GetCalcData(still, keep, draw);
    Done += held && Arm.BallState != 2;
    return out;
  }
};

// Run 0's set-up step takes the ball; step 1 sets it down on F with 100 steps
// left (first target: 100 * 1 * 100); the next set-up step takes it again, one
// step later (98 left) it lands on E: 98 * 2 * 100. No link cost: 29600 a run.
// The stored best pays 50 a run for links: 29450, so individual 0 replaces it.
using BallCounts = WorldTest<TScriptedArmHost>;

TEST_F(BallCounts, ScriptedArmTakesAndDeliversTwiceAndTheBestCarriesItsCounts) {
  for (TChromosom& p : w.Population) SetAllWeights(p, 0, 0);
  SetAllWeights(w.bestIndividual, 0, 5);
  w.BeginTrainANN2();
  w.TrainGeneration2();
  ASSERT_FALSE(host.Failed) << "no pose found for the script";
  EXPECT_EQ(w.bestIndividualIdx, 0);
  EXPECT_EQ(host.Figures.bestFitness, 29600);
  EXPECT_EQ(host.Figures.bestDeliveries, 2);
  EXPECT_EQ(w.bestIndividual.getBallCounts().takes, 2);
}
}  // namespace
