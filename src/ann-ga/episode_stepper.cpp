#include "ann-ga/episode_stepper.h"

int64_t CombineRunTotals(const int64_t (&savFitness)[5]) {
  constexpr int64_t minFitness = -2000;
  int64_t f = 0;
  for (const int64_t total : savFitness) {
    if (f < minFitness) {
      if (total < f) f = total;
    } else {
      f += total;
    }
  }
  if (f > 0) f /= 5;
  return f;
}
