#include "mp4_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <ctime>
#include <stdexcept>
#include <string>

namespace demo {

namespace {
void check(int err, const char* what) {
  if (err < 0) {
    char buf[256];
    av_strerror(err, buf, sizeof buf);
    throw std::runtime_error(std::string(what) + ": " + buf);
  }
}
}  // namespace

struct Mp4Writer::Impl {
  AVFormatContext* fmt = nullptr;
  AVCodecContext* enc = nullptr;
  AVStream* st = nullptr;
  SwsContext* sws = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* pkt = nullptr;
  bool finished = false;

  void drain() {
    while (true) {
      const int r = avcodec_receive_packet(enc, pkt);
      if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return;
      check(r, "encode H.264");
      av_packet_rescale_ts(pkt, enc->time_base, st->time_base);
      pkt->stream_index = st->index;
      check(av_interleaved_write_frame(fmt, pkt), "write MP4");
    }
  }
};

Mp4Writer::Mp4Writer(const std::filesystem::path& path, int width, int height, int gop, int crf,
                     int64_t creationUtc)
    : m_impl(std::make_unique<Impl>()) {
  Impl& m = *m_impl;
  av_log_set_level(AV_LOG_ERROR);  // libx264 reports its settings at the info level
  check(avformat_alloc_output_context2(&m.fmt, nullptr, "mp4", path.c_str()), "mp4 muxer");
  const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
  if (!codec) throw std::runtime_error("libavcodec has no libx264 encoder");
  m.st = avformat_new_stream(m.fmt, nullptr);
  m.enc = avcodec_alloc_context3(codec);
  m.enc->width = width;
  m.enc->height = height;
  m.enc->pix_fmt = AV_PIX_FMT_YUV420P;
  m.enc->time_base = AVRational{1, 30};
  m.enc->framerate = AVRational{30, 1};
  m.enc->gop_size = gop;
  m.enc->max_b_frames = 3;
  // A fixed thread count keeps the file the same on every machine.
  m.enc->thread_count = 2;
  av_opt_set(m.enc->priv_data, "preset", "fast", 0);
  av_opt_set_int(m.enc->priv_data, "crf", crf, 0);
  if (m.fmt->oformat->flags & AVFMT_GLOBALHEADER) m.enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  check(avcodec_open2(m.enc, codec, nullptr), "open libx264");
  check(avcodec_parameters_from_context(m.st->codecpar, m.enc), "video parameters");
  m.st->time_base = m.enc->time_base;
  char when[40];
  const std::time_t t = static_cast<std::time_t>(creationUtc);
  std::tm tm{};
  gmtime_r(&t, &tm);
  std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%S.000000Z", &tm);
  av_dict_set(&m.fmt->metadata, "creation_time", when, 0);
  check(avio_open(&m.fmt->pb, path.c_str(), AVIO_FLAG_WRITE), "open output");
  check(avformat_write_header(m.fmt, nullptr), "MP4 header");
  m.frame = av_frame_alloc();
  m.frame->format = AV_PIX_FMT_YUV420P;
  m.frame->width = width;
  m.frame->height = height;
  check(av_frame_get_buffer(m.frame, 0), "frame buffer");
  m.pkt = av_packet_alloc();
  m.sws = sws_getContext(width, height, AV_PIX_FMT_RGB24, width, height, AV_PIX_FMT_YUV420P,
                         SWS_BILINEAR, nullptr, nullptr, nullptr);
}

Mp4Writer::~Mp4Writer() {
  Impl& m = *m_impl;
  try {
    if (!m.finished) finish();
  } catch (...) {
  }
  sws_freeContext(m.sws);
  av_frame_free(&m.frame);
  av_packet_free(&m.pkt);
  avcodec_free_context(&m.enc);
  if (m.fmt) {
    if (m.fmt->pb) avio_closep(&m.fmt->pb);
    avformat_free_context(m.fmt);
  }
}

void Mp4Writer::addFrame(const Image& rgb) {
  Impl& m = *m_impl;
  check(av_frame_make_writable(m.frame), "frame writable");
  const uint8_t* src[1] = {reinterpret_cast<const uint8_t*>(rgb.pixels().data())};
  const int stride[1] = {rgb.width() * 3};
  sws_scale(m.sws, src, stride, 0, rgb.height(), m.frame->data, m.frame->linesize);
  m.frame->pts = m_frames++;
  check(avcodec_send_frame(m.enc, m.frame), "send frame");
  m.drain();
}

void Mp4Writer::finish() {
  Impl& m = *m_impl;
  if (m.finished) return;
  m.finished = true;
  check(avcodec_send_frame(m.enc, nullptr), "flush H.264");
  m.drain();
  check(av_write_trailer(m.fmt), "MP4 trailer");
}

}  // namespace demo
