// The rules for every file the programs write: links, kills, modes.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <thread>
#include "../support/file_faults.h"
#include "../support/temp_dir.h"
#include "platform/atomic_file.h"
#include "platform/link_rule.h"
#include "platform/regular_file.h"

namespace {
constexpr uid_t Stranger = 4242, DirOwner = 4343;

struct stat Stat(const fs::path& p) {
  struct stat st = {};
  EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
  return st;
}

struct FileRules : ::testing::TestWithParam<bool> {  // the parameter: named temporary files only
  TTempDir dir;
  void SetUp() override { ForceNamedTemporaryFiles(GetParam()); }
  void TearDown() override { ForceNamedTemporaryFiles(false); }
};
INSTANTIATE_TEST_SUITE_P(Unnamed, FileRules, ::testing::Values(false));
INSTANTIATE_TEST_SUITE_P(Named, FileRules, ::testing::Values(true));

// As Linux's protected_symlinks: in a sticky, world-writable directory only the user's own links and the
// directory owner's are followed, elsewhere every link; both for replacing and for appending.
TEST_P(FileRules, LinksAreFollowedOnlyWhereTheKernelWould) {
  if (::geteuid() != 0) GTEST_SKIP() << "links of other users need root to be made";
  struct Case { mode_t dirMode; uid_t linkOwner; bool followed; };
  const Case cases[] = {
      {01777, Stranger, false}, {01777, 0, true}, {01777, DirOwner, true},
      {0777, Stranger, true},   {01775, Stranger, true}, {01757, Stranger, false},
  };
  for (const Case& c : cases) {
    const std::string what = std::to_string(c.dirMode) + " link of " + std::to_string(c.linkOwner);
    const fs::path shared = dir / "shared";
    fs::create_directory(shared);
    ASSERT_EQ(::chown(shared.c_str(), DirOwner, DirOwner) | ::chmod(shared.c_str(), c.dirMode), 0);
    std::ofstream(dir / "victim") << "root:x:0:0";
    for (const char* name : {"pop.dat", "pop.csv"}) {
      fs::create_symlink(dir / "victim", shared / name);
      ASSERT_EQ(::lchown((shared / name).c_str(), c.linkOwner, c.linkOwner), 0);
    }
    errno = 0;
    const bool replaced = WriteFileAtomically((shared / "pop.dat").c_str(), "new", 3);
    EXPECT_EQ(std::pair(replaced, replaced ? 0 : errno), std::pair(c.followed, c.followed ? 0 : UntrustedLink)) << what;
    const int fd = OpenRegularForAppend((shared / "pop.csv").c_str());
    EXPECT_EQ(std::pair(fd >= 0, fd >= 0 ? 0 : errno), std::pair(c.followed, c.followed ? 0 : UntrustedLink)) << what;
    if (fd >= 0) {
      EXPECT_EQ(::write(fd, "+", 1), 1);
      ::close(fd);
    }
    EXPECT_EQ(ReadAll(dir / "victim"), c.followed ? "new+" : "root:x:0:0") << what;
    EXPECT_EQ(CheckWritable((shared / "pop.dat").c_str(), true), c.followed ? 0 : UntrustedLink) << what;
    EXPECT_TRUE(fs::is_symlink(shared / "pop.dat")) << what;  // the link stays
    fs::remove_all(shared);
  }
}

// A link planted at the temporary name once used is never written through; a chain of links (relative,
// absolute) stays and the file at its end is replaced, keeping its mode; two writers of one file both succeed
// and leave one of their files whole, and nothing else.
TEST_P(FileRules, LinksAtTheTemporaryNameOrInAChainAndASecondWriter) {
  std::ofstream(dir / "victim.txt") << "keep me";
  fs::create_symlink(dir / "victim.txt", dir / "p.dat.tmp");
  ASSERT_TRUE(WriteFileAtomically((dir / "p.dat").c_str(), "new", 3));
  EXPECT_EQ(ReadAll(dir / "victim.txt") + ReadAll(dir / "p.dat"), "keep menew");
  EXPECT_FALSE(fs::is_symlink(dir / "p.dat"));
  fs::create_directory(dir / "real");
  const fs::path real = dir / "real/pop.dat";
  ASSERT_TRUE(WriteFileAtomically(real.c_str(), "old", 3));
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("real/pop.dat", dir / "middle.dat");
  fs::create_symlink(dir / "middle.dat", dir / "linked.dat");
  EXPECT_EQ(SaveTarget((dir / "linked.dat").c_str()), dir.Dir.string() + "/real/pop.dat");
  ASSERT_TRUE(WriteFileAtomically((dir / "linked.dat").c_str(), "chained", 7));
  EXPECT_TRUE(fs::is_symlink(dir / "linked.dat") && fs::is_symlink(dir / "middle.dat"));
  EXPECT_EQ(ReadAll(real), "chained");
  EXPECT_EQ(Stat(real).st_mode & 07777, 0640u);
  const std::string a(199620, 'a'), b(199620, 'b'), both = dir / "real/both.dat";
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

// A save killed while it writes (here by the size limit's SIGXFSZ, in the middle of the bytes) leaves the old
// file and nothing else; named temporary files are the fallback that cannot promise this.
TEST_P(FileRules, ASaveKilledWhileWritingLeavesTheOldFileAndNothingElse) {
  const fs::path file = dir / "pop.dat";
  ASSERT_TRUE(WriteFileAtomically(file.c_str(), "old", 3));
  const std::string big(1 << 20, 'x');
  const int status = InChildWithin(20, [&] {
    rlimit limit{100000, 100000};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, SIG_DFL);
    rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    return WriteFileAtomically(file.c_str(), big.data(), big.size());
  });
  EXPECT_EQ(status, 1000 + SIGXFSZ);
  EXPECT_EQ(ReadAll(file), "old");
  if (!GetParam()) {
    EXPECT_EQ(Listing(dir.Dir), std::vector<std::string>{"pop.dat"});
  }
}

// A save killed between its link and its rename leaves "<target>.tmp.XXXXXX": the next save of that name
// removes it, but not a file another writer holds, not a link, not another name, and not after a named
// save (a film's leftover is the film up to the kill).
TEST_P(FileRules, TheNextSaveRemovesWhatAKilledSaveLeft) {
  const fs::path file = dir / "pop.dat";
  std::ofstream(dir / "pop.dat.tmp.Ab12Cd") << "left by a kill";
  std::ofstream(dir / "pop.dat.tmp.Held99") << "being written";
  std::ofstream(dir / "pop.dat.tmp.toolong") << "not such a name";
  fs::create_symlink("pop.dat.tmp.Ab12Cd", dir / "pop.dat.tmp.Link12");
  const int writer = ::open((dir / "pop.dat.tmp.Held99").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(writer, LOCK_EX | LOCK_NB), 0);
  TFileReplacement film;
  ASSERT_TRUE(film.Open(file.c_str(), true) && film.Write("film", 4) && film.Commit());
  EXPECT_TRUE(fs::exists(dir / "pop.dat.tmp.Ab12Cd"));
  ASSERT_TRUE(WriteFileAtomically(file.c_str(), "new", 3));
  ::close(writer);
  EXPECT_EQ(Listing(dir.Dir), (std::vector<std::string>{"pop.dat", "pop.dat.tmp.Held99", "pop.dat.tmp.Link12",
                                                        "pop.dat.tmp.toolong"}));
  EXPECT_EQ(ReadAll(file), "new");
}

// New files get 0666 less the umask, whether made unnamed or named and then given their mode.
TEST_P(FileRules, NewFilesFollowTheUmask) {
  for (const auto& [mask, mode] : {std::pair<mode_t, mode_t>{022, 0644}, {027, 0640}, {077, 0600}, {0, 0666}}) {
    const mode_t old = ::umask(mask);
    const std::string name = dir / ("new" + std::to_string(mask));
    EXPECT_TRUE(WriteFileAtomically(name.c_str(), "x", 1));
    EXPECT_TRUE(WriteNewFileAtomically((name + ".json").c_str(), "x", 1));
    const int fd = OpenRegularForAppend((name + ".csv").c_str());
    ::close(fd);
    ::umask(old);
    EXPECT_EQ(Stat(name).st_mode & 07777, mode) << "umask " << mask;
    EXPECT_EQ(Stat(name + ".json").st_mode & 07777, mode) << "umask " << mask << ", new only";
    EXPECT_EQ(Stat(name + ".csv").st_mode & 07777, mode) << "umask " << mask << ", appended";
  }
}

// A file that must be new gets its name only while nothing has it, also when something appears there after
// the writing began; what is there stays, and no temporary file is left.
TEST_P(FileRules, ANewFileNeverReplacesOne) {
  const fs::path file = dir / "net.json";
  ASSERT_TRUE(WriteNewFileAtomically(file.c_str(), "first", 5));
  errno = 0;
  EXPECT_FALSE(WriteNewFileAtomically(file.c_str(), "second", 6));
  EXPECT_EQ(errno, EEXIST);
  EXPECT_EQ(ReadAll(file), "first");
  TFileReplacement late;
  ASSERT_TRUE(late.Open((dir / "late.json").c_str()));
  ASSERT_TRUE(late.Write("mine", 4));
  std::ofstream(dir / "late.json") << "theirs";
  errno = 0;
  EXPECT_FALSE(late.CommitNew());
  EXPECT_EQ(errno, EEXIST);
  EXPECT_EQ(ReadAll(dir / "late.json"), "theirs");
  EXPECT_EQ(Listing(dir.Dir), (std::vector<std::string>{"late.json", "net.json"}));
}

}  // namespace
