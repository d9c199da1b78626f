// The window agrees with the trainer: the demonstration counts what --rank
// counts, a seeded new population is the trainer's, the runs dialog drives a
// scripted and the real trainer, and the chart follows a trainer's history.
#include <QChart>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QXYSeries>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QScatterSeries>
#include <QSignalSpy>
#include <QSlider>
#include <QTableWidget>

#include "gui_test_support.h"
#include "progress/many_runs_dlg.h"
#include "watching/set_chart.h"
#include "watching/fitness_chart.h"
#include "watching/learning_path_dlg.h"
#include "watching/path_comparison_dlg.h"
#include "watching/network_view.h"
#include "widgets/text_gadget.h"

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


}  // namespace

class WindowAndTrainerTest : public QObject {
  Q_OBJECT
  TWindowFixture F;
  TZarnikWindow*& W = F.W;

  // Plays the demonstration to its end (a watchdog stops it, failing, once a minute passes without a drawn step).
  void Demonstrate() {
    TDrawingWatchdog watchdog(W);
    Answer({QMessageBox::Ok});
    W->Dispatch(CM_SHOWBEST);
    QVERIFY2(!watchdog.Expired, "the demonstration drew no step for a minute");
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

  // "Lernweg...": seed 1 keeps entries at generations 100 and 200; the one chosen on the slider is shown in the
  // network view and plays with the counts --rank gives that entry; the population stays as it was. The dialog
  // fits a 1280x1024 screen.
  void learningPathEntryPlaysAsRank() {
    QCOMPARE(Train({"--generations", "200", "--seed", "1", "--threads", "2", "--quiet", "walked.dat"}), QByteArray());
    const QList<QByteArray> rank = RankRow(Train({"--rank", "walked.path@100"}), "walked.path@100");
    QCOMPARE(rank.size(), 5);
    Answer({}, {QStringLiteral("walked.dat")});
    W->Dispatch(CM_OPENDATA);
    W->Dispatch(CM_NETVIEW);
    const QByteArray before = Snapshot(W);
    QSize size;
    bool viewShowsEntry = false;
    QTimer::singleShot(0, W, [&] {
      auto* dialog = qobject_cast<TLearningPathDlg*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      size = dialog->frameGeometry().size();
      QCOMPARE(dialog->List()->count(), 2);
      dialog->Slider()->setValue(0);
      // While the dialog lasts the best is the entry's network, and the view draws it.
      TNetworkView probe;
      probe.SetNetwork(W->Population()->bestIndividual);
      viewShowsEntry = Snapshot(W) != before && probe.LinksInUse() == W->Watch().NetView->View()->LinksInUse();
      dialog->accept();
    });
    Answer({QMessageBox::Ok});
    W->Dispatch(CM_LEARNPATH);
    QVERIFY2(size.width() <= 1280 && size.height() <= 1024 && size.isValid(), "the dialog did not fit or open");
    QCOMPARE(W->LastShown().episodes, 100LL);
    QCOMPARE(W->LastShown().deliveries, rank[2].toLongLong());
    QCOMPARE(W->LastShown().takes, rank[3].toLongLong());
    QCOMPARE(W->LastShown().MeanFitness(), rank[4].toLongLong());
    QVERIFY2(Snapshot(W) == before, "the learning path changed the population");
    QVERIFY(viewShowsEntry);
    // The chart marks the entries where the listing puts them.
    W->Dispatch(CM_FITCHART);
    const QList<QPointF> marks = W->Watch().FitnessChart->PathMarks()->points();
    W->Dispatch(CM_FITCHART);
    QCOMPARE(marks.size(), 2);
    QCOMPARE(marks[0], QPointF(100, rank[1].toDouble()));
    QCOMPARE(marks[1].x(), 200.0);
    // Stored where it came from, the population keeps its path beside it.
    const QByteArray path = Bytes(QStringLiteral("walked.path"));
    Answer({QMessageBox::Yes}, {QStringLiteral("walked.dat")});  // yes, replace it
    W->Dispatch(CM_SAVEDTAS);
    QCOMPARE(MessageBoxHook().Shown, 1);
    QCOMPARE(Bytes(QStringLiteral("walked.path")), path);
    QVERIFY(!QFile::exists(QStringLiteral("walked.~1~.path")));
  }

  // "Vergleichen...": the newest entry beside the first, in a dialog that fits 1280x1024 with its longest line
  // whole; the table is the trainer's --compare of the same entries, its sums what --rank gives each.
  void learningPathEntriesCompared() {
    if (!QFile::exists(QStringLiteral("walked.path")))
      QCOMPARE(Train({"--generations", "200", "--seed", "1", "--threads", "2", "--quiet", "walked.dat"}), QByteArray());
    const QString first = QStringLiteral("walked.path@100"), last = QStringLiteral("walked.path@200");
    const QByteArray ranking = Train({"--rank", first, last});
    const QList<QByteArray> rankFirst = RankRow(ranking, first), rankLast = RankRow(ranking, last);
    QCOMPARE(rankFirst.size(), 5);
    QCOMPARE(rankLast.size(), 5);
    const QByteArray byTrainer = Train({"--compare", last, first});
    Answer({}, {QStringLiteral("walked.dat")});
    W->Dispatch(CM_OPENDATA);
    QString table;
    bool fits = false, newestChosen = false;
    QTimer::singleShot(0, W, [&] {
      auto* dialog = qobject_cast<TLearningPathDlg*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      QCOMPARE(dialog->CompareWith()->currentIndex(), 0);  // the first entry, beside the newest chosen
      QTimer::singleShot(0, dialog, [&] {
        auto* shown = qobject_cast<TPathComparisonDlg*>(QApplication::activeModalWidget());
        if (shown == nullptr) return;
        table = shown->Table()->toPlainText();
        const QSize size = shown->frameGeometry().size();
        int widest = 0;
        for (const QString& line : table.split(QLatin1Char('\n')))
          widest = std::max(widest, shown->Table()->fontMetrics().horizontalAdvance(line));
        fits = size.width() <= 1280 && size.height() <= 1024 && widest <= shown->Table()->viewport()->width();
        shown->accept();
      });
      dialog->CompareButton()->click();
      newestChosen = dialog->Chosen() == 1;
      dialog->reject();
    });
    W->Dispatch(CM_LEARNPATH);
    QVERIFY2(fits, "the comparison did not open or did not fit");
    QVERIFY(newestChosen);
    QCOMPARE(table.trimmed(), QString::fromUtf8(byTrainer).trimmed());
    QRegularExpression sums(QStringLiteral("\nSumme +(\\d+) +(\\d+) +(\\d+) +(\\d+)"));
    const QRegularExpressionMatch m = sums.match(table);
    QVERIFY2(m.hasMatch(), qPrintable(table));
    QCOMPARE(QStringList({m.captured(1), m.captured(2), m.captured(3), m.captured(4)}),
             QStringList({QString(rankLast[3]), QString(rankLast[2]), QString(rankFirst[3]), QString(rankFirst[2])}));
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
    TZarnikWindowProbe(W).MarkPopulationChanged(true);
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
    // Stored over fresh.dat, the new population is not shown the path lying there: it goes aside, kept.
    const QByteArray stale("the path of the population fresh.dat held\n");
    QFile planted(QStringLiteral("fresh.path"));
    QVERIFY(planted.open(QIODevice::WriteOnly | QIODevice::Truncate) && planted.write(stale) == stale.size());
    planted.close();
    QVERIFY(QFile::remove(QStringLiteral("fresh.dat")));  // the stored population is read back below
    Answer({QMessageBox::Yes}, {QStringLiteral("fresh.dat")});
    W->Dispatch(CM_SAVEDTAS);
    QVERIFY(Bytes(QStringLiteral("fresh.dat")) == kept);
    QVERIFY(!QFile::exists(QStringLiteral("fresh.path")));
    QCOMPARE(Bytes(QStringLiteral("fresh.~1~.path")), stale);
    QCOMPARE(W->MessageText(),
             QString::fromUtf8("Population in 'fresh.dat' gespeichert; der Lernweg, der dort lag, liegt jetzt in 'fresh.~1~.path'"));
    TZarnikWindowProbe(W).SetPopulationFile({});  // the runs dialog below starts on a file of its own
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

  // The set in one chart: each place a line through its restart, the run that took place 0 over marked on
  // it, with five places their median and middle half, the goal; wholly on a 1280x1024 screen.
  void setChartOfRecordedChecks() {
    W->Dispatch(CM_MANYRUNS);
    TManyRunsDlg* d = W->RunsDialog();
    QVERIFY(d != nullptr && !d->Running() && QDir().mkpath(QStringLiteral("zarnik.runs")));
    QFile set(QStringLiteral("zarnik.runs/set.txt")), checks(QStringLiteral("zarnik.runs/checks.txt"));
    QVERIFY(set.open(QIODevice::WriteOnly) && checks.open(QIODevice::WriteOnly));
    set.write("zarnik-set 1\nseed 1\nruns 5\ngoal 3\nrestarts 1\n");
    checks.write("zarnik-checks 1\n");
    for (int place = 0; place < 5; ++place)
      checks.write(QStringLiteral("%1\t%1\t100\t%2.00\t0\t-\n%1\t%1\t200\t%3.00\t0\t-\n")
                       .arg(place).arg(place).arg(4 - place).toUtf8());
    checks.write("5\t0\t300\t1.00\t200\t-\n");  // place 0 began anew at 200
    set.close();
    checks.close();
    d->ShowSet();
    TSetChartWindow* c = d->SetChart();
    QVERIFY(c != nullptr && c->isVisible());
    QMap<QString, QList<QPointF>> shown;
    for (QAbstractSeries* s : c->Chart()->series())
      if (auto* xy = qobject_cast<QXYSeries*>(s)) shown[s->name()] = xy->points();
    QCOMPARE(shown[QStringLiteral("Lauf 0")], (QList<QPointF>{{100, 0}, {200, 4}, {300, 1}}));
    QCOMPARE(shown[QStringLiteral("Lauf 4")], (QList<QPointF>{{100, 4}, {200, 0}}));
    // 100: 0 1 2 3 4; 200: 4 3 2 1 0; 300: place 0 alone.
    QCOMPARE(shown[QStringLiteral("Median")], (QList<QPointF>{{100, 2}, {200, 2}, {300, 1}}));
    QCOMPARE(shown[QStringLiteral("Neustart")], (QList<QPointF>{{200, 4}}));
    QCOMPARE(shown[QStringLiteral("Ziel 3.0")], (QList<QPointF>{{0, 3}, {300, 3}}));
    QVERIFY(c->Chart()->series().size() == 10);  // five places, band, median, goal, restarts, copies
    QVERIFY(c->frameGeometry().width() <= 1280 && c->frameGeometry().height() <= 1024);
    c->hide();
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
    TZarnikWindowProbe(W).MarkPopulationChanged(true);  // as a training of the window while the set runs
    QVERIFY(ended.wait(20000));
    QVERIFY(Bytes(QStringLiteral("zarnik.dat")) == winner && Snapshot(W) == third);
    QVERIFY(d->AdoptWinnerButton()->isEnabled());
    Answer({QMessageBox::Yes}, {QStringLiteral("kept.dat")});
    d->AdoptWinnerButton()->click();
    QVERIFY(Bytes(QStringLiteral("kept.dat")) == third);
    QVERIFY(Bytes(QStringLiteral("zarnik.dat")) == winner && Snapshot(W) == winner);

    // Stored as kept.dat, the window's file is that one now: the winner is unsaved there.
    QVERIFY(W->PopulationUnsaved() && W->PopulationFileName() == QStringLiteral("kept.dat"));
    TZarnikWindowProbe(W).SetPopulationFile({});
    TZarnikWindowProbe(W).MarkPopulationChanged(false);

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
    TZarnikWindowProbe(W).SetPopulationFile(QStringLiteral("window/zarnik.dat"));
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
    TZarnikWindowProbe(W).SetPopulationFile({});
    d->hide();
  }

  // The window's chart follows the history of its loaded population while a trainer appends to it.
  void windowFollowsTheLoadedHistory() {
    QCOMPARE(Train({"--generations", "3", "--seed", "2", "--quiet", "watched.dat"}), QByteArray());
    Answer({}, {QStringLiteral("watched.dat")});
    W->Dispatch(CM_OPENDATA);
    QCOMPARE(W->FitnessHistory().Size(), size_t(3));
    AppendText(QStringLiteral("watched.csv"), "3,2,10,5,3,0.100,0\n");
    TZarnikWindowProbe(W).PollFollowedHistory();
    QCOMPARE(W->FitnessHistory().Size(), size_t(4));
    QCOMPARE(W->FitnessHistory().Data().back().generation, 3);
  }
};

QTEST_MAIN(WindowAndTrainerTest)
#include "window_and_trainer_test.moc"
