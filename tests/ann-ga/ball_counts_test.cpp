// Takes and deliveries of hand-made episodes: the arm is put into poses found
// here, so how often the ball is taken and set down is known before the
// episode runs.
#include <cmath>
#include <cstring>
#include <optional>

#include "test_support.h"

namespace {

constexpr double DegPerRad = 180.0 / 3.14159265358979323846;
constexpr float ClawDown = 270.0f;

struct TPose {
  float a[4];
};

float Wrap(double a) {
  while (a < 0) a += 360;
  while (a >= 360) a -= 360;
  return static_cast<float>(a);
}

// Joint positions for absolute angles: a turn by 0 from A outward places them.
// The model's own take-or-place test runs too, so only use it on a probe.
void PlaceJoints(TArmModel& arm, const TPose& p) {
  for (int i = 0; i < 4; ++i) arm.AxleDat[i].a = p.a[i];
  arm.UpdateAxleData(0, 0.0f, false);
}

// A pose with the claw pointing down and D's pivot near (x, y) in which
// `holds` is true of the arm after its take-or-place test: the two-link
// solution for A and B, then a search in tenths of a degree around it.
template <class Pred>
std::optional<TPose> FindPose(const TArmModel& arm, int x, int y, Pred holds) {
  const double ax = arm.AxleDat[0].x + 25, ay = arm.AxleDat[0].y + 25;
  auto probe = std::make_unique<TArmModel>(arm);
  for (const double c : {0.0, 180.0}) {
    // D = C + 181 (cos c, -sin c)
    const double cx = x - 181 * std::cos(c / DegPerRad), cy = y + 181 * std::sin(c / DegPerRad);
    const double dx = cx - ax, up = ay - cy, l = std::hypot(dx, up);
    if (l >= 2 * 181) continue;
    const double base = std::atan2(up, dx) * DegPerRad, bend = std::acos(l / (2 * 181)) * DegPerRad;
    for (int i = 0; i <= 60; ++i) {
      for (int j = 0; j <= 60; ++j) {
        // From the middle outward, so the pose nearest the solution wins.
        const double da = (i % 2 ? -1 : 1) * (i / 2 + i % 2) * 0.1;
        const double db = (j % 2 ? -1 : 1) * (j / 2 + j % 2) * 0.1;
        *probe = arm;
        const TPose p{{Wrap(base + bend + da), Wrap(base - bend + db), Wrap(c), ClawDown}};
        PlaceJoints(*probe, p);
        if (holds(*probe)) return p;
      }
    }
  }
  return std::nullopt;
}

std::optional<TPose> GrabPose(const TArmModel& arm) {
  return FindPose(arm, arm.BallDat.x, arm.BallDat.y - 38, [](const TArmModel& m) { return m.BallState == 2; });
}

// Sets the held ball down on its target platform, its centre at `ballX`.
std::optional<TPose> DropPose(const TArmModel& arm, int ballX) {
  const int top = arm.PlatDat[arm.MoveState].y;
  return FindPose(arm, ballX - 1, top - 95, [](const TArmModel& m) { return m.BallState != 2; });
}

// The network's steps are ignored: each step puts the arm into the script's
// next pose and lets the model test it once, as a network's step would.
// Script: take the ball, set it down on the other platform (away from the
// platform's middle, so the target point moves), and again, `Deliveries`
// times in all; then park in the start pose for good.
class TScriptedArmHost : public THeadlessHost {
 public:
  int Deliveries = 2;
  int Done = 0;
  bool Failed = false;

  // Every episode starts the script afresh.
  void ResetSimulator() override {
    THeadlessHost::ResetSimulator();
    Done = 0;
  }

