// Seeing a network succeed: the demonstration against the trainer's --rank, a
// seeded new population against the trainer's, the runs dialog against a
// scripted trainer, and the chart's ranges and its following of a history.
#include <QChartView>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QImage>
#include <QLayout>
#include <QLineSeries>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QSignalSpy>
#include <QTableWidget>
#include <QValueAxis>

#include <cstdio>

#include "gui_test_support.h"
#include "progress/many_runs_dlg.h"
#include "watching/fitness_chart.h"
#include "watching/fitness_follower.h"
#include "widgets/text_gadget.h"
#include "widgets/window_place.h"

namespace {

QByteArray Train(const QStringList& args) {
  QProcess train;
  train.start(QStringLiteral(ZARNIK_TRAIN_EXE), args);
  if (!EndsWhileProgressing(train)) return "zarnik-train failed: " + train.readAllStandardError();
  return train.readAllStandardOutput();
}

// The --rank row of `file`: generations, deliveries per episode, deliveries, takes, fitness.
QList<QByteArray> RankRow(const QByteArray& out, const QString& file) {
  for (const QByteArray& line : out.split('\n')) {
    const QList<QByteArray> f = line.simplified().split(' ');
    if (f.size() == 7 && f[1] == file.toUtf8()) return f.mid(2);
  }
  return {};
}

void AppendText(const QString& path, const QByteArray& text) {
  QFile f(path);
  if (f.open(QIODevice::Append)) f.write(text);
}

const QByteArray Header = "generation,mode,best_fitness,average_fitness,generation_of_best,seconds,best_deliveries\n";

}  // namespace

class SeeItSucceedTest : public QObject {
  Q_OBJECT
  TWindowFixture F;
  TZarnikWindow*& W = F.W;

  // Plays the demonstration to its end (a watchdog stops it, failing, once a minute passes without a drawn step).
  void Demonstrate() {
    bool timedOut = false;
    long long drawn = -1;
    QElapsedTimer still;
    QTimer watchdog;
    watchdog.callOnTimeout([&] {
      if (W->Watch().DrawnSteps != drawn) drawn = W->Watch().DrawnSteps, still.restart();
      if (still.hasExpired(60000)) timedOut = true, W->Population()->DoBreakANN();
    });
    still.start();
    watchdog.start(1000);
    Answer({QMessageBox::Ok});
    W->Dispatch(CM_SHOWBEST);
    QVERIFY2(!timedOut, "the demonstration drew no step for a minute");
    QVERIFY(!W->RunActive() && W->LastShownWhole());
    QCOMPARE(W->MessageText(), QStringLiteral("Einstellmodus"));
  }

 private slots:
  void initTestCase() { QVERIFY(OpenTestWindow(W, F.Dir)); }
  void init() {
    ResetWindow(W);
    W->Dispatch(CM_TEMPMAXI);
  }

  // What the demonstration counts is what --rank counts for the same file; it leaves the population alone.
  void demonstrationEqualsRank() {
    QCOMPARE(Train({"--generations", "40", "--seed", "3", "--quiet", "ranked.dat"}), QByteArray());
    const QList<QByteArray> rank = RankRow(Train({"--rank", "ranked.dat"}), "ranked.dat");
    QCOMPARE(rank.size(), 5);
    QCOMPARE(rank[0], QByteArray("40"));
    Answer({}, {QStringLiteral("ranked.dat")});
    W->Dispatch(CM_OPENDATA);
    const QByteArray before = Snapshot(W);
    Demonstrate();
    QCOMPARE(W->LastShown().episodes, 100LL);
    QCOMPARE(W->LastShown().deliveries, rank[2].toLongLong());
    QCOMPARE(W->LastShown().takes, rank[3].toLongLong());
    QCOMPARE(W->LastShown().MeanFitness(), rank[4].toLongLong());
    QCOMPARE(MessageBoxHook().LastText,
             QString::fromUtf8("Ablagen: %1 in 100 Durchgängen (%2 je Durchgang)\nAufnahmen: %3\nmittlere Fitness: %4")
                 .arg(QString(rank[2]), QString(rank[1]), QString(rank[3]), QString(rank[4])));
    QVERIFY2(Snapshot(W) == before, "the demonstration changed the population");
    QVERIFY(W->Watch().DrawnSteps > 100 * 5 * 50);  // every real step of the hundred episodes is drawn
  }

