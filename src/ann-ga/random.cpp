#include "random.h"

#include <ctime>
#include <random>

namespace {

int64_t SystemSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

// Seeded with a single word: no seed_seq, so seeding never allocates.
std::mt19937 Generator{5489u};
TSecondsClock Clock = SystemSeconds;
uint32_t Reseeds = 0;

}  // namespace

void SeedRandomFromClock() {
  const uint64_t t = static_cast<uint64_t>(Clock());
  const uint32_t seconds = static_cast<uint32_t>(t ^ (t >> 32));
  // Golden-ratio step per reseed keeps streams within one second apart.
  Generator.seed(seconds ^ (Reseeds * 0x9E3779B9u));
  ++Reseeds;
}

int32_t NextRandom() { return static_cast<int32_t>(Generator() >> 1); }

TRandomClockScope::TRandomClockScope(TSecondsClock clock) : Previous(Clock), PreviousReseeds(Reseeds) {
  Clock = clock;
  Reseeds = 0;
}

TRandomClockScope::~TRandomClockScope() {
  Clock = Previous;
  Reseeds = PreviousReseeds;
}
