#include "watching/scene_recorder.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/atomic_file.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace {

// FFmpeg writes and seeks through these on the film's temporary file.
int WriteToFile(void* opaque, uint8_t* data, int size) {
  const int fd = static_cast<TFileReplacement*>(opaque)->Descriptor();
  for (int done = 0; done < size;) {
    const ssize_t n = ::write(fd, data + done, static_cast<size_t>(size - done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return AVERROR(errno);
    done += static_cast<int>(n);
  }
  return size;
}

int64_t SeekInFile(void* opaque, int64_t offset, int whence) {
  const int fd = static_cast<TFileReplacement*>(opaque)->Descriptor();
  if (whence == AVSEEK_SIZE) {
    struct stat st = {};
    return ::fstat(fd, &st) == 0 ? st.st_size : AVERROR(errno);
  }
  const off_t at = ::lseek(fd, offset, whence & ~AVSEEK_FORCE);
  return at < 0 ? AVERROR(errno) : at;
}

}  // namespace

// The FFmpeg side of one recording. Made and opened on the UI thread, used
// only by the encoder thread until it has ended, then closed on the UI thread.
//
// The film is written as every file of the program is: into a temporary file
// beside its target (links followed only where they may be, a FIFO or device
// in its place refused before anything is opened), which replaces the target
// only when the film is whole. The temporary file has a name, so that what a
// killed recording wrote can still be played there: an MP4 is written in
// fragments of one second, each flushed as soon as it is complete.
struct TSceneRecorder::TEncoder {
  TFileReplacement File;
  AVIOContext* Io = nullptr;
  AVFormatContext* Format = nullptr;
  AVCodecContext* Codec = nullptr;
  AVStream* Stream = nullptr;
  AVFrame* Picture = nullptr;
  AVPacket* Packet = nullptr;
  SwsContext* Scaler = nullptr;
  int64_t NextPts = 0;
  bool Replace = true;  // else only a name nothing has

  ~TEncoder() {
    sws_freeContext(Scaler);
    av_packet_free(&Packet);
    av_frame_free(&Picture);
    avcodec_free_context(&Codec);
    avformat_free_context(Format);
    if (Io != nullptr) av_freep(&Io->buffer);
    avio_context_free(&Io);
  }

  bool Open(const QString& path, int fps) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool webm = suffix == QLatin1String("webm");
    if (!webm && suffix != QLatin1String("mp4")) return false;
    const QByteArray file = QFile::encodeName(path);
    if (CheckWritable(file.constData(), true) != 0) return false;
    if (avformat_alloc_output_context2(&Format, nullptr, webm ? "webm" : "mp4", nullptr) < 0) return false;
    const AVCodec* codec = avcodec_find_encoder_by_name(webm ? "libvpx-vp9" : "libx264");
    if (codec == nullptr) return false;
    Stream = avformat_new_stream(Format, nullptr);
    Codec = avcodec_alloc_context3(codec);
    Picture = av_frame_alloc();
    Packet = av_packet_alloc();
    if (Stream == nullptr || Codec == nullptr || Picture == nullptr || Packet == nullptr) return false;

    Codec->width = Width;
    Codec->height = Height;
    Codec->pix_fmt = AV_PIX_FMT_YUV420P;  // what common players decode
    Codec->time_base = AVRational{1, fps};
    Codec->framerate = AVRational{fps, 1};
    Codec->gop_size = fps;  // a key frame a second: where an MP4's fragments begin
    Codec->thread_count = 2;
    if (Format->oformat->flags & AVFMT_GLOBALHEADER) Codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    if (webm) {
      // Fast enough to follow the steps on a small machine, at a quality fit for a scene of flat colours.
      av_dict_set(&options, "deadline", "realtime", 0);
      av_dict_set(&options, "cpu-used", "8", 0);
      av_dict_set(&options, "crf", "32", 0);
      av_dict_set(&options, "b", "0", 0);
    } else {
      av_dict_set(&options, "preset", "veryfast", 0);
      av_dict_set(&options, "crf", "23", 0);
    }
    const int opened = avcodec_open2(Codec, codec, &options);
    av_dict_free(&options);
    if (opened < 0) return false;
    if (avcodec_parameters_from_context(Stream->codecpar, Codec) < 0) return false;
    Stream->time_base = Codec->time_base;
    Stream->avg_frame_rate = Codec->framerate;

    Picture->format = Codec->pix_fmt;
    Picture->width = Width;
    Picture->height = Height;
    if (av_frame_get_buffer(Picture, 0) < 0) return false;

    if (!File.Open(file.constData(), true)) return false;
    constexpr int IoBytes = 64 * 1024;
    auto* buffer = static_cast<unsigned char*>(av_malloc(IoBytes));
    Io = buffer != nullptr ? avio_alloc_context(buffer, IoBytes, 1, &File, nullptr, WriteToFile, SeekInFile) : nullptr;
    if (Io == nullptr) {
      av_free(buffer);
      return false;
    }
    Format->pb = Io;
    Format->flags |= AVFMT_FLAG_CUSTOM_IO | AVFMT_FLAG_FLUSH_PACKETS;
    AVDictionary* muxing = nullptr;
    if (!webm) av_dict_set(&muxing, "movflags", "frag_keyframe+empty_moov+default_base_moof", 0);
    const int header = avformat_write_header(Format, &muxing);
    av_dict_free(&muxing);
    return header >= 0;
  }

  // Sends `frame` (or, when null, the end of the stream) to the encoder and
  // writes every packet it hands back.
  bool Send(const AVFrame* frame) {
    if (avcodec_send_frame(Codec, frame) < 0) return false;
    for (;;) {
      const int got = avcodec_receive_packet(Codec, Packet);
      if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return true;
      if (got < 0) return false;
      av_packet_rescale_ts(Packet, Codec->time_base, Stream->time_base);
      Packet->stream_index = Stream->index;
      if (av_interleaved_write_frame(Format, Packet) < 0) return false;  // takes the packet
    }
  }

  bool EncodeImage(const QImage& image) {
    const QImage rgb = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    Scaler = sws_getCachedContext(Scaler, rgb.width(), rgb.height(), AV_PIX_FMT_RGB32, Width, Height,
                                  AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (Scaler == nullptr || av_frame_make_writable(Picture) < 0) return false;
    const uint8_t* source[1] = {rgb.constBits()};
    const int stride[1] = {static_cast<int>(rgb.bytesPerLine())};
    sws_scale(Scaler, source, stride, 0, rgb.height(), Picture->data, Picture->linesize);
    Picture->pts = NextPts++;
    return Send(Picture);
  }

  // Ends the film; with `keep`, it replaces the target, else it is dropped
  // and the target stays as it was.
  bool Close(bool keep) {
    bool ok = Send(nullptr);
    ok = av_write_trailer(Format) >= 0 && ok;
    avio_flush(Io);
    ok = Io->error >= 0 && ok;
    if (ok && keep) return Replace ? File.Commit() : File.CommitNew();
    File.Discard();
    return ok;
  }
};

TSceneRecorder::TSceneRecorder() = default;

TSceneRecorder::~TSceneRecorder() {
  if (Recording()) Finish();
}

bool TSceneRecorder::Start(const QString& path, int framesPerSecond, bool replace) {
  if (Recording()) return false;
  av_log_set_level(AV_LOG_ERROR);  // the encoders' chatter is no news to the user
  auto encoder = std::make_unique<TEncoder>();
  encoder->Replace = replace;
  if (!encoder->Open(path, framesPerSecond)) return false;  // the temporary file goes with it
  Encoder = std::move(encoder);
  FilePath = path;
  Queued = 0;
  Queue.clear();
  Closing = Failed = false;
  Worker = std::thread([this] { Encode(); });
  return true;
}

bool TSceneRecorder::AddFrame(const QImage& frame) {
  if (!Recording()) return false;
  QImage copy = frame.copy();  // the scene is drawn anew at the next step
  std::unique_lock<std::mutex> hold(Lock);
  Drained.wait(hold, [this] { return Queue.size() < QueueFrames || Failed; });
  if (Failed) return false;
  Queue.push_back(std::move(copy));
  ++Queued;
  hold.unlock();
  Filled.notify_one();
  return true;
}

void TSceneRecorder::Encode() {
  for (;;) {
    QImage frame;
    {
      std::unique_lock<std::mutex> hold(Lock);
      Filled.wait(hold, [this] { return !Queue.empty() || Closing; });
      if (Queue.empty()) return;  // closing, and everything is written
      frame = std::move(Queue.front());
      Queue.pop_front();
    }
    const bool ok = Encoder->EncodeImage(frame);
    {
      std::lock_guard<std::mutex> hold(Lock);
      if (!ok) {
        Failed = true;
        Queue.clear();  // nothing more is written; a waiting step goes on
      }
    }
    Drained.notify_one();
    if (!ok) {
      std::unique_lock<std::mutex> hold(Lock);
      Filled.wait(hold, [this] { return Closing; });
      return;
    }
  }
}

bool TSceneRecorder::Finish() {
  if (!Recording()) return false;
  {
    std::lock_guard<std::mutex> hold(Lock);
    Closing = true;
  }
  Filled.notify_one();
  Worker.join();
  // A film without a frame is no film: the target stays as it was.
  const bool ok = Encoder->Close(!Failed && Queued > 0) && !Failed;
  Encoder.reset();
  return ok;
}
