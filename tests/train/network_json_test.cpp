// --export and --import as a user calls them: what the JSON holds, the way back, and everything refused.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "../support/temp_dir.h"
#include "ann-ga/world.h"
#include "hosts/headless_host.h"
#include "platform/population_lock.h"

extern char** environ;

namespace {
using Args = std::vector<std::string>;

#define EXPECT_HAS(text, part) EXPECT_NE((text).find(part), std::string::npos) << (text)

constexpr int SafetySeconds = 300;  // a trainer that has not ended by then hangs

struct TResult {
  int code;
  std::string out, err;
};

// The best's weight from node s to node t, set here and looked for in the JSON: all different.
int32_t Marked(int s, int t) { return 1000 * s + t - 7; }

struct NetworkJson : ::testing::Test {
  TTempDir dir;

  // zarnik-train in the directory; the exit status, 1000 + the signal if it ended by one.
  TResult Run(Args args) {
    args.insert(args.begin(), ZARNIK_TRAIN_EXE);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
      const int flags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC;
      if (chdir(dir.Dir.c_str()) == 0 && dup2(open(Out().c_str(), flags, 0644), 1) == 1 &&
          dup2(open(Err().c_str(), flags, 0644), 2) == 2)
        execve(argv[0], argv.data(), environ);
      _exit(127);
    }
    const int process = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    pollfd p{process, POLLIN, 0};
    const bool ended = poll(&p, 1, SafetySeconds * 1000) == 1;
    close(process);
    if (!ended) kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(ended) << "zarnik-train " << args.back() << " did not end";
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    return {code, ReadAll(Out()), ReadAll(Err())};
  }
  // The trainer's stdout and stderr lie beside the directory, so that Listing(dir) shows only what it wrote.
  std::string Out() const { return dir.Dir.string() + ".out"; }
  std::string Err() const { return dir.Dir.string() + ".err"; }
  ~NetworkJson() override {
    fs::remove(Out());
    fs::remove(Err());
  }

  // A population whose best has the Marked weights in its blocks and the given figures.
  void SaveMarked(const std::string& name) {
    THeadlessHost host;
    auto world = MakeZarnikWorld(&host);
    TChromosom& best = world->bestIndividual;
    for (int s = 0; s < 21; ++s)
      for (int t = 0; t < 21; ++t) best.setWeight(s, t, 0);
    // inputs 0-10 to hidden 11-13, hidden 11-13 to 14-16, 14-16 to the outputs 17-20
    for (const auto& [s0, s1, t0, t1] : {std::tuple{0, 11, 11, 14}, {11, 14, 14, 17}, {14, 17, 17, 21}})
      for (int s = s0; s < s1; ++s)
        for (int t = t0; t < t1; ++t) best.setWeight(s, t, Marked(s, t));
    best.setConnections(17);
    best.setOldConnections(19);
    best.setFitness(-4242);
    world->Generations = 77;
    ASSERT_TRUE(world->DoSaveANN((dir / name).c_str()));
  }

  QJsonObject ReadJson(const std::string& name) {
    const std::string text = ReadAll(dir / name);
    return QJsonDocument::fromJson(QByteArray(text.data(), static_cast<qsizetype>(text.size()))).object();
  }
  void WriteJson(const std::string& name, const QJsonObject& o) {
    std::ofstream(dir / name) << QJsonDocument(o).toJson().toStdString();
  }
};

