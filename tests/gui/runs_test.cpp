// Runs in the main window: every stop path (also held by the pause), single steps, progress texts, the pool.
#include <QLabel>
#include <QPointer>
#include <QRegularExpression>

#include <algorithm>
#include <string>
#include <vector>

#include "../support/stop_counting_pool.h"
#include "gui_test_support.h"
#include "hosts/headless_pool.h"
#include "ann-ga/random.h"
#include "watching/fitness_chart.h"
#include "widgets/text_gadget.h"

namespace {

enum TStopPath { OwnKey, Button, Enter, Escape, CloseBox, MainClose, KeyInDialog, KeyInChart };

// What two generations of training 2 leave: every fitness, the best, the texts, the file.
struct TPassOutcome {
  std::vector<int> Fitness;
  std::vector<std::string> Texts;
  QByteArray File;
  bool operator==(const TPassOutcome&) const = default;
};

}  // namespace

class RunsTest : public QObject, TWindowFixture {
  Q_OBJECT

  QString Text(int id) const { return W->ProgressWindow() ? W->ProgressWindow()->Text(id) : QString(); }

  void Expect(std::initializer_list<std::pair<int, const char*>> texts) {
    for (const auto& [id, pattern] : texts) {
      const QRegularExpression re(QRegularExpression::anchoredPattern(QLatin1String(pattern)));
      QVERIFY2(re.match(Text(id)).hasMatch(), qPrintable(QStringLiteral("%1: '%2'").arg(id).arg(Text(id))));
    }
  }

  // Only the run's labels and what its loop writes first.
  void CheckFreshWindow(const QHash<int, QString>& expected) {
    for (int id = 301; id <= 364; ++id)
      if (W->ProgressWindow()->Control(id)) QCOMPARE(Text(id), expected.value(id));
  }

  // Two generations from the population in `start`, with the draws of a fixed seed.
  TPassOutcome Generations(const QByteArray& start, TEvaluationPool* pool) {
    TPassOutcome o;
    TWorld& world = *W->Population();
    if (!world.DoLoadANN(start.constData())) return o;
    world.Pool = pool;
    UseFixedRandomSeed(7);
    TZarnikWindowProbe(W).StageRun(CM_TRAIN2AN);
    TZarnikWindowProbe(W).StageProgressWindow();
    world.BeginTrainANN2();
    for (int g = 0; g < 2; ++g) {
      world.TrainGeneration2();
      for (const TChromosom& c : world.Population)
        o.Fitness.insert(o.Fitness.end(), {c.getFitness(), int(c.getBallCounts().deliveries)});
      o.Fitness.insert(o.Fitness.end(), {world.bestIndividual.getFitness(), world.bestFitness, world.bestIndividualIdx});
      for (int id = 302; id <= 344; ++id) o.Texts.push_back(W->BufferedTexts().Text(id));
    }
    W->AnnHasFinished();
    UseClockRandomSeed();
    world.Pool = W->WorkerPool();
    o.File = Snapshot(W);
    return o;
  }

 private slots:
  void initTestCase() { QVERIFY(OpenTestWindow(W, Dir)); }
  void init() {
    ResetWindow(W);
    if (W->Watch().Gate.Paused()) W->Dispatch(CM_PAUSE);
  }

