#include "all_episodes.h"

#include "world.h"

TEpisodeTally MeasureAllEpisodes(TChromosom& best, TZarnikHost& host) {
  const int fitness = best.getFitness();
  const TBallCounts counts = best.getBallCounts();
  TEpisodeTally tally;
  for (int heightE = 1; heightE <= AllEpisodeHeights && !UserBreak; ++heightE)
    for (int heightF = 1; heightF <= AllEpisodeHeights && !UserBreak; ++heightF) {
      host.ResetSimulator();
      best.playEpisode2(host, heightE, heightF);
      ++tally.episodes;
      tally.takes += best.getBallCounts().takes;
      tally.deliveries += best.getBallCounts().deliveries;
      tally.fitnessSum += best.getFitness();
    }
  best.setFitness(fitness);
  best.setBallCounts(counts);
  return tally;
}
