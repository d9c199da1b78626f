// --evaluate gives the window's own measure: same file, same seed, the window's training-2 pass.
#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "random.h"
#include "world.h"
#include "main_window/zarnik_window.h"

class EvaluateWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void evaluateAgreesWithTheWindow() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("zarnik.dat"));
    QProcess train;
    train.start(QStringLiteral(ZARNIK_TRAIN_EXE), {"--generations", "2", "--seed", "4", "--quiet", file});
    QVERIFY(train.waitForFinished(120000));
    QCOMPARE(train.exitCode(), 0);
    QFile population(file);
    QVERIFY(population.open(QIODevice::ReadOnly));
    const QByteArray before = population.readAll();
    train.start(QStringLiteral(ZARNIK_TRAIN_EXE), {"--evaluate", "--seed", "4", "--threads", "2", file});
    QVERIFY(train.waitForFinished(120000));
    QCOMPARE(train.exitCode(), 0);
    const QStringList rows = QString::fromUtf8(train.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), TWorld::Individuals + 2);
    population.seek(0);
    QVERIFY2(population.readAll() == before, "--evaluate changed the file");

    TZarnikWindow window;
    window.SetupWindow();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(100);  // start-up events are dispatched before the pass
    TWorld& w = *window.AnnGaWorld;
    QVERIFY(w.DoLoadANN(file.toLocal8Bit().constData()));
    UseFixedRandomSeed(4);
    window.Train2AN = true;  // as during F2: no ball question
    SeedRandomAtGeneration(w.Generations);
    w.calcFitness2();
    window.Train2AN = false;
    UseClockRandomSeed();
    QCOMPARE(rows[0], QStringLiteral("index,fitness,takes,deliveries"));
    const auto counts = [](const TChromosom& c) {
      return QStringLiteral("%1,%2").arg(c.getBallCounts().takes).arg(c.getBallCounts().deliveries);
    };
    long long takes = 0;
    for (int i = 0; i < TWorld::Individuals; ++i) {
      const TChromosom& c = w.Population[i];
      QCOMPARE(rows[i + 1], QStringLiteral("%1,%2,%3").arg(i).arg(c.getFitness()).arg(counts(c)));
      takes += c.getBallCounts().takes;
    }
    QVERIFY2(takes > 0, "a pass in which nobody takes the ball compares only zeros");
    const QString best = QStringLiteral("best,%1,%2,").arg(w.bestIndividualIdx).arg(w.bestFitness);
    QCOMPARE(rows.last(), best + counts(w.bestIndividual));
  }
};

QTEST_MAIN(EvaluateWindowTest)
#include "evaluate_window_test.moc"
