// Filming the scene: a recording of N drawn steps reads back, through
// libavformat, as N frames of 756 x 468 at the tempo's rate; failures show
// their message and leave no file. Runs are held by the pause and moved by
// single steps, so the count of steps is the script's, not the clock's.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstdlib>
#include <functional>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "gui_test_support.h"
#include "main_window/zarnik_window.h"
#include "watching/scene_recorder.h"
#include "widgets/file_dialog.h"
#include "widgets/message_box.h"
#include "world.h"

namespace {

struct TFilm {
  bool Read = false;
  int Frames = 0, Width = 0, Height = 0;
  double Rate = 0;
  AVCodecID Codec = AV_CODEC_ID_NONE;
};

// The video stream of `path` as a player's demuxer sees it: one packet per frame.
TFilm ReadFilm(const QString& path) {
  TFilm film;
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, QFile::encodeName(path).constData(), nullptr, nullptr) < 0) return film;
  if (avformat_find_stream_info(format, nullptr) >= 0) {
    const int video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video >= 0) {
      const AVStream* stream = format->streams[video];
      film.Read = true;
      film.Width = stream->codecpar->width;
      film.Height = stream->codecpar->height;
      film.Codec = stream->codecpar->codec_id;
      film.Rate = av_q2d(stream->avg_frame_rate);
      AVPacket* packet = av_packet_alloc();
      while (av_read_frame(format, packet) >= 0) {
        if (packet->stream_index == video) ++film.Frames;
        av_packet_unref(packet);
      }
      av_packet_free(&packet);
    }
  }
  avformat_close_input(&format);
  return film;
}

// Mean luma of the top-left pixel of every decoded frame, in display order.
std::vector<int> FrameLumas(const QString& path) {
  std::vector<int> lumas;
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, QFile::encodeName(path).constData(), nullptr, nullptr) < 0) return lumas;
  const AVCodec* codec = nullptr;
  const int video = avformat_find_stream_info(format, nullptr) >= 0
                        ? av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0)
                        : -1;
  AVCodecContext* decoder = video >= 0 ? avcodec_alloc_context3(codec) : nullptr;
  if (decoder != nullptr && avcodec_parameters_to_context(decoder, format->streams[video]->codecpar) >= 0 &&
      avcodec_open2(decoder, codec, nullptr) >= 0) {
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    auto drain = [&] {
      while (avcodec_receive_frame(decoder, frame) >= 0) lumas.push_back(frame->data[0][0]);
    };
    while (av_read_frame(format, packet) >= 0) {
      if (packet->stream_index == video && avcodec_send_packet(decoder, packet) >= 0) drain();
      av_packet_unref(packet);
    }
    avcodec_send_packet(decoder, nullptr);
    drain();
    av_frame_free(&frame);
    av_packet_free(&packet);
  }
  avcodec_free_context(&decoder);
  avformat_close_input(&format);
  return lumas;
}

}  // namespace

class RecordingTest : public QObject {
  Q_OBJECT

 private:
  TZarnikWindow* W = nullptr;
  QTemporaryDir Dir;

  void Press(Qt::Key key) {
    QApplication::setActiveWindow(W);
    QTest::keyClick(W, key);
  }

  // Activation, held by the pause: the first drawn step and `steps` - 1 single
  // steps, then the stop key. Returns the drawn steps the run made.
  long long HeldActivation(int steps) {
    if (!W->Gate.Paused()) W->Dispatch(CM_PAUSE);
    const long long before = W->DrawnSteps;
    bool timedOut = false;
    QTimer poll, watchdog;
    connect(&poll, &QTimer::timeout, this, [&] {
      if (!W->RunActive() || !W->Gate.Holding()) return;
      if (W->DrawnSteps - before < steps)
        Press(Qt::Key_S);
      else
        Press(Qt::Key_F3);
    });
    connect(&watchdog, &QTimer::timeout, this, [&] {
      timedOut = true;
      W->AnnGaWorld->DoBreakANN();
    });
    poll.start(2);
    watchdog.start(60000);
    Press(Qt::Key_F3);
    W->Dispatch(CM_PAUSE);
    if (timedOut) qWarning("the held activation did not end within a minute");
    return timedOut ? -1 : W->DrawnSteps - before;
  }

 private slots:
  void initTestCase() {
    QVERIFY(QDir::setCurrent(Dir.path()));
    W = NewTestWindow();
    W->resize(500, 360);  // smaller than the scene: the film keeps the scene's size
    QVERIFY(ShowActive(W));
  }

  void cleanupTestCase() { delete W; }

  void init() {
    MessageBoxHook() = TMessageBoxHook();
    FileDialogHook() = TFileDialogHook();
    W->Dispatch(CM_SIMRESET);
  }

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

