// Watching the learning: the fitness chart (its ranges, its texts whole) and the history file it follows,
// the tempo, and the network view.
#include <QGraphicsTextItem>
#include <QGraphicsView>
#include <QChartView>
#include <QGraphicsScene>
#include <QImage>
#include <QLayout>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <array>
#include <vector>

#include "gui_test_support.h"
#include "watching/fitness_chart.h"
#include "watching/fitness_follower.h"
#include "watching/network_view.h"
#include "watching/step_pacer.h"
#include "widgets/window_place.h"

namespace {

const QByteArray Header = "generation,mode,best_fitness,average_fitness,generation_of_best,seconds,best_deliveries\n";

// Time that passes only while the pacer waits, a tick a turn, never past the time waited for.
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

}  // namespace

class WatchingTest : public QObject, TWindowFixture {
  Q_OBJECT

  using C = TFitnessChartWindow;

  C* Chart() const { return W->Watch().FitnessChart; }
  TNetworkView* View() const { return W->Watch().NetView->View(); }
  TChromosom& Best() const { return W->Population()->bestIndividual; }

 private slots:
  void initTestCase() { QVERIFY(OpenTestWindow(W, Dir)); }
  void init() {
    ResetWindow(W);
    W->Dispatch(CM_TEMPMAXI);
  }

  // Every generation of both trainings is a point of the chart; the history saves and loads with the population.
  void chartFollowsBothTrainings() {
    W->Dispatch(CM_FITCHART);
    W->UpdateCommands();
    QVERIFY(Chart()->isVisible() && W->Action(CM_FITCHART)->isChecked());
    TWorld& world = *W->Population();
    const int generations = world.Generations, passes = world.Passes1;
    Run(W, Qt::Key_F2, "four generations of training 2", [&](int) {
      if (world.Generations >= generations + 4) Press(W, Qt::Key_F2);
    });
    Run(W, Qt::Key_F1, "three passes of training 1", [&](int) {  // may also end by itself
      if (world.Passes1 >= passes + 3) Press(W, Qt::Key_F1);
    });
    const size_t trained2 = size_t(world.Generations - generations), trained1 = size_t(world.Passes1 - passes);
    QVERIFY(trained2 >= 4 && trained1 >= 1);
    QCOMPARE(W->FitnessHistory().Size(), trained1 + trained2);  // the chart's points below tell the modes apart
    QCOMPARE(W->FitnessHistory().Data().front().generation, generations);
    for (auto [s, n] : {std::pair{C::Best2, trained2}, {C::Average2, trained2}, {C::BestSoFar2, trained2}, {C::Best1, trained1}})
      QCOMPARE(Chart()->Series(s)->count(), qsizetype(n));  // below the merging limit a point a row
    const QPointF last = Chart()->Series(C::Best2)->points().back();
    QCOMPARE(last, QPointF(world.Generations - 1, W->FitnessHistory().Data()[trained2 - 1].bestFitness));
    // Training 1 ran last, so it is shown, on its own x axis ending at its last pass; then training 2 on request.
    QCOMPARE(Chart()->ShownMode(), 1);
    QCOMPARE(Chart()->AxisX()->max(), std::max(Chart()->Series(C::Best1)->points().back().x(), Chart()->AxisX()->min() + 1));
    Chart()->ChooseMode(2);
    QCOMPARE(Chart()->AxisX()->max(), last.x());
    QVERIFY(last.y() <= Chart()->AxisY()->max() && last.y() >= Chart()->AxisY()->min());
    Chart()->ChooseMode(0);
    // Saved beside the population; loading replaces the rows and the chart's points, adding none.
    W->Dispatch(CM_SAVEDATA);
    W->Dispatch(CM_LOADDATA);
    QCOMPARE(W->FitnessHistory().Size(), trained1 + trained2);
    QCOMPARE(Chart()->Received(C::Best2), trained2);
    QVERIFY(world.Passes1 > W->FitnessHistory().LastPass1());  // training 1 numbers on after the loaded passes
    Chart()->close();  // the close box hides it, and the check mark follows
    W->UpdateCommands();
    QVERIFY(!Chart()->isVisible() && !W->Action(CM_FITCHART)->isChecked());
  }

