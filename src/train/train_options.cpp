#include "train/train_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <thread>

namespace {

int UsageError(const QString& text) {
  std::fprintf(stderr, "zarnik-train: %s\n", qPrintable(text));
  return 2;
}

// The options of zarnik-train, as --help lists them.
struct TTrainCommandLine {
  TTrainCommandLine() { member.setFlags(QCommandLineOption::HiddenFromHelp); }

  const QCommandLineOption mode{QStringLiteral("mode"), QCoreApplication::translate("zarnik-train", "Trainingsart 1 oder 2 (Vorgabe 2)."),
                                QStringLiteral("1|2"), QStringLiteral("2")};
  const QCommandLineOption generations{
      QStringLiteral("generations"),
      QCoreApplication::translate("zarnik-train", "So viele Generationen zu denen der Datei hinzu trainieren (nur ein einzelner Lauf)."),
      QStringLiteral("N")};
  const QCommandLineOption untilGeneration{
      QStringLiteral("until-generation"),
      QCoreApplication::translate("zarnik-train", "Bis die Datei G Generationen hat; mit --runs: bis jeder Platz G Generationen trainiert hat "
                     "(ein neu gestarteter Lauf zählt in seinem Platz weiter). Derselbe Aufruf setzt fort."),
      QStringLiteral("G")};
  const QCommandLineOption minutes{QStringLiteral("minutes"), QCoreApplication::translate("zarnik-train", "So viele Minuten trainieren."),
                                   QStringLiteral("M")};
  const QCommandLineOption untilDeliveries{
      QStringLiteral("until-deliveries"),
      QCoreApplication::translate("zarnik-train", "Mit --runs: Ziel, die Läufe enden, sobald der Beste eines Laufs im Mittel aller 100 Episoden "
                     "so oft je Episode ablegt (z. B. 3)."),
      QStringLiteral("X")};
  const QCommandLineOption noRestart{QStringLiteral("no-restart"),
                                     QCoreApplication::translate("zarnik-train", "Mit --runs: Läufe nie neu starten (ohne Neustartregel).")};
  const QCommandLineOption strategy{
      QStringLiteral("strategy"),
      QCoreApplication::translate("zarnik-train", "Mit --runs: wie ein Lauf ohne Fortschritt ersetzt wird: restart (Vorgabe) beginnt neu, "
                                  "exploit setzt seinen Platz mit einer Kopie des besten Laufs unter neuem Startwert fort."),
      QStringLiteral("restart|exploit"), QStringLiteral("restart")};
  const QCommandLineOption place{
      QStringLiteral("place"),
      QCoreApplication::translate("zarnik-train", "Mit --runs N: nur Platz K des Satzes (0 bis N-1), als Aufgabe eines Job-Arrays; die Plätze "
                                  "sehen einander nur über die Dateien in FILE.runs/, die Regel und das Ziel sind die von --runs."),
      QStringLiteral("K")};
  const QCommandLineOption collect{
      QStringLiteral("collect"),
      QCoreApplication::translate("zarnik-train", "Mit --runs N: einen Satz aus Plätzen (--place) abschließen: Rangliste, Gewinner nach FILE, "
                                  "Zusammenfassung in FILE.runs/summary.txt.")};
  const QCommandLineOption progress{QStringLiteral("progress"),
                                    QCoreApplication::translate("zarnik-train", "Mit --runs: eine Zeile je Ereignis auf stdout, für Programme.")};
  QCommandLineOption member{QStringLiteral("member"), QCoreApplication::translate("zarnik-train", "Lauf einer Menge (intern).")};
  const QCommandLineOption threads{QStringLiteral("threads"),
                                   QCoreApplication::translate("zarnik-train", "Threads für Training 2 (Vorgabe: alle Kerne)."), QStringLiteral("T")};
  const QCommandLineOption seed{QStringLiteral("seed"), QCoreApplication::translate("zarnik-train", "Fester Startwert statt der Uhr."),
                                QStringLiteral("S")};
  const QCommandLineOption quiet{QStringLiteral("quiet"), QCoreApplication::translate("zarnik-train", "Keine Fortschrittsanzeige.")};
  const QCommandLineOption checkpoint{QStringLiteral("checkpoint"),
                                      QCoreApplication::translate("zarnik-train", "Alle K Generationen speichern."), QStringLiteral("K")};
  const QCommandLineOption log{QStringLiteral("log"),
                               QCoreApplication::translate("zarnik-train", "Fitnessverlauf auch hier anhängen (er steht immer neben der Netzdatei)."),
                               QStringLiteral("FILE.csv")};
  const QCommandLineOption evaluate{QStringLiteral("evaluate"),
                                    QCoreApplication::translate("zarnik-train", "Population nur bewerten, nichts speichern.") + ' ' +
                                        QCoreApplication::translate("zarnik-train", "Ohne --seed zieht Training 2 seine Episoden von der "
                                                                    "Uhr: die Werte wechseln von Aufruf zu Aufruf; mit --seed S wiederholen sie sich.")};
  const QCommandLineOption runs{
      QStringLiteral("runs"),
      QCoreApplication::translate("zarnik-train", "N Läufe gleichzeitig (Lauf k: Startwert S+k, STEM.runs/run-<k>.dat); alle 100 Generationen spielt "
                     "der Beste jedes Laufs alle 100 Episoden, sein bestes Netz bleibt in STEM.runs/run-<k>-best.dat; "
                     "ein Lauf ohne Fortschritt wird durch einen neuen ersetzt; das beste Netz kommt nach FILE (ein "
                     "vorhandenes FILE bleibt als FILE.~n~.dat)."),
      QStringLiteral("N")};
  const QCommandLineOption rank{QStringLiteral("rank"),
                                QCoreApplication::translate("zarnik-train", "Vorhandene Netzdateien vergleichen: Ablagen des Besten in allen "
                                               "100 Episoden, dann seine Fitness.")};
  const QCommandLineOption run{QStringLiteral("run"),
                               QCoreApplication::translate("zarnik-train", "Nur Lauf K davon: Startwert S+K, STEM.runs/run-<K>.dat (für Job-Arrays)."),
                               QStringLiteral("K")};
  const QCommandLineOption exportJson{
      QStringLiteral("export"),
      QCoreApplication::translate("zarnik-train", "Das beste Netz der Netzdatei als JSON nach FILE.json schreiben (Schichten, Gewichte, "
                     "Grenzen, Bedeutung der Ein- und Ausgänge); tools/zarnik_network.py rechnet damit."),
      QStringLiteral("FILE.json")};
  const QCommandLineOption importJson{
      QStringLiteral("import"),
      QCoreApplication::translate("zarnik-train", "Aus FILE.json eine neue Netzdatei machen: alle 100 Netze und das beste sind dieses Netz."),
      QStringLiteral("FILE.json")};
  const QCommandLineOption plot{
      QStringLiteral("plot"),
      QCoreApplication::translate("zarnik-train", "Mit --runs: am Ende das Bild aller Läufe (geprüfte Ablagen je Episode über die "
                                                  "Generationen, Neustarts, Ziel, Median) als PNG oder SVG schreiben."),
      QStringLiteral("FILE.png|FILE.svg")};
  const QCommandLineOption path{
      QStringLiteral("path"),
      QCoreApplication::translate("zarnik-train", "Den Lernweg FILE.path auflisten: die bisher besten Netze eines Laufs (je Prüfung, bei der "
                                  "der Beste in allen 100 Episoden mehr ablegte). --rank und --evaluate nehmen einen Eintrag "
                                  "als FILE.path@GENERATION."),
      QStringLiteral("FILE.path")};
  const QCommandLineOption compare{
      QStringLiteral("compare"),
      QCoreApplication::translate("zarnik-train", "Zwei Einträge von Lernwegen (FILE.path@GENERATION) vergleichen: Aufnahmen und "
                                  "Ablagen beider Netze in jeder der 100 Episoden, verschiedene markiert, und die Summen.")};
};

// Reads a command line into TTrainOptions, one group of options after the
// other; each step returns GoOn or the exit status.
class TTrainOptionReader : TTrainCommandLine {
 public:
  static constexpr int GoOn = -1;
  explicit TTrainOptionReader(TTrainOptions& options) : o(options) {}

