// The README's "Headless training" as written, loaded in the window; --evaluate on it is the window's own pass.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include "main_window/zarnik_window.h"
#include "random.h"
#include "watching/fitness_chart.h"
#include "widgets/message_box.h"
#include "world.h"

class ReadmeHeadlessTest : public QObject {
  Q_OBJECT
  static QByteArray Train(const QStringList& args) {
    QProcess train;
    train.start(QStringLiteral(ZARNIK_TRAIN_EXE), args);
    if (!train.waitForFinished(300000) || train.exitCode() != 0) return "zarnik-train failed";
    return train.readAllStandardOutput();
  }

 private slots:
  void asWritten() {
    QFile readme(QStringLiteral(ZARNIK_README));
    QVERIFY(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll());
    const QString section = text.section(QStringLiteral("## Headless training"), 1).section(QStringLiteral("\n## "), 0, 0);
    const auto command = QRegularExpression(QStringLiteral("\n    zarnik-train ([^\n]*)\n")).match(section);
    QVERIFY2(command.hasMatch(), "no indented zarnik-train command in the section");
    const QStringList args = command.captured(1).split(' ', Qt::SkipEmptyParts);
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
    TWorld& w = *window.AnnGaWorld;
    QCOMPARE(w.Generations, generations);
    window.Dispatch(CM_FITCHART);
    QVERIFY(window.FitnessChart != nullptr && window.FitnessChart->isVisible());
    QCOMPARE(window.FitnessChart->Received(TFitnessChartWindow::Best2), size_t(generations));  // zarnik.csv
    // --evaluate: one row per individual, "index,fitness,takes,deliveries", as the window's pass.
    const QStringList rows = QString::fromUtf8(Train({"--evaluate", "--seed", "4", "--threads", "2", "zarnik.dat"}))
                                 .split('\n', Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), TWorld::Individuals + 2);
    population.seek(0);
    QVERIFY2(population.readAll() == trained, "--evaluate changed the file");
    UseFixedRandomSeed(4);
    window.Train2AN = true;  // as during F2: no ball question
    SeedRandomAtGeneration(w.Generations);
    w.calcFitness2();
    window.Train2AN = false;
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
