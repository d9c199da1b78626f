// Fixed-seed runs of both trainings, pinned in every build type, serial and pooled: any change to
// arithmetic, draw order, floating-point flags or file layout shows here.
#include <numeric>
#include <random>
#include "../support/temp_dir.h"
#include "history/fitness_log.h"
#include "hosts/headless_pool.h"
#include "ann-ga/mersenne_twister.h"
#include "ann-ga/random.h"
#include "test_support.h"

namespace {
// FNV-1a, 64 bits: small, and the same everywhere.
uint64_t Hash(const std::string& bytes) {
  return std::accumulate(bytes.begin(), bytes.end(), 0xcbf29ce484222325ull,
                         [](uint64_t h, unsigned char c) { return (h ^ c) * 0x100000001b3ull; });
}

// The history as the trainer's --log writes it, every row at second 0.
struct HistoryHost : THeadlessHost {
  std::string History;
  void GenerationDone(const TGenerationFigures& figures) override {
    char line[96];
    History.append(line, FormatFitnessRow(MakeFitnessRow(figures, 0.0), line, sizeof line));
  }
};

constexpr uint64_t StartFile = 0x284fd11d0a63e379ull;
constexpr uint64_t TrainedFile = 0x0afe91c5f927581dull;
// Three passes of training 1 (the first best holds), three generations of training 2 (no delivery yet).
constexpr const char* TrainedHistory =
    "0,1,3447,-69442,0,0.000,\n"
    "1,1,3447,-177584,0,0.000,\n"
    "2,1,3447,-224520,0,0.000,\n"
    "0,2,-1300,-23359,0,0.000,0\n"
    "1,2,3210,-20715,1,0.000,0\n"
    "2,2,5720,-17490,2,0.000,0\n";

struct Golden : ::testing::TestWithParam<int> {
  TTempDir dir;
  void TearDown() override { UseClockRandomSeed(), UserBreak = false; }
};

// Parameter: training 2 on the host itself (0), on 1 or 2 workers, on 2 workers playing batched (3).
TEST_P(Golden, FixedSeedRunsOfBothTrainingsHashToThePinnedValues) {
  const int workers = std::min(GetParam(), 2), lanes = GetParam() == 3 ? LaneCount : 1;
  const std::string start = dir / "start.dat", trained = dir / "trained.dat";
  {
    UseFixedRandomSeed(1999);
    THeadlessHost host;
    TZarnikHostScope useHost(&host);
    ASSERT_TRUE(MakeZarnikWorld(&host)->DoSaveANN(start.c_str()));
  }
  EXPECT_EQ(Hash(ReadAll(start)), StartFile);
  UseFixedRandomSeed(32);
  HistoryHost host;
  TZarnikHostScope useHost(&host);
  auto world = MakeZarnikWorld(&host);
  size_t size = 0;
  ASSERT_EQ(world->LoadANN(start.c_str(), size), TLoadError::None);
  host.View.Running = true;  // as during a run: no ball question
  world->BeginTrainANN1();
  for (int pass = 0; pass < 3; ++pass) world->TrainPass1();
  std::unique_ptr<THeadlessPool> pool;
  if (workers > 0) pool = std::make_unique<THeadlessPool>(workers, lanes);
  world->Pool = pool ? &pool->Pool() : nullptr;
  world->BeginTrainANN2();
  for (int g = 0; g < 3; ++g) world->TrainGeneration2();
  world->Pool = nullptr;
  ASSERT_TRUE(world->DoSaveANN(trained.c_str()));
  EXPECT_EQ(Hash(ReadAll(trained)), TrainedFile);
  EXPECT_EQ(host.History, TrainedHistory);
}

INSTANTIATE_TEST_SUITE_P(Threads, Golden, ::testing::Values(0, 1, 2, 3), [](const auto& info) {
  return info.param == 3 ? std::string("2WorkersBatched")
                         : info.param ? std::to_string(info.param) + "Workers" : std::string("Serial");
});
}  // namespace

// Every draw is the standard's mt19937 (its 10000th output of the default seed is 4123659995, as C++
// requires), also where words were made ahead for a reseed: past their end, and not for another seed.
TEST(Golden, DrawsAreTheStandardMersenneTwisterAlsoWhenMadeAhead) {
  TMersenneTwister engine;
  for (int k = 1; k < 10000; ++k) engine();
  EXPECT_EQ(engine(), 4123659995u);
  constexpr int Words = 70000;  // beyond the 65536 made ahead
  for (const char* ahead : {"none", "for this reseed", "for another seed"}) {
    UseFixedRandomSeed(77);
    SeedRandomAtGeneration(4);
    std::mt19937 reference(NextReseedSeed(4));
    if (ahead[0] == 'f') PrepareDraws(ahead[4] == 't' ? NextReseedSeed(4) : 12345);
    SeedRandom(4);
    uint32_t spare[100];
    const uint32_t* raw = TakeRawDraws(100, spare);  // raw words, then draws shifted
    for (int k = 0; k < Words; ++k) {
      const uint32_t word = reference();
      ASSERT_EQ(k < 100 ? raw[k] : static_cast<uint32_t>(NextRandom()), k < 100 ? word : word >> 1)
          << "made ahead: " << ahead << ", draw " << k;
    }
  }
  UseClockRandomSeed();
}