  int Read(int argc, char** argv) {
    p.setApplicationDescription(QCoreApplication::translate("zarnik-train", "Trainiert die Netze von Zarnik32 ohne Fenster."));
    p.addHelpOption();
    p.addVersionOption();
    p.addOptions({mode, generations, untilGeneration, minutes, threads, seed, quiet, checkpoint, log, evaluate, runs,
                  run, untilDeliveries, noRestart, strategy, place, collect, progress, member, rank, exportJson, importJson, plot, path, compare});
    p.addPositionalArgument(QStringLiteral("FILE"),
                            QCoreApplication::translate("zarnik-train", "Netzdatei (Vorgabe zarnik.dat); mit --rank mehrere."));
    if (const int status = ParseArguments(argc, argv); status != GoOn) return status;
    const QStringList files = p.positionalArguments();
    if (const int status = ReadOtherTasks(files); status != Unasked) return status;
    for (const auto step : {&TTrainOptionReader::ReadTraining, &TTrainOptionReader::ReadSet,
                            &TTrainOptionReader::CheckCombinations})
      if (const int status = (this->*step)(files); status != GoOn) return status;
    return GoOn;
  }

 private:
  static constexpr int Done = GoOn;      // a task of its own was read whole
  static constexpr int Unasked = -1000;  // none of those tasks was asked for