  // A long history merges runs of generations (best of them, mean of them); the picture saves as PNG.
  void longHistoryAndPicture() {
    C chart(nullptr);
    std::vector<TFitnessRow> rows;
    const int n = 5000;
    for (int g = 0; g < n; ++g) rows.push_back({g, 2, -5000 + (g * 37) % 1001, -9000 + g % 8, g, 0.0});
    rows.push_back({7, 1, 123, 0, 7, 0.0});
    for (size_t done = 0; done < rows.size(); done += 300)  // as dispatches hand them over
      chart.Append(rows.data() + done, std::min<size_t>(300, rows.size() - done));
    const QList<QPointF> best = chart.Series(C::Best2)->points();
    QVERIFY(best.size() <= qsizetype(C::MaxShown) && best.size() > 100);
    QCOMPARE(best.back().x(), double(n - 1));
    QCOMPARE(std::max_element(best.begin(), best.end(), [](auto a, auto b) { return a.y() < b.y(); })->y(), -4000.0);
    QCOMPARE(chart.Series(C::Average2)->at(0).y(), -8996.5);  // a run (a power of two long) averages the cycle of eight
    // 5000 = 312 runs of 16 and a last one of 8, shown at its last generation: the mean of its 8 alone.
    QCOMPARE(chart.Series(C::Average2)->points().back(), QPointF(n - 1, -8996.5));
    QCOMPARE(chart.Series(C::Best1)->count(), 1);
    chart.show();
    Answer({}, {Dir.filePath(QStringLiteral("verlauf"))});
    QCOMPARE(chart.findChild<QPushButton*>()->text(), QStringLiteral("Bild speichern..."));
    QTest::mouseClick(chart.findChild<QPushButton*>(), Qt::LeftButton);
    QVERIFY(QImage(Dir.filePath(QStringLiteral("verlauf.png"))).width() > 100);
  }

  // Passes at the counters' top: the generation axis goes on past 2147483647 and labels it so, never
  // wrapping round to -2147483648 (the fitness axis stays small here, so no label may be that negative).
  void axisAtTheTopOfTheCount() {
    C chart(nullptr);
    const std::vector<TFitnessRow> rows = {{2147483646, 2, -5, -9, 0, 0.0, -1}, {2147483647, 1, -3, 0, 2147483647, 0.0, -1}};
    chart.Append(rows.data(), rows.size());
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    chart.grab();
    QStringList labels;
    for (QGraphicsItem* item : chart.findChild<QGraphicsView*>()->scene()->items())
      if (auto* text = dynamic_cast<QGraphicsTextItem*>(item)) labels << text->toPlainText();
    QVERIFY2(labels.contains(QStringLiteral("2147483648")), qPrintable(labels.join(' ')));
    QVERIFY2(!labels.contains(QStringLiteral("-2147483648")), qPrintable(labels.join(' ')));
  }

  // A step a little late keeps the beat; one late by more than a step (a message box in between) starts a
  // fresh beat one step on, instead of rushing the steps after it to catch up.
  void paceAfterALateStep() {
    TFakePacerClock clock;
    TStepPacer pacer;
    pacer.UseClock(&clock);
    pacer.SetTempo(TStepPacer::Slow);
    const std::chrono::nanoseconds step(66666666);  // 1 s / 15
    const auto wait = [&] { pacer.Wait([] {}, [] { return false; }); };
    const TPacerClock::Clock::time_point start = clock.T;
    wait();
    clock.T += step / 2;
    wait();
    clock.T += std::chrono::seconds(5);
    const TPacerClock::Clock::time_point late = clock.T;
    wait();
    wait();
    QVERIFY(clock.Dues == (std::vector{start + step, start + 2 * step, late + step, late + 2 * step}));
    QCOMPARE(clock.T, late + 2 * step);
  }

