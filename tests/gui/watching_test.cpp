// Watching the learning in the main window: the fitness chart and its history
// beside the population file, the tempo of drawn steps, and population files
// chosen by name. Runs start by their key and end by the test's stop, as a
// user's would; the checks run from a timer that fires during the run.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineSeries>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QValueAxis>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <vector>

#include "../support/file_faults.h"
#include "widgets/file_dialog.h"
#include "watching/fitness_chart.h"
#include "watching/step_pacer.h"
#include "widgets/message_box.h"
#include "world.h"
#include "gui_test_support.h"
#include "main_window/zarnik_window.h"

namespace {

QByteArray Bytes(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteBytes(const QString& name, const QByteArray& data) {
  QFile file(name);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

// Time that passes only while the pacer waits: each turn lets events through
// once and moves on by one tick, never past the time waited for.
struct TFakePacerClock final : TPacerClock {
  Clock::time_point T = Clock::time_point(std::chrono::hours(1));
  Clock::duration Tick = std::chrono::milliseconds(1);
  std::vector<Clock::time_point> Dues;  // each time waited for, once
  std::function<void()> OnTick;
  Clock::time_point Now() override { return T; }
  void LetEventsThrough(Clock::time_point until) override {
    if (Dues.empty() || Dues.back() != until) Dues.push_back(until);
    QCoreApplication::processEvents();
    if (OnTick) OnTick();
    T = std::min(T + Tick, until);
  }
};

size_t RowsOfMode(const TFitnessHistory& history, int mode) {
  size_t n = 0;
  for (const TFitnessRow& r : history.Data()) n += r.mode == mode ? 1 : 0;
  return n;
}

}  // namespace

class WatchingTest : public QObject {
  Q_OBJECT

 private:
  TZarnikWindow* W = nullptr;
  QTemporaryDir Dir;

  TFitnessChartWindow* Chart() const { return W->FitnessChart; }

  // Starts a run by `key` and returns when its loop has ended. `step` runs
  // every few milliseconds during the run and returns true when the run
  // should be stopped by its own key; a failed check stops it too, and so does
  // a minute without the run ending, which fails naming what was waited for.
  void Run(Qt::Key key, const char* waitedFor, const std::function<bool()>& step) {
    bool timedOut = false;
    QTimer poll, watchdog;
    connect(&poll, &QTimer::timeout, this, [&] {
      if (UserBreak || !W->RunActive()) return;
      if (step()) Press(key);
      if (QTest::currentTestFailed()) W->AnnGaWorld->DoBreakANN();
    });
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, this, [&] {
      timedOut = true;
      W->AnnGaWorld->DoBreakANN();
    });
    poll.start(5);
    watchdog.start(60000);
    Press(key);
    QVERIFY2(!timedOut, qPrintable(QStringLiteral("no end after a minute, waiting for %1").arg(waitedFor)));
    QVERIFY(!W->RunActive());
  }

  void Press(Qt::Key key) {
    QApplication::setActiveWindow(W);
    QTest::keyClick(W, key);
  }

  // Everything the population file holds.
  QByteArray Snapshot() const {
    W->AnnGaWorld->DoSaveANN("snapshot.dat");
    return Bytes(QStringLiteral("snapshot.dat"));
  }

  long long StepsBefore = 0;

 private slots:
  void initTestCase() {
    QVERIFY(OpenTestWindow(W, Dir));  // "zarnik.dat" and "zarnik.csv" land here
  }

  void cleanupTestCase() { delete W; }

  void init() {
    MessageBoxHook() = TMessageBoxHook();
    W->PopulationChanged = false;  // trained before: the question about saving has its own test
    FileDialogHook() = TFileDialogHook();
    W->Dispatch(CM_SIMRESET);
    StepsBefore = W->DrawnSteps;
  }

  // Every generation of both trainings reaches the open chart as a point at
  // its generation; the history goes to zarnik.csv with the population and
  // comes back with it.
  void chartFollowsBothTrainings() {
    W->Dispatch(CM_TEMPMAXI);
    W->Dispatch(CM_FITCHART);
    QVERIFY(Chart() != nullptr && Chart()->isVisible());
    W->UpdateCommands();
    QVERIFY(W->Action(CM_FITCHART)->isChecked());

    TWorld& world = *W->AnnGaWorld;
    const int generations = world.Generations;
    Run(Qt::Key_F2, "four generations of training 2", [&] { return world.Generations >= generations + 4; });
    const int passes = world.Passes1;
    Run(Qt::Key_F1, "three passes of training 1", [&] { return world.Passes1 >= passes + 3; });  // may also end by itself

    const size_t trained2 = size_t(world.Generations - generations);
    const size_t trained1 = size_t(world.Passes1 - passes);
    QVERIFY(trained2 >= 4 && trained1 >= 1);
    QCOMPARE(RowsOfMode(W->History, 2), trained2);
    QCOMPARE(RowsOfMode(W->History, 1), trained1);
    QCOMPARE(Chart()->Received(TFitnessChartWindow::Best2), trained2);
    QCOMPARE(Chart()->Received(TFitnessChartWindow::Average2), trained2);
    QCOMPARE(Chart()->Received(TFitnessChartWindow::Best1), trained1);

    // Below the merging limit each point is its row: x the generation (or pass), y the figure.
    size_t index[TFitnessChartWindow::SeriesCount] = {};
    int soFar = INT_MIN;
    for (const TFitnessRow& r : W->History.Data()) {
      auto expect = [&](TFitnessChartWindow::TSeries s, int y) {
        const QPointF p = Chart()->Series(s)->at(qsizetype(index[s]++));
        QCOMPARE(p, QPointF(r.generation, y));
        QVERIFY(p.x() >= Chart()->AxisX()->min() && p.x() <= Chart()->AxisX()->max());
        const QValueAxis* axis = s == TFitnessChartWindow::Deliveries2 ? Chart()->AxisDeliveries() : Chart()->AxisY();
        QVERIFY(p.y() >= axis->min() && p.y() <= axis->max());
      };
      if (r.mode == 2) {
        expect(TFitnessChartWindow::Best2, r.bestFitness);
        expect(TFitnessChartWindow::Average2, r.averageFitness);
        soFar = std::max(soFar, r.bestFitness);
        expect(TFitnessChartWindow::BestSoFar2, soFar);
        QVERIFY(r.bestDeliveries >= 0);
        expect(TFitnessChartWindow::Deliveries2, r.bestDeliveries);
      } else {
        expect(TFitnessChartWindow::Best1, r.bestFitness);
      }
    }
    QCOMPARE(W->History.Data().front().generation, generations);
    QCOMPARE(RowsOfMode(W->History, 2) + RowsOfMode(W->History, 1), W->History.Size());

    // Saved beside the population; a later generation is gone after loading.
    W->Dispatch(CM_SAVEDATA);
    QCOMPARE(MessageBoxHook().Shown, 0);
    const std::vector<TFitnessRow> saved = W->History.Data();
    QVERIFY(QFile::exists(QStringLiteral("zarnik.csv")));
    Run(Qt::Key_F2, "a generation of training 2", [&] { return world.Generations >= generations + int(trained2) + 1; });
    QVERIFY(W->History.Size() > saved.size());
    MessageBoxHook().Answers.push_back(QMessageBox::No);  // trained since the save: not kept
    W->Dispatch(CM_LOADDATA);
    QCOMPARE(MessageBoxHook().Shown, 1);
    QCOMPARE(W->History.Size(), saved.size());
    for (size_t i = 0; i < saved.size(); ++i) {
      QCOMPARE(W->History.Data()[i].generation, saved[i].generation);
      QCOMPARE(W->History.Data()[i].bestFitness, saved[i].bestFitness);
    }
    QCOMPARE(Chart()->Received(TFitnessChartWindow::Best2), trained2);
    QCOMPARE(Chart()->Received(TFitnessChartWindow::Best1), trained1);
    // Training 1 numbers its passes on after the loaded ones.
    QVERIFY(world.Passes1 > W->History.LastPass1());

    // The close box hides the chart, and the check mark follows.
    Chart()->close();
    QVERIFY(!Chart()->isVisible());
    QVERIFY(!W->Action(CM_FITCHART)->isChecked());
    W->Dispatch(CM_FITCHART);  // opened again, it shows the whole history
    QCOMPARE(Chart()->Received(TFitnessChartWindow::Best2), trained2);
    W->Dispatch(CM_FITCHART);
    QVERIFY(!Chart()->isVisible());
  }

  // A damaged, missing, endless or blocking history never keeps the
  // population from loading, and never freezes "Laden...".
  void damagedHistoryIgnored_data() {
    QTest::addColumn<QByteArray>("csv");
    const QByteArray header = QByteArray(FitnessLogHeader.data(), qsizetype(FitnessLogHeader.size())) + "\n";
    QTest::addRow("foreign text") << QByteArray("Hallo\n");
    QTest::addRow("missing") << QByteArray("-");
    QTest::addRow("FIFO without a writer") << QByteArray("fifo");
    QTest::addRow("link to /dev/zero") << QByteArray("zero");
    QTest::addRow("sparse 10 GB") << QByteArray("sparse");
    QTest::addRow("line beyond the limit") << header + QByteArray(300, '1') + "\n";
    QTest::addRow("pass beyond 32 bits") << header + "0,2,-4230,-9120,0,0.812\n2147483648,1,5,5,0,0.5\n";
  }

  void damagedHistoryIgnored() {
    QFETCH(QByteArray, csv);
    W->Dispatch(CM_FITCHART);
    W->Dispatch(CM_SAVEDATA);
    const QString name = QStringLiteral("zarnik.csv");
    QFile::remove(name);
    if (csv == "fifo") {
      QCOMPARE(mkfifo("zarnik.csv", 0600), 0);
    } else if (csv == "zero") {
      QVERIFY(QFile::link(QStringLiteral("/dev/zero"), name));
    } else if (csv == "sparse") {
      QFile file(name);
      QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(10'000'000'000LL));
    } else if (csv != "-") {
      QVERIFY(WriteBytes(name, csv));
    }
    const QByteArray population = Bytes(QStringLiteral("zarnik.dat"));
    W->AnnGaWorld->Generations += 5;  // changed, so that the load shows
    const int passes = W->AnnGaWorld->Passes1;
    MessageBoxHook().Answers.push_back(QMessageBox::Ok);
    {
      TWatchdog watchdog("\"Laden...\" with a bad zarnik.csv", 30);
      W->Dispatch(CM_LOADDATA);
    }
    QFile::remove(name);
    QCOMPARE(MessageBoxHook().Shown, 0);
    QCOMPARE(Snapshot(), population);
    QCOMPARE(W->History.Size(), size_t(0));
    QCOMPARE(W->AnnGaWorld->Passes1, passes);
    for (auto s : {TFitnessChartWindow::Best2, TFitnessChartWindow::Average2, TFitnessChartWindow::Best1,
                   TFitnessChartWindow::BestSoFar2, TFitnessChartWindow::Deliveries2}) {
      QCOMPARE(Chart()->Received(s), size_t(0));
      QCOMPARE(Chart()->Series(s)->count(), 0);
    }
    W->Dispatch(CM_FITCHART);
  }

  // What a crash leaves while a row is written: the rows before it load. The
  // highest pass a history may hold is counted on without overflow, and the
  // history stored with it loads again.
  void tornHistoryKeepsItsRows() {
    W->Dispatch(CM_SAVEDATA);
    const QByteArray header = QByteArray(FitnessLogHeader.data(), qsizetype(FitnessLogHeader.size())) + "\n";
    QVERIFY(WriteBytes(QStringLiteral("zarnik.csv"),
                       header + "0,2,-4230,-9120,0,0.812\n2147483647,1,-300,-900,2147483647,2.5\n1,2,-42"));
    const int passes = W->AnnGaWorld->Passes1;
    MessageBoxHook().Answers.push_back(QMessageBox::Ok);
    W->Dispatch(CM_LOADDATA);
    QCOMPARE(MessageBoxHook().Shown, 0);
    QCOMPARE(W->History.Size(), size_t(2));
    QCOMPARE(W->History.Data()[1].bestFitness, -300);
    QCOMPARE(W->AnnGaWorld->Passes1, 2147483647);
    W->Dispatch(CM_SAVEDATA);
    W->History.Clear();
    W->Dispatch(CM_LOADDATA);
    QCOMPARE(MessageBoxHook().Shown, 0);
    QCOMPARE(W->History.Size(), size_t(2));
    W->AnnGaWorld->Passes1 = passes;
    W->History.Clear();
  }

  // The pacer's schedule on a clock that moves only while it waits: Langsam
  // is 15 steps a second, Normal one a display frame, and the beat keeps its
  // rate unless a step comes later than one interval, when it starts afresh.
  void pacerSchedule() {
    TFakePacerClock clock;
    TStepPacer pacer;
    pacer.UseClock(&clock);
    int dispatched = 0;
    const auto wait = [&] { pacer.Wait([&] { ++dispatched; }, [] { return false; }); };
    pacer.SetTempo(TStepPacer::Slow);
    QCOMPARE(pacer.Interval(), std::chrono::nanoseconds(66666666));  // 1 s / 15
    const auto t0 = clock.T;
    wait();
    QCOMPARE(clock.T - t0, std::chrono::nanoseconds(66666666));
    QCOMPARE(dispatched, 1);
    clock.T += std::chrono::milliseconds(20);  // a little late: the beat holds
    wait();
    QCOMPARE(clock.T - t0, std::chrono::nanoseconds(2 * 66666666));
    clock.T += std::chrono::milliseconds(100);  // later than a whole interval: afresh
    const auto late = clock.T;
    wait();
    QCOMPARE(clock.T - late, std::chrono::nanoseconds(66666666));
    QCOMPARE(pacer.Waits, 3LL);

    pacer.SetTempo(TStepPacer::Normal);
    pacer.SetFrameRate(0.0);  // not reported: 60 frames
    QCOMPARE(pacer.Interval(), std::chrono::nanoseconds(16666666));
    pacer.SetFrameRate(144.0);
    QCOMPARE(pacer.Interval(), std::chrono::nanoseconds(6944444));
    pacer.SetFrameRate(1000.0);
    QCOMPARE(pacer.FrameRate(), 60.0);

    pacer.SetTempo(TStepPacer::Maximal);  // no wait, no dispatch, no time
    const auto before = clock.T;
    wait();
    QCOMPARE(clock.T, before);
    QCOMPARE(dispatched, 3);
    QCOMPARE(pacer.Waits, 3LL);

    // A stop ends the wait at once, long before the step is due.
    pacer.SetTempo(TStepPacer::Slow);
    int ticks = 0;
    clock.OnTick = [&] { ++ticks; };
    const auto stopFrom = clock.T;
    pacer.Reset();
    pacer.Wait([] {}, [&] { return ticks == 5; });
    QCOMPARE(clock.T - stopFrom, 5 * clock.Tick);
    QVERIFY(!pacer.Waiting());
  }

  // The window's runs wait by the pacer: activation at Langsam makes its drawn
  // steps one Langsam interval apart, at Maximal it never waits. The tempo is
  // kept in the settings for the next start.
  void tempoPacesActivation() {
    TFakePacerClock clock;
    W->Pacer.UseClock(&clock);
    W->Dispatch(CM_TEMPSLOW);
    QCOMPARE(SavedTempo(), TStepPacer::Slow);
    Run(Qt::Key_F3, "ten paced steps of activation", [&] { return clock.Dues.size() >= 10; });
    QVERIFY(clock.Dues.size() >= 10);
    for (size_t k = 1; k < clock.Dues.size(); ++k)
      QCOMPARE(clock.Dues[k] - clock.Dues[k - 1], std::chrono::nanoseconds(66666666));

    W->Dispatch(CM_TEMPNORM);
    QCOMPARE(SavedTempo(), TStepPacer::Normal);
    W->Dispatch(CM_TEMPMAXI);
    QCOMPARE(SavedTempo(), TStepPacer::Maximal);
    const long long waits = W->Pacer.Waits;
    StepsBefore = W->DrawnSteps;
    Run(Qt::Key_F3, "twenty drawn steps of activation", [&] { return W->DrawnSteps - StepsBefore >= 20; });
    QCOMPARE(W->Pacer.Waits, waits);
    W->Pacer.UseClock(nullptr);
  }

  // A stop while a paced step waits ends the run at once: the wait lets no
  // more time pass after the stop, though the step is not yet due.
  void stopDuringPacedWait() {
    TFakePacerClock clock;
    W->Pacer.UseClock(&clock);
    W->Dispatch(CM_TEMPSLOW);
    bool stopped = false;
    TPacerClock::Clock::time_point stopAt{}, due{};
    clock.OnTick = [&] {
      if (stopped || W->DrawnSteps - StepsBefore < 3 || !W->Pacer.Waiting()) return;
      stopped = true;
      stopAt = clock.T;
      due = W->Pacer.NextDue();
      Press(Qt::Key_F3);
    };
    Run(Qt::Key_F3, "a stop by F3 during a paced wait", [&] { return false; });
    W->Pacer.UseClock(nullptr);
    QVERIFY(stopped);
    QVERIFY(!W->Pacer.Waiting());
    QCOMPARE(clock.T, stopAt + clock.Tick);  // the tick in which F3 came, no more
    QVERIFY(clock.T < due);
    W->Dispatch(CM_TEMPMAXI);
  }

  // "bisher bestes" is the highest best of training 2 up to each generation;
  // the deliveries line has a point for each row that has a count (none in
  // training 1 or in rows of older files), on its own axis from 0.
  void bestSoFarAndDeliveries() {
    TFitnessChartWindow chart(nullptr);
    const std::vector<TFitnessRow> rows = {{0, 2, -500, -900, 0, 0.0, -1}, {1, 2, 300, -800, 1, 0.0, 2},
                                           {2, 2, 100, -700, 1, 0.0, 1},   {3, 1, 50, 0, 3, 0.0, -1},
                                           {3, 2, 700, -600, 3, 0.0, 4}};
    chart.Append(rows.data(), 2);
    chart.Append(rows.data() + 2, 3);
    const QList<QPointF> soFar = chart.Series(TFitnessChartWindow::BestSoFar2)->points();
    QCOMPARE(soFar, (QList<QPointF>{{0, -500}, {1, 300}, {2, 300}, {3, 700}}));
    const QList<QPointF> deliveries = chart.Series(TFitnessChartWindow::Deliveries2)->points();
    QCOMPARE(deliveries, (QList<QPointF>{{1, 2}, {2, 1}, {3, 4}}));
    QCOMPARE(chart.Series(TFitnessChartWindow::BestSoFar2)->name(), QStringLiteral("bisher bestes"));
    QCOMPARE(chart.AxisDeliveries()->titleText(), QStringLiteral("Ablagen des Besten"));
    QCOMPARE(chart.AxisDeliveries()->min(), 0.0);
    QVERIFY(chart.AxisDeliveries()->max() >= 4);
    QVERIFY(chart.Series(TFitnessChartWindow::Deliveries2)->attachedAxes().contains(chart.AxisDeliveries()));
  }

  // A long history shows as at most MaxShown points a line, each for a run of
  // generations: the best of them on a best line, their mean on the average.
  // The picture goes to the chosen file as a PNG.
  void longHistoryAndPicture() {
    TFitnessChartWindow chart(nullptr);
    std::vector<TFitnessRow> rows;
    const int n = 5000;
    for (int g = 0; g < n; ++g) rows.push_back({g, 2, -5000 + (g * 37) % 1001, -9000 + g % 8, g, 0.0});
    rows.push_back({7, 1, 123, 0, 7, 0.0});
    for (size_t done = 0; done < rows.size(); done += 300)  // as dispatches hand them over
      chart.Append(rows.data() + done, std::min<size_t>(300, rows.size() - done));
    QCOMPARE(chart.Received(TFitnessChartWindow::Best2), size_t(n));
    const QList<QPointF> best = chart.Series(TFitnessChartWindow::Best2)->points();
    const QList<QPointF> average = chart.Series(TFitnessChartWindow::Average2)->points();
    QVERIFY(best.size() <= qsizetype(TFitnessChartWindow::MaxShown) && best.size() > 100);
    QCOMPARE(average.size(), best.size());
    QCOMPARE(best.back().x(), double(n - 1));  // the line reaches the last generation
    double highest = -1e9, lastX = -1;
    for (const QPointF& p : best) {
      QVERIFY(p.x() > lastX);
      lastX = p.x();
      highest = std::max(highest, p.y());
    }
    QCOMPARE(highest, -4000.0);  // the best generation is never merged away
    // A run of generations (a power of two long) averages the eight values of the cycle.
    QCOMPARE(average.front().y(), -8996.5);
    QCOMPARE(chart.Series(TFitnessChartWindow::Best1)->count(), 1);
    QCOMPARE(chart.AxisX()->min(), 0.0);
    QVERIFY(chart.AxisX()->max() >= n - 1 && chart.AxisY()->min() <= -9000 && chart.AxisY()->max() >= 123);

    chart.show();
    const QString picture = QDir(Dir.path()).filePath(QStringLiteral("verlauf"));
    FileDialogHook().Answers.push_back(picture);
    auto* save = chart.findChild<QPushButton*>();
    QVERIFY(save != nullptr && save->text() == QStringLiteral("Bild speichern..."));
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(FileDialogHook().Shown, 1);
    const QImage image(picture + ".png");
    QVERIFY(!image.isNull() && image.width() > 100);
  }

  // "Speichern unter..." and "Öffnen..." carry a population and its history
  // through a chosen path; "Laden..." and "Speichern" keep to zarnik.dat.
  void chosenFileRoundTrip() {
    QVERIFY(QDir().mkpath(QStringLiteral("chosen")));
    const QString base = QDir(Dir.path()).filePath(QStringLiteral("chosen/population"));
    QFile::remove(QStringLiteral("zarnik.dat"));
    const QByteArray before = Snapshot();
    const size_t historyRows = W->History.Size();

    FileDialogHook().Answers.push_back(base);  // without a suffix: ".dat" is added
    W->Dispatch(CM_SAVEDTAS);
    QCOMPARE(FileDialogHook().Shown, 1);
    QCOMPARE(FileDialogHook().LastFilter, QStringLiteral("Zarnik-Population (*.dat)"));
    QCOMPARE(Bytes(base + ".dat"), before);
    QVERIFY(QFile::exists(base + ".csv"));
    QVERIFY(!QFile::exists(QStringLiteral("zarnik.dat")));

    W->AnnGaWorld->Generations += 3;
    W->AnnGaWorld->Population[7].setWeight(0, 11, W->AnnGaWorld->Population[7].getWeight(0, 11) + 1);
    W->History.Clear();
    FileDialogHook().Answers.push_back(base + ".dat");
    W->Dispatch(CM_OPENDATA);
    QCOMPARE(MessageBoxHook().Shown, 0);
    QCOMPARE(Snapshot(), before);
    QCOMPARE(W->History.Size(), historyRows);
    QCOMPARE(W->windowTitle(), QStringLiteral("Zarnik32"));

    // A cancelled dialog does nothing.
    FileDialogHook().Answers.push_back(QString());
    W->Dispatch(CM_OPENDATA);
    FileDialogHook().Answers.push_back(QString());
    W->Dispatch(CM_SAVEDTAS);
    QCOMPARE(MessageBoxHook().Shown, 0);
    QCOMPARE(Snapshot(), before);

    // The designed save still writes zarnik.dat in the working directory.
    W->Dispatch(CM_SAVEDATA);
    QCOMPARE(Bytes(QStringLiteral("zarnik.dat")), before);
  }

  // Failures name the chosen file in the designed messages.
  void chosenFileFailures() {
    const QByteArray before = Snapshot();
    auto expectWarning = [](const char* text) {
      QCOMPARE(MessageBoxHook().Shown, 1);
      QCOMPARE(MessageBoxHook().LastText, QString::fromLatin1(text));
      QCOMPARE(MessageBoxHook().LastCaption, QStringLiteral("Zarnik32"));
      QCOMPARE(MessageBoxHook().LastIcon, QMessageBox::Warning);
      MessageBoxHook() = TMessageBoxHook();
    };
    MessageBoxHook().Answers.push_back(QMessageBox::Ok);
    FileDialogHook().Answers.push_back(QDir(Dir.path()).filePath(QStringLiteral("fehlt.dat")));
    W->Dispatch(CM_OPENDATA);
    expectWarning("Kann Datei 'fehlt.dat' nicht laden!");

    QCOMPARE(Snapshot(), before);

    MessageBoxHook().Answers.push_back(QMessageBox::Ok);
    FileDialogHook().Answers.push_back(QDir(Dir.path()).filePath(QStringLiteral("kein/ordner/neu.dat")));
    W->Dispatch(CM_SAVEDTAS);
    expectWarning("Kann Datei 'neu.dat' nicht speichern!");
  }
};

QTEST_MAIN(WatchingTest)
#include "watching_test.moc"
