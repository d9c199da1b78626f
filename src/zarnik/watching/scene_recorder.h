#pragma once

#include <QImage>
#include <QString>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

// Films the scene: one frame per drawn step, at a constant frame rate, as
// H.264 in MP4 or VP9 in WebM by the file's suffix. Frames wait in a short
// queue for an encoder thread; when the queue is full the step waits, so no
// frame is ever dropped. The film replaces its file only when it is whole:
// whatever fails, the file stays as it was.
class TSceneRecorder {
 public:
  static constexpr int Width = 756, Height = 468;  // every frame, whatever it came as
  static constexpr size_t QueueFrames = 8;

  TSceneRecorder();
  ~TSceneRecorder();  // finishes a recording still open
  TSceneRecorder(const TSceneRecorder&) = delete;
  TSceneRecorder& operator=(const TSceneRecorder&) = delete;

  // Opens the film that will replace `path` and writes its header; false
  // leaves nothing behind (also for a FIFO, a device or an untrusted link).
  // Without `replace` the film takes its name only if nothing has it when it
  // is finished: for a program that cannot ask.
  bool Start(const QString& path, int framesPerSecond, bool replace = true);
  bool Recording() const { return Encoder != nullptr; }
  // Hands over a copy of `frame`; waits while the queue is full. False once
  // encoding or writing has failed: the recording must then be finished.
  bool AddFrame(const QImage& frame);
  // Encodes what is queued, closes the film and ends the recording: the film
  // replaces the file at `path`. False if anything failed since Start; the
  // film is then dropped. A recording without a frame is dropped too, but
  // counts as success.
  bool Finish();

  QString Path() const { return FilePath; }
  long long Frames() const { return Queued; }

 private:
  struct TEncoder;
  void Encode();  // the encoder thread

  std::unique_ptr<TEncoder> Encoder;
  QString FilePath;
  long long Queued = 0;

  std::mutex Lock;
  std::condition_variable Filled, Drained;
  std::deque<QImage> Queue;  // guarded by Lock
  bool Closing = false;      // guarded by Lock
  bool Failed = false;       // guarded by Lock
  std::thread Worker;
};
