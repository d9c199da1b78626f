#include "all_episodes.h"

#include <vector>

#include "world.h"

TEpisodeTally MeasureAllEpisodes(TChromosom& best, TZarnikHost& host) {
  // Playing leaves the score, the counts and the node values behind; the
  // record holds them all, so the best is stored afterwards as it was.
  std::vector<unsigned char> before(best.RecordSize());
  best.EncodeRecord(before.data());
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
  best.ApplyRecord(before.data());
  best.setBallCounts(counts);
  return tally;
}