  int* GetCalcData(const int* delta, bool keep, bool draw) override {
    std::optional<TPose> pose = TPose{{90.0f, 90.0f, 180.0f, 270.0f}};
    if (Done < Deliveries)
      pose = Arm.BallState == 2 ? DropPose(Arm, Arm.MoveState == 1 ? 690 : 41) : GrabPose(Arm);
    if (!pose) {
      Failed = true;
      pose = TPose{{90.0f, 90.0f, 180.0f, 270.0f}};
    }
    auto probe = std::make_unique<TArmModel>(Arm);
    PlaceJoints(*probe, *pose);
    std::memcpy(Arm.AxleDat, probe->AxleDat, sizeof Arm.AxleDat);
    const int still[OutputCount] = {0, 0, 0, 0, delta[4], delta[5]};
    const bool held = Arm.BallState == 2;
    int* out = Arm.GetCalcData(still, keep, draw);
    if (held && Arm.BallState != 2) ++Done;
    return out;
  }
};

using BallCounts = WorldTest<TScriptedArmHost>;

TEST_F(BallCounts, ScriptedArmTakesAndDeliversTwiceAndScoresAsWorkedByHand) {
  TChromosom& c = w.Population[0];
  SetAllWeights(c, 0);
  c.setConnections(0);
  host.ResetSimulator();
  c.playEpisode2(host, 5, 5);
  ASSERT_FALSE(host.Failed) << "no pose found for the script";
  EXPECT_EQ(c.getBallCounts().takes, 2);
  EXPECT_EQ(c.getBallCounts().deliveries, 2);
  // The first take is made by the set-up step of run 0 (no target reached).
  // Step 1: set down on F with 100 steps left, first target: 100 * 1 * 100.
  // The next set-up step takes it again; one step later (98 left) it is set
  // down on E, second target: 98 * 2 * 100. Nothing else happens, no network
  // cost: every run's total is 29600, and their mean too.
  EXPECT_EQ(c.getFitness(), 29600);
}

TEST_F(BallCounts, StillNetworkAtTheBallTakesItOnceAndNeverDelivers) {
  // A network that never moves, in a pose whose grip touches the ball: the
  // first step of the episode takes it, and held in the air over E it can
  // never be set down on F.
  TChromosom& c = w.Population[0];
  SetAllWeights(c, 0);
  c.setConnections(0);
  THeadlessHost plain;
  plain.View.Running = true;
  const std::optional<TPose> grab = GrabPose(plain.Arm);
  ASSERT_TRUE(grab);
  auto probe = std::make_unique<TArmModel>(plain.Arm);
  PlaceJoints(*probe, *grab);
  std::memcpy(plain.Arm.AxleDat, probe->AxleDat, sizeof plain.Arm.AxleDat);
  plain.Arm.UpdateAxleData(0, 0.0f, false);
  ASSERT_EQ(plain.Arm.Takes, 1);  // the pose really grips
  plain.Arm.BallState = 0;        // back on E, untaken, claw touching it
  plain.Arm.MoveState = 0;
  plain.Arm.BallDat = {50, 286};
  plain.Arm.Takes = 0;
  c.playEpisode2(plain, 5, 5);
  EXPECT_EQ(c.getBallCounts().takes, 1);
  EXPECT_EQ(c.getBallCounts().deliveries, 0);
  EXPECT_EQ(c.getFitness(), 0);  // the take came before the first target was noted
}

TEST(BallCountsOfAPass, TheBestCarriesItsEpisodesCountsIntoTheGenerationsFigures) {
  TRandomClockScope clock{FixedSeconds};
  struct TRecorder : TScriptedArmHost {
    void GenerationDone(const TGenerationFigures& f) override { Figures = f; }
    TGenerationFigures Figures{};
  } host;
  host.View.Running = true;
  TZarnikHostScope useHost(&host);
  auto world = MakeZarnikWorld(&host);
  for (TChromosom& c : world->Population) {
    SetAllWeights(c, 0);
    c.setConnections(0);
  }
  // The stored best pays 50 a run for its links: 29450, so individual 0 with
  // 29600 replaces it and brings its counts along.
  SetAllWeights(world->bestIndividual, 0);
  world->bestIndividual.setConnections(5);
  world->BeginTrainANN2();
  world->TrainGeneration2();
  ASSERT_FALSE(host.Failed);
  EXPECT_EQ(world->bestIndividualIdx, 0);
  EXPECT_EQ(host.Figures.bestFitness, 29600);
  EXPECT_EQ(host.Figures.bestDeliveries, 2);
  EXPECT_EQ(world->bestIndividual.getBallCounts().takes, 2);
  UserBreak = false;
}

}  // namespace