// The format as documented: layers 11-3-3-4, weights[L][s][t] from node s of layer L to node t of layer L + 1
// (node numbers counted through the layers), the scale and limits, the figures, and the contract.
TEST_F(NetworkJson, TheJsonHoldsTheBestAsTheFormatSays) {
  SaveMarked("marked.dat");
  const TResult r = Run({"--export", "marked.json", "marked.dat"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out + r.err, "");
  const QJsonObject o = ReadJson("marked.json");
  EXPECT_EQ(o["format"].toString(), "zarnik32-network");
  EXPECT_EQ(o["version"].toInt(), 1);
  EXPECT_EQ(o["layers"].toArray(), (QJsonArray{11, 3, 3, 4}));
  EXPECT_EQ(std::tuple(o["precision"].toInt(), o["max_weight"].toInt(), o["max_node_value"].toInt()),
            std::tuple(100, 2, 1000));
  EXPECT_EQ(std::tuple(o["connections"].toInt(), o["old_connections"].toInt(), o["fitness"].toInt(),
                       o["generations"].toInt()),
            std::tuple(17, 19, -4242, 77));
  const QJsonArray weights = o["weights"].toArray();
  ASSERT_EQ(weights.size(), 3);
  const int first[] = {0, 11, 14, 17}, size[] = {11, 3, 3, 4};
  for (int L = 0; L < 3; ++L) {
    ASSERT_EQ(weights[L].toArray().size(), size[L]) << L;
    for (int s = 0; s < size[L]; ++s) {
      const QJsonArray row = weights[L].toArray()[s].toArray();
      ASSERT_EQ(row.size(), size[L + 1]) << L << " " << s;
      for (int t = 0; t < size[L + 1]; ++t)
        EXPECT_EQ(row[t].toInt(), Marked(first[L] + s, first[L + 1] + t)) << L << " " << s << " " << t;
    }
  }
  // The inputs are OutData in its order, the outputs the four joint steps; both clamped to +-1000.
  const QJsonArray inputs = o["inputs"].toArray(), outputs = o["outputs"].toArray();
  ASSERT_EQ(std::pair(inputs.size(), outputs.size()), std::pair(qsizetype{11}, qsizetype{4}));
  const char* names[] = {"ball_x", "ball_y", "effector_x", "effector_y", "target_x", "target_y",
                         "carry_direction", "angle_a", "angle_b", "angle_c", "angle_d"};
  for (int i = 0; i < 11; ++i) {
    EXPECT_EQ(inputs[i]["index"].toInt(), i);
    EXPECT_EQ(inputs[i]["name"].toString(), names[i]);
    EXPECT_EQ(inputs[i]["clamp"].toArray(), (QJsonArray{-1000, 1000}));
  }
  EXPECT_EQ(inputs[0]["range"].toArray(), (QJsonArray{0, 755}));
  EXPECT_EQ(inputs[6]["range"].toArray(), (QJsonArray{-1, 1}));
  EXPECT_EQ(inputs[10]["range"].toArray(), (QJsonArray{-179, 180}));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(outputs[i]["name"].toString(), QStringLiteral("step_") + QChar('a' + i));
    EXPECT_EQ(outputs[i]["degrees_per_unit"].toDouble(), 0.002);
    EXPECT_EQ(outputs[i]["range"].toArray(), (QJsonArray{-1000, 1000}));
  }
}

