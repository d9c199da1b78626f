#pragma once

#include <cstdint>

// The one process-wide source of uniform non-negative 31-bit integers used by
// building, selection, crossover, mutation and the episodes.

// Reseeds from the clock (whole seconds). Every reseed within the process also
// mixes in a count of earlier reseeds, so two reseeds in the same second still
// give different streams.
void SeedRandomFromClock();

// Next value in 0 .. 2^31 - 1.
int32_t NextRandom();

// Next value modulo n (n > 0).
inline int RandomBelow(int n) { return NextRandom() % n; }

using TSecondsClock = int64_t (*)();

// Test seam: while alive, seeding reads `clock` instead of the system clock and
// the reseed count starts again from zero, so draws can be repeated exactly.
class TRandomClockScope {
 public:
  explicit TRandomClockScope(TSecondsClock clock);
  ~TRandomClockScope();
  TRandomClockScope(const TRandomClockScope&) = delete;
  TRandomClockScope& operator=(const TRandomClockScope&) = delete;

 private:
  TSecondsClock Previous;
  uint32_t PreviousReseeds;
};