  // By hand: a network whose one link moves nothing pays 10 a run, summed over
  // the five runs of an episode: -10 - 20 - 30 - 40 - 50 = -150, and never touches the ball.
  void demonstrationOfAScriptedNetwork() {
    TChromosom& best = W->Population()->bestIndividual;
    ClearWeights(best);
    best.setWeight(0, 11, 50);
    best.setConnections(1);
    Demonstrate();
    QCOMPARE(W->LastShown().episodes, 100LL);
    QCOMPARE(W->LastShown().fitnessSum, -15000LL);
    QCOMPARE(W->LastShown().takes, 0LL);
    QCOMPARE(MessageBoxHook().LastText,
             QString::fromUtf8("Ablagen: 0 in 100 Durchgängen (0.00 je Durchgang)\nAufnahmen: 0\nmittlere Fitness: -150"));
  }

  // Pause holds the demonstration; a single step moves it by one drawn step; F9 again stops it without a summary.
  void demonstrationPausesAndStops() {
    long long atPause = -1, afterStep = -1;
    QString episodeText;
    bool episodeFits = false;
    QTimer driver;
    int tick = 0;
    driver.callOnTimeout([&] {
      ++tick;
      if (tick == 5) W->Dispatch(CM_PAUSE);
      if (tick == 10) {
        atPause = W->Watch().DrawnSteps;
        episodeText = W->MessageText();
        episodeFits = W->MessageField()->fontMetrics().horizontalAdvance(episodeText) <= W->MessageField()->TextWidth();
      }
      if (tick == 11) W->Dispatch(CM_SINGLESTEP);
      if (tick == 15) afterStep = W->Watch().DrawnSteps;
      if (tick == 16) {
        W->Dispatch(CM_PAUSE);
        W->Dispatch(CM_SHOWBEST);  // stops it
      }
      if (tick > 2000) W->Population()->DoBreakANN();  // a backstop
    });
    driver.start(1);
    Answer({});
    W->Dispatch(CM_SHOWBEST);
    driver.stop();
    QCOMPARE(afterStep, atPause + 1);
    QVERIFY(!W->LastShownWhole() && !W->RunActive());
    QCOMPARE(MessageBoxHook().Shown, 0);  // no summary for a stopped demonstration
    // The episode's line read whole at the window's natural size; the arm's fields back afterwards.
    // Which episode the pause meets depends on the machine's speed, not its line's form.
    static const QRegularExpression episodeLine(QString::fromUtf8("^Vorführung: Durchgang ([1-9][0-9]?|100) von 100 \\(Podeste [1-9]0? und [1-9]0?\\), Aufnahmen [0-9]+, Ablagen [0-9]+$"));
    QVERIFY2(episodeLine.match(episodeText).hasMatch(), qPrintable(episodeText));
    QVERIFY(episodeFits);
    QVERIFY(W->AxleField(0)->isVisible() && W->DeliveriesField()->isVisible());
  }

  // A new population of a seed is the trainer's fresh population of that seed, byte for byte.
  void newPopulationEqualsTrainers() {
    QCOMPARE(Train({"--generations", "0", "--seed", "42", "fresh.dat"}), QByteArray());
    W->MarkPopulationChanged(true);
    Answer({QMessageBox::No});  // the unsaved-work question comes first
    FileDialogHook().Texts = {QStringLiteral(" 42 ")};
    W->Dispatch(CM_NEWPOPUL);
    QCOMPARE(MessageBoxHook().Shown, 1);
    QVERIFY(W->PopulationUnsaved());
    QVERIFY(W->FitnessHistory().Size() == 0);
    QVERIFY(Snapshot(W) == Bytes(QStringLiteral("fresh.dat")));
    // Cancelled at the question: nothing changes.
    const QByteArray kept = Snapshot(W);
    Answer({QMessageBox::Cancel});
    W->Dispatch(CM_NEWPOPUL);
    QVERIFY(Snapshot(W) == kept);
  }

