// Training 2 in the window on the evaluation pool: the same pass as on the
// window's own thread, and a stop during a pooled pass.
#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <string>
#include <vector>

#include "headless_pool.h"
#include "progress/ann_ga_dlg.h"
#include "random.h"
#include "world.h"
#include "main_window/zarnik_window.h"

namespace {

// What a pass leaves: every fitness, the best, and the progress texts.
struct TPassOutcome {
  std::vector<int> Fitness;
  std::vector<std::string> Texts;
  QByteArray File;
  bool operator==(const TPassOutcome&) const = default;
};

// The window as the F2 command leaves it, up to the loop.
void BeginTraining2(TZarnikWindow& w) {
  ZarnikWindow = &w;
  w.Selection = 0;
  w.Train2AN = true;
  w.ProgressTexts.Clear();
  w.AnnGaDlg = new TAnnGaDlg(&w);
  w.Pump.Reset();
  w.AnnGaWorld->BeginTrainANN2();
}

}  // namespace

class PooledTrainingTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir Dir;

  // Two generations of window `w` from the population in `start`, with the
  // draws of a fixed seed.
  TPassOutcome Generations(TZarnikWindow& w, const QByteArray& start, TEvaluationPool* pool) {
    TPassOutcome o;
    if (!w.AnnGaWorld->DoLoadANN(start.constData())) return o;
    w.AnnGaWorld->Pool = pool;
    UseFixedRandomSeed(7);
    BeginTraining2(w);
    for (int g = 0; g < 2; ++g) {
      w.AnnGaWorld->TrainGeneration2();
      for (const TChromosom& c : w.AnnGaWorld->Population) {
        o.Fitness.push_back(c.getFitness());
        o.Fitness.push_back(static_cast<int>(c.getBallCounts().deliveries));
      }
      o.Fitness.push_back(w.AnnGaWorld->bestIndividual.getFitness());
      o.Fitness.push_back(w.AnnGaWorld->bestFitness);
      o.Fitness.push_back(w.AnnGaWorld->bestIndividualIdx);
      for (int id = 302; id <= 344; ++id) o.Texts.push_back(w.ProgressTexts.Text(id));
    }
    w.AnnHasFinished();
    UseClockRandomSeed();
    const QByteArray file = (Dir.path() + QStringLiteral("/after.dat")).toLocal8Bit();
    if (w.AnnGaWorld->DoSaveANN(file.constData())) {
      QFile f(QString::fromLocal8Bit(file));
      if (f.open(QIODevice::ReadOnly)) o.File = f.readAll();
    }
    return o;
  }

 private slots:
  void pooledPassEqualsTheSerialPass() {
    TZarnikWindow w;
    w.SetupWindow();
    const QByteArray start = (Dir.path() + QStringLiteral("/start.dat")).toLocal8Bit();
    QVERIFY(w.AnnGaWorld->DoSaveANN(start.constData()));
    const TPassOutcome serial = Generations(w, start, nullptr);
    QCOMPARE(serial.Fitness.size(), 2u * 203);
    QCOMPARE(serial.File.size(), 199620);
    QCOMPARE(serial.Texts[306 - 302], std::string(" 99"));  // the last individual of the pass
    QVERIFY(serial.Texts[312 - 302] == "left" || serial.Texts[312 - 302] == "right");
    QCOMPARE(QString::fromStdString(serial.Texts[304 - 302]).trimmed().toInt(), serial.Fitness[201]);  // first generation

    // All hardware threads, as the window has it, and two workers of one lane each.
    const TPassOutcome pooled = Generations(w, start, &w.Workers->Pool());
    QVERIFY(pooled == serial);
    THeadlessPool single(2, 1);
    QVERIFY(Generations(w, start, &single.Pool()) == serial);
  }

  // The stop comes from an event dispatch while the workers play; the pass
  // must be over before the next dispatch, and the run ends after it.
  void stopDuringAPooledPassEndsItWithinOneFrame() {
    TZarnikWindow w;
    w.SetupWindow();
    w.show();
    w.Pump.SetInterval({});  // a frame at every chance: the strictest cadence
    bool stopped = false;
    int late = 0, generationOfStop = -1, dispatchesWhilePlaying = 0;
    const std::function<void()> flush = w.Pump.BeforeDispatch;
    w.Pump.BeforeDispatch = [&] {
      flush();
      if (!w.Workers->Pool().Running()) return;
      ++dispatchesWhilePlaying;
      if (stopped) {
        ++late;
      } else if (dispatchesWhilePlaying == 3) {
        stopped = true;
        generationOfStop = w.AnnGaWorld->Generations;
        w.Dispatch(CM_TRAIN2AN);  // the run's own command stops it
      }
    };
    QTimer watchdog;
    connect(&watchdog, &QTimer::timeout, this, [&] { w.AnnGaWorld->DoBreakANN(); });
    watchdog.start(60000);
    const int before = w.AnnGaWorld->Generations;
    w.Dispatch(CM_TRAIN2AN);
    w.Pump.BeforeDispatch = flush;
    QVERIFY2(stopped, "no event dispatch came while the workers played (watchdog)");
    QCOMPARE(late, 0);
    QCOMPARE(w.AnnGaWorld->Generations, generationOfStop + 1);
    QVERIFY(generationOfStop >= before);
    QVERIFY(!w.RunActive());
    QCOMPARE(w.MessageText(), QStringLiteral("Einstellmodus"));
  }
};

QTEST_MAIN(PooledTrainingTest)
#include "pooled_training_test.moc"