  // Chosen before the run, the recording takes each drawn step as a frame
  // and the run's end closes it.
  void recordsEachDrawnStep() {
    QFETCH(QString, name);
    QFETCH(int, tempo);
    QFETCH(int, steps);
    QFETCH(int, codec);
    QFETCH(double, rate);
    W->Dispatch(tempo);
    FileDialogHook().Answers = {Dir.filePath(name)};
    W->Dispatch(CM_RECORD);
    QCOMPARE(FileDialogHook().LastFilter, QStringLiteral("Video (*.mp4 *.webm)"));
    QVERIFY(W->Recorder != nullptr && W->Recorder->Recording());
    QVERIFY(W->Action(CM_RECORD)->isChecked());

    QCOMPARE(HeldActivation(steps), steps);
    QVERIFY(!W->Recorder->Recording());
    QVERIFY(!W->Action(CM_RECORD)->isChecked());
    QCOMPARE(MessageBoxHook().Shown, 0);

    const QString file = Dir.filePath(name.contains('.') ? name : name + QStringLiteral(".mp4"));
    const TFilm film = ReadFilm(file);
    QVERIFY2(film.Read, qPrintable(file));
    QCOMPARE(film.Frames, steps);
    QCOMPARE(film.Width, 756);
    QCOMPARE(film.Height, 468);
    QCOMPARE(int(film.Codec), codec);
    QCOMPARE(film.Rate, rate);
  }

  // Five times more frames than the queue holds, handed over as fast as the
  // caller can: each waits its turn, none is lost or doubled, the order
  // holds. Frame k is grey level 6k, whose luma in the limited range of
  // H.264 is 16 + 219 * 6k / 255.
  void fullQueueLosesNothing() {
    constexpr int Count = 5 * int(TSceneRecorder::QueueFrames);
    const QString path = Dir.filePath(QStringLiteral("grey.mp4"));
    TSceneRecorder recorder;
    QVERIFY(recorder.Start(path, 60));
    QImage frame(756, 468, QImage::Format_RGB32);
    for (int k = 0; k < Count; ++k) {
      frame.fill(QColor(6 * k, 6 * k, 6 * k));
      QVERIFY(recorder.AddFrame(frame));
    }
    QVERIFY(recorder.Finish());
    const std::vector<int> lumas = FrameLumas(path);
    QCOMPARE(int(lumas.size()), Count);
    for (int k = 0; k < Count; ++k) {
      const int expected = 16 + 219 * 6 * k / 255;
      QVERIFY2(std::abs(lumas[k] - expected) <= 3,
               qPrintable(QStringLiteral("frame %1: luma %2, expected %3").arg(k).arg(lumas[k]).arg(expected)));
    }
  }

  // Chosen again, it stops; a film without a frame leaves no file.
  void chosenAgainStops() {
    FileDialogHook().Answers = {Dir.filePath(QStringLiteral("empty.webm"))};
    W->Dispatch(CM_RECORD);
    QVERIFY(W->Recorder->Recording());
    W->Dispatch(CM_RECORD);
    QVERIFY(!W->Recorder->Recording());
    QCOMPARE(FileDialogHook().Shown, 1);
    QVERIFY(!QFile::exists(Dir.filePath(QStringLiteral("empty.webm"))));
    QCOMPARE(MessageBoxHook().Shown, 0);
  }

  // A file that cannot be made, a kind of film not offered, a disk that is
  // full: the message in the program's words, and no file left behind.
  void failuresLeaveNoFile() {
    const QString missing = Dir.filePath(QStringLiteral("no/such/dir/film.mp4"));
    const QString avi = Dir.filePath(QStringLiteral("film.avi"));
    for (const QString& path : {missing, avi}) {
      MessageBoxHook() = TMessageBoxHook();
      MessageBoxHook().Answers = {QMessageBox::Ok};
      FileDialogHook().Answers = {path};
      W->Dispatch(CM_RECORD);
      QVERIFY(!W->Recorder->Recording());
      QCOMPARE(MessageBoxHook().Shown, 1);
      QCOMPARE(MessageBoxHook().LastText,
               QStringLiteral("Kann Film '%1' nicht aufnehmen!").arg(QFileInfo(path).fileName()));
      QCOMPARE(MessageBoxHook().LastCaption, QStringLiteral("Zarnik32"));
      QVERIFY(!QFile::exists(path));
    }

    // Every write fails: at the start or, buffered, at the latest when the film is closed.
    const QString full = Dir.filePath(QStringLiteral("full.mp4"));
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), full));
    MessageBoxHook() = TMessageBoxHook();
    MessageBoxHook().Answers = {QMessageBox::Ok};
    FileDialogHook().Answers = {full};
    W->Dispatch(CM_TEMPMAXI);
    W->Dispatch(CM_RECORD);
    if (W->Recorder->Recording()) QCOMPARE(HeldActivation(3), 3);
    QVERIFY(!W->Recorder->Recording());
    QCOMPARE(MessageBoxHook().Shown, 1);
    QCOMPARE(MessageBoxHook().LastText, QStringLiteral("Kann Film 'full.mp4' nicht aufnehmen!"));
    QVERIFY(!QFileInfo(full).exists() && !QFileInfo(full).isSymLink());
  }
};

QTEST_MAIN(RecordingTest)
#include "recording_test.moc"