  // The runs dialog drives a scripted trainer: its arguments, the live table, the ranking, the winner adopted unsaved.
  void manyRunsWithAScriptedTrainer() {
    QCOMPARE(Train({"--generations", "0", "--seed", "7", "winner-source.dat"}), QByteArray());
    W->Dispatch(CM_MANYRUNS);
    TManyRunsDlg* d = W->RunsDialog();
    QVERIFY(d != nullptr && d->isVisible());
    d->SetTrainer(QStringLiteral("/bin/sh"), {QStringLiteral(FAKE_TRAINER), QStringLiteral("winner-source.dat")});
    d->RunsBox()->setValue(2);
    d->GenerationsBox()->setValue(250);
    QSignalSpy ended(d, &TManyRunsDlg::finished);
    d->Start();
    QVERIFY(d->Running() && !W->Action(CM_NEWPOPUL)->isEnabled());
    QVERIFY(ended.wait(20000));
    QCOMPARE(d->ExitStatus(), 0);
    QCOMPARE(Bytes(QStringLiteral("fake-args.txt")),
             QByteArray("--runs 2 --until-deliveries 3.0 --until-generation 250 --seed 1 --progress zarnik.dat\n"));
    QTableWidget* t = d->Table();
    QCOMPARE(t->rowCount(), 3);  // a row for each run that reported, in that order: none for run 2
    const QStringList run1{"1", "2", "250", "1300", "4", "3.10", "3.10", "Ziel erreicht"};
    for (int c = 0; c < run1.size(); ++c) QCOMPARE(t->item(1, c)->text(), run1[c]);
    QCOMPARE(t->item(2, 0)->text() + ' ' + t->item(2, 1)->text(), QStringLiteral("3 4"));
    // Run 3 goes on from run 1's kept best; the others began from their own seeds.
    QCOMPARE(t->item(2, 8)->text() + '|' + t->item(1, 8)->text(), QStringLiteral("Lauf 1, Generation 200|"));
    QCOMPARE(t->item(0, 2)->text(), QStringLiteral("200"));
    QCOMPARE(t->item(0, 5)->text(), QStringLiteral("-"));
    QVERIFY(d->Ranking()->toPlainText().contains(QStringLiteral("zarnik.runs/run-1-best.dat  31")));
    QCOMPARE(d->Winner(), QStringLiteral("zarnik.dat"));
    QVERIFY(Snapshot(W) == Bytes(QStringLiteral("winner-source.dat")));
    QVERIFY(!W->PopulationUnsaved());  // it is the population's own file
    QCOMPARE(d->State(), QStringLiteral("Der Gewinner zarnik.dat ist die Population des Fensters."));
  }

  // Stopped, the set keeps its table and offers to go on with the same call.
  void manyRunsStopAndResume() {
    TManyRunsDlg* d = W->RunsDialog();
    QVERIFY(d != nullptr);
    qputenv("FAKE_WAIT", "1");
    QSignalSpy ended(d, &TManyRunsDlg::finished);
    QVERIFY(QDir(QStringLiteral("zarnik.runs")).removeRecursively());  // a new set: the table begins empty
    Answer({QMessageBox::Yes});  // the winner of the set before may be replaced
    d->Start();
    qunsetenv("FAKE_WAIT");
    QTRY_VERIFY_WITH_TIMEOUT(d->Table()->item(1, 2) != nullptr && d->Table()->item(1, 2)->text() == "200", 20000);
    QVERIFY(d->WatchRunButton()->isEnabled());  // while the set runs, without a click in the table
    d->Stop();
    QVERIFY(ended.wait(20000));
    QCOMPARE(d->ExitStatus(), 130);
    QCOMPARE(d->Table()->item(0, 7)->text(), QStringLiteral("angehalten"));
    QCOMPARE(d->Table()->item(0, 2)->text(), QStringLiteral("300"));
    QVERIFY(d->Winner().isEmpty());
    d->Start();  // resumed: the same arguments
    QVERIFY(ended.wait(20000));
    QCOMPARE(d->ExitStatus(), 0);
    QCOMPARE(Bytes(QStringLiteral("fake-args.txt")),
             QByteArray("--runs 2 --until-deliveries 3.0 --until-generation 250 --seed 1 --progress zarnik.dat\n"));
    d->hide();
  }

