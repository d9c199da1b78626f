// Runs in the main window: starting and stopping each run by every stop path,
// the progress window's life and texts, the enablers during runs, and the
// network-file commands. A run blocks inside its key press until its loop
// ends; the checks run from a timer that fires during the run's event dispatch.
#include <QAction>
#include <QLayout>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <sys/stat.h>

#include <functional>
#include <initializer_list>
#include <utility>

#include "../support/file_faults.h"
#include "progress/ann_ga_dlg.h"
#include "watching/fitness_chart.h"
#include "widgets/message_box.h"
#include "world.h"
#include "gui_test_support.h"
#include "main_window/zarnik_window.h"
#include "widgets/text_gadget.h"

namespace {

enum TStopPath { OwnKey, Button, Enter, Escape, CloseBox, MainClose, KeyInDialog, KeyInChart };

QString Format(const char* format, int value) { return QString::asprintf(format, value); }

QByteArray Bytes(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class RunsTest : public QObject {
  Q_OBJECT

 private:
  TZarnikWindow* W = nullptr;
  QTemporaryDir Dir;

  QString Text(int id) const { return W->AnnGaDlg ? W->AnnGaDlg->Text(id) : QString(); }

  // Starts a run by `key` and returns when its loop has ended. `step` runs at
  // each event dispatch of the run, with the dispatch's number, until something
  // asks the run to stop; a failed check stops it, and so does a run still
  // going after a minute, which fails naming what was waited for.
  void Run(Qt::Key key, const char* waitedFor, const std::function<void(int)>& step) {
    int pass = 0;
    bool timedOut = false;
    QTimer poll, watchdog;
    connect(&poll, &QTimer::timeout, this, [&] {
      if (!UserBreak) step(pass++);
      if (QTest::currentTestFailed()) W->AnnGaWorld->DoBreakANN();
    });
    connect(&watchdog, &QTimer::timeout, this, [&] {
      timedOut = true;
      W->AnnGaWorld->DoBreakANN();
    });
    watchdog.setSingleShot(true);
    poll.start(0);
    watchdog.start(60000);
    UserBreak = false;
    QApplication::setActiveWindow(W);  // the last run's progress window had the focus
    QTest::keyClick(W, key);
    QVERIFY2(!timedOut, qPrintable(QStringLiteral("no end after a minute, waiting for %1").arg(waitedFor)));
    QVERIFY2(UserBreak, "the run ended by itself, not by the test's stop");
    QVERIFY(!W->RunActive());
    QCOMPARE(W->AnnGaDlg, nullptr);
    QCOMPARE(W->MessageText(), QStringLiteral("Einstellmodus"));
  }

  // Each progress text `id` matches the whole of its `pattern`.
  void Expect(std::initializer_list<std::pair<int, const char*>> texts) {
    for (const auto& [id, pattern] : texts) {
      const QRegularExpression re(QRegularExpression::anchoredPattern(QLatin1String(pattern)));
      QVERIFY2(re.match(Text(id)).hasMatch(), qPrintable(QStringLiteral("%1: '%2'").arg(id).arg(Text(id))));
    }
  }

  // Only the running command, the outline toggle and closing stay available.
  void CheckEnablersDuring(int runId) {
    W->UpdateCommands();
    for (int id = CM_LOADDATA; id <= CM_ABOUTAPP; ++id)
      if (QAction* a = W->Action(id)) {
        QCOMPARE(a->isEnabled(), id == runId || id == CM_OUTLINES || id == CM_CLOSEAPP);
        QCOMPARE(a->isChecked(), id == runId);
      }
  }

  // The 25 weight lines show the best network, five characters an entry.
  void CheckWeightLines() {
    const TChromosom& best = W->AnnGaWorld->bestIndividual;
    const int blocks[3][5] = {{320, 11, 0, 11, 3}, {331, 7, 11, 14, 3}, {338, 7, 14, 17, 4}};
    for (const auto& [firstId, lines, firstSource, firstTarget, targets] : blocks)
      for (int k = 0; k < lines; ++k) {
        QString expected;
        for (int t = 0; t < targets && (k < 3 || firstId == 320); ++t)
          expected += Format("%+5i", best.getWeight(firstSource + k, firstTarget + t)).left(5);
        QCOMPARE(Text(firstId + k), expected);
      }
  }

  // Only the labels of the run and the texts its loop writes before the first
  // event dispatch: nothing of an earlier window or run.
  void CheckFreshWindow(const QHash<int, QString>& expected) {
    for (int id = 301; id <= 364; ++id)
      if (W->AnnGaDlg->Control(id)) QCOMPARE(Text(id), expected.value(id));
  }

  void Press(QWidget* target, Qt::Key key) {
    QApplication::setActiveWindow(target->window());
    QTest::keyClick(target, key);
  }

  // Everything the network file holds: population, best network, generation count.
  QByteArray Snapshot() const {
    W->AnnGaWorld->DoSaveANN("snapshot.dat");
    return Bytes(QStringLiteral("snapshot.dat"));
  }

  // Exactly one warning box with `text` has been shown, or none if `text` is null.
  void ExpectWarning(const char* text) {
    const TMessageBoxHook& box = MessageBoxHook();
    QCOMPARE(box.Shown, text ? 1 : 0);
    QVERIFY(!text || (box.LastText == text && box.LastCaption == "Zarnik32" && box.LastIcon == QMessageBox::Warning &&
                      box.LastButtons == QMessageBox::Ok));
  }

  // Runs a file command; a failure's warning box is answered with OK.
  void FileCommand(int id, const char* failure) {
    MessageBoxHook() = TMessageBoxHook();
    MessageBoxHook().Answers.push_back(QMessageBox::Ok);
    W->Dispatch(id);
    ExpectWarning(failure);
  }

 private slots:
  void initTestCase() {
    QVERIFY(OpenTestWindow(W, Dir));  // "zarnik.dat" lands here
  }

  void cleanupTestCase() { delete W; }

  void init() {
    MessageBoxHook() = TMessageBoxHook();
    W->PopulationChanged = false;  // trained before: the question about saving has its own test
    W->Dispatch(CM_SIMRESET);
  }

  void stopPaths_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("path");
    const char* paths[] = {"own key",          "Abbrechen",           "Enter",
                           "Escape",           "close box",           "main window close",
                           "own key in the progress window", "own key in the chart"};
    for (int command : {CM_TRAIN1AN, CM_TRAIN2AN, CM_STARTANN})
      for (int p = OwnKey; p <= KeyInChart; ++p)
        if (command != CM_STARTANN || p == OwnKey || p == MainClose || p == KeyInChart)
          QTest::addRow("F%d, %s", command - CM_TRAIN1AN + 1, paths[p]) << command << p;
  }

  void stopPaths() {
    QFETCH(int, command);
    QFETCH(int, path);
    const Qt::Key key = Qt::Key(Qt::Key_F1 + command - CM_TRAIN1AN);
    const bool training = command != CM_STARTANN;
    QPointer<TAnnGaDlg> dlg;
    bool stillOpen = false;
    const int generations = W->AnnGaWorld->Generations;  // training 2 counts on from the last F2 row
    if (path == MainClose) MessageBoxHook().Answers.push_back(QMessageBox::Ok);
    Run(key, training ? "the labels of the progress window, then the stop" : "three dispatches, then the stop",
        [&](int pass) {
      if (training ? Text(301).isEmpty() : pass < 3) return;
      QCOMPARE(W->AnnGaWorld->Generations, generations);
      QCOMPARE(W->MessageText(), QString::fromLatin1(training ? "ANN trainiert" : "ANN aktiviert"));
      QCOMPARE(W->Selection, 0);
      QCOMPARE(W->AnnGaDlg != nullptr, training);
      CheckEnablersDuring(command);
      Press(W, key == Qt::Key_F3 ? Qt::Key_F1 : Qt::Key_F3);  // another run's key does nothing
      QVERIFY(W->Train1AN == (command == CM_TRAIN1AN) && W->StartANN == (command == CM_STARTANN));
      dlg = W->AnnGaDlg;
      switch (path) {
        case OwnKey: Press(W, key); break;
        case Button: QTest::mouseClick(dlg->findChild<QPushButton*>("ctl2"), Qt::LeftButton); break;
        case Enter: Press(dlg, Qt::Key_Return); break;
        case Escape: Press(dlg, Qt::Key_Escape); break;
        case CloseBox: dlg->close(); break;
        case MainClose: W->close(); break;
        case KeyInDialog:
          Press(dlg, key == Qt::Key_F1 ? Qt::Key_F3 : Qt::Key_F1);  // another run's key does nothing there either
          QVERIFY(!UserBreak);
          Press(dlg, key);
          break;
        case KeyInChart:
          W->Dispatch(CM_FITCHART);
          Press(W->FitnessChart, key);
          W->FitnessChart->hide();
          break;
      }
      stillOpen = training && dlg && dlg->isVisible();  // the window stays until the loop ends
    });
    QCOMPARE(stillOpen, training);
    QVERIFY(dlg.isNull() && W->isVisible());
    QCOMPARE(W->AnnGaWorld->Generations, generations + (command == CM_TRAIN2AN ? 1 : 0));
    ExpectWarning(path == MainClose ? "Bitte warten, ANN ist noch aktiv!" : nullptr);  // closing refused
  }

  // Training 2, then training 1, each in a new window: the figures and formats
  // of both modes, and nothing of an earlier run in a new window.
  void progressTexts() {
    TWorld& world = *W->AnnGaWorld;
    const int start = world.Generations;
    Run(Qt::Key_F2, "the end of a first generation of training 2", [&](int pass) {
      if (pass == 0) {  // the first dispatch: the top of the run's first generation
        CheckFreshWindow({{301, "avrg Fitness"}, {303, "best Fitness"}, {305, "Individual"}, {307, "Generation"},
                          {309, "Gen. of best"}, {311, "Direction"}, {310, Format("%4i", start)}});
      } else if (world.Generations > start && !Text(302).isEmpty()) {
        Expect({{302, "(?=.{6}) *-?[0-9]+"}, {304, "(?=.{6}) *-?[0-9]+"}, {306, "(?=.{3}$) *[0-9]+"},
                {312, "left|right"}});
        QVERIFY(Text(308) == Format("%3i", world.Generations) || Text(308) == Format("%3i", world.Generations - 1));
        const int shownBest = Text(310).trimmed().toInt();
        QVERIFY(Text(310) == Format("%4i", shownBest) || Text(310) == Format("%3i", shownBest));
        QVERIFY(shownBest >= start && shownBest <= world.Generations);
        CheckWeightLines();
        Press(W->AnnGaDlg, Qt::Key_Escape);
      }
    });
    Run(Qt::Key_F1, "the first pass of training 1", [&](int pass) {
      if (pass == 0)
        CheckFreshWindow({{301, "Distanz"}, {303, "bestFitness"}, {305, "count best used"}, {307, "Pos Ball"}});
      if (Text(308).isEmpty()) return;
      Expect({{302, "-?[0-9]+\\.[0-9]{6}"}, {304, "(?=.{6}) *-?[0-9]+"}, {306, "  [012]"},
              {308, "\\( {0,2}-?[0-9]+ , {0,2}-?[0-9]+ \\)"}, {312, " 6"}, {309, ""}, {310, ""}, {311, ""}});
      CheckWeightLines();
      Press(W->AnnGaDlg, Qt::Key_Escape);
    });
  }

  void networkFile() {
    const char* cannotLoad = "Kann Datei 'Zarnik.dat' nicht laden!";
    TWorld& world = *W->AnnGaWorld;
    QFile file(QStringLiteral("zarnik.dat"));
    file.remove();
    const QByteArray before = Snapshot();
    FileCommand(CM_LOADDATA, cannotLoad);  // without a file nothing changes
    QCOMPARE(Snapshot(), before);
    QCOMPARE(W->LoadFailure, TLoadError::Missing);

    // Round trip through the menu.
    FileCommand(CM_SAVEDATA, nullptr);
    QCOMPARE(file.size(), qint64(199620));
    world.Generations += 7;
    world.Population[5].setWeight(0, 11, world.Population[5].getWeight(0, 11) + 1);
    world.bestIndividual.setFitness(world.bestIndividual.getFitness() - 1);
    FileCommand(CM_LOADDATA, nullptr);
    QCOMPARE(Snapshot(), before);
    QCOMPARE(W->LoadFailure, TLoadError::None);

    // A damaged file is refused whole.
    QVERIFY(file.resize(199620 - 1976 / 2));
    world.Generations += 3;
    const QByteArray changed = Snapshot();
    FileCommand(CM_LOADDATA, cannotLoad);
    QCOMPARE(Snapshot(), changed);
    QCOMPARE(W->LoadFailure, TLoadError::WrongSize);

    // A save that cannot be written leaves the old file and no other.
    const QByteArray old = Bytes(file.fileName());
    const QStringList files = QDir().entryList(QDir::Files);
    {
      TFileSizeLimit limit(100000);
      FileCommand(CM_SAVEDATA, "Kann Datei 'Zarnik.dat' nicht speichern!");
    }
    QCOMPARE(Bytes(file.fileName()), old);
    QCOMPARE(QDir().entryList(QDir::Files), files);

    // A FIFO without a writer is refused at once with the designed message
    // (opened the blocking way, "Laden..." would freeze the window).
    QVERIFY(file.remove());
    QCOMPARE(mkfifo("zarnik.dat", 0600), 0);
    {
      TWatchdog watchdog("\"Laden...\" of a FIFO", 30);
      FileCommand(CM_LOADDATA, cannotLoad);
    }
    QCOMPARE(Snapshot(), changed);
    // Saving replaces it by a population file.
    FileCommand(CM_SAVEDATA, nullptr);
    QCOMPARE(file.size(), qint64(199620));
  }

  // The status field added at the right end counts the deliveries since F3.
  // A still network (all weights 0) moves nothing; during the run the arm is
  // put with the ball held into a pose that sets it down on F at height 5, so
  // the next step delivers exactly once (afterwards the claw takes it again
  // and, never moving, cannot put it on E).
  void deliveriesSinceActivation() {
    TWorld& world = *W->AnnGaWorld;
    for (int s = 0; s < world.bestIndividual.getNodes(); ++s)
      for (int t = 0; t < world.bestIndividual.getNodes(); ++t) world.bestIndividual.setWeight(s, t, 0);
    auto* row = W->DeltaRate->parentWidget()->layout();
    QVERIFY(row->indexOf(W->DeliveriesGad) > row->indexOf(W->DeltaRate));
    const long long before = W->Arm.Deliveries;
    bool placed = false, sawZero = false;
    long long placedAt = 0;
    Run(Qt::Key_F3, "a delivery after the arm is put over F, then the stop", [&](int pass) {
      if (pass == 0) {
        sawZero = W->DeliveriesGad->Text() == QStringLiteral("Ablagen: 0");
        return;
      }
      if (!placed) {
        W->Arm.PlatDat[1] = {655, 343, 5};
        W->Arm.MoveState = 1;
        W->Arm.BallState = 2;
        const float pose[4] = {105.999992f, 6.34768343f, 0.0f, 270.0f};
        for (int i = 0; i < 4; ++i) W->Arm.AxleDat[i].a = pose[i];
        placed = true;
        placedAt = W->DrawnSteps;
        return;
      }
      // The next step delivers; a few more show whether it stays at one.
      if (W->DeliveriesGad->Text() != QStringLiteral("Ablagen: 0") && W->DrawnSteps > placedAt + 5)
        Press(W, Qt::Key_F3);
      else if (W->DrawnSteps > placedAt + 50)
        Press(W, Qt::Key_F3);  // given up: the check below says what is missing
    });
    QVERIFY(sawZero);
    QCOMPARE(W->Arm.Deliveries - before, 1);
    QCOMPARE(W->DeliveriesGad->Text(), QStringLiteral("Ablagen: 1"));  // stays after the run
  }
};

QTEST_MAIN(RunsTest)
#include "runs_test.moc"
