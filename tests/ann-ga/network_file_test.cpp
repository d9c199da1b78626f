// The network file: layout, refusals, and storing that keeps the old file, links and the other writer.
#include <sys/stat.h>
#include <atomic>
#include <bit>
#include <cstring>
#include <cerrno>
#include <thread>
#include "../support/file_faults.h"
#include "../support/temp_dir.h"
#include "atomic_file.h"
#include "test_support.h"

namespace {
constexpr size_t Record = 44 + 8 * 21 + 4 * 21 * 21;

uint32_t U32(const std::string& b, size_t at) { uint32_t v; std::memcpy(&v, &b[at], 4); return v; }  // x86-64: LE
void PutU32(std::string& b, size_t at, uint32_t v) { std::memcpy(b.data() + at, &v, 4); }
std::vector<std::string> Listing(const fs::path& d) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(d)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

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
  TWorldDef other = DefaultWorldDef();  // parameters the file replaces
  other.MutationRate = 0.3f, other.BitFaktor = 1.5f, other.MinGen = 3, other.MatingRate = 0.5f,
  other.MatingPoolSize = 20, other.MaxPoints = 5, other.GrowthRate = 0.5f, other.MaxHiddenNodes = 3;
  TWorld loaded(&host, other);
  ASSERT_TRUE(loaded.DoLoadANN((dir / "snapshot.dat").c_str()));
  EXPECT_EQ(Saved(loaded), b);
}

TEST_F(NetworkFile, BadSpecialAndMissingFilesAreRefusedAtOnceAndChangeNothing) {
  const std::string good = Saved(w);
  const std::pair<const char*, void (*)(std::string&)> damages[] = {
      {"truncated by one", [](std::string& b) { b.pop_back(); }},
      {"one byte too many", [](std::string& b) { b.push_back(0); }},
      {"best index 100", [](std::string& b) { PutU32(b, 0, 100); }},
      {"best index -1", [](std::string& b) { PutU32(b, 0, 0xFFFFFFFF); }},
      {"22 nodes in record 50", [](std::string& b) { PutU32(b, 44 + 50 * Record + 4, 22); }},
      {"outputs swapped with hidden", [](std::string& b) { PutU32(b, 44 + 12, 3), PutU32(b, 44 + 16, 4); }},
      {"other node limit", [](std::string& b) { PutU32(b, 44 + 99 * Record + 32, 0x7FFFFFFF); }},
      {"generation -1", [](std::string& b) { PutU32(b, 8, 0xFFFFFFFF); }},
      {"no crossover point", [](std::string& b) { PutU32(b, 12, 0); }},
      {"101 crossover points", [](std::string& b) { PutU32(b, 12, 101); }},
      {"mating pool of 101", [](std::string& b) { PutU32(b, 20, 101); }},
      {"442 links in record 3", [](std::string& b) { PutU32(b, 44 + 3 * Record + 36, 21 * 21 + 1); }},
      {"-1 old links in the best", [](std::string& b) { PutU32(b, 44 + 100 * Record + 40, 0xFFFFFFFF); }},
  };
  for (auto [what, apply] : damages) {
    std::string bad = good;
    apply(bad);
    std::ofstream(file, std::ios::binary) << bad;
    EXPECT_FALSE(w.DoLoadANN(file.c_str())) << what;
    EXPECT_EQ(Saved(w), good) << what;
  }
  const fs::path fifo = dir / "fifo.dat";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // A FIFO without a writer would block an open for ever: a child with an alarm.
  size_t size = 0;
  const int status = InChildWithin(20, [&] { return w.LoadANN(fifo.c_str(), size) == TLoadError::NotRegular; });
  EXPECT_EQ(status, 0) << (status == 1000 + SIGALRM ? "blocked on the FIFO" : "not refused as NotRegular");
  const fs::path zero = dir / "zero.dat";
  fs::create_symlink("/dev/zero", zero);  // also behind a link
  for (const char* special : {"/dev/zero", "/dev/null", dir.Dir.c_str(), zero.c_str()})
    EXPECT_EQ(w.LoadANN(special, size), TLoadError::NotRegular) << special;
  EXPECT_EQ(w.LoadANN((dir / "missing.dat").c_str(), size), TLoadError::Missing);
  EXPECT_EQ(Saved(w), good);
}

TEST_F(NetworkFile, StoringKeepsTheOldFileOnFailureAndLinksNeverFollowsAPlantedOneNorFailsAnotherWriter) {
  ASSERT_TRUE(w.DoSaveANN(file.c_str()));
  const std::string old = ReadAll(file);
  w.Generations = 555;
  {
    TFileSizeLimit limit(100000);  // half a file
    errno = 0;
    EXPECT_FALSE(w.DoSaveANN(file.c_str()));
    EXPECT_EQ(errno, EFBIG);  // the reason survives the cleanup
  }
  EXPECT_EQ(ReadAll(file), old);
  EXPECT_EQ(Listing(dir.Dir), std::vector<std::string>{"zarnik.dat"});
  // A link planted at the temporary name once used: its target stays as it was.
  std::ofstream(dir / "victim.txt") << "keep me";
  fs::create_symlink(dir / "victim.txt", dir / "zarnik.dat.tmp");
  ASSERT_TRUE(w.DoSaveANN(file.c_str()));
  EXPECT_EQ(ReadAll(dir / "victim.txt"), "keep me");
  EXPECT_FALSE(fs::is_symlink(file));
  EXPECT_EQ(fs::file_size(file), 199620u);
  // A chain of links (relative, absolute): they stay, the file at their end is replaced, its mode kept.
  fs::create_directory(dir / "real");
  const fs::path real = dir / "real" / "pop.dat";
  const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  ASSERT_TRUE(w.DoSaveANN(real.c_str()));
  fs::permissions(real, mode);
  fs::create_symlink("real/pop.dat", dir / "middle.dat");
  fs::create_symlink(dir / "middle.dat", dir / "linked.dat");
  EXPECT_EQ(SaveTarget((dir / "linked.dat").c_str()), dir.Dir.string() + "/real/pop.dat");
  w.Generations = 4242;
  ASSERT_TRUE(w.DoSaveANN((dir / "linked.dat").c_str()));
  EXPECT_TRUE(fs::is_symlink(dir / "linked.dat") && fs::is_symlink(dir / "middle.dat"));
  EXPECT_EQ(U32(ReadAll(real), 8), 4242u);
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all, mode);
  EXPECT_EQ(Listing(dir / "real"), std::vector<std::string>{"pop.dat"});
  const std::string a(199620, 'a'), b(199620, 'b'), both = dir / "real/both.dat";  // two writers, one file
  std::atomic<int> failures{0};
  const auto writer = [&](const std::string& bytes) {
    for (int i = 0; i < 40; ++i) failures += !WriteFileAtomically(both.c_str(), bytes.data(), bytes.size());
  };
  {
    std::jthread first(writer, std::cref(a)), second(writer, std::cref(b));
  }
  EXPECT_EQ(failures.load(), 0);
  EXPECT_TRUE(ReadAll(both) == a || ReadAll(both) == b);
  EXPECT_EQ(Listing(dir / "real"), (std::vector<std::string>{"both.dat", "pop.dat"}));
}

}  // namespace