  // A changed population of the window is asked about before the set starts; after it, nothing the
  // window stores lands on the winner: Ja at the start stores it first, Nein gives it up without a
  // second question, and a change during the set keeps the winner in its file until taken over by hand,
  // whose Ja stores the window's population under another name.
  void manyRunsNeverStoreOverTheWinner() {
    TManyRunsDlg* d = W->RunsDialog();
    QVERIFY(d != nullptr);
    const QByteArray winner = Bytes(QStringLiteral("winner-source.dat"));
    QSignalSpy ended(d, &TManyRunsDlg::finished);
    const auto newPopulation = [&](const char* seed) {
      Answer({});
      FileDialogHook().Texts = {QString::fromLatin1(seed)};
      W->Dispatch(CM_NEWPOPUL);
      return W->PopulationUnsaved() ? Snapshot(W) : QByteArray();
    };

    const QByteArray first = newPopulation("9");
    QVERIFY(!first.isEmpty() && first != winner);
    Answer({QMessageBox::Yes});
    d->Start();
    QVERIFY(ended.wait(20000));
    QCOMPARE(MessageBoxHook().Shown, 1);
    QVERIFY(Bytes(QStringLiteral("fake-found.dat")) == first);  // stored before the trainer ran
    QVERIFY(Bytes(QStringLiteral("zarnik.dat")) == winner && Snapshot(W) == winner);
    QVERIFY(!W->PopulationUnsaved());

    QVERIFY(!newPopulation("10").isEmpty());
    Answer({QMessageBox::No});
    d->Start();
    QVERIFY(ended.wait(20000));
    QCOMPARE(MessageBoxHook().Shown, 1);
    QVERIFY(Snapshot(W) == winner && !W->PopulationUnsaved());

    const QByteArray third = newPopulation("11");
    QVERIFY(!third.isEmpty() && third != winner);
    Answer({QMessageBox::No});
    d->Start();
    W->MarkPopulationChanged(true);  // as a training of the window while the set runs
    QVERIFY(ended.wait(20000));
    QVERIFY(Bytes(QStringLiteral("zarnik.dat")) == winner && Snapshot(W) == third);
    QVERIFY(d->AdoptWinnerButton()->isEnabled());
    Answer({QMessageBox::Yes}, {QStringLiteral("kept.dat")});
    d->AdoptWinnerButton()->click();
    QVERIFY(Bytes(QStringLiteral("kept.dat")) == third);
    QVERIFY(Bytes(QStringLiteral("zarnik.dat")) == winner && Snapshot(W) == winner);

    // Stored as kept.dat, the window's file is that one now: the winner is unsaved there.
    QVERIFY(W->PopulationUnsaved() && W->PopulationFileName() == QStringLiteral("kept.dat"));
    W->SetPopulationFile({});
    W->MarkPopulationChanged(false);

    // Another seed is another set: asked (Abbrechen the default), and "Neu beginnen" moves the old one aside.
    d->SeedEdit()->setText(QStringLiteral("77"));
    Answer({QMessageBox::Cancel});
    d->Start();
    QVERIFY(!d->Running());
    QCOMPARE(MessageBoxHook().LastDefault, QMessageBox::Cancel);
    QVERIFY2(MessageBoxHook().LastText.contains(QStringLiteral("(Startwert 1 statt 77)")), qPrintable(MessageBoxHook().LastText));
    Answer({QMessageBox::Yes, QMessageBox::Yes});  // a new beginning; then the winner may replace zarnik.dat
    d->Start();
    QVERIFY(ended.wait(20000));
    QVERIFY(Bytes(QStringLiteral("zarnik.runs.~1~/set.txt")).contains("seed 1\n"));
    QVERIFY(Bytes(QStringLiteral("zarnik.runs/set.txt")).contains("seed 77\n"));
    d->SeedEdit()->setText(QStringLiteral("1"));
    d->hide();
  }

