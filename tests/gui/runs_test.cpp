// Runs in the main window: starting and stopping each run by every stop path,
// the progress window's life and texts, the enablers during runs, and the
// network-file commands. A run blocks inside its key press until its loop
// ends; the checks run from timers that fire during the run's event dispatch.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <vector>

#include "ann_ga_dlg.h"
#include "message_box.h"
#include "world.h"
#include "zarnik_window.h"

namespace {

enum TStopPath { OwnKey, Button, Enter, Escape, CloseBox, MainClose };

bool Matches(const QString& text, const char* pattern) {
  return QRegularExpression(QRegularExpression::anchoredPattern(QLatin1String(pattern))).match(text).hasMatch();
}

QString Format(const char* format, int value) { return QString::asprintf(format, value); }

}  // namespace

class RunsTest : public QObject {
  Q_OBJECT

 private:
  TZarnikWindow* W = nullptr;
  QTemporaryDir Dir;
  QString OldDir;

  TAnnGaDlg* Dlg() const { return W->AnnGaDlg; }
  QString Text(int id) const { return W->AnnGaDlg ? W->AnnGaDlg->Text(id) : QString(); }

  // One step of a test run: `Act` runs at the first dispatch at which `Ready` holds.
  struct TStage {
    std::function<bool()> Ready;
    std::function<void()> Act;
  };

