#pragma once

// What a run reports beyond its texts: the balls the arm took and delivered,
// and the figures of one generation. Plain values, shared by the training
// code, its hosts and the fitness history.

// Balls taken (picked up by the claw) and delivered (set down on their target
// platform), as the arm model decides them. The model only counts up; a run
// keeps the counts at its start and takes the difference.
struct TBallCounts {
  long long takes = 0;
  long long deliveries = 0;
};

inline TBallCounts operator-(const TBallCounts& a, const TBallCounts& b) {
  return {a.takes - b.takes, a.deliveries - b.deliveries};
}

// What one generation of training 2, or one pass of training 1, came to.
struct TGenerationFigures {
  int mode;              // 1 or 2
  int generation;        // training 2: the population's Generations during the pass;
                         // training 1: the session's count of passes, from 0
  int bestFitness;       // best fitness of the pass
  int averageFitness;    // mean fitness of the 100 individuals
  int generationOfBest;  // generation (pass) in which the present best was found
  int bestDeliveries;    // training 2: deliveries in the episode of the pass's best; -1 in training 1
};