  // The real trainer with tiny counts: the window's set writes the very files that the same call of
  // zarnik-train --runs writes, and its winner becomes the window's population.
  void manyRunsWithTheRealTrainer() {
    TManyRunsDlg* d = W->RunsDialog();
    QVERIFY(d != nullptr);
    d->SetTrainer(TManyRunsDlg::FindTrainer());
    for (const char* dir : {"window", "direct"}) QVERIFY(QDir().mkpath(dir));
    W->SetPopulationFile(QStringLiteral("window/zarnik.dat"));
    d->RunsBox()->setValue(2);
    d->GenerationsBox()->setValue(3);
    d->GoalBox()->setValue(0);  // none: the limit ends the set
    d->SeedEdit()->setText(QStringLiteral("5"));
    const QStringList args = d->Arguments(QStringLiteral("zarnik.dat"));
    QCOMPARE(args.join(' '), QStringLiteral("--runs 2 --until-generation 3 --seed 5 --progress zarnik.dat"));
    QSignalSpy ended(d, &TManyRunsDlg::finished);
    d->Start();
    QVERIFY(ended.wait(120000));
    QCOMPARE(d->ExitStatus(), 0);
    QCOMPARE(d->Table()->rowCount(), 2);
    QCOMPARE(d->Table()->item(1, 2)->text(), QStringLiteral("3"));
    QCOMPARE(d->Winner(), QStringLiteral("window/zarnik.dat"));
    QProcess direct;
    direct.setWorkingDirectory(QStringLiteral("direct"));
    direct.start(TManyRunsDlg::FindTrainer(), args);
    QVERIFY(EndsWhileProgressing(direct));
    for (const char* name : {"zarnik.runs/run-0.dat", "zarnik.runs/run-1.dat", "zarnik.runs/run-0-best.dat", "zarnik.dat"}) {
      const QByteArray mine = Bytes(QStringLiteral("window/") + name);
      QVERIFY2(mine.size() == 199620 && mine == Bytes(QStringLiteral("direct/") + name), name);
    }
    QVERIFY(Snapshot(W) == Bytes(QStringLiteral("window/zarnik.dat")));
    W->SetPopulationFile({});
    d->hide();
  }

  // A hand-made history of both trainings, handed over in two parts: each shows on its own x axis, which
  // ends at its data, and y ranges that fit it (worked by hand from the nice steps 1, 2, 5 times powers of
  // ten); "bisher bestes" carries training 2's best across the parts; deliveries (rows that have them) on
  // their own axis from 0.
  void chartRangesOfAMixedHistory() {
    using C = TFitnessChartWindow;
    C chart(nullptr);
    const std::vector<TFitnessRow> rows = {
        {0, 1, -1000000, 0, 0, 0.0}, {1, 1, 500, 0, 1, 0.1},    {2, 1, 200, 0, 1, 0.2},
        {10, 2, 100, -50, 10, 0.0, -1}, {11, 2, 300, 20, 11, 0.1, 2}, {12, 2, 250, 10, 11, 0.2, 1},
        {13, 2, 400, 60, 13, 0.3, 3}};
    chart.Append(rows.data(), 5);
    chart.Append(rows.data() + 5, 2);
    chart.resize(900, 500);
    chart.show();
    QCOMPARE(chart.ShownMode(), 2);  // the training of the last row
    QCOMPARE(chart.Series(C::BestSoFar2)->points(), (QList<QPointF>{{10, 100}, {11, 300}, {12, 300}, {13, 400}}));
    QCOMPARE(chart.Series(C::Deliveries2)->points(), (QList<QPointF>{{11, 2}, {12, 1}, {13, 3}}));
    QVERIFY(chart.Series(C::Deliveries2)->attachedAxes().contains(chart.AxisDeliveries()));
    QCOMPARE(chart.AxisX()->min(), 10.0);
    QCOMPARE(chart.AxisX()->max(), 13.0);
    QCOMPARE(chart.AxisY()->min(), -100.0);  // -50 .. 400 and 5 % room: -72.5 .. 422.5 on steps of 100
    QCOMPARE(chart.AxisY()->max(), 500.0);
    QCOMPARE(chart.AxisDeliveries()->min(), 0.0);
    QCOMPARE(chart.AxisDeliveries()->max(), 3.0);
    QVERIFY(chart.Series(C::Best2)->isVisible() && !chart.Series(C::Best1)->isVisible());
    chart.ChooseMode(1);
    QCOMPARE(chart.AxisX()->min(), 0.0);
    QCOMPARE(chart.AxisX()->max(), 2.0);
    QCOMPARE(chart.AxisY()->min(), -1200000.0);  // -1050025 .. 50525 on steps of 200000
    QCOMPARE(chart.AxisY()->max(), 200000.0);
    QVERIFY(!chart.AxisDeliveries()->isVisible() && chart.Series(C::Best1)->isVisible());
    chart.Append(&rows[6], 1);  // chosen: a row of the other training does not switch back
    QCOMPARE(chart.ShownMode(), 1);
  }

