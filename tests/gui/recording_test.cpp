// Filming: N drawn steps (held by the pause, moved by single steps) read back as N frames of 756 x 468.

#include <QProcess>

#include <signal.h>

#include <cstdio>
#include <cstring>

#include "../support/file_faults.h"
#include "film_reading.h"
#include "gui_test_support.h"
#include "main_window/zarnik_application.h"
#include "widgets/text_gadget.h"
#include "watching/scene_recorder.h"

class RecordingTest : public QObject, TWindowFixture {
  Q_OBJECT

  // Activation held by the pause: the first drawn step and `steps` - 1 single steps, then F3.
  long long HeldActivation(int steps) {
    W->Dispatch(CM_PAUSE);
    const long long before = W->Watch().DrawnSteps;
    Run(W, Qt::Key_F3, "the held activation's single steps", [&](int) {
      if (W->Watch().Gate.Holding()) Press(W, W->Watch().DrawnSteps - before < steps ? Qt::Key_S : Qt::Key_F3);
    });
    W->Dispatch(CM_PAUSE);
    return W->Watch().DrawnSteps - before;
  }

 private slots:
  void initTestCase() {
    QVERIFY(OpenTestWindow(W, Dir));
    W->resize(500, 360);  // smaller than the scene: the film keeps the scene's size
  }
  void init() { ResetWindow(W); }

  void recordsEachDrawnStep_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("tempo");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("codec");
    QTest::addColumn<double>("rate");
    QTest::newRow("H.264 in MP4, Normal") << "normal.mp4" << int(CM_TEMPNORM) << 7 << int(AV_CODEC_ID_H264) << 60.0;
    QTest::newRow("VP9 in WebM, Langsam") << "slow.webm" << int(CM_TEMPSLOW) << 5 << int(AV_CODEC_ID_VP9) << 15.0;
    QTest::newRow("no suffix: MP4, Maximal") << "maximal" << int(CM_TEMPMAXI) << 3 << int(AV_CODEC_ID_H264) << 60.0;
  }

  // Chosen before the run, it takes each drawn step as a frame; the run's end closes it.
  void recordsEachDrawnStep() {
    QFETCH(QString, name);
    QFETCH(int, tempo);
    QFETCH(int, steps);
    QFETCH(int, codec);
    QFETCH(double, rate);
    W->Dispatch(tempo);
    Answer({}, {Dir.filePath(name)});
    W->Dispatch(CM_RECORD);
    QCOMPARE(FileDialogHook().LastFilter, QStringLiteral("Video (*.mp4 *.webm)"));
    QVERIFY(W->Watch().Recorder->Recording() && W->Action(CM_RECORD)->isChecked());
    QCOMPARE(W->MessageField()->MarkNames(), QStringList{"Aufnahme"});  // in the status bar while it lasts
    QCOMPARE(HeldActivation(steps), steps);
    QVERIFY(!W->Watch().Recorder->Recording() && !W->Action(CM_RECORD)->isChecked());
    QCOMPARE(W->MessageField()->MarkNames(), QStringList());
    QCOMPARE(MessageBoxHook().Shown, 0);
    const TFilm film = ReadFilm(Dir.filePath(name.contains('.') ? name : name + QStringLiteral(".mp4")));
    QCOMPARE(film.Frames, steps);
    QCOMPARE(QSize(film.Width, film.Height), QSize(756, 468));
    QCOMPARE(int(film.Codec), codec);
    QCOMPARE(film.Rate, rate);
  }

  // Frames faster than the encoder: the queue fills, the caller waits, none is lost.
  void fullQueueLosesNothing() {
    const QString path = Dir.filePath(QStringLiteral("burst.mp4"));
    TSceneRecorder recorder;
    QVERIFY(recorder.Start(path, 60));
    QImage frame(756, 468, QImage::Format_RGB32);
    for (int k = 0; k < 5 * int(TSceneRecorder::QueueFrames); ++k) {
      frame.fill(QColor(6 * k, 6 * k, 6 * k));
      QVERIFY(recorder.AddFrame(frame));
    }
    QVERIFY(recorder.Finish());
    QCOMPARE(ReadFilm(path).Frames, 40);  // five times the 8-frame queue
  }

  // Chosen again it stops: a film without a frame leaves no file, and an old film under its name (one the
  // added suffix names too) as it was; a file that cannot be made, a kind not offered, a full disk: the
  // message, no file. Nothing is left beside them.
  void failuresLeaveNoFile() {
    const QString empty = Dir.filePath(QStringLiteral("empty.webm"));
    Answer({}, {empty});
    W->Dispatch(CM_RECORD);
    W->Dispatch(CM_RECORD);
    QVERIFY(!W->Watch().Recorder->Recording() && !QFile::exists(empty));
    QCOMPARE(MessageBoxHook().Shown, 0);
    const QString old = Dir.filePath(QStringLiteral("old.mp4"));
    QFile file(old);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("alter Film\n") == 11);
    file.close();
    Answer({QMessageBox::Yes}, {Dir.filePath(QStringLiteral("old"))});
    W->Dispatch(CM_RECORD);
    W->Dispatch(CM_RECORD);
    QCOMPARE(Bytes(old), QByteArray("alter Film\n"));
    W->Dispatch(CM_TEMPMAXI);
    const QString full = Dir.filePath(QStringLiteral("full.mp4"));
    for (const QString& path : {Dir.filePath(QStringLiteral("no/such/dir/film.mp4")), Dir.filePath(QStringLiteral("film.avi")), full}) {
      Answer({QMessageBox::Ok}, {path});
      TFileSizeLimit disk(path == full ? 4096 : RLIM_INFINITY);  // the header fits, the first second not
      W->Dispatch(CM_RECORD);
      if (W->Watch().Recorder->Recording()) QCOMPARE(HeldActivation(3), 3);  // full: at the latest when closed
      QVERIFY(!W->Watch().Recorder->Recording());
      QVERIFY(WarnedOnce(QStringLiteral("Kann Film '%1' nicht aufnehmen!").arg(QFileInfo(path).fileName())));
      QVERIFY(!QFileInfo(path).exists() && !QFileInfo(path).isSymLink());
    }
    QCOMPARE(QDir(Dir.path()).entryList({QStringLiteral("*.tmp.*")}), QStringList());
  }

  // A recording killed with SIGKILL, which nothing can end properly, plays up to its last whole second:
  // in the file beside its name, every frame read before the kill is still there. The child films a
  // frame whenever asked; the test asks until three seconds (at 15 a second) can be read back.
  void killedRecordingStaysPlayable() {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--film-until-killed"), Dir.filePath(QStringLiteral("killed.mp4"))});
    QVERIFY(child.waitForStarted(30000));
    QString temporary;
    int seen = 0, asked = 0;
    while (seen < 3 * 15 && asked < 40 * 15) {  // far beyond what the encoder's delay needs
      child.write("\n");
      ++asked;
      if (!child.waitForReadyRead(30000)) break;
      child.readAll();
      const QStringList beside = QDir(Dir.path()).entryList({QStringLiteral("killed.mp4.tmp.*")});
      if (beside.size() == 1) temporary = Dir.filePath(beside.front());
      if (!temporary.isEmpty()) seen = ReadFilm(temporary).Frames;
    }
    ::kill(pid_t(child.processId()), SIGKILL);
    QVERIFY(child.waitForFinished(30000));
    QVERIFY2(seen >= 3 * 15, qPrintable(QStringLiteral("%1 frames readable after %2 filmed").arg(seen).arg(asked)));
    const TFilm film = ReadFilm(temporary);
    QVERIFY(film.Frames >= seen);
    QCOMPARE(film.Rate, 15.0);
    QVERIFY(!QFile::exists(Dir.filePath(QStringLiteral("killed.mp4"))));  // never taken for a whole film
  }

  // SIGTERM to the program while it films an activation: the film is finished under its name with every
  // frame, the run ends, and the program with 128 + 15.
  void terminatedWindowFinishesItsFilm() {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--window-until-signal"), Dir.path()});
    QVERIFY(child.waitForStarted(30000));
    QByteArray said;
    while (!said.contains("filming\n") && child.waitForReadyRead(60000)) said += child.readAllStandardOutput();
    QVERIFY2(said.contains("filming\n"), said.constData());
    child.terminate();
    QVERIFY(child.waitForFinished(60000));
    said += child.readAllStandardOutput();
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 128 + SIGTERM);
    const qsizetype at = said.indexOf("frames ");
    QVERIFY2(at >= 0, said.constData());
    const int frames = said.mid(at + 7).trimmed().toInt();
    QVERIFY(frames >= 30);
    QCOMPARE(ReadFilm(Dir.filePath(QStringLiteral("film.mp4"))).Frames, frames);
    QCOMPARE(QDir(Dir.path()).entryList({QStringLiteral("film.mp4.*")}), QStringList());
  }
};

