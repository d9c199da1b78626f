// The trainer as a program: refusals, resume, stops and kills, --runs, --rank.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <sstream>

#include <QByteArray>
#include <QXmlStreamReader>
#include "test_support.h"
#include "../support/file_faults.h"
#include "../support/temp_dir.h"
#include "history/fitness_log.h"
#include "platform/parent_death.h"
#include "runs/path_entry.h"
#include "runs/run_progress.h"
#include "runs/run_start.h"

extern char** environ;

namespace {
using Args = std::vector<std::string>;

#define EXPECT_HAS(text, part) EXPECT_NE((text).find(part), std::string::npos) << (text)

constexpr int SafetyMs = 120000;  // no sign of life for two minutes: something hangs

int StoredGenerations(const fs::path& file) {
  THeadlessHost host;
  auto world = MakeZarnikWorld(&host);
  size_t size = 0;
  EXPECT_EQ(world->LoadANN(file.c_str(), size), TLoadError::None) << file;
  return world->Generations;
}


// The rows of a ranking table: "rank file generations deliveries-per-episode deliveries takes fitness".
std::vector<Args> TableRows(const std::string& out) {
  std::vector<Args> rows;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    Args row{std::istream_iterator<std::string>(words), {}};
    if (row.size() == 7 && std::isdigit(static_cast<unsigned char>(row[0][0]))) rows.push_back(row);
  }
  return rows;
}

struct TResult { int code; std::string out, err; };

struct Trainer : ::testing::Test {
  TTempDir dir;
  // Starts zarnik-train in the directory, stdout to out.txt, stderr to err.txt.
  Args Prefix;  // a command that starts the trainer (e.g. as another user)
  pid_t Start(Args args, bool ownGroup = false) {
    args.insert(args.begin(), ZARNIK_TRAIN_EXE);
    args.insert(args.begin(), Prefix.begin(), Prefix.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {  // only async-signal-safe calls until exec; its own group lets the test kill it as a terminal would
      const int flags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC;
      if (chdir(dir.Dir.c_str()) == 0 && (!ownGroup || setpgid(0, 0) == 0) &&
          dup2(open("out.txt", flags, 0644), 1) == 1 && dup2(open("err.txt", flags, 0644), 2) == 2)
        execve(argv[0], argv.data(), environ);
      _exit(127);
    }
    EXPECT_GT(pid, 0);
    return pid;
  }
  // What a working trainer changes: the sizes and times of the files in the directory.
  uintmax_t Progress() const {
    uintmax_t seen = 0;
    std::error_code e;
    for (fs::recursive_directory_iterator it(dir.Dir, e), end; !e && it != end; it.increment(e)) {
      seen += it->file_size(e) + (e ? 0 : it->last_write_time(e).time_since_epoch().count());
      e.clear();
    }
    return seen;
  }
  // Waits until `done`, checked every 50 ms and at once when `fd` becomes readable; fails naming `what` when no
  // file in the directory changes for the safety limit, however slow a loaded machine makes the trainer.
  bool WaitUntil(const std::function<bool()>& done, const std::string& what, int fd = -1) const {
    uintmax_t seen = Progress();
    for (int still = 0; still < SafetyMs / 50;) {
      if (done()) return true;
      pollfd p{fd, POLLIN, 0};
      poll(&p, 1, 50);
      const uintmax_t now = Progress();
      still = now == seen ? still + 1 : 0;
      seen = now;
    }
    ADD_FAILURE() << "no change for two minutes while waiting for " << what;
    return false;
  }
  // The exit status, 1000 + the signal if ended by one; a trainer that stalls is killed.
  int Wait(pid_t pid, const std::string& what) const {
    const int process = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));  // readable once the process ends
    pollfd p{process, POLLIN, 0};
    const bool ended = WaitUntil([&] { return poll(&p, 1, 0) == 1; }, what, process);
    close(process);
    if (!ended) kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    return !ended ? -1 : WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
  }
  TResult Run(const Args& args) {
    const int code = Wait(Start(args), "the end of zarnik-train " + args.back());
    return {code, ReadAll(dir / "out.txt"), ReadAll(dir / "err.txt")};
  }
  // Refused with status 2, the one line on stderr saying `why`.
  void ExpectRefused(const Args& args, const std::string& why) {
    const TResult r = Run(args);
    EXPECT_EQ(r.code, 2) << args.front() << " .. " << args.back();
    EXPECT_HAS(r.err, why);
  }
};