// Export, import, rank: the imported population's best plays the 100 episodes as the original's did, row for
// row; all 100 individuals are that network; exporting it again gives the same JSON. A learning path left
// where the copy goes is not the imported network's: it is moved aside, not lost.
TEST_F(NetworkJson, AnImportedNetworkRanksAsTheOriginal) {
  ASSERT_EQ(Run({"--seed", "2", "--generations", "25", "--threads", "1", "--quiet", "trained.dat"}).code, 0);
  ASSERT_EQ(Run({"--export", "best.json", "trained.dat"}).code, 0);
  const std::string stalePath = "a path of a population gone\n";
  std::ofstream(dir / "copy.path", std::ios::binary) << stalePath;
  const TResult imported = Run({"--import", "best.json", "copy.dat"});
  ASSERT_EQ(imported.code, 0) << imported.err;
  EXPECT_FALSE(fs::exists(dir / "copy.path"));
  EXPECT_EQ(ReadAll(dir / "copy.~1~.path"), stalePath);
  EXPECT_NE(imported.out.find("copy.~1~.path"), std::string::npos) << imported.out;
  const TResult ranked = Run({"--rank", "trained.dat", "copy.dat"});
  ASSERT_EQ(ranked.code, 0) << ranked.err;
  std::vector<Args> rows;
  std::istringstream lines(ranked.out);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    Args row{std::istream_iterator<std::string>(words), {}};
    if (row.size() == 7 && std::isdigit(static_cast<unsigned char>(row[0][0]))) rows.push_back(row);
  }
  ASSERT_EQ(rows.size(), 2u) << ranked.out;
  EXPECT_EQ(rows[0][1], "trained.dat");  // the order given, as both are equal
  for (Args& row : rows) row.erase(row.begin(), row.begin() + 2);
  EXPECT_EQ(rows[0], rows[1]) << ranked.out;
  EXPECT_EQ(rows[0][0], "25");

  THeadlessHost host;
  auto original = MakeZarnikWorld(&host), copy = MakeZarnikWorld(&host);
  size_t size = 0;
  ASSERT_EQ(original->LoadANN((dir / "trained.dat").c_str(), size), TLoadError::None);
  ASSERT_EQ(copy->LoadANN((dir / "copy.dat").c_str(), size), TLoadError::None);
  const TChromosom& best = original->bestIndividual;
  for (int i = 0; i <= TWorld::Individuals; ++i) {
    const TChromosom& c = i < TWorld::Individuals ? copy->Population[i] : copy->bestIndividual;
    for (int s = 0; s < 21; ++s)
      for (int t = 0; t < 21; ++t) ASSERT_EQ(c.getWeight(s, t), best.getWeight(s, t)) << i << " " << s << " " << t;
    EXPECT_EQ(std::tuple(c.getConnections(), c.getOldConnections(), c.getFitness()),
              std::tuple(best.getConnections(), best.getOldConnections(), best.getFitness()));
  }
  EXPECT_EQ(std::tuple(copy->bestIndividualIdx, copy->bestFitness), std::tuple(0, best.getFitness()));
  ASSERT_EQ(Run({"--export", "again.json", "copy.dat"}).code, 0);
  EXPECT_EQ(ReadAll(dir / "again.json"), ReadAll(dir / "best.json"));
  // The imported population trains on.
  EXPECT_EQ(Run({"--generations", "2", "--threads", "1", "--quiet", "copy.dat"}).code, 0);
}

