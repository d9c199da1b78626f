#include "runs/all_episodes.h"

#include <charconv>

#include <cstdio>
#include <vector>

#include "ann-ga/world.h"

std::string FormatMean(double mean) {
  if (mean < 0) return "-";
  // to_chars: '.' whatever the locale, as the machine lines and the ranking need.
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, mean, std::chars_format::fixed, 2).ptr;
  return std::string(text, end);
}

void AddEpisodeOfAll(TChromosom& best, TZarnikHost& host, int e, TEpisodeTally& tally) {
  const TEpisodeHeights h = AllEpisodeHeightsOf(e);
  host.ResetSimulator();
  best.playEpisode2(host, h.e, h.f);
  ++tally.episodes;
  tally.takes += best.getBallCounts().takes;
  tally.deliveries += best.getBallCounts().deliveries;
  tally.fitnessSum += best.getFitness();
}

TEpisodeTally MeasureAllEpisodes(TChromosom& best, TZarnikHost& host, std::vector<TEpisodeTally>* each) {
  // Playing leaves the score, the counts and the node values behind; the
  // record holds them all, so the best is stored afterwards as it was.
  std::vector<unsigned char> before(best.RecordSize());
  best.EncodeRecord(before.data());
  const TBallCounts counts = best.getBallCounts();
  TEpisodeTally tally;
  if (each != nullptr) each->clear();
  for (int e = 0; e < AllEpisodes && !UserBreak; ++e) {
    TEpisodeTally one;
    AddEpisodeOfAll(best, host, e, one);
    tally += one;
    if (each != nullptr) each->push_back(one);
  }
  best.ApplyRecord(before.data());
  best.setBallCounts(counts);
  return tally;
}