TEST_F(Trainer, RefusalsGiveTwoBeforeTrainingAndChangeNothing) {
  std::ofstream(dir / "short.dat") << "twelve bytes";
  std::ofstream(dir / "foreign.dat", std::ios::binary) << std::string(199620, '\xff');
  std::ofstream(dir / "notes.txt") << "Brot\n";
  THeadlessHost host;
  ASSERT_TRUE(MakeZarnikWorld(&host)->DoSaveANN((dir / "p.dat").c_str()));
  const std::string population = ReadAll(dir / "p.dat");
  ASSERT_EQ(mkfifo((dir / "fifo.dat").c_str(), 0600) | mkfifo((dir / "fifo.csv").c_str(), 0600), 0);
  fs::create_symlink("p.dat", dir / "link.dat");
  fs::create_hard_link(dir / "p.dat", dir / "hard.dat");
  fs::copy_file(dir / "p.dat", dir / "ro.dat");  // marked read-only: never replaced unasked, by root neither
  fs::permissions(dir / "ro.dat", fs::perms::owner_read | fs::perms::group_read);
  fs::create_directory(dir / "sub");
  const std::string damaged = std::string(FitnessLogHeader) + "\n0,2,5,5,0,nan\n";  // what the window refuses too
  std::ofstream(dir / "q.csv") << damaged;
  const std::string itself = "ist die Netzdatei 'p.dat' oder ihre temporäre Datei";
  std::vector<std::pair<Args, std::string>> cases = {
      {{"short.dat"}, "Kann Datei 'short.dat' nicht laden: falsche Größe (12 statt 199620 Bytes)"},
      {{"foreign.dat"}, "fremde Netzform"},
      {{"missing/zarnik.dat"}, "Verzeichnis 'missing' fehlt"},
      {{"--mode", "3"}, ""}, {{"--threads", "0"}, ""}, {{"--bogus"}, ""}, {{"--log=", "p.dat"}, ""},
      {{"--evaluate", "fifo.dat"}, "Kann Datei 'fifo.dat' nicht laden: keine reguläre Datei"},
      {{"--log", "fifo.csv", "p.dat"}, "Kann Datei 'fifo.csv' nicht schreiben: keine reguläre Datei"},
      {{"--log", "/dev/zero", "p.dat"}, "keine reguläre Datei"},
      {{"--log", "notes.txt", "p.dat"}, "Kann Datei 'notes.txt' nicht schreiben: kein Fitnessverlauf"},
      {{"--log=p.dat", "p.dat"}, itself},
      {{"--log", "p.dat", "link.dat"}, ""},
      {{"--log", "", "p.dat"}, "--log braucht einen Dateinamen."},
      {{""}, "Der Name der Netzdatei ist leer."},
      {{"--rank", "short.dat", "p.dat"}, "'short.dat' nicht laden: falsche Größe (12 statt 199620 Bytes)"},
      {{"q.dat"}, "Kann Datei 'q.csv' nicht schreiben: kein Fitnessverlauf"},
      {{"--runs", "3", "--seed", "18446744073709551614"}, "18446744073709551614 + 2 ginge über"},
      {{"--run", "2", "--seed", "18446744073709551614"}, "18446744073709551614 + 2 ginge über"},
      {{"ro.dat"}, "Kann Datei 'ro.dat' nicht schreiben: keine Schreibberechtigung"},
      {{"--runs", "2", "--until-generation", "1", "ro.dat"}, "Kann Datei 'ro.dat' nicht schreiben: keine Schreibberechtigung"},
  };
  for (const char* log : {"p.dat", "./sub/../p.dat", "link.dat", "hard.dat", "p.dat.tmp", "p.dat.tmp.Ab12Cd"})
    cases.push_back({{"--log", log, "p.dat"}, itself});
  for (auto& [args, message] : cases) {
    if (args[0] != "--rank" && args[0] != "--evaluate" && args[0] != "--runs") args.insert(args.begin(), {"--generations", "1", "--quiet"});
    ExpectRefused(args, message);
  }
  EXPECT_EQ(TableRows(Run({"--rank", "short.dat", "p.dat"}).out).size(), 1u);  // the good one ranked all the same
  EXPECT_EQ(ReadAll(dir / "short.dat") + ReadAll(dir / "notes.txt"), "twelve bytesBrot\n");
  EXPECT_TRUE(ReadAll(dir / "foreign.dat") == std::string(199620, '\xff') && ReadAll(dir / "p.dat") == population);
  EXPECT_TRUE(ReadAll(dir / "ro.dat") == population && !fs::exists(dir / "ro.runs") && !fs::exists(dir / "ro.csv"));
  EXPECT_FALSE(fs::exists(dir / "zarnik.dat") || fs::exists(dir / "missing"));
  // Refused runs begin no file: no history with a header only, no population beside a refused history.
  EXPECT_FALSE(fs::exists(dir / "p.csv") || fs::exists(dir / "q.dat") || fs::exists(dir / "zarnik.csv"));
  EXPECT_EQ(ReadAll(dir / "q.csv"), damaged);
  EXPECT_EQ(Run({"--generations", "1", "--quiet", "--log", "p.dat.csv", "p.dat"}).code, 0);  // beside it is fine
}

// The --runs family: one run of the set is a single run of its seed; options reach every run; refusals;
// stops; a FILE that was there is kept.
TEST_F(Trainer, RunsAreSingleRunsOfTheirSeedsAndResumeAfterAStop) {
  for (const char* d : {"a", "b", "c"}) fs::create_directory(dir / d);
  const auto args = [](const char* file) {
    return Args{"--runs", "3", "--seed", "5", "--until-generation", "30", "--threads", "2", "--checkpoint", "2", file};
  };
  std::ofstream(dir / "a/zarnik.dat") << "mine";
  const TResult a1 = Run(args("a/zarnik.dat"));
  ASSERT_EQ(a1.code, 0) << a1.err;
  const auto table = TableRows(a1.out);
  ASSERT_EQ(table.size(), 3u) << a1.out;
  for (size_t i = 0; i < table.size(); ++i) EXPECT_EQ(table[i][0] + table[i][2], std::to_string(i + 1) + "30");
  const std::string kept = " das vorige 'a/zarnik.dat' liegt jetzt in 'a/zarnik.~1~.dat'";
  EXPECT_HAS(a1.out, "Gewinner: " + table[0][1] + " -> a/zarnik.dat;" + kept);
  EXPECT_EQ(ReadAll(dir / "a/zarnik.~1~.dat"), "mine");
  EXPECT_TRUE(ReadAll(dir / "a/zarnik.dat") == ReadAll(dir / table[0][1]));
  // The winner's history: its 30 rows, generations 0 to 29.
  std::vector<TFitnessRow> rows;
  ASSERT_TRUE(ReadFitnessLog((dir / "a/zarnik.csv").c_str(), rows));
  EXPECT_EQ(std::tuple(rows.size(), rows.front().generation, rows.back().generation), std::tuple(size_t{30}, 0, 29));
  EXPECT_EQ(Run(args("a/zarnik.dat")).out, a1.out.substr(0, a1.out.find(';')) + "\n");  // the same, nothing kept twice
  // Run k is seed 5+k: the same file as a single run of that seed, and every seed its own file.
  ASSERT_EQ(Run({"--seed", "6", "--generations", "30", "--quiet", "--threads", "1", "single.dat"}).code, 0);
  EXPECT_TRUE(ReadAll(dir / "single.dat") == ReadAll(dir / "a/zarnik.runs/run-1.dat"));
  EXPECT_NE(ReadAll(dir / "a/zarnik.runs/run-0.dat"), ReadAll(dir / "a/zarnik.runs/run-1.dat"));
  EXPECT_NE(ReadAll(dir / "a/zarnik.runs/run-1.dat"), ReadAll(dir / "a/zarnik.runs/run-2.dat"));
  ASSERT_EQ(Run({"--run", "1", "--seed", "5", "--until-generation", "30", "--quiet", "c/zarnik.dat"}).code, 0);
  EXPECT_TRUE(ReadAll(dir / "c/zarnik.runs/run-1.dat") == ReadAll(dir / "a/zarnik.runs/run-1.dat") &&
              ReadAll(dir / "c/zarnik.runs/run-1-best.dat") == ReadAll(dir / "a/zarnik.runs/run-1-best.dat"));
  // Stopped once the first run has saved a checkpoint (every 2 generations, as --checkpoint says): every run
  // stopped, none failed; then called again.
  const pid_t pid = Start(args("b/zarnik.dat"));
  WaitUntil([&] { return fs::exists(dir / "b/zarnik.runs/run-0.dat"); }, "the first run's checkpoint");
  EXPECT_EQ(StoredGenerations(dir / "b/zarnik.runs/run-0.dat") % 2, 0);
  kill(pid, SIGINT);
  EXPECT_EQ(Wait(pid, "the end after SIGINT"), 130);
  const std::string err = ReadAll(dir / "err.txt");
  EXPECT_TRUE(err.find("unterbrochen") != std::string::npos && err.find("endete mit") == std::string::npos) << err;
  const int stored = StoredGenerations(dir / "b/zarnik.runs/run-0.dat");
  EXPECT_TRUE(stored >= 2 && stored < 30 && !fs::exists(dir / "b/zarnik.dat")) << stored;
  auto resumed = TableRows(Run(args("b/zarnik.dat")).out);
  for (auto& row : resumed) row[1].replace(0, 1, "a");
  EXPECT_EQ(resumed, table);
  for (const char* name : {"zarnik.runs/run-0.dat", "zarnik.runs/run-1.dat", "zarnik.runs/run-2.dat", "zarnik.runs/run-2-best.dat"})
    EXPECT_TRUE(ReadAll(dir / "a" / name) == ReadAll(dir / "b" / name)) << name;
}