// Every damage refused with status 2 and its reason, before anything is written: no population, no temporary
// or lock file.
TEST_F(NetworkJson, DamagedJsonIsRefusedAndNothingIsWritten) {
  SaveMarked("marked.dat");
  ASSERT_EQ(Run({"--export", "good.json", "marked.dat"}).code, 0);
  const std::string good = ReadAll(dir / "good.json");
  const QJsonObject o = ReadJson("good.json");
  const auto with = [&o](const QString& key, const QJsonValue& v) {
    QJsonObject changed = o;
    changed[key] = v;
    return changed;
  };
  const auto without = [&o](const QString& key) {
    QJsonObject changed = o;
    changed.remove(key);
    return changed;
  };
  // weights with one entry changed: weights[0][3][1] = v
  const auto weight = [&](const QJsonValue& v) {
    QJsonArray blocks = o["weights"].toArray(), rows = blocks[0].toArray(), row = rows[3].toArray();
    row[1] = v;
    rows[3] = row;
    blocks[0] = rows;
    return with("weights", blocks);
  };
  QJsonArray longRow;
  for (int i = 0; i < 200000; ++i) longRow.append(1);
  QJsonArray renamed = o["inputs"].toArray();
  QJsonObject swapped = renamed[0].toObject();
  swapped["name"] = "ball_y";
  renamed[0] = swapped;
  // A network of another shape, whole in itself: 11 inputs, 2 hidden nodes, 4 outputs.
  QJsonArray in(QJsonArray{1, 2}), out(QJsonArray{1, 2, 3, 4}), narrow, last;
  for (int s = 0; s < 11; ++s) narrow.append(in);
  last = QJsonArray{out, out};
  QJsonObject foreign = with("layers", QJsonArray{11, 2, 4});
  foreign["weights"] = QJsonArray{narrow, last};

  std::vector<std::pair<std::string, QJsonObject>> objects = {
      {"kein Netz von Zarnik32 (Feld 'format' ist nicht 'zarnik32-network')", with("format", "zarnik32-net")},
      {"Version 2 unbekannt (gelesen wird Version 1)", with("version", 2)},
      {"Feld 'version' ist keine ganze Zahl von 1 bis 2147483647", with("version", "1")},
      {"Feld 'weights' fehlt", without("weights")},
      {"Feld 'evaluation' fehlt", without("evaluation")},
      {"Feld 'bias' gibt es in Version 1 nicht", with("bias", 0)},
      {"Feld 'weights[0][3][1]' ist keine ganze Zahl von -2147483648 bis 2147483647", weight(1.5)},
      {"Feld 'weights[0][3][1]' ist keine ganze Zahl", weight(2147483648.0)},
      {"Feld 'weights[0][3][1]' ist keine ganze Zahl", weight(-2147483649.0)},
      {"Feld 'weights[0][3][1]' ist keine ganze Zahl", weight("7")},
      {"Feld 'weights[0][3][1]' ist keine ganze Zahl", weight(QJsonValue::Null)},
      {"Feld 'weights[0][3][1]' ist keine ganze Zahl", weight(QJsonArray{7})},
      {"Feld 'weights[0][0]' ist keine Liste mit 3 Einträgen", [&] {
         QJsonArray blocks = o["weights"].toArray(), rows = blocks[0].toArray();
         rows[0] = longRow;
         blocks[0] = rows;
         return with("weights", blocks);
       }()},
      {"Feld 'weights' ist keine Liste mit 3 Einträgen", with("weights", QJsonArray{})},
      {"Feld 'layers[1]' ist keine ganze Zahl von 1 bis 65535", with("layers", QJsonArray{11, 100000, 3, 4})},
      {"Feld 'layers' braucht 3 bis 1000 Einträge", with("layers", QJsonArray{11, 4})},
      {"Feld 'precision' ist keine ganze Zahl von 1 bis 2147483647", with("precision", 0)},
      {"Feld 'connections' ist keine ganze Zahl von 0 bis 441", with("connections", 442)},
      {"Feld 'generations' ist keine ganze Zahl von 0 bis 2147483647", with("generations", -1)},
      {"Feld 'fitness' ist keine ganze Zahl", with("fitness", 2147483648.0)},
      {"Feld 'evaluation' ist kein Text", with("evaluation", 5)},
      {"Feld 'inputs' beschreibt nicht die Eingänge von Zarnik32", with("inputs", renamed)},
      {"Feld 'inputs' beschreibt nicht die Eingänge von Zarnik32", with("max_node_value", 999)},
      {"Feld 'outputs' beschreibt nicht die Ausgänge von Zarnik32", with("outputs", QJsonArray{})},
      {"fremde Netzform", foreign},
      {"fremde Netzform", with("precision", 10)},
  };
  std::vector<std::pair<std::string, std::string>> texts = {
      {"kein gültiges JSON (Fehler bei Byte ", good.substr(0, good.size() / 2)},
      {"kein gültiges JSON (Fehler bei Byte 0)", ""},
      {"kein JSON-Objekt", "[1, 2, 3]"},
      {"kein gültiges JSON", std::string(5000, '[') + std::string(5000, ']')},
      {"größer als 1 MiB", std::string(1 << 20, ' ') + good},
  };
  for (auto& [why, object] : objects)
    texts.emplace_back(why, QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString());
  ASSERT_EQ(mkfifo((dir / "fifo.json").c_str(), 0600), 0);
  fs::create_directory(dir / "folder.json");
  std::vector<std::pair<std::string, std::string>> files = {
      {"missing.json", "Kann Datei 'missing.json' nicht laden: nicht vorhanden"},
      {"fifo.json", "Kann Datei 'fifo.json' nicht laden: keine reguläre Datei"},
      {"folder.json", "Kann Datei 'folder.json' nicht laden: keine reguläre Datei"},
  };
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::string name = "damaged" + std::to_string(i) + ".json";
    std::ofstream(dir / name, std::ios::binary) << texts[i].second;
    files.emplace_back(name, "Kann Datei '" + name + "' nicht laden: " + texts[i].first);
  }
  const std::vector<std::string> before = Listing(dir.Dir);
  for (const auto& [name, why] : files) {
    const TResult r = Run({"--import", name, "new.dat"});
    EXPECT_EQ(r.code, 2) << name;
    EXPECT_HAS(r.err, why);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  EXPECT_EQ(Listing(dir.Dir), before);
  EXPECT_EQ(Run({"--import", "good.json", "new.dat"}).code, 0);  // the good one is imported all the same
}

