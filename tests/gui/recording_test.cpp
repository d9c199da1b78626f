// Filming: N drawn steps (held by the pause, moved by single steps) read back as N frames of 756 x 468.

extern "C" {
#include <libavformat/avformat.h>
}

#include "gui_test_support.h"
#include "widgets/text_gadget.h"
#include "watching/scene_recorder.h"

namespace {

struct TFilm {
  int Frames = 0, Width = 0, Height = 0;
  double Rate = 0;
  AVCodecID Codec = AV_CODEC_ID_NONE;
};

// The video stream of `path` as a player's demuxer sees it: one packet per frame.
TFilm ReadFilm(const QString& path) {
  TFilm film;
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, QFile::encodeName(path).constData(), nullptr, nullptr) < 0) return film;
  const int video = avformat_find_stream_info(format, nullptr) >= 0
                        ? av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0) : -1;
  if (video >= 0) {
    const AVCodecParameters* p = format->streams[video]->codecpar;
    film = {0, p->width, p->height, av_q2d(format->streams[video]->avg_frame_rate), p->codec_id};
    AVPacket* packet = av_packet_alloc();
    for (; av_read_frame(format, packet) >= 0; av_packet_unref(packet)) film.Frames += packet->stream_index == video;
    av_packet_free(&packet);
  }
  avformat_close_input(&format);
  return film;
}

}  // namespace

class RecordingTest : public QObject, TWindowFixture {
  Q_OBJECT

  // Activation held by the pause: the first drawn step and `steps` - 1 single steps, then F3.
  long long HeldActivation(int steps) {
    W->Dispatch(CM_PAUSE);
    const long long before = W->DrawnSteps;
    Run(W, Qt::Key_F3, "the held activation's single steps", [&](int) {
      if (W->Gate.Holding()) Press(W, W->DrawnSteps - before < steps ? Qt::Key_S : Qt::Key_F3);
    });
    W->Dispatch(CM_PAUSE);
    return W->DrawnSteps - before;
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
    QVERIFY(W->Recorder->Recording() && W->Action(CM_RECORD)->isChecked());
    QVERIFY(W->HoldGad->isVisible() && W->HoldGad->Text() == "Aufnahme");  // in the status bar while it lasts
    QCOMPARE(HeldActivation(steps), steps);
    QVERIFY(!W->Recorder->Recording() && !W->Action(CM_RECORD)->isChecked());
    QVERIFY(!W->HoldGad->isVisible());
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

  // Chosen again it stops, and a film without a frame leaves no file; a file
  // that cannot be made, a kind not offered, a full disk: the message, no file.
  void failuresLeaveNoFile() {
    const QString empty = Dir.filePath(QStringLiteral("empty.webm"));
    Answer({}, {empty});
    W->Dispatch(CM_RECORD);
    W->Dispatch(CM_RECORD);
    QVERIFY(!W->Recorder->Recording() && !QFile::exists(empty));
    QCOMPARE(MessageBoxHook().Shown, 0);
    const QString full = Dir.filePath(QStringLiteral("full.mp4"));
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), full));
    W->Dispatch(CM_TEMPMAXI);
    for (const QString& path : {Dir.filePath(QStringLiteral("no/such/dir/film.mp4")), Dir.filePath(QStringLiteral("film.avi")), full}) {
      Answer({QMessageBox::Ok}, {path});
      W->Dispatch(CM_RECORD);
      if (W->Recorder->Recording()) QCOMPARE(HeldActivation(3), 3);  // full: at the latest when closed
      QVERIFY(!W->Recorder->Recording());
      QVERIFY(WarnedOnce(QStringLiteral("Kann Film '%1' nicht aufnehmen!").arg(QFileInfo(path).fileName())));
      QVERIFY(!QFileInfo(path).exists() && !QFileInfo(path).isSymLink());
    }
  }
};

QTEST_MAIN(RecordingTest)
#include "recording_test.moc"