// A place that goes on from another run's kept best (as the set begins it) trains on exactly as that file would
// alone under the new run's seed S+K, and not as under its donor's.
TEST_F(Trainer, ACopiedPopulationGoesOnAsThatFileUnderItsOwnSeed) {
  ASSERT_EQ(Run({"--run", "0", "--seed", "5", "--until-generation", "100", "--quiet", "c.dat"}).code, 0);
  const std::string kept = ReadAll(dir / "c.runs/run-0-best.dat");
  ASSERT_EQ(StoredGenerations(dir / "c.runs/run-0-best.dat"), 100);
  ASSERT_TRUE(BeginRun((dir / "c.dat").string(), 3, {.work = 300, .from = 0, .generation = 100}));
  EXPECT_EQ(ReadAll(dir / "c.runs/run-3-start.txt"), "zarnik-start 1\nwork 300\nfrom 0\ngeneration 100\n");
  EXPECT_TRUE(ReadAll(dir / "c.runs/run-3.dat") == kept);
  // A stop between the start and the copy: the copy is made again.
  fs::remove(dir / "c.runs/run-3.dat");
  ASSERT_TRUE(CompleteCopy((dir / "c.dat").string(), 3, {.work = 300, .from = 0, .generation = 100}));
  EXPECT_TRUE(ReadAll(dir / "c.runs/run-3.dat") == kept);
  ASSERT_EQ(Run({"--run", "3", "--seed", "5", "--until-generation", "104", "--quiet", "c.dat"}).code, 0);
  for (const auto& [name, seed] : {std::pair{"alone.dat", "8"}, std::pair{"donor.dat", "5"}}) {
    std::ofstream(dir / name, std::ios::binary) << kept;
    ASSERT_EQ(Run({"--seed", seed, "--until-generation", "104", "--quiet", "--threads", "1", name}).code, 0);
    EXPECT_EQ(StoredGenerations(dir / name), 104);
  }
  EXPECT_TRUE(ReadAll(dir / "alone.dat") == ReadAll(dir / "c.runs/run-3.dat"));
  EXPECT_FALSE(ReadAll(dir / "donor.dat") == ReadAll(dir / "c.runs/run-3.dat"));
}

TEST_F(Trainer, RunsRefuseWhatTheyCannotDo) {
  const std::pair<Args, std::string> cases[] = {
      {{"--run", "1", "--until-generation", "5", "r.dat"}, "--run braucht --seed."},
      {{"--runs", "2", "--until-generation", "5", "--log", "h.csv", "r.dat"}, "ohne --evaluate und --log"},
      {{"--run", "0", "--seed", "1", "--log", "h.csv", "r.dat"}, "ohne --evaluate und --log"},
      {{"--runs", "2", "--generations", "5", "r.dat"}, "--until-generation G statt --generations N"},
      {{"--runs", "2", "r.dat"}, "--runs braucht --until-generation, --minutes oder --until-deliveries."},
      {{"--runs", "2", "--seed", "18446744073709551615", "--until-generation", "1", "r.dat"}, "+ 1 ginge über"},
      {{"--until-deliveries", "3", "--generations", "1", "r.dat"}, "--until-deliveries geht nur mit --runs"},
      {{"--runs", "2", "--run", "1", "--seed", "1", "--until-generation", "1", "r.dat"}, "nicht zusammen"},
      {{"--runs", "2", "--minutes", "inf", "r.dat"}, "--minutes braucht eine Zahl ab 0."},
      {{"--runs", "2", "--minutes", "1e300", "r.dat"}, "--minutes braucht eine Zahl ab 0."},
      {{"--runs", "2", "--strategy", "halving", "--until-generation", "5", "r.dat"}, "--strategy braucht exploit oder restart."},
      {{"--strategy", "restart", "--generations", "1", "r.dat"}, "--strategy geht nur mit --runs."},
      {{"--runs", "2", "--place", "2", "--seed", "1", "--until-deliveries", "1", "r.dat"}, "eine Zahl von 0 bis N-1"},
      {{"--runs", "2", "--place", "0", "--until-deliveries", "1", "r.dat"}, "--place braucht --seed"},
      {{"--runs", "2", "--place", "0", "--seed", "1", "--strategy", "exploit", "--until-deliveries", "1", "r.dat"},
       "nur mit der Strategie restart"},
      // Nothing to collect: the set's folder is not made.
      {{"--runs", "2", "--collect", "--seed", "1", "r.dat"}, "Kann Datei 'r.runs/set.txt' nicht laden"},
  };
  for (const auto& [args, message] : cases) ExpectRefused(args, message);
  EXPECT_FALSE(fs::exists(dir / "r.dat") || fs::exists(dir / "r.runs") || fs::exists(dir / "h.csv"));
  // A winner that cannot become FILE says why, and leaves FILE alone.
  fs::create_directory(dir / "w.csv");
  ExpectRefused({"--runs", "1", "--seed", "1", "--until-generation", "0", "w.dat"},
                "'w.runs/run-0-best.dat' nicht nach 'w.dat' kopiert: Kann Datei 'w.csv' nicht schreiben: keine reguläre Datei");
  EXPECT_FALSE(fs::exists(dir / "w.dat"));
  // Stopped by the clock, perhaps before any run's first check: a set without a winner, not a failure.
  const TResult early = Run({"--runs", "2", "--seed", "1", "--until-deliveries", "3", "--minutes", "0.0001", "e.dat"});
  EXPECT_EQ(early.code, 0) << early.err;
  EXPECT_EQ(early.err.find("nicht laden"), std::string::npos) << early.err;
  // Up to generation 0: fresh populations, ranked.
  const TResult fresh = Run({"--runs", "2", "--seed", "1", "--until-generation", "0", "r.dat"});
  EXPECT_EQ(std::pair(fresh.code, TableRows(fresh.out).size()), std::pair(0, size_t{2})) << fresh.err;
  EXPECT_EQ(StoredGenerations(dir / "r.dat"), 0);
  // The set knows what it is: another seed (or number of runs) is refused, and without --seed the same set
  // goes on with the seed it began with.
  ExpectRefused({"--runs", "2", "--seed", "50", "--until-generation", "0", "r.dat"},
                "In 'r.runs' liegt ein anderer Satz von Läufen (Startwert 1 statt 50)");
  ExpectRefused({"--runs", "3", "--until-generation", "0", "r.dat"}, "(2 Läufe statt 3)");
  ExpectRefused({"--runs", "2", "--strategy", "exploit", "--until-generation", "0", "r.dat"}, "(Strategie restart statt exploit)");
  // A lock that is a link or a folder is no regular file, whatever the kernel's errno says.
  fs::create_symlink("r.dat", dir / "l.dat.lock");
  fs::create_directory(dir / "d.dat.lock");
  for (const char* name : {"l.dat", "d.dat"})
    ExpectRefused({"--generations", "1", name}, "Kann Datei '" + std::string(name) + ".lock' nicht schreiben: keine reguläre Datei");
  EXPECT_EQ(Run({"--runs", "2", "--until-generation", "0", "r.dat"}).code, 0);
  std::ofstream(dir / "r.runs/set.txt", std::ios::trunc) << "zarnik-set 1\nseed 1\n";
  ExpectRefused({"--runs", "2", "--seed", "1", "--until-generation", "0", "r.dat"},
                "Kann Datei 'r.runs/set.txt' nicht laden: unvollständig oder fremd");
}