// Nothing is replaced: an existing JSON or population (also a link, even a dangling one) stays as it was;
// a population in another program's hands is not written; a best with links beyond its layers cannot be
// exported; and the options stand alone.
TEST_F(NetworkJson, NothingIsReplacedAndTheOptionsStandAlone) {
  SaveMarked("marked.dat");
  std::ofstream(dir / "mine.json") << "mine";
  ASSERT_EQ(Run({"--export", "good.json", "marked.dat"}).code, 0);
  const std::string marked = ReadAll(dir / "marked.dat");
  fs::create_symlink("nowhere.dat", dir / "dangling.dat");
  const std::string exists = "nicht schreiben: gibt es schon, wird nicht überschrieben";
  const std::pair<Args, std::string> refused[] = {
      {{"--export", "mine.json", "marked.dat"}, "Kann Datei 'mine.json' " + exists},
      {{"--import", "good.json", "marked.dat"}, "Kann Datei 'marked.dat' " + exists},
      {{"--import", "good.json", "dangling.dat"}, "Kann Datei 'dangling.dat' " + exists},
      {{"--export", "x.json", "absent.dat"}, "Kann Datei 'absent.dat' nicht laden: nicht vorhanden"},
      {{"--export", "x.json", "--quiet", "marked.dat"}, "--export und --import gehen nur ohne weitere Optionen."},
      {{"--import", "good.json", "--generations", "3", "y.dat"}, "gehen nur ohne weitere Optionen."},
      {{"--export", "x.json", "--import", "good.json", "y.dat"}, "--export und --import nicht zusammen angeben."},
      {{"--export", "x.json", "marked.dat", "y.dat"}, "Nur eine JSON-Datei und eine Netzdatei angeben."},
      {{"--export", "", "marked.dat"}, "Der Name der Netzdatei oder der JSON-Datei ist leer."},
  };
  for (const auto& [args, why] : refused) {
    const TResult r = Run(args);
    EXPECT_EQ(r.code, 2) << args.back();
    EXPECT_HAS(r.err, why);
  }
  EXPECT_EQ(ReadAll(dir / "mine.json") + ReadAll(dir / "marked.dat"), "mine" + marked);
  EXPECT_FALSE(fs::exists(dir / "x.json") || fs::exists(dir / "y.dat") || fs::exists(dir / "nowhere.dat"));

  {
    TPopulationLock lock;
    ASSERT_TRUE(lock.Acquire((dir / "held.dat").c_str()));
    const TResult r = Run({"--import", "good.json", "held.dat"});
    EXPECT_EQ(r.code, 2);
    EXPECT_HAS(r.err, "Kann Datei 'held.dat' nicht schreiben: Prozess " + std::to_string(getpid()) +
                          " arbeitet schon daran");
    EXPECT_FALSE(fs::exists(dir / "held.dat"));
  }

  // An input wired straight to an output skips the hidden layers: the layered form has no place for it.
  THeadlessHost host;
  auto world = MakeZarnikWorld(&host);
  world->bestIndividual.setWeight(0, 17, 5);
  ASSERT_TRUE(world->DoSaveANN((dir / "skipping.dat").c_str()));
  const TResult r = Run({"--export", "skip.json", "skipping.dat"});
  EXPECT_EQ(r.code, 2);
  EXPECT_HAS(r.err, "Kann das beste Netz aus 'skipping.dat' nicht ausgeben: es hat Verbindungen, die eine Schicht "
                    "überspringen oder zurückführen");
  EXPECT_FALSE(fs::exists(dir / "skip.json"));
  for (const auto& e : fs::directory_iterator(dir.Dir))  // no temporary or lock file left
    EXPECT_TRUE(e.path().string().find(".tmp") == std::string::npos && e.path().extension() != ".lock") << e.path();
}
}  // namespace