  // File names are bytes, used as given: a name that is not valid in the
  // locale's encoding would not survive a round trip through Unicode. Latin-1
  // maps every byte to one character and back, and leaves the options, which
  // are ASCII, as they are.
  static std::string Bytes(const QString& carried) { return carried.toLatin1().toStdString(); }
  bool OfASet() const { return p.isSet(runs) || p.isSet(run); }

  int ParseArguments(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLatin1(argv[i]);
    if (!p.parse(args)) {
      std::fprintf(stderr, "zarnik-train: %s\n", p.errorText().toLatin1().constData());
      return 2;
    }
    if (p.isSet(QStringLiteral("help"))) {
      std::fputs(qPrintable(p.helpText()), stdout);
      return 0;
    }
    if (p.isSet(QStringLiteral("version"))) {
      std::printf("zarnik-train %s\n", qPrintable(QCoreApplication::applicationVersion()));
      return 0;
    }
    return GoOn;
  }

  // --path, --compare, --export/--import and --rank stand alone.
  int ReadOtherTasks(const QStringList& files) {
    if (p.isSet(compare)) {
      if (p.optionNames().size() != 1 || files.size() != 2)
        return UsageError(QCoreApplication::translate("zarnik-train", "--compare nimmt genau zwei Einträge FILE.path@GENERATION und "
                                                      "keine weiteren Optionen."));
      for (const QString& f : files) o.compareEntries.push_back(Bytes(f));
      return Done;
    }
    if (p.isSet(path)) {
      if (p.optionNames().size() != 1 || p.values(path).size() != 1 || !files.isEmpty())
        return UsageError(QCoreApplication::translate("zarnik-train", "--path nimmt genau eine Datei und keine weiteren Optionen."));
      o.pathList = Bytes(p.value(path));
      if (o.pathList.empty()) return UsageError(QCoreApplication::translate("zarnik-train", "Der Name des Lernwegs ist leer."));
      return Done;
    }
    if (p.isSet(exportJson) || p.isSet(importJson)) {
      // Nothing else is done with them: every other option would be ignored.
      for (const QString& name : p.optionNames())
        if (name != QLatin1String("export") && name != QLatin1String("import"))
          return UsageError(QCoreApplication::translate("zarnik-train", "--export und --import gehen nur ohne weitere Optionen."));
      if (p.isSet(exportJson) && p.isSet(importJson))
        return UsageError(QCoreApplication::translate("zarnik-train", "--export und --import nicht zusammen angeben."));
      if (p.values(exportJson).size() + p.values(importJson).size() > 1 || files.size() > 1)
        return UsageError(QCoreApplication::translate("zarnik-train", "Nur eine JSON-Datei und eine Netzdatei angeben."));
      if (files.size() == 1) o.file = Bytes(files[0]);
      o.exportJson = Bytes(p.value(exportJson));
      o.importJson = Bytes(p.value(importJson));
      if (o.file.empty() || (o.exportJson.empty() && o.importJson.empty()))
        return UsageError(QCoreApplication::translate("zarnik-train", "Der Name der Netzdatei oder der JSON-Datei ist leer."));
      return Done;
    }
    if (p.isSet(rank)) {
      if (files.isEmpty()) return UsageError(QCoreApplication::translate("zarnik-train", "--rank braucht mindestens eine Netzdatei."));
      for (const QString& f : files) o.rankFiles.push_back(Bytes(f));
      return Done;
    }
    return Unasked;
  }