// A goal every best meets at its first check: the runs stop at generation 100, the winner's file and its
// 100 rows become FILE; the lines for a program say so.
TEST_F(Trainer, RunsStopAtTheGoalAndTellAProgramEachStep) {
  const TResult r = Run({"--runs", "2", "--seed", "3", "--until-deliveries", "0", "--progress", "g.dat"});
  ASSERT_EQ(r.code, 0) << r.err;
  std::map<int, TRunProgress> last;
  std::istringstream lines(r.out);
  for (std::string line; std::getline(lines, line);) {
    TRunProgress p;
    if (ParseRunProgressLine(line, p)) last[p.run] = p;
  }
  ASSERT_EQ(last.size(), 2u) << r.out;
  for (const auto& [k, p] : last)
    EXPECT_TRUE(p.state == "goal" && p.generation == 100 && p.seed == 3u + k && p.bestValidatedMean >= 0) << k;
  const int winner = last[1].bestValidatedMean > last[0].bestValidatedMean ? 1 : 0;
  EXPECT_EQ(r.out.substr(r.out.size() - 13), "winner g.dat\n");
  EXPECT_TRUE(ReadAll(dir / "g.dat") == ReadAll(dir / ("g.runs/run-" + std::to_string(winner) + "-best.dat")));
  std::vector<TFitnessRow> rows;
  ASSERT_TRUE(ReadFitnessLog((dir / "g.csv").c_str(), rows));
  EXPECT_EQ(std::tuple(rows.size(), rows.back().generation), std::tuple(size_t{100}, 99));
}

// --plot: the set's picture at its end, a PNG or an SVG read back; a name that is taken is refused before
// the set begins and stays as it was.
TEST_F(Trainer, ASetDrawsItsPictureIntoANewFileOnly) {
  // Two places, both at the goal at their first check.
  ASSERT_EQ(Run({"--runs", "2", "--seed", "3", "--until-deliveries", "0", "--plot", "g.svg", "g.dat"}).code, 0);
  QXmlStreamReader svg(QByteArray::fromStdString(ReadAll(dir / "g.svg")));
  int paths = 0;
  std::pair<QString, QString> size;
  while (svg.readNext() != QXmlStreamReader::Invalid && !svg.atEnd())
    if (svg.isStartElement() && svg.name() == QLatin1String("svg"))
      size = {svg.attributes().value("width").toString(), svg.attributes().value("height").toString()};
    else if (svg.isStartElement() && svg.name() == QLatin1String("path"))
      ++paths;
  EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
  EXPECT_EQ(size, std::pair(QString("1000"), QString("640")));
  EXPECT_EQ(paths, 2);  // one line a place

  ASSERT_EQ(Run({"--runs", "2", "--seed", "3", "--until-deliveries", "0", "--plot", "h.PNG", "h.dat"}).code, 0);
  const std::string png = ReadAll(dir / "h.PNG");
  // The signature, then the header chunk: width and height big-endian.
  ASSERT_GE(png.size(), 24u);
  EXPECT_EQ(png.substr(0, 16), std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16));
  const auto word = [&](size_t at) {
    return (uint32_t(uint8_t(png[at])) << 24) | (uint32_t(uint8_t(png[at + 1])) << 16) |
           (uint32_t(uint8_t(png[at + 2])) << 8) | uint32_t(uint8_t(png[at + 3]));
  };
  EXPECT_EQ(std::pair(word(16), word(20)), std::pair(1000u, 640u));

  ExpectRefused({"--runs", "2", "--seed", "3", "--until-deliveries", "0", "--plot", "h.PNG", "i.dat"},
                "Kann Datei 'h.PNG' nicht schreiben");
  EXPECT_TRUE(ReadAll(dir / "h.PNG") == png);
  EXPECT_FALSE(fs::exists(dir / "i.runs"));
  ExpectRefused({"--runs", "2", "--until-deliveries", "0", "--plot", "i.jpg", "i.dat"}, "--plot braucht");
}

// No run outlives the command: a kill of its process group ends them (they stay in it), and so does a kill
// of the command alone (each run is told when its parent dies, and stores), both before their first check;
// while it works, a second command on the same set is refused.
TEST_F(Trainer, RunsEndWithTheirCommand) {
  for (const bool wholeGroup : {true, false}) {
    const std::string file = wholeGroup ? "group.dat" : "parent.dat";
    const pid_t pid = Start({"--runs", "2", "--seed", "1", "--until-generation", "100000", "--checkpoint", "1",
                             "--threads", "4", file},
                            /*ownGroup=*/true);
    const std::string stem = (dir / file).replace_extension().string();
    WaitUntil([&] { return fs::exists(stem + ".runs/run-0.dat") && fs::exists(stem + ".runs/run-1.dat"); }, "both runs' checkpoints");
    std::vector<int> runs;  // the runs' process descriptors: the children of the command's threads
    for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task")) {
      std::istringstream children(ReadAll(task.path() / "children"));
      for (pid_t child = 0; children >> child;) {
        runs.push_back(static_cast<int>(syscall(SYS_pidfd_open, child, 0)));
        // --threads 4 shared by the two runs, --checkpoint passed on.
        const std::string args = ReadAll("/proc/" + std::to_string(child) + "/cmdline");
        EXPECT_HAS(args, std::string("--threads\0" "2\0", 12));
        EXPECT_HAS(args, std::string("--checkpoint\0" "1\0", 15));
      }
    }
    EXPECT_EQ(runs.size(), 2u);
    if (wholeGroup)  // while it works, no second command on the same set
      ExpectRefused({"--runs", "2", "--seed", "1", "--until-generation", "100000", file},
                    "Prozess " + std::to_string(pid) + " arbeitet schon daran");
    kill(wholeGroup ? -pid : pid, SIGKILL);
    EXPECT_EQ(Wait(pid, "the command's end"), 1000 + SIGKILL);
    for (const int run : runs) {
      pollfd p{run, POLLIN, 0};
      EXPECT_EQ(poll(&p, 1, SafetyMs), 1) << "a run outlived its command (" << file << ")";
      close(run);
    }
    // At once: a run left alone would have gone on to its first check at 100 (and kept a best there).
    for (const char* k : {"/run-0", "/run-1"}) {
      const fs::path run = (dir / file).replace_extension().string() + ".runs" + k;
      EXPECT_LT(StoredGenerations(run.string() + ".dat"), 100) << run;
      EXPECT_FALSE(fs::exists(run.string() + "-best.dat")) << run;
    }
  }
}