namespace {

// The child of killedRecordingStaysPlayable: a frame for each line read, each answered with a line.
int FilmUntilKilled(const char* path) {
  TSceneRecorder recorder;
  if (!recorder.Start(QString::fromLocal8Bit(path), 15)) return 2;
  QImage frame(756, 468, QImage::Format_RGB32);
  for (int k = 0; std::getchar() != EOF; ++k) {
    frame.fill(QColor(k % 256, 255 - k % 256, (7 * k) % 256));
    if (!recorder.AddFrame(frame)) return 3;
    std::printf("%d\n", k);
    std::fflush(stdout);
  }
  std::_Exit(4);  // asked no more, yet not killed: leaves the film unfinished all the same
}

// The child of terminatedWindowFinishesItsFilm: the program as started, filming an activation in `dir`
// until a signal ends it; says "filming" once 30 frames are handed over, and at its end how many there were.
int WindowUntilSignal(int argc, char** argv) {
  if (!QDir::setCurrent(QString::fromLocal8Bit(argv[2]))) return 2;
  TZarnikApplication app(argc, argv);
  QTimer::singleShot(0, &app, [&app] {
    TZarnikWindow* w = app.MainWindow();
    w->Dispatch(CM_TEMPMAXI);
    FileDialogHook().Answers = {QDir::current().filePath(QStringLiteral("film.mp4"))};
    w->Dispatch(CM_RECORD);
    auto* watch = new QTimer(&app);
    watch->callOnTimeout([w, watch] {
      if (w->Watch().Recorder == nullptr || w->Watch().Recorder->Frames() < 30) return;
      std::printf("filming\n");
      std::fflush(stdout);
      watch->stop();
    });
    watch->start(0);
    w->Dispatch(CM_STARTANN);  // until the signal stops it
  });
  const int status = app.Run();
  std::printf("frames %lld\n", app.MainWindow()->Watch().Recorder != nullptr ? app.MainWindow()->Watch().Recorder->Frames() : -1LL);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--film-until-killed") == 0) return FilmUntilKilled(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "--window-until-signal") == 0) return WindowUntilSignal(argc, argv);
  QApplication app(argc, argv);
  RecordingTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "recording_test.moc"