  // The file and how it is trained.
  int ReadTraining(const QStringList& files) {
    bool ok = false;
    if (files.size() > 1) return UsageError(QCoreApplication::translate("zarnik-train", "Nur eine Netzdatei angeben."));
    if (files.size() == 1) o.file = Bytes(files[0]);
    if (o.file.empty()) return UsageError(QCoreApplication::translate("zarnik-train", "Der Name der Netzdatei ist leer."));

    o.mode = p.value(mode).toInt(&ok);
    if (!ok || (o.mode != 1 && o.mode != 2)) return UsageError(QCoreApplication::translate("zarnik-train", "--mode muss 1 oder 2 sein."));
    if (p.isSet(generations)) {
      const long long n = p.value(generations).toLongLong(&ok);
      if (!ok || n < 0) return UsageError(QCoreApplication::translate("zarnik-train", "--generations braucht eine Zahl ab 0."));
      o.generations = n;
    }
    if (p.isSet(untilGeneration)) {
      const long long g = p.value(untilGeneration).toLongLong(&ok);
      if (!ok || g < 0 || g > 2147483647)
        return UsageError(QCoreApplication::translate("zarnik-train", "--until-generation braucht eine Zahl von 0 bis 2147483647."));
      if (o.generations) return UsageError(QCoreApplication::translate("zarnik-train", "--generations und --until-generation nicht zusammen angeben."));
      o.untilGeneration = g;
    }
    if (p.isSet(untilDeliveries)) {
      const double x = p.value(untilDeliveries).toDouble(&ok);
      if (!ok || !(x >= 0) || x > 1e6) return UsageError(QCoreApplication::translate("zarnik-train", "--until-deliveries braucht eine Zahl ab 0."));
      o.untilDeliveries = x;
    }
    o.noRestart = p.isSet(noRestart);
    o.progress = p.isSet(progress);
    if (!ParseSetStrategy(p.value(strategy).toLatin1().constData(), o.strategy))
      return UsageError(QCoreApplication::translate("zarnik-train", "--strategy braucht exploit oder restart."));
    o.member = p.isSet(member);
    if (p.isSet(minutes)) {
      const double m = p.value(minutes).toDouble(&ok);
      // Bounded, so the time left stays a number: 10^8 minutes are 190 years.
      if (!ok || !(m >= 0) || m > 1e8) return UsageError(QCoreApplication::translate("zarnik-train", "--minutes braucht eine Zahl ab 0."));
      o.minutes = m;
    }
    o.threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (p.isSet(threads)) {
      o.threads = p.value(threads).toInt(&ok);
      if (!ok || o.threads < 1 || o.threads > 256)
        return UsageError(QCoreApplication::translate("zarnik-train", "--threads braucht eine Zahl von 1 bis 256."));
    }
    if (p.isSet(seed)) {
      const qulonglong s = p.value(seed).toULongLong(&ok);
      if (!ok) return UsageError(QCoreApplication::translate("zarnik-train", "--seed braucht eine Zahl ab 0."));
      o.seed = s;
    }
    if (p.isSet(checkpoint)) {
      o.checkpoint = p.value(checkpoint).toInt(&ok);
      if (!ok || o.checkpoint < 1) return UsageError(QCoreApplication::translate("zarnik-train", "--checkpoint braucht eine Zahl ab 1."));
    }
    o.quiet = p.isSet(quiet);
    if (p.isSet(log)) {
      o.log = Bytes(p.value(log));
      if (o.log.empty()) return UsageError(QCoreApplication::translate("zarnik-train", "--log braucht einen Dateinamen."));
    }
    o.evaluate = p.isSet(evaluate);
    return GoOn;
  }

