// The network file: layout, round trip, refusal of damaged or foreign files,
// and a failed store that keeps the old file.
#include <bit>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include <unistd.h>

#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

constexpr size_t Record = 44 + 8 * 21 + 4 * 21 * 21;

Bytes ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}
uint32_t U32(const Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
void PutU32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

struct NetworkFile : WorldTest<> {
  const fs::path dir = fs::temp_directory_path() /
                       ("annga_file_" + std::to_string(::getpid()) + "_" +
                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
  const fs::path file = dir / "zarnik.dat";
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }
  Bytes Saved(TWorld& world) {
    EXPECT_TRUE(world.DoSaveANN((dir / "snapshot.dat").c_str()));
    return ReadAll(dir / "snapshot.dat");
  }
};

TEST_F(NetworkFile, LayoutIsLittleEndianHeaderThenRecords) {
  w.bestIndividualIdx = 7;
  w.bestFitness = -2;
  w.Generations = 0x01020304;
  w.Population[0].setFitness(-300);
  w.Population[0].setConnections(50);
  w.Population[0].setOldConnections(54);
  w.Population[0].setWeight(0, 11, 0x11223344);
  w.bestIndividual.setFitness(99);
  const Bytes b = Saved(w);
  ASSERT_EQ(b.size(), 199620u);
  EXPECT_EQ((Bytes{b.begin(), b.begin() + 12}), (Bytes{7, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1}));
  const uint32_t header[8] = {21, std::bit_cast<uint32_t>(0.8f),  10, std::bit_cast<uint32_t>(0.1f),
                              std::bit_cast<uint32_t>(2.0f), 10, std::bit_cast<uint32_t>(0.08f), 20};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(U32(b, 12 + 4 * i), header[i]) << "offset " << 12 + 4 * i;
  EXPECT_EQ(U32(b, 44), static_cast<uint32_t>(-300));
  const uint32_t fields[10] = {21, 11, 4, 3, 2, 2, 100, 1000, 50, 54};  // outputs before hidden nodes
  for (int i = 0; i < 10; ++i) EXPECT_EQ(U32(b, 48 + 4 * i), fields[i]) << "field " << i;
  const size_t weights = 44 + 44 + 8 * 21;
  EXPECT_EQ((Bytes{b.begin() + weights + 4 * 11, b.begin() + weights + 4 * 12}), (Bytes{0x44, 0x33, 0x22, 0x11}));
  EXPECT_EQ(U32(b, 44 + 100 * Record), 99u);  // the best comes last
}

TEST_F(NetworkFile, StoreAndLoadReproduceEveryByte) {
  w.Generations = 12;
  w.bestIndividualIdx = 42;
  for (int i = 0; i < 100; ++i) w.Population[i].setFitness(i * 37 - 900);
  w.copyBestIndividual(42);
  const Bytes original = Saved(w);
  TRandomClockScope clock{[]() -> int64_t { return 42; }};
  TWorldDef other = DefaultWorldDef();  // breeding parameters that the file replaces
  other.MutationRate = 0.3f;
  other.BitFaktor = 1.5f;
  other.MinGen = 3;
  other.MatingRate = 0.5f;
  other.MatingPoolSize = 20;
  other.MaxPoints = 5;
  other.GrowthRate = 0.5f;
  other.MaxHiddenNodes = 3;
  TWorld loaded(&host, other);
  const int in[11] = {50, 286, 197, 119, 50, 258, -1, 180, 180, -90, 0};
  int a[4], b[4];
  loaded.Population[5].runANN(in, b);  // evaluated once before the load
  ASSERT_TRUE(loaded.DoLoadANN((dir / "snapshot.dat").c_str()));
  EXPECT_EQ(Saved(loaded), original);
  w.Population[5].runANN(in, a);
  loaded.Population[5].runANN(in, b);
  EXPECT_EQ(std::vector<int>(a, a + 4), std::vector<int>(b, b + 4));
}

TEST_F(NetworkFile, EveryBadFileIsRefusedAndChangesNothing) {
  const Bytes good = Saved(w);
  const std::pair<const char*, void (*)(Bytes&)> damages[] = {
      {"truncated by one", [](Bytes& b) { b.pop_back(); }},
      {"one byte too many", [](Bytes& b) { b.push_back(0); }},
      {"best index 100", [](Bytes& b) { PutU32(b, 0, 100); }},
      {"best index -1", [](Bytes& b) { PutU32(b, 0, 0xFFFFFFFF); }},
      {"22 nodes in record 50", [](Bytes& b) { PutU32(b, 44 + 50 * Record + 4, 22); }},
      {"outputs swapped with hidden", [](Bytes& b) { PutU32(b, 44 + 12, 3), PutU32(b, 44 + 16, 4); }},
      {"other node limit", [](Bytes& b) { PutU32(b, 44 + 99 * Record + 32, 0x7FFFFFFF); }},
      {"generation -1", [](Bytes& b) { PutU32(b, 8, 0xFFFFFFFF); }},
      {"no crossover point", [](Bytes& b) { PutU32(b, 12, 0); }},
      {"101 crossover points", [](Bytes& b) { PutU32(b, 12, 101); }},
      {"mating pool of 101", [](Bytes& b) { PutU32(b, 20, 101); }},
      {"442 links in record 3", [](Bytes& b) { PutU32(b, 44 + 3 * Record + 36, 21 * 21 + 1); }},
      {"-1 old links in the best", [](Bytes& b) { PutU32(b, 44 + 100 * Record + 40, 0xFFFFFFFF); }},
  };
  for (auto [what, apply] : damages) {
    Bytes bad = good;
    apply(bad);
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bad.data()), std::ssize(bad));
    EXPECT_FALSE(w.DoLoadANN(file.c_str())) << what;
    EXPECT_EQ(Saved(w), good) << what;
  }
  EXPECT_FALSE(w.DoLoadANN((dir / "missing.dat").c_str()));
  EXPECT_EQ(Saved(w), good);
}

TEST_F(NetworkFile, FailedStoreKeepsTheOldFile) {
  ASSERT_TRUE(w.DoSaveANN(file.c_str()));
  const Bytes old = ReadAll(file);
  w.Generations = 555;
  fs::create_directory(dir / "zarnik.dat.tmp");  // where the temporary file would go
  EXPECT_FALSE(w.DoSaveANN(file.c_str()));
  EXPECT_EQ(ReadAll(file), old);
}

}  // namespace
