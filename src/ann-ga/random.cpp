#include "ann-ga/random.h"

#include <ctime>

#include "ann-ga/mersenne_twister.h"

namespace {

int64_t SystemSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

// Seeded with a single word: no seed_seq, so seeding never allocates.
// Draws read the words made ahead (Ahead .. AheadEnd) first, then Engine.
struct TDrawStream {
  TMersenneTwister Engine;
  const uint32_t* Ahead = nullptr;
  const uint32_t* AheadEnd = nullptr;
  uint32_t operator()() { return Ahead != AheadEnd ? *Ahead++ : Engine(); }
  void Seed(uint32_t seed) {
    Engine.Seed(seed);
    Ahead = AheadEnd = nullptr;
  }
};

// Enough words for a generation's selection, crossover and mutation of the
// program's networks (about 50,000); larger networks read the rest live.
constexpr int PreparedWords = 1 << 16;
struct TPrepared {
  uint32_t Seed = 0;
  bool Ready = false;
  TMersenneTwister Engine;  // where the stream goes on after the words
  uint32_t Words[PreparedWords];
};

TDrawStream Streams[2];
TDrawStream* Generator = &Streams[0];
// Two, so that making words ahead never overwrites those the stream in use
// may still read.
TPrepared Prepared[2];

bool InUse(const TPrepared& p) {
  return Generator->Ahead != Generator->AheadEnd && Generator->AheadEnd == p.Words + PreparedWords;
}
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

uint32_t FixedSeedFor(int generation) {
  const uint32_t reseeds = generation == SeededGeneration ? ReseedsInGeneration : 0;
  const uint64_t g = static_cast<uint32_t>(generation);
  return Mix(FixedSeed ^ Mix((g << 32) | reseeds));
}

uint32_t ClockSeed() {
  const uint64_t t = static_cast<uint64_t>(Clock());
  const uint32_t seconds = static_cast<uint32_t>(t ^ (t >> 32));
  // Golden-ratio step per reseed keeps streams within one second apart.
  return seconds ^ (Reseeds * 0x9E3779B9u);
}

// Starts the stream of `seed`, from the words made ahead if they are its.
void StartStream(uint32_t seed) {
  for (TPrepared& p : Prepared) {
    if (!p.Ready || p.Seed != seed) continue;
    TDrawStream& next = Generator == &Streams[0] ? Streams[1] : Streams[0];
    next.Engine = p.Engine;
    next.Ahead = p.Words;
    next.AheadEnd = p.Words + PreparedWords;
    Generator = &next;
    p.Ready = false;
    return;
  }
  Generator->Seed(seed);
}

void SeedFixed(int generation) {
  const uint32_t seed = FixedSeedFor(generation);
  if (generation != SeededGeneration) {
    SeededGeneration = generation;
    ReseedsInGeneration = 0;
  }
  ++ReseedsInGeneration;
  StartStream(seed);
}

}  // namespace

void SeedRandom(int generation) {
  if (Fixed) {
    SeedFixed(generation);
    return;
  }
  StartStream(ClockSeed());
  ++Reseeds;
}

void SeedRandomAtGeneration(int generation) {
  if (Fixed) SeedFixed(generation);
}

uint32_t NextReseedSeed(int generation) { return Fixed ? FixedSeedFor(generation) : ClockSeed(); }

void PrepareDraws(uint32_t seed) {
  TPrepared& p = InUse(Prepared[0]) ? Prepared[1] : Prepared[0];
  p.Engine.Seed(seed);
  for (uint32_t& word : p.Words) word = p.Engine();
  p.Seed = seed;
  p.Ready = true;
}

const uint32_t* TakeRawDraws(int count, uint32_t* spare) {
  TDrawStream& g = *Generator;
  if (g.AheadEnd - g.Ahead >= count) {
    const uint32_t* words = g.Ahead;
    g.Ahead += count;
    return words;
  }
  for (int i = 0; i < count; ++i) spare[i] = g();
  return spare;
}

void UseFixedRandomSeed(uint64_t seed) {
  Fixed = true;
  FixedSeed = seed;
  SeededGeneration = -1;
  ReseedsInGeneration = 0;
}

void UseClockRandomSeed() { Fixed = false; }

int32_t NextRandom() { return static_cast<int32_t>((*Generator)() >> 1); }

void RandomsBelow(int n, int* out, int count) {
  // The mutation's per mille draws are nearly all draws: a constant divisor
  // lets the compiler multiply instead of divide.
  if (n == 1000) {
    for (int i = 0; i < count; ++i) out[i] = RawDrawBelow((*Generator)(), 1000);
    return;
  }
  for (int i = 0; i < count; ++i) out[i] = RawDrawBelow((*Generator)(), n);
}

TRandomClockScope::TRandomClockScope(TSecondsClock clock) : Previous(Clock), PreviousReseeds(Reseeds) {
  Clock = clock;
  Reseeds = 0;
}

TRandomClockScope::~TRandomClockScope() {
  Clock = Previous;
  Reseeds = PreviousReseeds;
}
