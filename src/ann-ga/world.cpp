#include "ann-ga/world.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <utility>

#include "ann-ga/random.h"

void copyArrayInt(const int* PaArray1, int* PaArray2, int PaSize) {
  std::copy(PaArray1, PaArray1 + std::max(PaSize, 0), PaArray2);
}

TWorld::TWorld(TZarnikHost* parent, const TWorldDef& def)
    : maxNoImprovement(def.MaxNoImprovement),
      maxPoints(def.MaxPoints),
      MatingRate(def.MatingRate),
      MatingPoolSize(def.MatingPoolSize),
      MutationRate(def.MutationRate),
      BitFaktor(def.BitFaktor),
      minGen(def.MinGen),
      GrowthRate(def.GrowthRate),
      maxHiddenNodes(def.MaxHiddenNodes) {
  SeedRandom(Generations);  // 0 here
  const auto init = [&def](TChromosom& c) {
    c.init(def.Nodes, def.InputNodes, def.HiddenNodes, def.HiddenLayers, def.MaxWeight, def.PrecWeight,
           def.MaxIntern);
  };
  for (TChromosom& c : Population) init(c);
  init(bestIndividual);
  MutationDrawsEach = Population[0].MutationDraws();
  MutationWordSpare = std::make_unique<uint32_t[]>(static_cast<size_t>(Individuals) * MutationDrawsEach);
  InputListOld = std::make_unique<int[]>(static_cast<size_t>(def.InputNodes));
  OutputList = std::make_unique<int[]>(static_cast<size_t>(Population[0].getOutputNodes()) + 2);
  InputList = parent->GetCalcData(OutputList.get(), false, false);
}

void TWorld::setMutationRate(float v) {
  if (v >= 0 && v <= 1) MutationRate = v;
}
void TWorld::setBitFaktor(float v) {
  if (v >= 1 && v <= 2) BitFaktor = v;
}
void TWorld::setMinGen(int v) {
  const int64_t limit = static_cast<int64_t>(bestIndividual.getPrecWeight()) * bestIndividual.getMaxIntern() / 2;
  if (v >= 0 && v <= limit) minGen = v;
}
void TWorld::setGrowthRate(float v) {
  if (v >= 0 && v <= 1) GrowthRate = v;
}
void TWorld::setMaxPoints(int v) {
  if (v >= 1 && v <= MaxCrossoverPoints) maxPoints = v;
}

void TWorld::SetDlgInt(int id, const char* format, int value) const {
  char text[16];  // any int in a width of at most 11: 11 characters
  std::snprintf(text, sizeof text, format, value);
  ZarnikWindow->SetDlgText(id, text);
}

int TWorld::getWorst() const {
  int worst = 0, minimum = INT_MAX;
  for (int i = 0; i < Individuals; ++i) {
    if (Population[i].getFitness() < minimum) {
      minimum = Population[i].getFitness();
      worst = i;
    }
  }
  return worst;
}

void TWorld::overwriteWorstOne(int PaInd, int PaFitness) {
  TChromosom& to = Population[getWorst()];
  TChromosom& from = Population[PaInd];
  if (&to != &from) {
    const int n = to.getNodes();
    for (int row = 0; row < n; ++row) {
      const int* src = std::as_const(from).getLineWeight(row);
      std::copy(src, src + n, to.getLineWeight(row));
    }
  }
  to.setFitness(PaFitness);
}

void TWorld::Selection() {
  SeedRandom(Generations);
  const int runs = Individuals - MatingPoolSize;
  bool ok = true;
  for (int run = 0; run < runs; ++run) {
    const int Ind1 = RandomBelow(Individuals);
    int Ind2 = RandomBelow(Individuals);
    const int f1 = Population[Ind1].getFitness();
    int f2 = Population[Ind2].getFitness();
    const int start = Ind2;
    while (f2 == f1 && ok) {
      Ind2 = (Ind2 + 1) % Individuals;
      f2 = Population[Ind2].getFitness();
      ok = Ind2 != start;
    }
    if (f2 != f1) {
      if (f2 < f1)
        overwriteWorstOne(Ind1, f1);
      else
        overwriteWorstOne(Ind2, f2);
    }
    ZarnikWindow->PumpMessages();
  }
  for (int i = 0; i < 4; ++i) overwriteWorstOne(bestIndividualIdx, bestFitness);
}

void TWorld::CrossOver() {
  bool mated[Individuals] = {};
  for (int pair = 0; pair < 25; ++pair) {
    int Ind1, Ind2;
    do Ind1 = RandomBelow(Individuals);
    while (mated[Ind1]);
    do Ind2 = RandomBelow(Individuals);
    while (Ind2 == Ind1 || mated[Ind2]);
    mate(Ind1, Ind2);
    mated[Ind1] = mated[Ind2] = true;
    ZarnikWindow->PumpMessages();
  }
  int waiting = -1;
  for (int i = 0; i < Individuals; ++i) {
    if (mated[i]) continue;
    if (waiting < 0) {
      waiting = i;
      continue;
    }
    mate(waiting, i);
    mated[waiting] = mated[i] = true;
    waiting = -1;
    ZarnikWindow->PumpMessages();
  }
}

