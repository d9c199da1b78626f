// The network file: layout and refusals.
#include <bit>
#include <cstring>
#include "../support/temp_dir.h"
#include "test_support.h"

namespace {
constexpr size_t Record = 44 + 8 * 21 + 4 * 21 * 21;

uint32_t U32(const std::string& b, size_t at) { uint32_t v; std::memcpy(&v, &b[at], 4); return v; }  // x86-64: LE
void PutU32(std::string& b, size_t at, uint32_t v) { std::memcpy(b.data() + at, &v, 4); }

struct NetworkFile : WorldTest<> {
  TTempDir dir;
  const fs::path file = dir / "zarnik.dat";
  std::string Saved(TWorld& world) {
    EXPECT_TRUE(world.DoSaveANN((dir / "snapshot.dat").c_str()));
    return ReadAll(dir / "snapshot.dat");
  }
};

TEST_F(NetworkFile, LayoutIsLittleEndianHeaderThenRecordsAndLoadsIntoOtherParameters) {
  w.bestIndividualIdx = 7, w.bestFitness = -2, w.Generations = 0x01020304;
  TChromosom& first = w.Population[0];
  first.setFitness(-300), first.setConnections(50), first.setOldConnections(54), first.setWeight(0, 11, 0x11223344);
  w.bestIndividual.setFitness(99);
  const std::string b = Saved(w);
  ASSERT_EQ(b.size(), 199620u);
  // Best index, fitness, generation, breeding parameters; record 0's fitness and fields (outputs first).
  const uint32_t words[22] = {7,  0xFFFFFFFE, 0x01020304, 21, std::bit_cast<uint32_t>(0.8f), 10,
                              std::bit_cast<uint32_t>(0.1f), std::bit_cast<uint32_t>(2.0f), 10,
                              std::bit_cast<uint32_t>(0.08f), 20, static_cast<uint32_t>(-300),
                              21, 11, 4, 3, 2, 2, 100, 1000, 50, 54};
  for (int i = 0; i < 22; ++i) EXPECT_EQ(U32(b, 4 * i), words[i]) << "offset " << 4 * i;
  EXPECT_EQ(U32(b, 44 + 44 + 8 * 21 + 4 * 11), 0x11223344u);
  EXPECT_EQ(U32(b, 44 + 100 * Record), 99u);  // the best comes last
  // The header without a world, and without a draw from the shared random numbers.
  TNetworkFileHeader header;
  size_t size = 0;
  UseFixedRandomSeed(5);
  SeedRandom(0);
  const int32_t draw = NextRandom();
  UseFixedRandomSeed(5);
  SeedRandom(0);
  ASSERT_EQ(ReadNetworkFileHeader((dir / "snapshot.dat").c_str(), header, size), TLoadError::None);
  EXPECT_EQ(NextRandom(), draw);
  UseClockRandomSeed();
  EXPECT_EQ(header.Generations, 0x01020304);
  TWorldDef other = DefaultWorldDef();  // parameters the file replaces
  other.MutationRate = 0.3f, other.BitFaktor = 1.5f, other.MinGen = 3, other.MatingRate = 0.5f,
  other.MatingPoolSize = 20, other.MaxPoints = 5, other.GrowthRate = 0.5f, other.MaxHiddenNodes = 3;
  TWorld loaded(&host, other);
  ASSERT_TRUE(loaded.DoLoadANN((dir / "snapshot.dat").c_str()));
  EXPECT_EQ(Saved(loaded), b);
}

// Every field with a range, one beyond each end, and the ends themselves, which load.
TEST_F(NetworkFile, BadSpecialAndMissingFilesAreRefusedAtOnceAndChangeNothing) {
  const std::string good = Saved(w);
  TNetworkFileHeader header;
  size_t size = 0;
  const size_t best = 44 + 100 * Record;
  // {what, offset, value, loads}
  const std::tuple<const char*, size_t, uint32_t, bool> fields[] = {
      {"best index -1", 0, 0xFFFFFFFF, false},
      {"best index 100", 0, 100, false},
      {"best index 99", 0, 99, true},
      {"generation -1", 8, 0xFFFFFFFF, false},
      {"generation 2^31 - 1", 8, 0x7FFFFFFF, true},
      {"no crossover point", 12, 0, false},
      {"101 crossover points", 12, 101, false},
      {"one crossover point", 12, 1, true},
      {"100 crossover points", 12, 100, true},
      {"mating pool of -1", 20, 0xFFFFFFFF, false},
      {"mating pool of 101", 20, 101, false},
      {"mating pool of 0", 20, 0, true},
      {"mating pool of 100", 20, 100, true},
      {"22 nodes in record 50", 44 + 50 * Record + 4, 22, false},
      {"other node limit in record 99", 44 + 99 * Record + 32, 0x7FFFFFFF, false},
      {"-1 links in record 3", 44 + 3 * Record + 36, 0xFFFFFFFF, false},
      {"442 links in record 3", 44 + 3 * Record + 36, 21 * 21 + 1, false},
      {"441 links in record 3", 44 + 3 * Record + 36, 21 * 21, true},
      {"-1 old links in the best", best + 40, 0xFFFFFFFF, false},
      {"442 old links in the best", best + 40, 21 * 21 + 1, false},
      {"no old links in the best", best + 40, 0, true},
  };
  for (const auto& [what, at, value, loads] : fields) {
    std::string bytes = good;
    PutU32(bytes, at, value);
    std::ofstream(file, std::ios::binary) << bytes;
    EXPECT_EQ(w.DoLoadANN(file.c_str()), loads) << what;
    EXPECT_EQ(ReadNetworkFileHeader(file.c_str(), header, size) == TLoadError::None, loads) << what;  // agrees
    EXPECT_EQ(Saved(w), loads ? bytes : good) << what;
    if (loads) {
      ASSERT_TRUE(w.LoadFromBytes(reinterpret_cast<const unsigned char*>(good.data()), good.size()));
    }
  }
  const std::pair<const char*, void (*)(std::string&)> damages[] = {
      {"truncated by one", [](std::string& b) { b.pop_back(); }},
      {"one byte too many", [](std::string& b) { b.push_back(0); }},
      {"outputs swapped with hidden", [](std::string& b) { PutU32(b, 44 + 12, 3), PutU32(b, 44 + 16, 4); }},
  };
  for (auto [what, apply] : damages) {
    std::string bad = good;
    apply(bad);
    std::ofstream(file, std::ios::binary) << bad;
    EXPECT_FALSE(w.DoLoadANN(file.c_str())) << what;
    EXPECT_NE(ReadNetworkFileHeader(file.c_str(), header, size), TLoadError::None) << what;
    EXPECT_EQ(Saved(w), good) << what;
  }
  // A FIFO, on which an open that waits would block, is refused in the trainer's test (`--evaluate` of one).
  const fs::path zero = dir / "zero.dat";
  fs::create_symlink("/dev/zero", zero);  // also behind a link
  for (const char* special : {"/dev/zero", "/dev/null", dir.Dir.c_str(), zero.c_str()}) {
    EXPECT_EQ(w.LoadANN(special, size), TLoadError::NotRegular) << special;
    EXPECT_EQ(ReadNetworkFileHeader(special, header, size), TLoadError::NotRegular) << special;
  }
  EXPECT_EQ(w.LoadANN((dir / "missing.dat").c_str(), size), TLoadError::Missing);
  EXPECT_EQ(ReadNetworkFileHeader((dir / "missing.dat").c_str(), header, size), TLoadError::Missing);
  EXPECT_EQ(Saved(w), good);
}

}  // namespace
