// The training and activation loops and the evaluation passes they run.
#include <algorithm>
#include <climits>
#include <cstdio>

#include "ann-ga/episode_stepper.h"
#include "ann-ga/random.h"
#include "platform/translatable.h"
#include "ann-ga/world.h"

namespace {

// An episode has at most a few hundred steps; the clamp only keeps the type honest.
int ClampedCount(long long n) { return static_cast<int>(std::min<long long>(n, INT_MAX)); }

}  // namespace

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
      PassOfBest1 = Passes1;
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
  if (Pool) {
    // The draws in the order the serial pass takes them, then all episodes at
    // once, while the host waits in its own way.
    for (int k = 0; k <= Individuals; ++k) {
      TEpisodeJob& job = PoolJobs[k];
      job.Individual = k == 0 ? &bestIndividual : &Population[k - 1];
      job.HeightE = RandomBelow(10) + 1;
      job.HeightF = RandomBelow(10) + 1;
    }
    // While the episodes play, one worker makes the draws of the breeding
    // that follows.
    SelectionSeed = NextReseedSeed(Generations);
    Pool->EnqueueEpisodes(PoolJobs, Individuals + 1,
                          [](void* seed) { PrepareDraws(*static_cast<uint32_t*>(seed)); }, &SelectionSeed);
    ZarnikWindow->AwaitPool(*Pool);
    // The direction the serial pass leaves: that of the last episode.
    ZarnikWindow->SetDlgText(312, Episode2::DirectionText(PoolJobs[Individuals].LastTargetX));
  } else {
    ZarnikWindow->ResetSimulator();
    bestIndividual.calcCFitness2(InputList);
  }
  bestFitness = bestIndividual.getFitness();
  SetDlgInt(304, "%6i", bestFitness);
  bestIndividual.show();
  for (int i = 0; i < Individuals; ++i) {
    TChromosom& c = Population[i];
    if (!Pool) ZarnikWindow->ResetSimulator();
    ZarnikWindow->PumpMessages();
    SetDlgInt(306, "%3i", i);
    if (!Pool) c.calcCFitness2(InputList);
    if (c.getFitness() > bestFitness) {
      bestFitness = c.getFitness();
      bestIndividualIdx = i;
      copyBestIndividual(i);
      NoImprovement = 0;
      GenOfBest = Generations;
      SetDlgInt(304, "%8i", bestFitness);
      SetDlgInt(310, "%3i", Generations);
      bestIndividual.show();
    }
    SumFitness += c.getFitness();
    ZarnikWindow->PumpMessages();
  }
  AverageFitness = static_cast<int>(SumFitness / Individuals);
  SetDlgInt(302, "%6i", AverageFitness);
  if (NoImprovement < INT_MAX) ++NoImprovement;
}

void TWorld::BeginTrainANN1() {
  UserBreak = false;
  Repeats1 = Best1 = 0;
  ZarnikWindow->SetDlgText(301, QT_TRANSLATE_NOOP("TrainingLabels", "Distanz"));
  ZarnikWindow->SetDlgText(303, QT_TRANSLATE_NOOP("TrainingLabels", "bestFitness"));
  ZarnikWindow->SetDlgText(305, QT_TRANSLATE_NOOP("TrainingLabels", "count best used"));
  ZarnikWindow->SetDlgText(307, QT_TRANSLATE_NOOP("TrainingLabels", "Pos Ball"));
  NoImprovement = 0;
  bestFitness = INT32_MIN;
  std::fill(OutputList.get(), OutputList.get() + Population[0].getOutputNodes() + 2, 0);
  InputList = ZarnikWindow->GetCalcData(OutputList.get(), false, false);
}

