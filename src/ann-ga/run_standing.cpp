#include "run_standing.h"

TStandingHeights StandingHeights(int e) { return {e + 1, (e + 5) % 10 + 1}; }

void AddStandingEpisode(TChromosom& best, TZarnikHost& host, int e, TRunStanding& s) {
  const TStandingHeights h = StandingHeights(e);
  host.ResetSimulator();
  best.playEpisode2(host, h.e, h.f);
  s.fitnessSum += best.getFitness();
  s.counts.takes += best.getBallCounts().takes;
  s.counts.deliveries += best.getBallCounts().deliveries;
  ++s.episodes;
  s.fitness = static_cast<int>(s.fitnessSum / s.episodes);
}

TRunStanding MeasureRunStanding(TWorld& world, TZarnikHost& host) {
  TRunStanding s;
  s.generations = world.Generations;
  for (int e = 0; e < StandingEpisodes; ++e) AddStandingEpisode(world.bestIndividual, host, e, s);
  return s;
}

bool RanksBefore(const TRunStanding& a, const TRunStanding& b) {
  if (a.counts.deliveries != b.counts.deliveries) return a.counts.deliveries > b.counts.deliveries;
  return a.fitness > b.fitness;
}