namespace {

void SwapWeight(TChromosom& a, TChromosom& b, int row, int column) {
  const int w = a.getWeight(row, column);
  a.setWeight(row, column, b.getWeight(row, column));
  b.setWeight(row, column, w);
}

}  // namespace

void TWorld::mate(int PaInd1, int PaInd2) {
  TChromosom& a = Population[PaInd1];
  TChromosom& b = Population[PaInd2];
  const int Columns = Population[0].getNodes();
  const int CntWeights = Columns * Columns;
  const float mF = static_cast<float>(static_cast<long double>(RandomBelow(1000)) * static_cast<long double>(0.001) +
                                      static_cast<long double>(MatingRate));
  if (mF < 1.0f) return;

  // The constructor takes maxPoints unchecked; never index past the point array.
  const int points = std::clamp(maxPoints, 0, MaxCrossoverPoints);
  for (int k = 0; k < points; ++k) CrossoverPoint[k] = CntWeights > 0 ? RandomBelow(CntWeights) : 0;
  std::sort(CrossoverPoint, CrossoverPoint + points);
  CrossoverPoint[points] = CntWeights - 1;

  CrossStretches(a, b, CrossoverPoint, points);
}

void TWorld::CrossStretches(TChromosom& a, TChromosom& b, const int* point, int count) {
  const int Columns = a.getNodes();
  if (Columns <= 0) return;
  for (int k = 0; k < count; k += 2) {
    const int y1 = point[k] / Columns, x1 = point[k] % Columns;
    const int y2 = point[k + 1] / Columns, x2 = point[k + 1] % Columns;
    if (y1 == y2) {
      for (int x = x1; x <= x2; ++x) SwapWeight(a, b, y1, x);
      continue;
    }
    for (int x = x1; x < Columns; ++x) SwapWeight(a, b, y1, x);
    // Whole rows change owner instead of being copied.
    for (int y = y1 + 1; y < y2; ++y) {
      int* rowA = a.getLineWeight(y);
      int* rowB = b.getLineWeight(y);
      a.setLineWeight(y, rowB);
      b.setLineWeight(y, rowA);
    }
    for (int x = 0; x <= x2; ++x) SwapWeight(a, b, y2, x);
  }
}

void TWorld::mutate() { MutateOn(nullptr); }

void TWorld::MutateOn(TTaskRunner* pool) {
  const int per = MutationDrawsEach;
  bool oneSize = true;
  for (const TChromosom& c : Population) oneSize &= c.MutationDraws() == per;
  if (pool && oneSize) {
    // The draws in the serial order, the arithmetic on the workers.
    MutationWords = TakeRawDraws(Individuals * per, MutationWordSpare.get());
    pool->EnqueueTask(
        [](void* context, int i) {
          TWorld& w = *static_cast<TWorld*>(context);
          w.Population[i].mutate(w.MutationRate, w.BitFaktor, w.minGen,
                                 w.MutationWords + static_cast<size_t>(i) * w.MutationDrawsEach);
        },
        Individuals, this);
    ZarnikWindow->AwaitPool(*pool);
    return;
  }
  for (TChromosom& c : Population) {
    c.mutate(MutationRate, BitFaktor, minGen);
    ZarnikWindow->PumpMessages();
  }
}

void TWorld::copyBestIndividual(int PaInd) {
  TChromosom& from = Population[PaInd];
  const int n = from.getNodes();
  for (int row = 0; row < n; ++row) {
    const int* src = std::as_const(from).getLineWeight(row);
    std::copy(src, src + n, bestIndividual.getLineWeight(row));
  }
  bestIndividual.setFitness(from.getFitness());
  bestIndividual.setBallCounts(from.getBallCounts());
  bestIndividual.setNodes(from.getNodes());
  bestIndividual.setInputNodes(from.getInputNodes());
  bestIndividual.setHiddenNodes(from.getHiddenNodes());
  bestIndividual.calcOutputNodes();
  bestIndividual.setMaxWeight(from.getMaxWeight());
  bestIndividual.setPrecWeight(from.getPrecWeight());
  bestIndividual.setMaxIntern(from.getMaxIntern());
  bestIndividual.setConnections(from.getConnections());
  bestIndividual.setOldConnections(from.getOldConnections());
}

void TWorld::useBestIndividual() {
  bestIndividual.runANN(InputList, OutputList.get());
  InputList = ZarnikWindow->GetCalcData(OutputList.get(), true, !UserBreak);
}

std::unique_ptr<TWorld> MakeZarnikWorld(TZarnikHost* host) {
  return std::make_unique<TWorld>(host, DefaultWorldDef());
}