// The stops a set meets outside its own command. A terminal's Ctrl-C reaches the set and its runs together: it is
// one stop, never a run that failed with status 130 (it raced the set's own stop in 1 of 8 tries). A program
// that started the set and is killed outright (kill -9, a lost X server) takes the set along, which stops as
// after Ctrl-C, its runs' files stored, instead of training on with nobody watching.
TEST_F(Trainer, ASetStopsWithTheTerminalAndWithTheProgramThatStartedIt) {
  const auto stopped = [&](const std::string& stem, const std::string& what) {
    const std::string err = ReadAll(dir / "err.txt");
    EXPECT_TRUE(err.find("unterbrochen") != std::string::npos && err.find("endete mit") == std::string::npos)
        << what << ": " << err;
    for (const char* k : {"/run-0.dat", "/run-1.dat"})
      EXPECT_GE(StoredGenerations(dir / (stem + ".runs" + k)), 1) << what << k;
  };
  const Args set = {"--runs", "2", "--seed", "3", "--until-generation", "100000", "--checkpoint", "1", "--threads", "2"};
  const auto both = [&](const std::string& stem) {
    return [this, stem] {
      return fs::exists(dir / (stem + ".runs/run-0.dat")) && fs::exists(dir / (stem + ".runs/run-1.dat"));
    };
  };
  for (int attempt = 0; attempt < 6; ++attempt) {  // the same set, stopped and resumed
    Args args = set;
    args.push_back("t.dat");
    fs::remove(dir / "err.txt");  // made anew by this start once it has its group
    const pid_t pid = Start(args, /*ownGroup=*/true);
    // Both runs at work in this start (their files may be left from the one before).
    WaitUntil([&] { return both("t")() && ReadAll(dir / "err.txt").find("Gen.") != std::string::npos; }, "the runs' first lines");
    ASSERT_EQ(kill(-pid, SIGINT), 0);
    EXPECT_EQ(Wait(pid, "the end after Ctrl-C"), 130);
    stopped("t", "Ctrl-C " + std::to_string(attempt));
  }

  ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);  // the orphaned set comes to the test, which reaps it
  int pids[2];
  ASSERT_EQ(pipe2(pids, O_CLOEXEC), 0);
  Args args = set;
  args.insert(args.begin(), ZARNIK_TRAIN_EXE);
  args.push_back("w.dat");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t window = fork();
  if (window == 0) {  // a stand-in for the window: it starts the set as the window does, then waits to be killed
    const pid_t self = getpid();
    const pid_t trainer = fork();
    if (trainer == 0) {
      EndWithParent(self);
      const int flags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC;
      if (chdir(dir.Dir.c_str()) == 0 && dup2(open("err.txt", flags, 0644), 2) == 2) execve(argv[0], argv.data(), environ);
      _exit(127);
    }
    if (write(pids[1], &trainer, sizeof trainer) != sizeof trainer) _exit(1);
    for (;;) pause();
  }
  close(pids[1]);
  pid_t trainer = 0;
  ASSERT_EQ(read(pids[0], &trainer, sizeof trainer), ssize_t{sizeof trainer});
  close(pids[0]);
  WaitUntil(both("w"), "both runs' checkpoints under the window");
  kill(window, SIGKILL);
  waitpid(window, nullptr, 0);
  EXPECT_EQ(Wait(trainer, "the set's end after its window's"), 130);
  prctl(PR_SET_CHILD_SUBREAPER, 0);
  stopped("w", "the window killed");
}

// Still bests (weights 0) pay only for links: 0 for none; for 10, totals -100 .. -500 add to -1500.
TEST_F(Trainer, RankComparesFilesWrittenElsewhere) {
  for (const auto& [name, links, generations] : {std::tuple{"still.dat", 0, 7}, std::tuple{"costly.dat", 10, 12}}) {
    THeadlessHost host;
    auto world = MakeZarnikWorld(&host);
    SetAllWeights(world->bestIndividual, 0, links);
    world->Generations = generations;
    ASSERT_TRUE(world->DoSaveANN((dir / name).c_str()));
  }
  EXPECT_EQ(TableRows(Run({"--rank", "costly.dat", "still.dat"}).out),
            (std::vector<Args>{{"1", "still.dat", "7", "0.00", "0", "0", "0"},
                               {"2", "costly.dat", "12", "0.00", "0", "0", "-1500"}}));
}

// The learning path of seed 1, whose best delivers more at several of its first checks: stopped at its
// first check and again between checks, the run keeps the path of the uninterrupted run, byte for byte; each
// entry plays again as it was measured, and the first as the kept best of its check did then.
TEST_F(Trainer, APathEntryReplaysAsTheKeptBestOfItsCheckAndAResumedRunKeepsTheSamePath) {
  const Args run = {"--run", "0", "--seed", "1", "--threads", "2", "--quiet", "--until-generation"};
  const auto until = [&](const char* generation, const char* file) {
    Args args = run;
    args.insert(args.end(), {generation, file});
    ASSERT_EQ(Run(args).code, 0) << generation << " " << file;
  };
  until("300", "whole.dat");
  until("100", "part.dat");
  fs::copy_file(dir / "part.runs/run-0-best.dat", dir / "kept-at-100.dat");
  until("250", "part.dat");
  until("300", "part.dat");
  const std::string path = ReadAll(dir / "part.runs/run-0.path");
  const std::string whole = ReadAll(dir / "whole.runs/run-0.path");
  ASSERT_FALSE(path.empty());
  EXPECT_TRUE(path == whole) << "resumed: " << path.size() << " bytes, uninterrupted: " << whole.size();

  // The listing's rows: generation, deliveries and takes per episode, mean fitness.
  const TResult listed = Run({"--path", "part.runs/run-0.path"});
  ASSERT_EQ(listed.code, 0) << listed.err;
  std::vector<Args> entries;
  std::istringstream lines(listed.out);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    Args row{std::istream_iterator<std::string>(words), {}};
    if (row.size() == 4 && std::isdigit(static_cast<unsigned char>(row[0][0]))) entries.push_back(row);
  }
  ASSERT_GE(entries.size(), 2u) << listed.out;
  EXPECT_EQ(entries.front()[0], "100");
  for (const Args& e : entries) {
    const std::string entry = "part.runs/run-0.path@" + e[0];
    const std::vector<Args> ranked = TableRows(Run({"--rank", entry}).out);
    ASSERT_EQ(ranked.size(), 1u) << entry;
    EXPECT_EQ(ranked[0][2], e[0]);
    EXPECT_EQ(ranked[0][3], e[1]) << entry;
    EXPECT_EQ(std::stoll(ranked[0][5]), std::llround(std::stod(e[2]) * 100)) << entry;
    EXPECT_EQ(ranked[0][6], e[3]) << entry;
  }
  const std::vector<Args> both = TableRows(Run({"--rank", "part.runs/run-0.path@100", "kept-at-100.dat"}).out);
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(Args(both[0].begin() + 3, both[0].end()), Args(both[1].begin() + 3, both[1].end()));
  // --evaluate plays the entry episode by episode: its sums are the ranking's.
  const TResult played = Run({"--evaluate", "part.runs/run-0.path@100"});
  EXPECT_HAS(played.out, "\nall,,," + both[0][6] + "," + both[0][5] + "," + both[0][4] + "\n");
  ExpectRefused({"--rank", "part.runs/run-0.path@150"}, "Generation 150 fehlt im Lernweg; die nächsten: 100, 200");
}

