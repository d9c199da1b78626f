#include <algorithm>
#include <climits>
#include <cstdio>

#include "random.h"
#include "world.h"

bool UserBreak = false;

void TWorld::calcFitness1() {
  copyArrayInt(InputList, InputListOld.get(), bestIndividual.getInputNodes());
  for (int i = 0; i < Individuals; ++i) {
    TChromosom& c = Population[i];
    c.runANN(InputListOld.get(), OutputList.get());
    InputList = ZarnikWindow->GetCalcData(OutputList.get(), false, false);
    c.calcFitness1(InputList, InputListOld.get());
    if (c.getFitness() > bestFitness) {
      bestFitness = c.getFitness();
      bestIndividualIdx = i;
      copyBestIndividual(i);
      NoImprovement = 0;
      SetDlgInt(304, "%6d", bestFitness);
      SetDlgInt(312, "%2i", bestIndividual.getHiddenNodes() * bestIndividual.getHiddenLayers());
      bestIndividual.show();
    }
    ZarnikWindow->PumpMessages();
  }
  if (NoImprovement < INT_MAX) ++NoImprovement;
}

void TWorld::calcFitness2() {
  int64_t SumFitness = 0;  // 100 ints cannot overflow 64 bits
  ZarnikWindow->ResetSimulator();
  bestIndividual.calcCFitness2(InputList);
  bestFitness = bestIndividual.getFitness();
  SetDlgInt(304, "%6i", bestFitness);
  bestIndividual.show();
  for (int i = 0; i < Individuals; ++i) {
    TChromosom& c = Population[i];
    ZarnikWindow->ResetSimulator();
    ZarnikWindow->PumpMessages();
    SetDlgInt(306, "%3i", i);
    c.calcCFitness2(InputList);
    if (c.getFitness() > bestFitness) {
      bestFitness = c.getFitness();
      bestIndividualIdx = i;
      copyBestIndividual(i);
      NoImprovement = 0;
      SetDlgInt(304, "%8i", bestFitness);
      SetDlgInt(310, "%3i", Generations);
      bestIndividual.show();
    }
    SumFitness += c.getFitness();
    ZarnikWindow->PumpMessages();
  }
  SetDlgInt(302, "%6i", static_cast<int>(SumFitness / Individuals));
  if (NoImprovement < INT_MAX) ++NoImprovement;
}

void TWorld::DoTrainANN1() {
  UserBreak = false;
  constexpr int TimesUseBest = 2;
  int repeats = 0, best = 0;
  ZarnikWindow->SetDlgText(301, "Distanz");
  ZarnikWindow->SetDlgText(303, "bestFitness");
  ZarnikWindow->SetDlgText(305, "count best used");
  ZarnikWindow->SetDlgText(307, "Pos Ball");
  NoImprovement = 0;
  bestFitness = INT32_MIN;
  std::fill(OutputList.get(), OutputList.get() + Population[0].getOutputNodes() + 2, 0);
  InputList = ZarnikWindow->GetCalcData(OutputList.get(), false, false);

  while (IsImprovement() && !UserBreak) {
    ZarnikWindow->PumpMessages();
    calcFitness1();
    if (best == bestIndividualIdx) {
      // A best that keeps winning is cleared so the next pass can move on.
      if (repeats == TimesUseBest)
        bestFitness = INT32_MIN;
      else
        ++repeats;
    } else {
      repeats = 0;
      best = bestIndividualIdx;
    }
    SetDlgInt(306, "%3i", repeats);
    char text[32];  // two ints of up to 11 characters and 9 more: 31
    std::snprintf(text, sizeof text, "( %3i , %3i )", InputList[0], InputList[1]);
    ZarnikWindow->SetDlgText(308, text);
    useBestIndividual();
    Selection();
    CrossOver();
    mutate();
  }
  ZarnikWindow->AnnHasFinished();
}

void TWorld::DoTrainANN2() {
  UserBreak = false;
  ZarnikWindow->SetDlgText(301, "avrg Fitness");
  ZarnikWindow->SetDlgText(303, "best Fitness");
  ZarnikWindow->SetDlgText(307, "Generation");
  ZarnikWindow->SetDlgText(305, "Individual");
  ZarnikWindow->SetDlgText(309, "Gen. of best");
  ZarnikWindow->SetDlgText(311, "Direction");
  SetDlgInt(310, "%4i", Generations);
  NoImprovement = 0;
  std::fill(OutputList.get(), OutputList.get() + Population[0].getOutputNodes() + 2, 0);
  InputList = ZarnikWindow->GetCalcData(OutputList.get(), false, false);

  while (IsImprovement() && !UserBreak) {
    ZarnikWindow->PumpMessages();
    SetDlgInt(308, "%3i", Generations);
    calcFitness2();
    Selection();
    CrossOver();
    mutate();
    if (Generations < INT_MAX) ++Generations;  // a loaded count may sit at the top
  }
  ZarnikWindow->AnnHasFinished();
}

void TWorld::DoStartANN() {
  const int OutN = bestIndividual.getOutputNodes();
  int* out = OutputList.get();
  std::fill(out, out + OutN + 2, 0);
  InputList = ZarnikWindow->GetCalcData(out, true, false);
  out[4] = out[5] = 0;
  int GoalOld = InputList[4];
  UserBreak = false;
  while (!UserBreak) {
    ZarnikWindow->PumpMessages();
    useBestIndividual();
    if (InputList[4] != GoalOld) {
      GoalOld = InputList[4];
      std::fill(out, out + OutN + 2, 0);
      out[4] = RandomBelow(10) + 1;
      out[5] = RandomBelow(10) + 1;
      InputList = ZarnikWindow->GetCalcData(out, true, true);
      out[4] = out[5] = 0;
    }
  }
  ZarnikWindow->AnnHasFinished();
}
