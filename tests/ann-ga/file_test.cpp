// The network file: layout, round trip, refusal of damaged or foreign files
// and of special files, and storing: a failed store keeps the old file,
// links are kept and never followed, two writers never fail each other.
#include <algorithm>
#include <bit>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <thread>

#include "../support/file_faults.h"
#include "atomic_file.h"
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

// Names of everything in `d`, so that no temporary file is left behind.
std::vector<std::string> Listing(const fs::path& d) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(d)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(NetworkFile, FailedStoreKeepsTheOldFileAndLeavesNoTemporary) {
  ASSERT_TRUE(w.DoSaveANN(file.c_str()));
  const Bytes old = ReadAll(file);
  w.Generations = 555;
  {
    TFileSizeLimit limit(100000);  // half a file
    errno = 0;
    EXPECT_FALSE(w.DoSaveANN(file.c_str()));
    EXPECT_EQ(errno, EFBIG);  // the reason survives the cleanup
  }
  EXPECT_EQ(ReadAll(file), old);
  EXPECT_EQ(Listing(dir), std::vector<std::string>{"zarnik.dat"});
  // A directory at the old fixed temporary name is in nobody's way now.
  fs::create_directory(dir / "zarnik.dat.tmp");
  EXPECT_TRUE(w.DoSaveANN(file.c_str()));
  EXPECT_EQ(U32(ReadAll(file), 8), 555u);
}

TEST_F(NetworkFile, SpecialFilesAreRefusedAtOnce) {
  const Bytes good = Saved(w);
  const fs::path fifo = dir / "fifo.dat";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // A FIFO without a writer: opened with blocking, this would wait for ever;
  // in a child, an alarm ends such a wait after 20 s.
  const int status = InChildWithin(20, [&] {
    size_t size = 0;
    return w.LoadANN(fifo.c_str(), size) == TLoadError::NotRegular;
  });
  EXPECT_EQ(status, 0) << (status == 1000 + SIGALRM ? "blocked on the FIFO" : "not refused as NotRegular");
  for (const char* special : {"/dev/zero", "/dev/null"}) {
    size_t size = 0;
    EXPECT_EQ(w.LoadANN(special, size), TLoadError::NotRegular) << special;
  }
  size_t size = 0;
  EXPECT_EQ(w.LoadANN(dir.c_str(), size), TLoadError::NotRegular);
  fs::create_symlink("/dev/zero", dir / "zero.dat");  // also behind a link
  EXPECT_EQ(w.LoadANN((dir / "zero.dat").c_str(), size), TLoadError::NotRegular);
  EXPECT_EQ(w.LoadANN((dir / "missing.dat").c_str(), size), TLoadError::Missing);
  EXPECT_EQ(Saved(w), good);
}

TEST_F(NetworkFile, StoringKeepsLinksAndNeverFollowsAPlantedOne) {
  // A link planted at the temporary name once used: its target stays as it was.
  const fs::path victim = dir / "victim.txt";
  { std::ofstream(victim) << "keep me"; }
  fs::create_symlink(victim, dir / "zarnik.dat.tmp");
  ASSERT_TRUE(w.DoSaveANN(file.c_str()));
  EXPECT_EQ(ReadAll(victim), (Bytes{'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
  EXPECT_FALSE(fs::is_symlink(file));
  EXPECT_EQ(fs::file_size(file), 199620u);
  EXPECT_TRUE(fs::is_symlink(dir / "zarnik.dat.tmp"));

  // The population file is a chain of links (one relative, one absolute):
  // the links stay, the file at their end is replaced, with its permissions.
  fs::create_directory(dir / "real");
  const fs::path real = dir / "real" / "pop.dat";
  ASSERT_TRUE(w.DoSaveANN(real.c_str()));
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("real/pop.dat", dir / "middle.dat");
  fs::create_symlink(dir / "middle.dat", dir / "linked.dat");
  EXPECT_EQ(SaveTarget((dir / "linked.dat").c_str()), dir.string() + "/real/pop.dat");
  w.Generations = 4242;
  ASSERT_TRUE(w.DoSaveANN((dir / "linked.dat").c_str()));
  EXPECT_TRUE(fs::is_symlink(dir / "linked.dat"));
  EXPECT_TRUE(fs::is_symlink(dir / "middle.dat"));
  EXPECT_EQ(U32(ReadAll(real), 8), 4242u);
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(Listing(dir / "real"), std::vector<std::string>{"pop.dat"});

  // A new file gets 0666 less the umask, as fopen would give it.
  const mode_t mask = umask(027);
  ASSERT_TRUE(w.DoSaveANN((dir / "new.dat").c_str()));
  umask(mask);
  EXPECT_EQ(fs::status(dir / "new.dat").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(NetworkFile, TwoWritersOfOneFileNeverFailEachOther) {
  // Two programs (here: threads) store the same file over and over.
  const std::string a(199620, 'a'), b(199620, 'b');
  std::atomic<int> failures{0};
  const auto writer = [&](const std::string& bytes) {
    for (int i = 0; i < 40; ++i)
      if (!WriteFileAtomically(file.c_str(), bytes.data(), bytes.size())) ++failures;
  };
  std::thread first(writer, std::cref(a)), second(writer, std::cref(b));
  first.join();
  second.join();
  EXPECT_EQ(failures.load(), 0);
  const Bytes last = ReadAll(file);
  EXPECT_TRUE(last == Bytes(a.begin(), a.end()) || last == Bytes(b.begin(), b.end()));
  EXPECT_EQ(Listing(dir), std::vector<std::string>{"zarnik.dat"});
}

}  // namespace