// --compare on a path of two networks of a new population (stored as kept at 100 and 200): the sums are what
// --rank gives each entry; a missing entry, a damaged path, a missing second entry or another option refused.
TEST_F(Trainer, CompareGivesTheRankingsSumsAndRefusesWhatItCannotRead) {
  {
    THeadlessHost host;
    auto world = MakeZarnikWorld(&host);
    const std::vector<TPathEntry> path = {MakePathEntry(world->Population[0], 100, {100, 0, 10, 0}),
                                          MakePathEntry(world->Population[1], 200, {100, 0, 30, 0})};
    ASSERT_TRUE(WriteLearningPath((dir / "two.path").c_str(), path));
  }
  const TResult compared = Run({"--compare", "two.path@200", "two.path@100"});
  ASSERT_EQ(compared.code, 0) << compared.err;
  const std::vector<Args> ranked = TableRows(Run({"--rank", "two.path@200", "two.path@100"}).out);
  ASSERT_EQ(ranked.size(), 2u);
  std::map<std::string, Args> rank;  // by entry: deliveries, takes
  for (const Args& r : ranked) rank[r[1]] = {r[4], r[5]};
  const Args sums = {"Summe", rank["two.path@200"][1], rank["two.path@200"][0], rank["two.path@100"][1],
                     rank["two.path@100"][0]};
  std::istringstream lines(compared.out);
  int episodeLines = 0;
  Args last;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    Args row{std::istream_iterator<std::string>(words), {}};
    if (!row.empty() && row[0].find(',') != std::string::npos && row[0].size() <= 5) ++episodeLines;
    if (!row.empty() && row[0] == "Summe") last = Args(row.begin(), row.begin() + std::min<size_t>(row.size(), 5));
  }
  EXPECT_EQ(episodeLines, 100) << compared.out;
  EXPECT_EQ(last, sums) << compared.out;
  EXPECT_EQ(compared.out.rfind("A: two.path@200\nB: two.path@100\n", 0), 0u) << compared.out;

  std::string damaged = ReadAll(dir / "two.path");
  damaged[damaged.size() / 2] ^= 0x10;
  std::ofstream(dir / "damaged.path", std::ios::binary) << damaged;
  ExpectRefused({"--compare", "two.path@100", "two.path@150"},
                "zarnik-train: Kann Datei 'two.path@150' nicht laden: Generation 150 fehlt im Lernweg; die nächsten: 100, 200");
  ExpectRefused({"--compare", "damaged.path@100", "two.path@100"},
                "zarnik-train: Kann Datei 'damaged.path@100' nicht laden: Lernweg beschädigt");
  ExpectRefused({"--compare", "two.path@100"}, "--compare nimmt genau zwei Einträge");
  ExpectRefused({"--compare", "--quiet", "two.path@100", "two.path@200"}, "--compare nimmt genau zwei Einträge");
}

// One table over the files the trainer writes (the population, its history, --log): modes under the umask, the
// .csv rule, names as bytes, links of other users in a sticky directory and one's own, a read-only --log, a file
// size limit and a full disk, a name too long for its temporary file; with the status and the reason each reports.
// One training of a generation per case, checked for its status, its line on stderr and the files it left.
struct FileRules : Trainer {
  static constexpr uid_t Stranger = 4242, User = 4343;
  struct Case {
    Args args;
    int code;
    std::string message;
    std::function<void()> check;
    bool asUser = false;  // as user 4343, not root
    mode_t umask = 022;
    bool full = false;    // a file size limit of 100,000 bytes
  };
  fs::perms Mode(const char* name) const {
    return fs::exists(dir / name) ? fs::status(dir / name).permissions() & fs::perms::all : fs::perms::none;
  }
  std::tuple<uid_t, gid_t, mode_t> Owner(const char* name) const {
    struct stat st = {};
    stat((dir / name).c_str(), &st);
    return std::tuple(st.st_uid, st.st_gid, st.st_mode & 07777);
  }
  uintmax_t SizeOf(const fs::path& p) const { return fs::exists(p) ? fs::file_size(p) : 0; }
  std::string NewPopulation(const char* name) {
    THeadlessHost host;
    EXPECT_TRUE(MakeZarnikWorld(&host)->DoSaveANN((dir / name).c_str()));
    return ReadAll(dir / name);
  }
  void RunCases(std::vector<Case>& cases) {
    for (Case& c : cases) {
      const std::string what = c.args.back();
      c.args.insert(c.args.begin(), {"--generations", "1", "--quiet", "--threads", "1"});
      Prefix = c.asUser ? Args{"/usr/bin/setpriv", "--reuid=4343", "--regid=4343", "--clear-groups", "--"} : Args{};
      const mode_t old = umask(c.umask);
      std::optional<TFileSizeLimit> full;
      if (c.full) full.emplace(100000);
      const TResult result = Run(c.args);
      full.reset();
      umask(old);
      Prefix.clear();
      EXPECT_EQ(result.code, c.code) << what << ": " << result.err;
      EXPECT_HAS(result.err, c.message) << what;  // "" is found at 0
      c.check();
    }
    for (const auto& e : fs::recursive_directory_iterator(dir.Dir))  // no temporary or lock file left
      EXPECT_TRUE(e.path().string().find(".tmp") == std::string::npos && e.path().extension() != ".lock") << e.path();
  }
};