  // --runs, --run and a set's places.
  int ReadSet(const QStringList&) {
    bool ok = false;
    if (p.isSet(runs) && p.isSet(run)) return UsageError(QCoreApplication::translate("zarnik-train", "--runs und --run nicht zusammen angeben."));
    if (p.isSet(runs)) {
      o.runs = p.value(runs).toInt(&ok);
      if (!ok || o.runs < 1 || o.runs > 1000)
        return UsageError(QCoreApplication::translate("zarnik-train", "--runs braucht eine Zahl von 1 bis 1000."));
    }
    if (p.isSet(run)) {
      o.run = p.value(run).toInt(&ok);
      if (!ok || o.run < 0) return UsageError(QCoreApplication::translate("zarnik-train", "--run braucht eine Zahl ab 0."));
    }
    // Run k trains with seed S+k: none of them may wrap around to 0 (a restarted
    // run's seed is checked when it would start).
    if (o.seed && OfASet()) {
      const uint64_t lastRun = p.isSet(runs) ? static_cast<uint64_t>(o.runs - 1) : static_cast<uint64_t>(o.run);
      if (*o.seed > UINT64_MAX - lastRun)
        return UsageError(QCoreApplication::translate("zarnik-train", "--seed %1: der Startwert %1 + %2 ginge über 18446744073709551615 hinaus.")
                              .arg(*o.seed)
                              .arg(lastRun));
    }
    if (OfASet() && o.generations)
      return UsageError(QCoreApplication::translate("zarnik-train", "--runs und --run zählen bis zu einer Generation: --until-generation G statt "
                                       "--generations N."));
    o.collect = p.isSet(collect);
    if (p.isSet(place)) {
      o.place = p.value(place).toInt(&ok);
      if (!ok || !p.isSet(runs) || o.place < 0 || o.place >= o.runs)
        return UsageError(QCoreApplication::translate("zarnik-train", "--place braucht --runs N und eine Zahl von 0 bis N-1."));
      if (!o.seed) return UsageError(QCoreApplication::translate("zarnik-train", "--place braucht --seed: alle Plätze eines Satzes denselben."));
      if (o.strategy != TSetStrategy::Restart || o.collect)
        return UsageError(QCoreApplication::translate("zarnik-train", "--place geht nur mit der Strategie restart und ohne --collect."));
    }
    return GoOn;
  }

  // Options that do not go together.
  int CheckCombinations(const QStringList&) {
    if (o.collect && !p.isSet(runs)) return UsageError(QCoreApplication::translate("zarnik-train", "--collect braucht --runs N."));
    if (p.isSet(runs) && !o.collect && !o.untilGeneration && !o.minutes && !o.untilDeliveries)
      return UsageError(QCoreApplication::translate("zarnik-train", "--runs braucht --until-generation, --minutes oder --until-deliveries."));
    if (p.isSet(run) && !o.seed) return UsageError(QCoreApplication::translate("zarnik-train", "--run braucht --seed."));
    if (OfASet() && (o.mode != 2 || o.evaluate || !o.log.empty()))
      return UsageError(QCoreApplication::translate("zarnik-train", "--runs und --run gehen nur mit Training 2, ohne --evaluate und --log."));
    if (!OfASet() && o.untilDeliveries)
      return UsageError(QCoreApplication::translate("zarnik-train", "--until-deliveries geht nur mit --runs oder --run."));
    if (!p.isSet(runs) && (o.noRestart || o.progress))
      return UsageError(QCoreApplication::translate("zarnik-train", "--no-restart und --progress gehen nur mit --runs."));
    if (!p.isSet(runs) && p.isSet(strategy))
      return UsageError(QCoreApplication::translate("zarnik-train", "--strategy geht nur mit --runs."));
    if (p.isSet(plot)) {
      if (!p.isSet(runs)) return UsageError(QCoreApplication::translate("zarnik-train", "--plot geht nur mit --runs."));
      if (p.isSet(place) || p.isSet(collect))
        return UsageError(QCoreApplication::translate("zarnik-train", "--plot geht nicht mit --place oder --collect."));
      o.plot = Bytes(p.value(plot));
      const QString suffix = QFileInfo(p.value(plot)).suffix().toLower();
      if (suffix != QLatin1String("png") && suffix != QLatin1String("svg"))
        return UsageError(QCoreApplication::translate("zarnik-train", "--plot braucht einen Dateinamen auf .png oder .svg."));
    }
    if (o.member && !p.isSet(run)) return UsageError(QCoreApplication::translate("zarnik-train", "--member geht nur mit --run."));
    if (o.untilGeneration && o.mode != 2)
      return UsageError(QCoreApplication::translate("zarnik-train", "--until-generation geht nur mit Training 2 (Training 1 zählt keine Generationen)."));
    return GoOn;
  }

  QCommandLineParser p;
  TTrainOptions& o;
};

}  // namespace

int ParseTrainOptions(TTrainOptions& o, int argc, char** argv) { return TTrainOptionReader(o).Read(argc, argv); }

bool AsksForPicture(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "--") return false;
    if (a == "--plot" || a.starts_with("--plot=")) return true;
  }
  return false;
}
