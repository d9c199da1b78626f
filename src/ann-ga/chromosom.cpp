#include "ann-ga/chromosom.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "ann-ga/episode_stepper.h"
#include "ann-ga/layer_blocks.h"
#include "ann-ga/random.h"
#include "ann-ga/zarnik_host.h"

namespace {

int32_t Saturate(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }
int64_t Abs(int32_t v) { return v < 0 ? -static_cast<int64_t>(v) : v; }

float Distance(const int* v) {
  // Differences in single precision, squares summed in extended precision,
  // root in double, kept as float.
  const float dx = static_cast<float>(static_cast<int64_t>(v[2]) - v[4]);
  const float dy = static_cast<float>(static_cast<int64_t>(v[3]) - v[5]);
  const long double sq = static_cast<long double>(dx) * dx + static_cast<long double>(dy) * dy;
  return static_cast<float>(std::sqrt(static_cast<double>(sq)));
}

}  // namespace

TMutationSetup MakeMutationSetup(int maxWeight, int precWeight, float PaMutationRate, float PaBitFaktor) {
  TMutationSetup m;
  const int64_t maxValue = static_cast<int64_t>(maxWeight) * precWeight;
  m.maxValue = Saturate(maxValue);
  // Bits above 30 cannot be flipped in a positive int step; other shapes never get there.
  m.HyBit = m.maxValue >= 1 ? std::min(static_cast<int>(std::log(static_cast<double>(m.maxValue)) / std::log(2.0)), 30)
                            : 0;
  m.BitPropabilityFirst = static_cast<float>(PaMutationRate / std::pow(static_cast<double>(PaBitFaktor), m.HyBit));
  m.BitValueFirst = static_cast<int32_t>(1) << m.HyBit;
  m.MutationRate = PaMutationRate;
  m.BitFaktor = PaBitFaktor;
  return m;
}

void TChromosom::init(int PaNodes, int PaInputNodes, int PaHiddenNodes, int PaHiddenLayers, int PaMaxWeight,
                      int PaPrecWeight, int PaMaxIntern) {
  initANN(PaNodes, PaInputNodes, PaHiddenNodes, PaHiddenLayers, PaMaxWeight, PaPrecWeight, PaMaxIntern);
  Fitness = 0;
}

void TChromosom::calcFitness1(const int* PaInput, const int* PaInputOld) {
  constexpr int ApproximationFactor = 1000, Boden = 370, BodenFactor = 5000, AlphaFactor = 500,
                BethaFactor = 100, KnickFactor = 1000, DeltaFactor = 2000, ConnectionsFactor = 20;
  // Sensor values are pixels and degrees; 64 bits keep any input free of overflow.
  int64_t f = PaInput[3] <= 0 ? -1000 : 0;
  const float dNew = Distance(PaInput);
  const float dOld = Distance(PaInputOld);
  const long double moved =
      static_cast<long double>(f) +
      (static_cast<long double>(dOld) - static_cast<long double>(dNew)) * ApproximationFactor;
  f = static_cast<int64_t>(moved);  // |moved| < 2^43 for any int inputs
  if (PaInput[1] > Boden)
    f += (static_cast<int64_t>(PaInputOld[1]) - PaInput[1]) * BodenFactor -
         (static_cast<int64_t>(PaInput[1]) - Boden) * BodenFactor;
  f += (Abs(PaInput[7]) - Abs(PaInputOld[7])) * AlphaFactor + static_cast<int64_t>(PaInput[7]) * AlphaFactor / 45;
  f += (Abs(PaInput[8]) - Abs(PaInputOld[8])) * BethaFactor + static_cast<int64_t>(PaInput[8]) * BethaFactor / 135;
  if (PaInput[8] < 45) f += (static_cast<int64_t>(PaInput[8]) - 45) * KnickFactor;
  // The second term reads joint B on purpose; it keeps the arm from folding.
  f += (Abs(PaInputOld[10]) - Abs(PaInput[10])) * DeltaFactor - Abs(PaInput[8]) * DeltaFactor / 90;
  f += (static_cast<int64_t>(oldConnections) - Connections) * ConnectionsFactor -
       static_cast<int64_t>(Connections) * ConnectionsFactor / 100;
  Fitness = Saturate(f);

  char text[64];  // "%6f" of any float: at most 47 characters
  std::snprintf(text, sizeof text, "%6f", static_cast<double>(dNew));
  ZarnikWindow->SetDlgText(302, text);
}

void TChromosom::calcCFitness2(const int* /*PaInput*/) {
  // The two first platform heights are the only draws of an episode.
  const int heightE = RandomBelow(10) + 1;
  const int heightF = RandomBelow(10) + 1;
  playEpisode2(*ZarnikWindow, heightE, heightF);
}

int TChromosom::playEpisode2(TZarnikHost& host, int firstHeightE, int firstHeightF) {
  return PlayEpisode(host, &host, &host, firstHeightE, firstHeightF);
}

int TChromosom::playLaneEpisode2(TSimulator& sim, int firstHeightE, int firstHeightF) {
  return PlayEpisode(sim, nullptr, nullptr, firstHeightE, firstHeightF);
}

int TChromosom::PlayEpisode(TSimulator& sim, TProgressDisplay* display, TEventLoop* loop, int heightE,
                            int heightF) {
  int32_t* out = OutputList.get();
  TEpisodeStepper episode;
  episode.Begin(sim, out, static_cast<int>(OutputNodes), Connections, heightE, heightF, display);
  while (episode.StepDue()) {
    if (loop != nullptr) loop->PumpMessages();
    runANN(episode.Input(), out);
    episode.Step();
  }
  Fitness = episode.Fitness();
  Counts = episode.Counts();
  return episode.LastTargetX();
}

int TChromosom::MutationDraws() const {
  // One for the sign and one per bit of every weight of the blocks.
  const TMutationSetup m = MakeMutationSetup(maxWeight, precWeight, 0.0f, 1.0f);
  int weights = 0;
  for (int L = 0; L <= static_cast<int>(HiddenLayers); ++L) weights += Block(L).Sources * Block(L).Targets;
  return weights * (m.HyBit + 2);
}

void TChromosom::mutate(float PaMutationRate, float PaBitFaktor, int PaMinGen, const uint32_t* words) {
  MutateWith(PaMutationRate, PaBitFaktor, PaMinGen, [&words] { return RawDrawBelow(*words++, 1000); });
}

void TChromosom::mutate(float PaMutationRate, float PaBitFaktor, int PaMinGen) {
  MutateWith(PaMutationRate, PaBitFaktor, PaMinGen, [] { return RandomBelow(1000); });
}

template <class Draw>
void TChromosom::MutateWith(float PaMutationRate, float PaBitFaktor, int PaMinGen, Draw&& draw) {
  const TMutationSetup m = MakeMutationSetup(maxWeight, precWeight, PaMutationRate, PaBitFaktor);
  oldConnections = Connections;
  Connections = 0;
  for (int L = 0; L <= static_cast<int>(HiddenLayers); ++L) {
    const TLayerBlock b = Block(L);
    for (int s = b.FirstSource; s < b.FirstSource + b.Sources; ++s) {
      TWeight* row = AdjazenzMatrix[s].get();
      for (int t = b.FirstTarget; t < b.FirstTarget + b.Targets; ++t) {
        const int32_t Gen = MutateGen(row[t], m, draw);
        if (Abs(Gen) < PaMinGen) {
          row[t] = 0;
        } else {
          row[t] = Gen;
          ++Connections;
        }
      }
    }
  }
  Touch();
}