// New files take the umask; a name is used as given, its history beside it; a name too long is refused first.
TEST_F(FileRules, NewFilesTakeTheUmaskAndTheNameGiven) {
  using P = fs::perms;
  const fs::perms r_r = P::owner_read | P::owner_write | P::group_read, r = P::owner_read | P::owner_write;
  const std::string bytes = "pop\xff\xfe", longName(251, 'n');
  std::vector<Case> cases = {
      {{"--log", "l.csv", "m.dat"}, 0, "", [&] {
         EXPECT_EQ(std::tuple(Mode("m.dat"), Mode("m.csv"), Mode("l.csv")), std::tuple(r_r, r_r, r_r));
       }, false, 027},
      {{"n.dat"}, 0, "", [&] { EXPECT_EQ(std::pair(Mode("n.dat"), Mode("n.csv")), std::pair(r, r)); }, false, 077},
      {{"a.csv"}, 0, "", [&] {  // its history goes beside it, never over it
         EXPECT_EQ(SizeOf(dir / "a.csv"), 199620u);
         EXPECT_EQ(ReadAll(dir / "a.csv.csv").rfind(std::string(FitnessLogHeader) + "\n0,2,", 0), 0u);
       }},
      {{bytes + ".dat"}, 0, "", [&] {  // not valid UTF-8: used as given
         EXPECT_TRUE(SizeOf(dir / (bytes + ".dat")) == 199620u && fs::exists(dir / (bytes + ".csv")));
         EXPECT_EQ(Run({"--evaluate", bytes + ".dat"}).code, 0);
       }},
      {{longName + ".dat"}, 2, "Kann Datei '" + longName + ".dat' nicht schreiben: Name zu lang",
       [&] { EXPECT_FALSE(fs::exists(dir / (longName + ".csv"))); }},  // refused before the first generation
  };
  RunCases(cases);
}

// A store that does not fit keeps the old file whole; what was stored before stays whole.
TEST_F(FileRules, AFullDiskKeepsTheOldFileWhole) {
  const std::string population = NewPopulation("big.dat");
  fs::create_directory(dir / "small");
  const TSmallDisk small(dir / "small", 256 * 1024);  // one population and a little, not two
  std::vector<Case> cases = {
      {{"big.dat"}, 2, "Kann Datei 'big.dat' nicht schreiben: Datei zu groß", [&] {
         // The history is written all the same.
         EXPECT_TRUE(ReadAll(dir / "big.dat") == population && fs::exists(dir / "big.csv"));
       }, false, 022, true},
  };
  if (small.Mounted())  // needs a mount of its own (root, or a user namespace)
    cases.push_back({{"--checkpoint", "1", "--generations", "3", "small/p.dat"}, 2,
                     "Kann Datei 'small/p.dat' nicht schreiben: Datenträger voll", [&] {
                       EXPECT_EQ(StoredGenerations(dir / "small/p.dat"), 1);  // the first save, whole
                       EXPECT_EQ(Listing(dir / "small"), (std::vector<std::string>{"p.csv", "p.dat"}));
                     }});
  RunCases(cases);
}

// Links another user planted in a shared sticky folder are refused before anything is read or trained on;
// one's own link is followed.
TEST_F(FileRules, PlantedLinksAreRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "a link owned by another user needs root to make";
  NewPopulation("victim.dat");
  std::ofstream(dir / "victim.csv") << FitnessLogHeader << "\n";
  const std::string before = ReadAll(dir / "victim.dat") + ReadAll(dir / "victim.csv");
  fs::create_directory(dir / "shared");
  ASSERT_EQ(chown((dir / "shared").c_str(), User, User) | chmod((dir / "shared").c_str(), 01777), 0);
  for (const char* link : {"theirs.dat", "h.csv", "theirs.csv"}) {
    fs::create_symlink(dir / (std::string_view(link).ends_with(".dat") ? "victim.dat" : "victim.csv"), dir / "shared" / link);
    ASSERT_EQ(lchown((dir / "shared" / link).c_str(), Stranger, Stranger), 0);
  }
  fs::create_symlink(dir / "own.dat", dir / "shared/mine.dat");  // root's own link
  const auto untouched = [&] { EXPECT_EQ(ReadAll(dir / "victim.dat") + ReadAll(dir / "victim.csv"), before); };
  const std::string refused = "nicht schreiben: symbolischer Verweis eines anderen Benutzers";
  std::vector<Case> cases = {
      {{"shared/theirs.dat"}, 2, "'shared/theirs.dat' " + refused, untouched},
      {{"shared/h.dat"}, 2, "'shared/h.csv' " + refused, [&] {
         untouched();
         EXPECT_FALSE(fs::exists(dir / "shared/h.dat"));
       }},
      {{"--log", "shared/theirs.csv", "o.dat"}, 2, "'shared/theirs.csv' " + refused, [&] {
         untouched();
         EXPECT_FALSE(fs::exists(dir / "o.dat") || fs::exists(dir / "o.csv"));
       }},
      {{"shared/mine.dat"}, 0, "", [&] {
         EXPECT_TRUE(fs::is_symlink(dir / "shared/mine.dat") && SizeOf(dir / "own.dat") == 199620u);
       }},
  };
  RunCases(cases);
}

// Another user's files: root keeps the owner, group and mode (not a new file's 0644) of the file it replaces; a
// user keeps the mode only, and is told; a history the user may not write is refused before anything is made.
TEST_F(FileRules, AnotherUsersFilesKeepTheirOwnerOrSayWhy) {
  if (geteuid() != 0) GTEST_SKIP() << "files of two other users need root to make";
  NewPopulation("victim.dat");
  fs::create_directory(dir / "u");
  std::ofstream(dir / "u/ro.csv") << FitnessLogHeader << "\n";
  ASSERT_EQ(chown((dir / "u").c_str(), User, User) | chown((dir / "u/ro.csv").c_str(), User, User), 0);
  ASSERT_EQ(chmod((dir / "u/ro.csv").c_str(), 0444) | chmod(dir.Dir.c_str(), 0755), 0);
  for (const char* name : {"u/theirs.dat", "u/kept.dat"}) {
    fs::copy_file(dir / "victim.dat", dir / name);
    ASSERT_EQ(chown((dir / name).c_str(), Stranger, User) | chmod((dir / name).c_str(), 0664), 0);
  }
  std::vector<Case> cases = {
      {{"--log", "u/ro.csv", "u/p.dat"}, 2, "Kann Datei 'u/ro.csv' nicht schreiben: keine Schreibberechtigung",
       [&] { EXPECT_FALSE(fs::exists(dir / "u/p.csv") || fs::exists(dir / "u/p.dat")); }, true},
      {{"u/kept.dat"}, 0, "", [&] { EXPECT_EQ(Owner("u/kept.dat"), std::tuple(Stranger, User, 0664u)); }},
      {{"u/theirs.dat"}, 0, "Datei 'u/theirs.dat' gehört nach dem Speichern Benutzer 4343 statt",
       [&] { EXPECT_EQ(Owner("u/theirs.dat"), std::tuple(User, User, 0664u)); }, true},
  };
  RunCases(cases);
}

