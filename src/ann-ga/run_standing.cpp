#include "run_standing.h"

TRunStanding MeasureRunStanding(TWorld& world, TZarnikHost& host) {
  TChromosom& best = world.bestIndividual;
  TRunStanding s;
  s.generations = world.Generations;
  long long fitness = 0;
  for (int e = 0; e < StandingEpisodes; ++e) {
    host.ResetSimulator();
    best.playEpisode2(host, e + 1, (e + 5) % 10 + 1);
    fitness += best.getFitness();
    s.counts.takes += best.getBallCounts().takes;
    s.counts.deliveries += best.getBallCounts().deliveries;
  }
  s.fitness = static_cast<int>(fitness / StandingEpisodes);
  return s;
}

bool RanksBefore(const TRunStanding& a, const TRunStanding& b) {
  if (a.counts.deliveries != b.counts.deliveries) return a.counts.deliveries > b.counts.deliveries;
  return a.fitness > b.fitness;
}
