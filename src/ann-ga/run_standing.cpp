#include "run_standing.h"

TRunStanding MeasureRunStanding(TWorld& world, TZarnikHost& host) {
  host.ResetSimulator();
  TChromosom& best = world.bestIndividual;
  best.playEpisode2(host, StandingHeightE, StandingHeightF);
  return {world.Generations, best.getFitness(), best.getBallCounts()};
}

bool RanksBefore(const TRunStanding& a, const TRunStanding& b) {
  if (a.counts.deliveries != b.counts.deliveries) return a.counts.deliveries > b.counts.deliveries;
  return a.fitness > b.fitness;
}