// A second trainer on a file in training is refused at once, naming the first one's process, also through a link;
// a closed terminal (SIGHUP) stores the run as a stop does, and the lock goes with the run.
TEST_F(Trainer, ASecondTrainerIsRefusedAndAHangupStoresTheRun) {
  const pid_t first = Start({"--quiet", "--threads", "1", "pop.dat"});
  const bool running =
      WaitUntil([&] { return std::ranges::count(ReadAll(dir / "pop.csv"), '\n') >= 3; }, "two rows");
  fs::create_symlink("pop.dat", dir / "other.dat");
  for (const std::string name : {"pop.dat", "other.dat"})
    ExpectRefused({"--generations", "1", "--quiet", name}, "Kann Datei '" + name + "' nicht trainieren: Prozess " +
                                                                std::to_string(first) + " arbeitet schon daran");
  kill(first, SIGHUP);
  EXPECT_EQ(Wait(first, "the end after SIGHUP"), 130);
  ASSERT_TRUE(running);
  std::vector<TFitnessRow> rows;
  ASSERT_TRUE(ReadFitnessLog((dir / "pop.csv").c_str(), rows));
  EXPECT_EQ(StoredGenerations(dir / "pop.dat"), std::ssize(rows));
  EXPECT_FALSE(fs::exists(dir / "pop.dat.lock"));
  EXPECT_EQ(Run({"--generations", "1", "--quiet", "other.dat"}).code, 0);
}

// Killed after a checkpoint with rows beyond it (and a torn row added), then resumed: the history (and --log's
// copy) is the one an uninterrupted run writes, row for row apart from the seconds, generation_of_best included.
TEST_F(Trainer, AKilledAndResumedRunWritesTheHistoryOfAnUninterruptedOne) {
  const Args common = {"--seed", "7", "--quiet", "--log", "copy.csv"};
  const auto with = [&](Args args) {
    args.insert(args.begin(), common.begin(), common.end());
    return args;
  };
  const pid_t pid = Start(with({"--checkpoint", "4", "--generations", "1000", "--threads", "1", "part.dat"}));
  // The rows reach the disk just before the population they lead up to. Woken by each change of the
  // folder and looked at while held, the trainer is killed where rows beyond its stored generation were
  // seen, however late the test gets to look on a loaded machine. The population is replaced whole:
  // whenever it is there, it loads.
  const int changes = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  inotify_add_watch(changes, dir.Dir.c_str(), IN_MODIFY | IN_MOVED_TO | IN_CLOSE_WRITE);
  const auto beyond = [&] {
    for (char events[4096]; read(changes, events, sizeof events) > 0;) {
    }
    siginfo_t held{};
    if (kill(pid, SIGSTOP) != 0 || waitid(P_PID, pid, &held, WSTOPPED | WEXITED | WNOWAIT) != 0 ||
        held.si_code != CLD_STOPPED)
      return false;
    const int g = fs::exists(dir / "part.dat") ? StoredGenerations(dir / "part.dat") : 0;
    if (g >= 4 && std::ranges::count(ReadAll(dir / "part.csv"), '\n') > g + 2) return true;
    kill(pid, SIGCONT);
    return false;
  };
  const bool killed = WaitUntil(beyond, "rows beyond a checkpoint", changes);
  close(changes);
  kill(pid, SIGKILL);
  EXPECT_EQ(Wait(pid, "the end after SIGKILL"), 1000 + SIGKILL);
  ASSERT_TRUE(killed);
  const int stored = StoredGenerations(dir / "part.dat");
  // The uninterrupted run goes a few generations past where the killed one stored.
  const int Total = stored + 8;
  const TResult whole = Run({"--generations", std::to_string(Total), "--seed", "7", "--threads", "1", "whole.dat"});
  ASSERT_EQ(whole.code, 0);  // not a terminal: plain progress lines, with the best's deliveries
  EXPECT_HAS(whole.err, "Generation " + std::to_string(Total - 1) + "  best Fitness ");
  EXPECT_HAS(whole.err, "  Ablagen des Besten ");
  ASSERT_EQ(ReadAll(dir / "part.csv").back(), '\n');  // whole rows only
  std::ofstream(dir / "part.csv", std::ios::app) << "99,2,-41";  // and a row torn by a crash, which goes too
  // Resumed with two threads: the same file as one thread writes.
  ASSERT_EQ(Run(with({"--generations", std::to_string(Total - stored), "--threads", "2", "part.dat"})).code, 0);
  const auto withoutSeconds = [&](const char* name) {
    std::vector<TFitnessRow> rows;
    EXPECT_TRUE(ReadFitnessLog((dir / name).c_str(), rows)) << name;
    std::vector<std::tuple<int, int, int, int, int, int>> kept;
    for (const TFitnessRow& r : rows)
      kept.emplace_back(r.generation, r.mode, r.bestFitness, r.averageFitness, r.generationOfBest, r.bestDeliveries);
    return kept;
  };
  const auto rows = withoutSeconds("whole.csv");
  ASSERT_EQ(rows.size(), static_cast<size_t>(Total));
  EXPECT_EQ(std::get<0>(rows.back()), Total - 1);
  EXPECT_EQ(withoutSeconds("part.csv"), rows);
  EXPECT_EQ(withoutSeconds("copy.csv"), rows);
  EXPECT_TRUE(ReadAll(dir / "part.dat") == ReadAll(dir / "whole.dat") && fs::file_size(dir / "part.dat") == 199620u);
  // Training 1 numbers its passes on from the history's last one, run after run.
  for (int run = 0; run < 2; ++run) ASSERT_EQ(Run({"--mode", "1", "--generations", "2", "--quiet", "part.dat"}).code, 0);
  std::vector<int> passes;
  for (const auto& row : withoutSeconds("part.csv"))
    if (std::get<1>(row) == 1) passes.push_back(std::get<0>(row));
  EXPECT_EQ(passes, (std::vector<int>{0, 1, 2, 3}));
}

// A run killed before its first save leaves rows and no population; the next run starts a new history.
TEST_F(Trainer, AHistoryWithoutItsPopulationBeginsAnew) {
  std::ofstream orphan(dir / "orphan.csv");
  orphan << "generation,mode,best_fitness,average_fitness,generation_of_best,seconds,best_deliveries\n";
  for (int g = 0; g <= 80; ++g) orphan << g << ",2,-500,-900," << g << ",0.100,0\n";
  orphan.close();
  ASSERT_EQ(Run({"--generations", "5", "--seed", "3", "--quiet", "--threads", "1", "orphan.dat"}).code, 0);
  std::vector<TFitnessRow> rows;
  ASSERT_TRUE(ReadFitnessLog((dir / "orphan.csv").c_str(), rows));
  std::vector<int> generations;
  for (const TFitnessRow& r : rows) generations.push_back(r.generation);
  EXPECT_EQ(generations, (std::vector<int>{0, 1, 2, 3, 4}));
}
}  // namespace