  void stopPaths_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("path");
    QTest::addColumn<bool>("held");
    const char* paths[] = {"own key", "Abbrechen", "Enter", "Escape", "close box", "main window close",
                           "own key in the progress window", "own key in the chart"};
    for (int command : {CM_TRAIN1AN, CM_TRAIN2AN, CM_STARTANN})
      for (int p = OwnKey; p <= KeyInChart; ++p)
        if (command != CM_STARTANN || p == OwnKey || p == MainClose || p == KeyInChart)
          QTest::addRow("F%d, %s", command - CM_TRAIN1AN + 1, paths[p]) << command << p << false;
    // The pause holds drawn steps (never training 2's); a held run stops before another.
    QTest::addRow("F1 held, Abbrechen") << int(CM_TRAIN1AN) << int(Button) << true;
    QTest::addRow("F3 held, main window close") << int(CM_STARTANN) << int(MainClose) << true;
  }

  void stopPaths() {
    QFETCH(int, command);
    QFETCH(int, path);
    QFETCH(bool, held);
    const Qt::Key key = Qt::Key(Qt::Key_F1 + command - CM_TRAIN1AN);
    const bool training = command != CM_STARTANN;
    QPointer<TAnnGaDlg> dlg;
    bool stillOpen = false;
    long long atStop = -1;
    const int generations = W->Population()->Generations;
    if (held) W->Dispatch(CM_PAUSE);
    if (path == MainClose) Answer({QMessageBox::Ok});
    Run(W, key, "the progress window's labels (or three dispatches), then the stop", [&](int pass) {
      if (training ? Text(301).isEmpty() : pass < 3) return;
      if (held && !W->Watch().Gate.Holding()) return;
      QCOMPARE(W->Population()->Generations, generations);
      QCOMPARE(W->MessageText(), QString::fromLatin1(training ? "ANN trainiert" : "ANN aktiviert"));
      QCOMPARE(W->Selected(), 0);
      QCOMPARE(W->ProgressWindow() != nullptr, training);
      if (!training) QCOMPARE(W->DeliveriesField()->Text(), QStringLiteral("Ablagen: 0"));  // counted from F3 on
      W->UpdateCommands();  // only the running command, the outline toggle and closing stay available
      for (int id = CM_LOADDATA; id <= CM_ABOUTAPP; ++id)
        if (QAction* a = W->Action(id)) {
          QCOMPARE(a->isEnabled(), id == command || id == CM_OUTLINES || id == CM_CLOSEAPP);
          QCOMPARE(a->isChecked(), id == command);
        }
      Press(W, key == Qt::Key_F3 ? Qt::Key_F1 : Qt::Key_F3);  // another run's key does nothing
      QVERIFY((W->ActiveRun() == CM_TRAIN1AN) == (command == CM_TRAIN1AN) && (W->ActiveRun() == CM_STARTANN) == (command == CM_STARTANN));
      dlg = W->ProgressWindow();
      atStop = W->Watch().DrawnSteps;
      switch (path) {
        case OwnKey: Press(W, key); break;
        case Button: QTest::mouseClick(dlg->findChild<QPushButton*>("ctl2"), Qt::LeftButton); break;
        case Enter: Press(dlg, Qt::Key_Return); break;
        case Escape: Press(dlg, Qt::Key_Escape); break;
        case CloseBox: dlg->close(); break;
        case MainClose: W->close(); break;
        case KeyInDialog:
          Press(dlg, key == Qt::Key_F1 ? Qt::Key_F3 : Qt::Key_F1);
          QVERIFY(!UserBreak);
          Press(dlg, key);
          break;
        case KeyInChart:
          W->Dispatch(CM_FITCHART);
          Press(W->Watch().FitnessChart, key);
          W->Watch().FitnessChart->hide();
          break;
      }
      stillOpen = training && dlg && dlg->isVisible();  // the window stays until the loop ends
    });
    QVERIFY2(UserBreak, "the run ended by itself, not by the test's stop");
    QCOMPARE(stillOpen, training);
    QVERIFY(dlg.isNull() && W->isVisible());
    QCOMPARE(W->Population()->Generations, generations + (command == CM_TRAIN2AN ? 1 : 0));
    if (held) QCOMPARE(W->Watch().DrawnSteps, atStop);
    if (path == MainClose) QVERIFY(WarnedOnce("Bitte warten, ANN ist noch aktiv!"));  // closing refused
    else QCOMPARE(MessageBoxHook().Shown, 0);
  }

  // Paused, activation holds after its first drawn step, each S makes one more (none kept across lifting the
  // pause); training 2 is never held.
  void pauseAndSingleStep() {
    W->Dispatch(CM_TEMPMAXI);  // every hold is the pause's
    W->UpdateCommands();
    QVERIFY(!W->Action(CM_SINGLESTEP)->isEnabled());  // nothing to step
    Press(W, Qt::Key_P);
    QVERIFY(W->Watch().Gate.Paused() && W->Action(CM_PAUSE)->isChecked());
    const long long start = W->Watch().DrawnSteps;
    int holds = 0;
    Run(W, Qt::Key_F3, "four steps held, three of them single", [&](int) {
      if (!W->Watch().Gate.Holding()) return;
      const long long steps = W->Watch().DrawnSteps - start;
      QCOMPARE(steps, 1LL + std::max(0, holds - 19));
      W->UpdateCommands();
      QVERIFY(W->Action(CM_SINGLESTEP)->isEnabled());
      if (holds == 1) {  // a step asked for, then the pause lifted and set again: nothing slips through
        Press(W, Qt::Key_S);
        Press(W, Qt::Key_P);
        Press(W, Qt::Key_P);
      }
      if (++holds >= 20) Press(W, steps < 4 ? Qt::Key_S : Qt::Key_F3);
    });
    QCOMPARE(W->Watch().DrawnSteps - start, 4LL);
    Press(W, Qt::Key_P);
    QVERIFY(!W->Watch().Gate.Paused());
    const long long gateHolds = W->Watch().Gate.Holds;
    W->Dispatch(CM_PAUSE);
    const int generations = W->Population()->Generations;
    Run(W, Qt::Key_F2, "two generations of training 2 under the pause", [&](int) {
      if (W->Population()->Generations >= generations + 2) Press(W, Qt::Key_F2);
    });
    QCOMPARE(W->Watch().Gate.Holds, gateHolds);
  }

  // Training 2, then training 1: figures and formats, and nothing of an earlier run in a new window.
  void progressTexts() {
    TWorld& world = *W->Population();
    const int start = world.Generations;
    Run(W, Qt::Key_F2, "the end of a first generation of training 2", [&](int pass) {
      if (pass == 0) {
        CheckFreshWindow({{301, "avrg Fitness"}, {303, "best Fitness"}, {305, "Individual"}, {307, "Generation"},
                          {309, "Gen. of best"}, {311, "Direction"}, {310, QString::asprintf("%4i", start)}});
      } else if (world.Generations > start && !Text(302).isEmpty()) {  // the figures: see the pooled pass
        Expect({{308, "(?=.{3}$) *[0-9]+"}, {310, "(?=.{3,4}$) *[0-9]+"}, {312, "left|right"}});
        Press(W->ProgressWindow(), Qt::Key_Escape);
      }
    });
    Run(W, Qt::Key_F1, "the first pass of training 1", [&](int pass) {
      if (pass == 0) CheckFreshWindow({{301, "Distanz"}, {303, "bestFitness"}, {305, "count best used"}, {307, "Pos Ball"}});
      if (Text(308).isEmpty()) return;
      Expect({{302, "-?[0-9]+\\.[0-9]{6}"}, {304, "(?=.{6}) *-?[0-9]+"}, {306, "  [012]"},
              {308, "\\( {0,2}-?[0-9]+ , {0,2}-?[0-9]+ \\)"}, {312, " 6"}, {309, ""}, {310, ""}, {311, ""}});
      Press(W->ProgressWindow(), Qt::Key_Escape);
    });
  }

  // The best network's weights, one source node a line (inputs against layer 1, layer 1 against 2, layer 2
  // against the outputs; links past a layer not shown), at most five characters a weight, every entry whole:
  // weight(s, t) = 100 s + t shows which. Hidden layer 2 has three lines of the four outputs each.
  void weightLines() {
    TWorld& world = *W->Population();
    QVERIFY(world.DoSaveANN("before-weights.dat"));
    for (int s = 0; s < 21; ++s)
      for (int t = 0; t < 21; ++t) world.bestIndividual.setWeight(s, t, 100 * s + t);
    world.bestIndividual.setWeight(0, 12, -150);
    world.bestIndividual.setWeight(1, 13, 123456);
    TZarnikWindowProbe(W).StageRun(CM_TRAIN1AN);
    TZarnikWindowProbe(W).StageProgressWindow();
    world.bestIndividual.show();
    W->PumpMessages();
    const QHash<int, QString> lines = {{320, "  +11 -150  +13"}, {321, " +111 +112+1234"}, {330, "+1011+1012+1013"},
                                       {331, "+1114+1115+1116"}, {333, "+1314+1315+1316"}, {334, ""}, {337, ""},
                                       {338, "+1417+1418+1419+1420"}, {340, "+1617+1618+1619+1620"}, {341, ""}};
    for (auto [id, text] : lines.asKeyValueRange()) QCOMPARE(Text(id), text);
    for (int id = 320; id <= 344; ++id) {
      const QLabel* line = W->ProgressWindow()->Control(id);
      QVERIFY2(line->contentsRect().width() >= line->fontMetrics().horizontalAdvance(Text(id)), qPrintable(Text(id)));
    }
    W->AnnHasFinished();
    QVERIFY(world.DoLoadANN("before-weights.dat"));
  }

  // On all hardware threads and on two one-lane workers: the serial pass exactly.
  void pooledPassEqualsTheSerialPass() {
    const QByteArray start = QFile::encodeName(Dir.filePath(QStringLiteral("start.dat")));
    QVERIFY(W->Population()->DoSaveANN(start.constData()));
    const TPassOutcome serial = Generations(start, nullptr);
    QCOMPARE(serial.File.size(), 199620);
    QCOMPARE(serial.Texts[306 - 302], std::string(" 99"));  // the last individual of the pass
    QCOMPARE(QString::fromStdString(serial.Texts[304 - 302]).trimmed().toInt(), serial.Fitness[201]);
    QVERIFY(Generations(start, W->WorkerPool()) == serial);
    THeadlessPool single(2, 1);
    QVERIFY(Generations(start, &single.Pool()) == serial);
  }

  // A stop from a dispatch while the workers play ends the pass, each lane's episodes within the step
  // under way.
  void stopDuringAPooledPass() {
    TStopCountingPool counting(2, LaneCount);
    W->Population()->Pool = counting.Pool.get();
    int generationOfStop = -1, dispatches = 0;
    TZarnikWindowProbe(W).HookDispatch([&] {  // a dispatch at every chance: the strictest cadence
      if (!counting.Pool->Running()) return;
      if (generationOfStop < 0 && ++dispatches == 3) {
        generationOfStop = W->Population()->Generations;
        W->Dispatch(CM_TRAIN2AN);  // the run's own command stops it
      }
    }, true);
    Run(W, Qt::Key_F2, "three dispatches while the workers play", [](int) {});
    TZarnikWindowProbe(W).HookDispatch({});
    W->Population()->Pool = W->WorkerPool();
    QVERIFY(generationOfStop >= 0);
    QCOMPARE(W->Population()->Generations, generationOfStop + 1);
    QVERIFY(counting.MostStepsAfterStop() <= 1);
  }
};

QTEST_MAIN(RunsTest)
#include "runs_test.moc"