  // Every title, legend name and label of the chart whole (Qt Charts would end a cut one in "...") and
  // inside the picture, on screen and in the saved picture: at the chart's minimum size, at the size it
  // gets beside the main window on a 1280x1024 screen, and at its own size; for both trainings.
  void chartTextsWhole_data() {
    QTest::addColumn<QSize>("size");  // empty: the minimum
    QTest::addColumn<int>("mode");
    // The main window's frame as openbox puts it on a 1280x1024 screen (frame 1, 20 above, 5 below): the
    // chart's frame goes below it, 1022 x 377, its 25 px of title bar and border off.
    const QRect placed = PlaceBeside({159, 108, 760, 539}, {1022, 505}, {400, 300}, {0, 0, 1280, 1024});
    QCOMPARE(placed, QRect(159, 647, 1022, 377));
    for (int mode : {2, 1}) {
      QTest::addRow("minimum, training %d", mode) << QSize() << mode;
      QTest::addRow("below the main window, training %d", mode) << QSize(1020, 352) << mode;
      QTest::addRow("own size, training %d", mode) << QSize(1020, 480) << mode;
    }
  }

  void chartTextsWhole() {
    QFETCH(QSize, size);
    QFETCH(int, mode);
    TFitnessChartWindow chart(nullptr);
    chart.Append({{0, 1, -1000000, 0, 0, 0.0}, {1, 1, 24817, 0, 1, 0.1}, {2, 2, 31250, -20417, 2, 0.2, 3},
                  {6000, 2, 48713, 10250, 5999, 90.0, 7}});
    chart.ChooseMode(mode);
    chart.layout()->activate();
    chart.resize(size.isEmpty() ? chart.minimumSize() : size);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::processEvents();
    if (size.isEmpty()) QVERIFY(chart.minimumSize().width() < 700 && chart.minimumSize().height() < 360);
    QVERIFY(chart.size().expandedTo(chart.minimumSize()) == chart.size());
    const QString path = QStringLiteral("whole.png");
    QVERIFY(chart.SavePicture(path));
    const QImage picture(path);
    QCOMPARE(picture.size(), chart.View()->size());
    QStringList texts;
    for (const QGraphicsItem* item : chart.View()->scene()->items()) {
      const auto* text = qgraphicsitem_cast<const QGraphicsTextItem*>(item);
      if (text == nullptr || !text->isVisible() || text->toPlainText().isEmpty()) continue;
      texts << text->toPlainText();
      QVERIFY2(!text->toPlainText().contains(QLatin1String("...")), qPrintable(text->toPlainText()));
      const QRect onPicture = chart.View()->mapFromScene(text->sceneBoundingRect()).boundingRect();
      QVERIFY2(QRect(QPoint(), picture.size()).contains(onPicture), qPrintable(text->toPlainText()));
    }
    const QStringList whole = mode == 2 ? QStringList{"Generation (Training 2)", "Fitness", "Ablagen des Besten",
                                                      "bester (Training 2)", "Durchschnitt (Training 2)",
                                                      "bisher bestes"}
                                        : QStringList{"Durchgang (Training 1)", "Fitness", "bester (Training 1)"};
    for (const QString& t : whole) QVERIFY2(texts.contains(t), qPrintable(t + " not among: " + texts.join(" | ")));
    QCOMPARE(texts.count(QStringLiteral("Ablagen des Besten")), mode == 2 ? 2 : 0);  // axis title and legend name
    QFile::remove(path);
  }

