#include "random.h"

#include <ctime>

#include "mersenne_twister.h"

namespace {

int64_t SystemSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

// Seeded with a single word: no seed_seq, so seeding never allocates.
TMersenneTwister Generator;
TSecondsClock Clock = SystemSeconds;
uint32_t Reseeds = 0;

bool Fixed = false;
uint64_t FixedSeed = 0;
int SeededGeneration = -1;
uint32_t ReseedsInGeneration = 0;

// splitmix64 finaliser: nearby seeds, generations and counts give unrelated words.
uint32_t Mix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  x ^= x >> 31;
  return static_cast<uint32_t>(x ^ (x >> 32));
}

void SeedFixed(int generation) {
  if (generation != SeededGeneration) {
    SeededGeneration = generation;
    ReseedsInGeneration = 0;
  }
  const uint64_t g = static_cast<uint32_t>(generation);
  Generator.Seed(Mix(FixedSeed ^ Mix((g << 32) | ReseedsInGeneration)));
  ++ReseedsInGeneration;
}

}  // namespace

void SeedRandom(int generation) {
  if (Fixed) {
    SeedFixed(generation);
    return;
  }
  const uint64_t t = static_cast<uint64_t>(Clock());
  const uint32_t seconds = static_cast<uint32_t>(t ^ (t >> 32));
  // Golden-ratio step per reseed keeps streams within one second apart.
  Generator.Seed(seconds ^ (Reseeds * 0x9E3779B9u));
  ++Reseeds;
}

void SeedRandomAtGeneration(int generation) {
  if (Fixed) SeedFixed(generation);
}

void UseFixedRandomSeed(uint64_t seed) {
  Fixed = true;
  FixedSeed = seed;
  SeededGeneration = -1;
  ReseedsInGeneration = 0;
}

void UseClockRandomSeed() { Fixed = false; }

int32_t NextRandom() { return static_cast<int32_t>(Generator() >> 1); }

void RandomsBelow(int n, int* out, int count) {
  // The mutation's per mille draws are nearly all draws: a constant divisor
  // lets the compiler multiply instead of divide.
  if (n == 1000) {
    for (int i = 0; i < count; ++i) out[i] = static_cast<int32_t>(Generator() >> 1) % 1000;
    return;
  }
  for (int i = 0; i < count; ++i) out[i] = static_cast<int32_t>(Generator() >> 1) % n;
}

TRandomClockScope::TRandomClockScope(TSecondsClock clock) : Previous(Clock), PreviousReseeds(Reseeds) {
  Clock = clock;
  Reseeds = 0;
}

TRandomClockScope::~TRandomClockScope() {
  Clock = Previous;
  Reseeds = PreviousReseeds;
}