  // Starts a run by `key` and returns when its loop has ended. The stages run
  // one after the other from the run's event dispatch; the last one should ask
  // the run to stop. A failed check, or a run still going after a minute, stops it.
  void Run(Qt::Key key, std::vector<TStage> stages) {
    size_t next = 0;
    bool timedOut = false;
    QTimer poll, watchdog;
    poll.setInterval(0);
    connect(&poll, &QTimer::timeout, this, [&] {
      if (next == stages.size() || !stages[next].Ready()) return;
      stages[next++].Act();
      if (QTest::currentTestFailed()) W->AnnGaWorld->DoBreakANN();
    });
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, this, [&] {
      timedOut = true;
      W->AnnGaWorld->DoBreakANN();
    });
    poll.start();
    watchdog.start(60000);
    QApplication::setActiveWindow(W);  // the last run's progress window had the focus
    QTest::keyClick(W, key);
    QVERIFY2(!timedOut, "the run did not end");
    QCOMPARE(next, stages.size());
    QVERIFY(!W->Arm.RunActive());
    QCOMPARE(W->AnnGaDlg, nullptr);
    QCOMPARE(W->MessageText(), QStringLiteral("Einstellmodus"));
  }

  static bool Always() { return true; }

  // Only the running command, the outline toggle and closing stay available.
  void CheckEnablersDuring(int runId) {
    W->UpdateCommands();
    for (int id : {CM_LOADDATA, CM_SAVEDATA, CM_TRAIN1AN, CM_TRAIN2AN, CM_STARTANN, CM_SIMRESET,
                   CM_SIMAJUST, CM_INCANGLE, CM_DECANGLE, CM_SETAXLEA, CM_SETAXLEB, CM_SETAXLEC,
                   CM_SETAXLED, CM_MOVELEFT, CM_MOVERITE, CM_SETPLATE, CM_SETPLATF, CM_MOVECEIL,
                   CM_MOVEDOWN, CM_ABOUTAPP}) {
      QCOMPARE(W->Action(id)->isEnabled(), id == runId);
      if (id == CM_TRAIN1AN || id == CM_TRAIN2AN || id == CM_STARTANN)
        QCOMPARE(W->Action(id)->isChecked(), id == runId);
    }
    QVERIFY(W->Action(CM_OUTLINES)->isEnabled() && W->Action(CM_CLOSEAPP)->isEnabled());
  }

  // The 25 weight lines show the best network, five characters an entry.
  void CheckWeightLines() {
    const TChromosom& best = W->AnnGaWorld->bestIndividual;
    struct {
      int firstId, lines, firstSource, firstTarget, targets;
    } blocks[3] = {{320, 11, 0, 11, 3}, {331, 7, 11, 14, 3}, {338, 7, 14, 17, 4}};
    for (const auto& b : blocks)
      for (int k = 0; k < b.lines; ++k) {
        QString expected;
        if (k < 3 || b.firstId == 320)
          for (int t = 0; t < b.targets; ++t)
            expected += Format("%+5i", best.getWeight(b.firstSource + k, b.firstTarget + t)).left(5);
        QCOMPARE(Text(b.firstId + k), expected);
      }
  }

  // Only the labels of the run and the texts its loop writes before the first
  // event dispatch: nothing of an earlier window or run.
  void CheckFreshWindow(const QHash<int, QString>& expected) {
    for (int id = 301; id <= 364; ++id)
      if (Dlg()->Control(id)) QCOMPARE(Text(id), expected.value(id));
  }

  void Press(QWidget* target, Qt::Key key) {
    QApplication::setActiveWindow(target->window());
    QTest::keyClick(target, key);
  }

  std::vector<int> Snapshot() const {
    const TWorld& w = *W->AnnGaWorld;
    std::vector<int> s = {w.bestIndividualIdx, w.bestFitness, w.Generations};
    auto add = [&s](const TChromosom& c) {
      s.push_back(c.getFitness());
      for (int r = 0; r < c.getNodes(); ++r)
        for (int t = 0; t < c.getNodes(); ++t) s.push_back(c.getWeight(r, t));
    };
    for (const TChromosom& c : w.Population) add(c);
    add(w.bestIndividual);
    return s;
  }

  // Runs a file command whose failure box, if any, is answered with OK.
  void FileCommand(int id, const char* failure) {
    MessageBoxHook() = TMessageBoxHook();
    MessageBoxHook().Answers.push_back(QMessageBox::Ok);
    W->Dispatch(id);
    QCOMPARE(MessageBoxHook().Shown, failure ? 1 : 0);
    if (failure) {
      QCOMPARE(MessageBoxHook().LastText, QString::fromLatin1(failure));
      QCOMPARE(MessageBoxHook().LastCaption, QStringLiteral("Zarnik32"));
      QCOMPARE(MessageBoxHook().LastIcon, QMessageBox::Warning);
      QCOMPARE(MessageBoxHook().LastButtons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    MessageBoxHook().Answers.clear();
  }

 private slots:
  void initTestCase() {
    QVERIFY(Dir.isValid());
    OldDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(Dir.path()));  // "zarnik.dat" lands here
    W = new TZarnikWindow;
    W->SetupWindow();
    W->show();
    QApplication::setActiveWindow(W);
    QVERIFY(QTest::qWaitForWindowActive(W));
  }

  void cleanupTestCase() {
    delete W;
    QDir::setCurrent(OldDir);
  }

  void init() {
    UserBreak = false;
    MessageBoxHook() = TMessageBoxHook();
    W->Dispatch(CM_SIMRESET);
    QApplication::setActiveWindow(W);
  }

  void stopPaths_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("path");
    const struct {
      const char* name;
      int command;
    } runs[3] = {{"training 1", CM_TRAIN1AN}, {"training 2", CM_TRAIN2AN}, {"activation", CM_STARTANN}};
    const char* paths[] = {"own key", "Abbrechen", "Enter", "Escape", "close box", "main window close"};
    for (const auto& r : runs)
      for (int p = OwnKey; p <= MainClose; ++p)
        if (r.command != CM_STARTANN || p == OwnKey || p == MainClose)
          QTest::addRow("%s, %s", r.name, paths[p]) << r.command << p;
  }

  void stopPaths() {
    QFETCH(int, command);
    QFETCH(int, path);
    const Qt::Key key = command == CM_TRAIN1AN ? Qt::Key_F1 : command == CM_TRAIN2AN ? Qt::Key_F2 : Qt::Key_F3;
    const bool training = command != CM_STARTANN;
    QPointer<TAnnGaDlg> dlg;
    bool stillOpen = false;
    int passes = 0;
    if (path == MainClose) MessageBoxHook().Answers.push_back(QMessageBox::Ok);

    Run(key, {{[&] { return training ? !Text(301).isEmpty() : ++passes > 3; },
                [&] {
                  QCOMPARE(W->MessageText(), QString::fromLatin1(training ? "ANN trainiert" : "ANN aktiviert"));
                  QCOMPARE(W->Arm.Selection, 0);
                  QCOMPARE(Dlg() != nullptr, training);
                  CheckEnablersDuring(command);
                  // Another run's key does nothing.
                  Press(W, key == Qt::Key_F3 ? Qt::Key_F1 : Qt::Key_F3);
                  QCOMPARE(W->Arm.Train1AN, command == CM_TRAIN1AN);
                  QCOMPARE(W->Arm.StartANN, command == CM_STARTANN);
                }},
               {Always, [&] {
                  dlg = Dlg();
                  switch (path) {
                    case OwnKey: Press(W, key); break;
                    case Button: QTest::mouseClick(dlg->findChild<QPushButton*>("ctl2"), Qt::LeftButton); break;
                    case Enter: Press(dlg, Qt::Key_Return); break;
                    case Escape: Press(dlg, Qt::Key_Escape); break;
                    case CloseBox: dlg->close(); break;
                    case MainClose: W->close(); break;
                  }
                  QVERIFY(UserBreak);
                  // The window stays until the loop ends.
                  stillOpen = training && dlg && dlg->isVisible();
                }}});
    QCOMPARE(stillOpen, training);
    QVERIFY(dlg.isNull());
    QVERIFY(W->isVisible());
    QCOMPARE(MessageBoxHook().Shown, path == MainClose ? 1 : 0);
    if (path == MainClose)
      QCOMPARE(MessageBoxHook().LastText, QStringLiteral("Bitte warten, ANN ist noch aktiv!"));
    W->UpdateCommands();
    for (int id : {CM_LOADDATA, CM_SAVEDATA, CM_TRAIN1AN, CM_TRAIN2AN, CM_STARTANN, CM_SIMRESET, CM_ABOUTAPP})
      QVERIFY(W->Action(id)->isEnabled() && !W->Action(id)->isChecked());
  }

  // Training 2, then training 1 in a new window: the figures and formats of
  // both modes, and nothing of the first run in the second window.
  void progressTexts() {
    TWorld& world = *W->AnnGaWorld;
    const int start = world.Generations;
    Run(Qt::Key_F2,
        {{[&] { return !Text(302).isEmpty(); },
          [&] {
            QVERIFY2(Matches(Text(302), " *-?[0-9]+") && Text(302).size() >= 6, qPrintable(Text(302)));
            QVERIFY2(Matches(Text(304), " *-?[0-9]+") && Text(304).size() >= 6, qPrintable(Text(304)));
            QVERIFY2(Matches(Text(306), " *[0-9]+") && Text(306).size() == 3, qPrintable(Text(306)));
            QVERIFY(Text(308) == Format("%3i", world.Generations) ||
                    Text(308) == Format("%3i", world.Generations - 1));
            const int shownBest = Text(310).trimmed().toInt();
            QVERIFY(Text(310) == Format("%4i", shownBest) || Text(310) == Format("%3i", shownBest));
            QVERIFY(shownBest >= start && shownBest <= world.Generations);
            QVERIFY(Text(312) == "left" || Text(312) == "right");
            CheckWeightLines();
          }},
         {Always, [&] { Press(Dlg(), Qt::Key_Escape); }}});

    Run(Qt::Key_F1,
        {{Always,
          [&] {
            CheckFreshWindow(
                {{301, "Distanz"}, {303, "bestFitness"}, {305, "count best used"}, {307, "Pos Ball"}});
          }},
         {[&] { return !Text(308).isEmpty(); },
          [&] {
            QVERIFY2(Matches(Text(302), "-?[0-9]+\\.[0-9]{6}"), qPrintable(Text(302)));
            QVERIFY2(Matches(Text(304), " *-?[0-9]+") && Text(304).size() >= 6, qPrintable(Text(304)));
            QVERIFY(Text(306) == "  0" || Text(306) == "  1" || Text(306) == "  2");
            QVERIFY2(Matches(Text(308), "\\( {0,2}-?[0-9]+ , {0,2}-?[0-9]+ \\)"), qPrintable(Text(308)));
            QCOMPARE(Text(312), QStringLiteral(" 6"));
            QVERIFY(Text(309).isEmpty() && Text(310).isEmpty() && Text(311).isEmpty());
            CheckWeightLines();
          }},
         {Always, [&] { Press(Dlg(), Qt::Key_Escape); }}});
  }

  // Generations counts on from one run of training 2 to the next, and each
  // run's window starts with its labels and the starting generation only.
  void generationsCountOn() {
    TWorld& world = *W->AnnGaWorld;
    const int initial = world.Generations;
    for (int run = 0; run < 2; ++run) {
      const int start = world.Generations;
      Run(Qt::Key_F2,
          {{Always,
            [&] {
              // The first dispatch: the top of the run's first generation.
              QCOMPARE(world.Generations, start);
              CheckFreshWindow({{301, "avrg Fitness"}, {303, "best Fitness"}, {305, "Individual"},
                                {307, "Generation"}, {309, "Gen. of best"}, {311, "Direction"},
                                {310, Format("%4i", start)}});
            }},
           {[&] { return world.Generations > start; }, [&] { Press(Dlg(), Qt::Key_Escape); }}});
      // The generation under way when the stop came is finished.
      QVERIFY(world.Generations > start);
    }
    QVERIFY(world.Generations >= initial + 2);
  }

  void networkFile() {
    const char* cannotLoad = "Kann Datei 'Zarnik.dat' nicht laden!";
    const char* cannotSave = "Kann Datei 'Zarnik.dat' nicht speichern!";
    TWorld& world = *W->AnnGaWorld;
    QFile file(QStringLiteral("zarnik.dat"));
    file.remove();

    // Without a file nothing changes.
    const std::vector<int> before = Snapshot();
    FileCommand(CM_LOADDATA, cannotLoad);
    QVERIFY(Snapshot() == before);

    // Round trip through the menu.
    FileCommand(CM_SAVEDATA, nullptr);
    QCOMPARE(file.size(), qint64(199620));
    world.Generations += 7;
    world.Population[5].setWeight(0, 11, world.Population[5].getWeight(0, 11) + 1);
    world.bestIndividual.setFitness(world.bestIndividual.getFitness() - 1);
    QVERIFY(Snapshot() != before);
    FileCommand(CM_LOADDATA, nullptr);
    QVERIFY(Snapshot() == before);

    // A damaged file is refused whole.
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    file.close();
    QVERIFY(file.resize(199620 - 1976 / 2));
    world.Generations += 3;
    const std::vector<int> changed = Snapshot();
    FileCommand(CM_LOADDATA, cannotLoad);
    QVERIFY(Snapshot() == changed);

    // A save that cannot be written leaves the old file.
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(saved);
    file.close();
    QVERIFY(QDir().mkdir(QStringLiteral("zarnik.dat.tmp")));
    FileCommand(CM_SAVEDATA, cannotSave);
    QDir().rmdir(QStringLiteral("zarnik.dat.tmp"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), saved);
    file.close();
    file.remove();
  }
};

QTEST_MAIN(RunsTest)
#include "runs_test.moc"
