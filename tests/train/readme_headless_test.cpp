// The README's commands as written: both programs installed the way run.sh
// installs them, then called by name from the PATH in a fresh directory; the
// trained file loaded in the window; --evaluate on it is the window's own pass.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include "../gui/gui_test_support.h"
#include "main_window/zarnik_window.h"
#include "ann-ga/random.h"
#include "watching/fitness_chart.h"
#include "widgets/message_box.h"
#include "ann-ga/world.h"

class ReadmeHeadlessTest : public QObject {
  Q_OBJECT
  QTemporaryDir Prefix;  // stands for ~/.local
  QString Path;          // the PATH with Prefix/bin in front

  // Runs `program` by name, as a shell would find it on Path.
  QByteArray Run(const QString& program, const QStringList& args) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PATH"), Path);
    process.setProcessEnvironment(env);
    const QString found = QStandardPaths::findExecutable(program, Path.split(':'));
    if (found.isEmpty()) return program.toUtf8() + ": command not found";
    process.start(found, args);
    if (!EndsWhileProgressing(process)) return program.toUtf8() + " failed";
    return process.readAllStandardOutput();
  }
  QByteArray Train(const QStringList& args) { return Run(QStringLiteral("zarnik-train"), args); }

  // The indented command lines of README section `title` that start with `program`.
  static QStringList Commands(const QString& title, const QString& program) {
    QFile readme(QStringLiteral(ZARNIK_README));
    if (!readme.open(QIODevice::ReadOnly)) return {};
    const QString section = QString::fromUtf8(readme.readAll()).section("## " + title + '\n', 1).section("\n## ", 0, 0);
    QStringList lines;
    auto it = QRegularExpression("\n    (" + program + "(?: [^\n]*)?)(?=\n)").globalMatch(section);
    while (it.hasNext()) lines << it.next().captured(1);
    return lines;
  }

 private slots:
  void initTestCase() {
    // run.sh's install, into a prefix of the test's own.
    QProcess install;
    install.start(QStringLiteral(ZARNIK_CMAKE), {"--install", ZARNIK_BUILD_DIR, "--prefix", Prefix.path()});
    QVERIFY(install.waitForFinished(120000) && install.exitCode() == 0);
    for (const char* program : {"zarnik", "zarnik-train"})
      QVERIFY2(QFileInfo(Prefix.filePath(QStringLiteral("bin/") + program)).isExecutable(), program);
    Path = Prefix.filePath(QStringLiteral("bin")) + ':' + qEnvironmentVariable("PATH");
  }

  // The Run section promises both programs as commands right after run.sh,
  // with the same example as Headless training.
  void runSectionNamesBothPrograms() {
    QCOMPARE(Commands(QStringLiteral("Run"), QStringLiteral("bash")), QStringList{"bash scripts/run.sh"});
    QCOMPARE(Commands(QStringLiteral("Run"), QStringLiteral("zarnik")), QStringList{"zarnik"});
    const QStringList trainRun = Commands(QStringLiteral("Run"), QStringLiteral("zarnik-train"));
    QCOMPARE(trainRun.size(), 1);
    QCOMPARE(trainRun, Commands(QStringLiteral("Headless training"), QStringLiteral("zarnik-train")).mid(0, 1));
    QCOMPARE(QStandardPaths::findExecutable(QStringLiteral("zarnik"), Path.split(':')),
             Prefix.filePath(QStringLiteral("bin/zarnik")));
  }

  void asWritten() {
    const QStringList commands = Commands(QStringLiteral("Headless training"), QStringLiteral("zarnik-train"));
    QVERIFY2(!commands.isEmpty(), "no indented zarnik-train command in the section");
    const QStringList args = commands[0].split(' ', Qt::SkipEmptyParts).mid(1);
    const int generations = args.value(args.indexOf("--generations") + 1).toInt();
    QVERIFY2(generations > 0 && generations <= 100, "the example should finish in seconds");
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    QCOMPARE(Train(args), QByteArray());
    QFile population(QStringLiteral("zarnik.dat"));
    QVERIFY(population.open(QIODevice::ReadOnly));
    const QByteArray trained = population.readAll();
    QCOMPARE(trained.size(), 199620);
    TZarnikWindow window;
    window.SetupWindow();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.Dispatch(CM_LOADDATA);
    QCOMPARE(MessageBoxHook().Shown, 0);
    TWorld& w = *window.Population();
    QCOMPARE(w.Generations, generations);
    window.Dispatch(CM_FITCHART);
    QVERIFY(window.Watch().FitnessChart != nullptr && window.Watch().FitnessChart->isVisible());
    QCOMPARE(window.Watch().FitnessChart->Received(TFitnessChartWindow::Best2), size_t(generations));  // zarnik.csv
    // --evaluate: one row per individual, "index,fitness,takes,deliveries", as the window's pass.
    const QStringList rows = QString::fromUtf8(Train({"--evaluate", "--seed", "4", "--threads", "2", "zarnik.dat"}))
                                 .split('\n', Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), TWorld::Individuals + 2);
    population.seek(0);
    QVERIFY2(population.readAll() == trained, "--evaluate changed the file");
    UseFixedRandomSeed(4);
    TZarnikWindowProbe(window).StageRun(CM_TRAIN2AN);  // as during F2: no ball question
    SeedRandomAtGeneration(w.Generations);
    w.calcFitness2();
    TZarnikWindowProbe(window).StageRun(0);
    UseClockRandomSeed();
    QCOMPARE(rows[0], QStringLiteral("index,fitness,takes,deliveries"));
    const auto row = [](const TChromosom& c) {
      const TBallCounts n = c.getBallCounts();
      return QStringLiteral("%1,%2,%3").arg(c.getFitness()).arg(n.takes).arg(n.deliveries);
    };
    long long takes = 0;
    for (int i = 0; i < TWorld::Individuals; takes += w.Population[i++].getBallCounts().takes)
      QCOMPARE(rows[i + 1], QString::number(i) + ',' + row(w.Population[i]));
    QVERIFY2(takes > 0, "a pass in which nobody takes the ball compares only zeros");
    QCOMPARE(rows.last(), QStringLiteral("best,%1,").arg(w.bestIndividualIdx) + row(w.bestIndividual));
    QCOMPARE(w.bestIndividual.getFitness(), w.bestFitness);
  }
};

QTEST_MAIN(ReadmeHeadlessTest)
#include "readme_headless_test.moc"