  // Activation at Langsam draws steps 1/15 s apart; F3 during a paced wait ends it in that tick.
  void tempoPacesActivation() {
    TFakePacerClock clock;
    TZarnikWindowProbe(W).UsePacerClock(&clock);
    W->Dispatch(CM_TEMPSLOW);
    QCOMPARE(SavedTempo(), TStepPacer::Slow);
    TPacerClock::Clock::time_point stopAt{}, due{};
    clock.OnTick = [&] {
      if (UserBreak || clock.Dues.size() < 10 || !W->Watch().Pacer.Waiting()) return;
      stopAt = clock.T;
      due = W->Watch().Pacer.NextDue();
      Press(W, Qt::Key_F3);
    };
    Run(W, Qt::Key_F3, "ten paced steps of activation", [](int) {});
    TZarnikWindowProbe(W).UsePacerClock(nullptr);
    for (size_t k = 1; k < clock.Dues.size(); ++k)
      QCOMPARE(clock.Dues[k] - clock.Dues[k - 1], std::chrono::nanoseconds(66666666));  // 1 s / 15
    QCOMPARE(clock.T, stopAt + clock.Tick);  // the tick in which F3 came, no more
    QVERIFY(clock.T < due && !W->Watch().Pacer.Waiting());
    W->Dispatch(CM_TEMPNORM);
    TZarnikWindowProbe(W).SetPacerFrameRate(0.0);  // Normal: a display frame, 60 a second if none is reported
    QCOMPARE(W->Watch().Pacer.Interval(), std::chrono::nanoseconds(16666666));
  }

  // One line per link in use of the 54 the 11-3-3-4 shape allows, at any size; F8 and its check mark;
  // then the values an activation step shows.
  void networkView() {
    std::vector<std::pair<int, int>> links;
    for (auto [s0, s1, t0, t1] : {std::array{0, 11, 11, 14}, std::array{11, 14, 14, 17}, std::array{14, 17, 17, 21}})
      for (int s = s0; s < s1; ++s)
        for (int t = t0; t < t1; ++t) links.push_back({s, t});
    ClearWeights(Best());
    for (size_t k = 0; k < links.size(); ++k) Best().setWeight(links[k].first, links[k].second, k % 2 ? -40 : 150);
    for (int k : {0, 7, 33, 41, 53}) Best().setWeight(links[k].first, links[k].second, 0);  // five absent: 49 left
    Press(W, Qt::Key_F8);
    W->UpdateCommands();
    QVERIFY(W->Watch().NetView->isVisible() && W->Action(CM_NETVIEW)->isChecked());
    W->Watch().NetView->resize(1100, 800);
    View()->grab();  // lines are counted as they are painted
    QVERIFY(View()->LinesDrawn() == 49 && View()->LinksInUse() == 49 && View()->PossibleLinks() == 54);
    QVERIFY(!View()->HasValues());
    // Input 7 (A's angle code) passes 11 and 14 to A's output, turning A by code × 0.002°: from 90.0 (code
    // 180) three steps reach 91.08 (code -179), which turns it back to 90.722 (180). One paint per dispatch.
    ClearWeights(Best());
    Best().setWeight(7, 11, 100);
    Best().setWeight(11, 14, 100);
    Best().setWeight(14, 17, 100);
    TWorld& world = *W->Population();
    TZarnikWindowProbe(W).StageRun(CM_STARTANN);
    std::fill(world.OutputList.get(), world.OutputList.get() + 6, 0);
    world.InputList = W->GetCalcData(world.OutputList.get(), true, false);
    QVERIFY(!View()->HasValues());  // an undrawn step shows nothing
    for (int code : {180, 180, 180, -179, 180, -179}) {
      world.useBestIndividual();
      for (int node : {7, 11, 14, 17}) QCOMPARE(View()->Value(node), code);
      QCOMPARE(View()->Value(18), 0);  // no link to joint B
      QCOMPARE(View()->Value(0), 50);  // the ball on E, at x 50
    }
    const long long paints = View()->Paints;
    for (int k = 0; k < 10; ++k) world.useBestIndividual();
    QApplication::processEvents();
    QCOMPARE(View()->Paints, paints + 1);
    W->AnnHasFinished();
    TZarnikWindowProbe(W).StageRun(CM_TRAIN2AN);  // training 2 shows a new best at the pump's dispatch, without values
    Best().setWeight(0, 11, 5);
    QCOMPARE(View()->LinksInUse(), 3);
    W->PumpMessages();  // the first pump point of the staged run dispatches
    QCOMPARE(View()->LinksInUse(), 4);
    QVERIFY(!View()->HasValues());
    Press(W, Qt::Key_F8);  // F8 works during runs too
    W->UpdateCommands();
    QVERIFY(!W->Watch().NetView->isVisible() && !W->Action(CM_NETVIEW)->isChecked());
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
};

QTEST_MAIN(WatchingTest)
#include "watching_test.moc"
