#pragma once

#include <cstdint>

// The one process-wide source of uniform non-negative 31-bit integers used by
// building, selection, crossover, mutation and the episodes.

// Reseeds at one of the population's seeding points (building, every
// Selection). From the clock (whole seconds) by default: every reseed within
// the process also mixes in a count of earlier reseeds, so two reseeds in the
// same second still give different streams. With a fixed seed the stream
// depends only on that seed, `generation` and the number of reseeds the same
// generation has had before, so a run can be repeated and resumed exactly.
void SeedRandom(int generation);

// The reseed at the top of a generation that makes a fixed-seed run
// resumable from its file. Does nothing while the clock seeds, so the window's
// runs draw exactly as before.
void SeedRandomAtGeneration(int generation);

// Seeds from `seed` from now on instead of the clock.
void UseFixedRandomSeed(uint64_t seed);
void UseClockRandomSeed();

// Next value in 0 .. 2^31 - 1.
int32_t NextRandom();

// Draws made ahead. The seed that the next SeedRandom(generation) would use
// as things stand; PrepareDraws(seed), which may run on another thread while
// this one waits for it, makes that stream's first words; a reseed with that
// seed then reads them instead of making them. With another seed (the clock
// ticked) the reseed simply makes its own, so the draws never change.
uint32_t NextReseedSeed(int generation);
void PrepareDraws(uint32_t seed);

// The next `count` raw words of the stream (as NextRandom would take them
// before its shift): taken where they were made ahead, else made into
// `spare`, which must hold `count` words.
const uint32_t* TakeRawDraws(int count, uint32_t* spare);

// A raw word as a draw modulo n, as RandomBelow(n) takes it.
inline int RawDrawBelow(uint32_t word, int n) { return static_cast<int32_t>(word >> 1) % n; }

// Next value modulo n (n > 0).
inline int RandomBelow(int n) { return NextRandom() % n; }

// The next `count` values modulo n into out, as as many RandomBelow calls.
void RandomsBelow(int n, int* out, int count);

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
