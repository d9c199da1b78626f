#include "train_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <thread>

namespace {

int UsageError(const QString& text) {
  std::fprintf(stderr, "zarnik-train: %s\n", qPrintable(text));
  return 2;
}

}  // namespace

int ParseTrainOptions(TTrainOptions& o, int argc, char** argv) {
  QCommandLineParser p;
  p.setApplicationDescription(QStringLiteral("Trainiert die Netze von Zarnik32 ohne Fenster."));
  p.addHelpOption();
  p.addVersionOption();
  const QCommandLineOption mode(QStringLiteral("mode"), QStringLiteral("Trainingsart 1 oder 2 (Vorgabe 2)."),
                                QStringLiteral("1|2"), QStringLiteral("2"));
  const QCommandLineOption generations(QStringLiteral("generations"),
                                       QStringLiteral("So viele Generationen hinzu trainieren."), QStringLiteral("N"));
  const QCommandLineOption minutes(QStringLiteral("minutes"), QStringLiteral("So viele Minuten trainieren."),
                                   QStringLiteral("M"));
  const QCommandLineOption threads(QStringLiteral("threads"),
                                   QStringLiteral("Threads für Training 2 (Vorgabe: alle Kerne)."), QStringLiteral("T"));
  const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Fester Startwert statt der Uhr."),
                                QStringLiteral("S"));
  const QCommandLineOption quiet(QStringLiteral("quiet"), QStringLiteral("Keine Fortschrittsanzeige."));
  const QCommandLineOption checkpoint(QStringLiteral("checkpoint"),
                                      QStringLiteral("Alle K Generationen speichern."), QStringLiteral("K"));
  const QCommandLineOption log(QStringLiteral("log"),
                               QStringLiteral("Fitnessverlauf auch hier anhängen (er steht immer neben der Netzdatei)."),
                               QStringLiteral("FILE.csv"));
  const QCommandLineOption evaluate(QStringLiteral("evaluate"),
                                    QStringLiteral("Population nur bewerten, nichts speichern."));
  const QCommandLineOption runs(QStringLiteral("runs"),
                                QStringLiteral("N unabhängige Läufe (Startwerte S bis S+N-1) in FILE-<k>.dat, "
                                               "der beste wird nach FILE kopiert."),
                                QStringLiteral("N"));
  const QCommandLineOption rank(QStringLiteral("rank"),
                                QStringLiteral("Vorhandene Netzdateien vergleichen: Ablagen, dann Fitness "
                                               "des Besten."));
  const QCommandLineOption run(QStringLiteral("run"),
                               QStringLiteral("Nur Lauf K davon: Startwert S+K, FILE-<K>.dat, bis Generation G "
                                              "(für Job-Arrays)."),
                               QStringLiteral("K"));
  p.addOptions({mode, generations, minutes, threads, seed, quiet, checkpoint, log, evaluate, runs, run, rank});
  p.addPositionalArgument(QStringLiteral("FILE"),
                          QStringLiteral("Netzdatei (Vorgabe zarnik.dat); mit --rank mehrere."));

  // File names are bytes, used as given: a name that is not valid in the
  // locale's encoding would not survive a round trip through Unicode. Latin-1
  // maps every byte to one character and back, and leaves the options, which
  // are ASCII, as they are.
  QStringList args;
  for (int i = 0; i < argc; ++i) args << QString::fromLatin1(argv[i]);
  const auto bytes = [](const QString& carried) { return carried.toLatin1().toStdString(); };
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
  const QStringList files = p.positionalArguments();
  if (p.isSet(rank)) {
    if (files.isEmpty()) return UsageError(QStringLiteral("--rank braucht mindestens eine Netzdatei."));
    for (const QString& f : files) o.rankFiles.push_back(bytes(f));
    return -1;
  }
  if (files.size() > 1) return UsageError(QStringLiteral("Nur eine Netzdatei angeben."));
  if (files.size() == 1) o.file = bytes(files[0]);
  if (o.file.empty()) return UsageError(QStringLiteral("Der Name der Netzdatei ist leer."));

  bool ok = false;
  o.mode = p.value(mode).toInt(&ok);
  if (!ok || (o.mode != 1 && o.mode != 2)) return UsageError(QStringLiteral("--mode muss 1 oder 2 sein."));
  if (p.isSet(generations)) {
    const long long n = p.value(generations).toLongLong(&ok);
    if (!ok || n < 0) return UsageError(QStringLiteral("--generations braucht eine Zahl ab 0."));
    o.generations = n;
  }
  if (p.isSet(minutes)) {
    const double m = p.value(minutes).toDouble(&ok);
    if (!ok || !(m >= 0)) return UsageError(QStringLiteral("--minutes braucht eine Zahl ab 0."));
    o.minutes = m;
  }
  o.threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  if (p.isSet(threads)) {
    o.threads = p.value(threads).toInt(&ok);
    if (!ok || o.threads < 1 || o.threads > 256)
      return UsageError(QStringLiteral("--threads braucht eine Zahl von 1 bis 256."));
  }
  if (p.isSet(seed)) {
    const qulonglong s = p.value(seed).toULongLong(&ok);
    if (!ok) return UsageError(QStringLiteral("--seed braucht eine Zahl ab 0."));
    o.seed = s;
  }
  if (p.isSet(checkpoint)) {
    o.checkpoint = p.value(checkpoint).toInt(&ok);
    if (!ok || o.checkpoint < 1) return UsageError(QStringLiteral("--checkpoint braucht eine Zahl ab 1."));
  }
  o.quiet = p.isSet(quiet);
  if (p.isSet(log)) {
    o.log = bytes(p.value(log));
    if (o.log.empty()) return UsageError(QStringLiteral("--log braucht einen Dateinamen."));
  }
  o.evaluate = p.isSet(evaluate);
  if (p.isSet(runs)) {
    o.runs = p.value(runs).toInt(&ok);
    if (!ok || o.runs < 1 || o.runs > 1000)
      return UsageError(QStringLiteral("--runs braucht eine Zahl von 1 bis 1000."));
    if (!o.generations) return UsageError(QStringLiteral("--runs braucht --generations."));
  }
  if (p.isSet(run)) {
    o.run = p.value(run).toInt(&ok);
    if (!ok || o.run < 0) return UsageError(QStringLiteral("--run braucht eine Zahl ab 0."));
    if (!o.generations || !o.seed) return UsageError(QStringLiteral("--run braucht --generations und --seed."));
  }
  // Run k trains with seed S+k: none of them may wrap around to 0.
  const uint64_t lastRun = o.runs > 0 ? static_cast<uint64_t>(o.runs - 1) : o.run > 0 ? static_cast<uint64_t>(o.run) : 0;
  if (o.seed && *o.seed > UINT64_MAX - lastRun)
    return UsageError(QStringLiteral("--seed %1: der Startwert %1 + %2 ginge über 18446744073709551615 hinaus.")
                          .arg(*o.seed)
                          .arg(lastRun));
  if ((o.runs > 0 || o.run >= 0) && (o.runs > 0) == (o.run >= 0))
    return UsageError(QStringLiteral("--runs und --run nicht zusammen angeben."));
  if ((o.runs > 0 || o.run >= 0) && (o.mode != 2 || o.evaluate || o.minutes || !o.log.empty()))
    return UsageError(
        QStringLiteral("--runs und --run gehen nur mit Training 2, ohne --evaluate, --minutes und --log."));
  return -1;
}