  // Only the appended bytes are read; a torn row waits for its end; a replaced file is read from its start.
  void followingAnAppendedHistory() {
    const QString path = QStringLiteral("followed.csv");
    QFile::remove(path);
    const QByteArray first = Header + "0,2,100,50,0,0.100,1\n1,2,120,60,1,0.200,0\n";
    AppendText(path, first);
    TFitnessFollower follower;
    std::vector<TFitnessRow> restarted, appended;
    int restarts = 0;
    connect(&follower, &TFitnessFollower::rowsRestarted, this, [&](const std::vector<TFitnessRow>& r) { restarted = r; ++restarts; });
    connect(&follower, &TFitnessFollower::rowsAppended, this, [&](const std::vector<TFitnessRow>& r) { appended.insert(appended.end(), r.begin(), r.end()); });
    follower.Follow(path);
    QCOMPARE(restarts, 1);
    QCOMPARE(restarted.size(), size_t(2));
    QCOMPARE(follower.BytesRead(), static_cast<long long>(first.size()));
    const QByteArray more = "2,2,130,70,2,0.300,3\n3,2,90,";
    AppendText(path, more);
    follower.Poll();
    QCOMPARE(follower.BytesRead(), static_cast<long long>(first.size() + more.size()));
    QCOMPARE(appended.size(), size_t(1));
    QCOMPARE(appended[0].bestDeliveries, 3);
    AppendText(path, "75,2,0.400,2\n");
    follower.Poll();
    QCOMPARE(appended.size(), size_t(2));
    QCOMPARE(appended[1].averageFitness, 75);
    QCOMPARE(restarts, 1);
    // What a trainer's winner copy does: a new file in its place.
    QFile::remove(QStringLiteral("replacement.csv"));
    AppendText(QStringLiteral("replacement.csv"), Header + "5,2,10,5,5,0.100,0\n");
    QVERIFY(::rename("replacement.csv", "followed.csv") == 0);
    follower.Poll();
    QCOMPARE(restarts, 2);
    QCOMPARE(restarted.size(), size_t(1));
    QCOMPARE(restarted[0].generation, 5);
  }

  // A frame that reaches past the screen is moved back onto it, and made smaller only if it is larger.
  void framesFitOnTheScreen() {
    const QRect screen(0, 0, 1280, 1024);
    QCOMPARE(FitInside({100, 900, 1040, 144}, screen), QRect(100, 880, 1040, 144));  // 20 px below: up by 20
    QCOMPARE(FitInside({-5, 10, 300, 200}, screen), QRect(0, 10, 300, 200));
    QCOMPARE(FitInside({900, 0, 1400, 1100}, screen), QRect(0, 0, 1280, 1024));
    QCOMPARE(FitInside({10, 10, 300, 200}, screen), QRect(10, 10, 300, 200));
  }

  // The window's chart follows the history of its loaded population while a trainer appends to it.
  void windowFollowsTheLoadedHistory() {
    QCOMPARE(Train({"--generations", "3", "--seed", "2", "--quiet", "watched.dat"}), QByteArray());
    Answer({}, {QStringLiteral("watched.dat")});
    W->Dispatch(CM_OPENDATA);
    QCOMPARE(W->FitnessHistory().Size(), size_t(3));
    AppendText(QStringLiteral("watched.csv"), "3,2,10,5,3,0.100,0\n");
    W->PollFollowedHistory();
    QCOMPARE(W->FitnessHistory().Size(), size_t(4));
    QCOMPARE(W->FitnessHistory().Data().back().generation, 3);
  }
};

QTEST_MAIN(SeeItSucceedTest)
#include "see_it_succeed_test.moc"