void TWorld::TrainPass1() {
  constexpr int TimesUseBest = 2;
  ZarnikWindow->PumpMessages();
  calcFitness1();
  int64_t sum = 0;
  for (const TChromosom& c : Population) sum += c.getFitness();
  const TGenerationFigures figures{1, Passes1, bestFitness, static_cast<int>(sum / Individuals), PassOfBest1, -1};
  if (Best1 == bestIndividualIdx) {
    // A best that keeps winning is cleared so the next pass can move on.
    if (Repeats1 == TimesUseBest)
      bestFitness = INT32_MIN;
    else
      ++Repeats1;
  } else {
    Repeats1 = 0;
    Best1 = bestIndividualIdx;
  }
  SetDlgInt(306, "%3i", Repeats1);
  char text[32];  // two ints of up to 11 characters and 9 more: 31
  std::snprintf(text, sizeof text, "( %3i , %3i )", InputList[0], InputList[1]);
  ZarnikWindow->SetDlgText(308, text);
  useBestIndividual();
  Selection();
  CrossOver();
  mutate();
  if (Passes1 < INT_MAX) ++Passes1;
  ZarnikWindow->GenerationDone(figures);
}

void TWorld::DoTrainANN1() {
  BeginTrainANN1();
  while (IsImprovement() && !UserBreak) TrainPass1();
  ZarnikWindow->AnnHasFinished();
}

void TWorld::BeginTrainANN2() {
  UserBreak = false;
  ZarnikWindow->SetDlgText(301, QT_TRANSLATE_NOOP("TrainingLabels", "avrg Fitness"));
  ZarnikWindow->SetDlgText(303, QT_TRANSLATE_NOOP("TrainingLabels", "best Fitness"));
  ZarnikWindow->SetDlgText(307, QT_TRANSLATE_NOOP("TrainingLabels", "Generation"));
  ZarnikWindow->SetDlgText(305, QT_TRANSLATE_NOOP("TrainingLabels", "Individual"));
  ZarnikWindow->SetDlgText(309, QT_TRANSLATE_NOOP("TrainingLabels", "Gen. of best"));
  ZarnikWindow->SetDlgText(311, QT_TRANSLATE_NOOP("TrainingLabels", "Direction"));
  SetDlgInt(310, "%4i", Generations);
  GenOfBest = Generations;
  NoImprovement = 0;
  std::fill(OutputList.get(), OutputList.get() + Population[0].getOutputNodes() + 2, 0);
  InputList = ZarnikWindow->GetCalcData(OutputList.get(), false, false);
}

void TWorld::TrainGeneration2() {
  ZarnikWindow->PumpMessages();
  SetDlgInt(308, "%3i", Generations);
  SeedRandomAtGeneration(Generations);
  calcFitness2();
  const TGenerationFigures figures{2, Generations, bestFitness, AverageFitness, GenOfBest,
                                   ClampedCount(bestIndividual.getBallCounts().deliveries)};
  Selection();
  CrossOver();
  MutateOn(Pool);
  if (Generations < INT_MAX) ++Generations;  // a loaded count may sit at the top
  ZarnikWindow->GenerationDone(figures);
}

void TWorld::DoTrainANN2() {
  BeginTrainANN2();
  while (IsImprovement() && !UserBreak) TrainGeneration2();
  ZarnikWindow->AnnHasFinished();
}

void TWorld::DoStartANN() {
  const TBallCounts countsAtStart = ZarnikWindow->BallCounts();
  const int OutN = bestIndividual.getOutputNodes();
  int* out = OutputList.get();
  std::fill(out, out + OutN + 2, 0);
  InputList = ZarnikWindow->GetCalcData(out, true, false);
  out[4] = out[5] = 0;
  int GoalOld = InputList[4];
  UserBreak = false;
  TBallCounts shown = ZarnikWindow->BallCounts() - countsAtStart;
  ZarnikWindow->ActivationCounts(shown);
  while (!UserBreak) {
    ZarnikWindow->PumpMessages();
    useBestIndividual();
    const TBallCounts counts = ZarnikWindow->BallCounts() - countsAtStart;
    if (counts.takes != shown.takes || counts.deliveries != shown.deliveries) {
      shown = counts;
      ZarnikWindow->ActivationCounts(shown);
    }
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

void TWorld::NumberPassesAfter(int lastPass) {
  if (lastPass >= 0 && Passes1 <= lastPass) Passes1 = lastPass < INT_MAX ? lastPass + 1 : INT_MAX;
}

void TWorld::ResumeBestFoundAt(int generationOfBest) {
  GenOfBest = generationOfBest;
  NoImprovement = Generations - GenOfBest;
}
