#pragma once

// Films read back with libavformat and libavcodec, as a player reads them.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
}

#include <QByteArray>
#include <QFile>
#include <QString>

struct TFilm {
  int Frames = 0, Width = 0, Height = 0;
  double Rate = 0;
  AVCodecID Codec = AV_CODEC_ID_NONE;
  QByteArray FirstFrame;  // the first picture decoded, its planes packed; empty if none was
};

// The planes of `frame`, without the decoder's padding.
inline QByteArray PackedPicture(const AVFrame* frame) {
  const auto format = static_cast<AVPixelFormat>(frame->format);
  QByteArray bytes(av_image_get_buffer_size(format, frame->width, frame->height, 1), '\0');
  const int n = av_image_copy_to_buffer(reinterpret_cast<uint8_t*>(bytes.data()), static_cast<int>(bytes.size()), frame->data,
                                        frame->linesize, format, frame->width, frame->height, 1);
  return n == bytes.size() ? bytes : QByteArray();
}

// Hands `packet` (null: the end) to the decoder; the first picture it gives back goes to `first`.
inline void DecodeFirst(AVCodecContext* decoder, const AVPacket* packet, AVFrame* picture, QByteArray& first) {
  if (decoder == nullptr || !first.isEmpty() || avcodec_send_packet(decoder, packet) < 0) return;
  if (avcodec_receive_frame(decoder, picture) == 0) first = PackedPicture(picture);
}

// The video stream of `path` as a player's demuxer sees it: one packet per frame; the first one decoded.
inline TFilm ReadFilm(const QString& path) {
  TFilm film;
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, QFile::encodeName(path).constData(), nullptr, nullptr) < 0) return film;
  const int video = avformat_find_stream_info(format, nullptr) >= 0
                        ? av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0) : -1;
  if (video >= 0) {
    const AVCodecParameters* p = format->streams[video]->codecpar;
    film = {0, p->width, p->height, av_q2d(format->streams[video]->avg_frame_rate), p->codec_id, {}};
    const AVCodec* codec = avcodec_find_decoder(p->codec_id);
    AVCodecContext* decoder = codec != nullptr ? avcodec_alloc_context3(codec) : nullptr;
    if (decoder != nullptr && (avcodec_parameters_to_context(decoder, p) < 0 || avcodec_open2(decoder, codec, nullptr) < 0))
      avcodec_free_context(&decoder);
    AVPacket* packet = av_packet_alloc();
    AVFrame* picture = av_frame_alloc();
    for (; av_read_frame(format, packet) >= 0; av_packet_unref(packet)) {
      if (packet->stream_index != video) continue;
      ++film.Frames;
      DecodeFirst(decoder, packet, picture, film.FirstFrame);
    }
    DecodeFirst(decoder, nullptr, picture, film.FirstFrame);
    av_frame_free(&picture);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
  }
  avformat_close_input(&format);
  return film;
}
