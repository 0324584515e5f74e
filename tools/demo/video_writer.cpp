#include "video_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

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

struct VideoWriter::Impl {
  AVFormatContext* fmt = nullptr;
  AVCodecContext* venc = nullptr;
  AVCodecContext* aenc = nullptr;
  AVStream* vst = nullptr;
  AVStream* ast = nullptr;
  SwsContext* sws = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* pkt = nullptr;
  int quality = 5;
  int64_t audioPts = 0;
  bool finished = false;

  void drain(AVCodecContext* enc, AVStream* st) {
    while (true) {
      const int r = avcodec_receive_packet(enc, pkt);
      if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return;
      check(r, "encode");
      av_packet_rescale_ts(pkt, enc->time_base, st->time_base);
      pkt->stream_index = st->index;
      check(av_interleaved_write_frame(fmt, pkt), "write");
    }
  }
};

VideoWriter::VideoWriter(const std::filesystem::path& path, int width, int height, int gop,
                         int quality, int audioRate)
    : m_impl(std::make_unique<Impl>()) {
  Impl& m = *m_impl;
  m.quality = quality;
  check(avformat_alloc_output_context2(&m.fmt, nullptr, "avi", path.c_str()), "avi muxer");
  const AVCodec* vc = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
  if (!vc) throw std::runtime_error("no MPEG-4 encoder in libavcodec");
  m.vst = avformat_new_stream(m.fmt, nullptr);
  m.venc = avcodec_alloc_context3(vc);
  m.venc->width = width;
  m.venc->height = height;
  m.venc->pix_fmt = AV_PIX_FMT_YUV420P;
  m.venc->time_base = AVRational{1, 30};
  m.venc->framerate = AVRational{30, 1};
  m.venc->gop_size = gop;
  m.venc->max_b_frames = 0;
  m.venc->thread_count = 1;
  m.venc->flags |= AV_CODEC_FLAG_QSCALE;
  m.venc->global_quality = FF_QP2LAMBDA * quality;
  if (m.fmt->oformat->flags & AVFMT_GLOBALHEADER) m.venc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  check(avcodec_open2(m.venc, vc, nullptr), "open MPEG-4 encoder");
  check(avcodec_parameters_from_context(m.vst->codecpar, m.venc), "video parameters");
  m.vst->time_base = m.venc->time_base;
  if (audioRate > 0) {
    const AVCodec* ac = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
    if (!ac) throw std::runtime_error("no PCM encoder in libavcodec");
    m.ast = avformat_new_stream(m.fmt, nullptr);
    m.aenc = avcodec_alloc_context3(ac);
    m.aenc->sample_fmt = AV_SAMPLE_FMT_S16;
    m.aenc->sample_rate = audioRate;
    av_channel_layout_default(&m.aenc->ch_layout, 1);
    m.aenc->time_base = AVRational{1, audioRate};
    check(avcodec_open2(m.aenc, ac, nullptr), "open PCM encoder");
    check(avcodec_parameters_from_context(m.ast->codecpar, m.aenc), "audio parameters");
    m.ast->time_base = m.aenc->time_base;
  }
  check(avio_open(&m.fmt->pb, path.c_str(), AVIO_FLAG_WRITE), "open output");
  check(avformat_write_header(m.fmt, nullptr), "AVI header");
  m.frame = av_frame_alloc();
  m.frame->format = AV_PIX_FMT_YUV420P;
  m.frame->width = width;
  m.frame->height = height;
  check(av_frame_get_buffer(m.frame, 0), "frame buffer");
  m.pkt = av_packet_alloc();
  m.sws = sws_getContext(width, height, AV_PIX_FMT_RGB24, width, height, AV_PIX_FMT_YUV420P,
                         SWS_BILINEAR, nullptr, nullptr, nullptr);
}

VideoWriter::~VideoWriter() {
  Impl& m = *m_impl;
  try {
    if (!m.finished) finish();
  } catch (...) {
  }
  sws_freeContext(m.sws);
  av_frame_free(&m.frame);
  av_packet_free(&m.pkt);
  avcodec_free_context(&m.venc);
  avcodec_free_context(&m.aenc);
  if (m.fmt) {
    if (m.fmt->pb) avio_closep(&m.fmt->pb);
    avformat_free_context(m.fmt);
  }
}

void VideoWriter::addFrame(const Image& rgb) {
  Impl& m = *m_impl;
  check(av_frame_make_writable(m.frame), "frame writable");
  const uint8_t* src[1] = {reinterpret_cast<const uint8_t*>(rgb.pixels().data())};
  const int stride[1] = {rgb.width() * 3};
  sws_scale(m.sws, src, stride, 0, rgb.height(), m.frame->data, m.frame->linesize);
  m.frame->pts = m_frames++;
  m.frame->quality = m.venc->global_quality;
  check(avcodec_send_frame(m.venc, m.frame), "send frame");
  m.drain(m.venc, m.vst);
}

void VideoWriter::addAudio(const std::vector<int16_t>& samples) {
  Impl& m = *m_impl;
  if (!m.aenc) return;
  const int chunk = 1024;
  AVFrame* af = av_frame_alloc();
  for (size_t at = 0; at < samples.size(); at += chunk) {
    const int n = static_cast<int>(std::min<size_t>(chunk, samples.size() - at));
    af->format = AV_SAMPLE_FMT_S16;
    af->sample_rate = m.aenc->sample_rate;
    av_channel_layout_default(&af->ch_layout, 1);
    af->nb_samples = n;
    check(av_frame_get_buffer(af, 0), "audio buffer");
    std::copy(samples.begin() + static_cast<long>(at), samples.begin() + static_cast<long>(at) + n,
              reinterpret_cast<int16_t*>(af->data[0]));
    af->pts = m.audioPts;
    m.audioPts += n;
    check(avcodec_send_frame(m.aenc, af), "send audio");
    m.drain(m.aenc, m.ast);
    av_frame_unref(af);
  }
  av_frame_free(&af);
}

void VideoWriter::finish() {
  Impl& m = *m_impl;
  if (m.finished) return;
  m.finished = true;
  check(avcodec_send_frame(m.venc, nullptr), "flush video");
  m.drain(m.venc, m.vst);
  if (m.aenc) {
    check(avcodec_send_frame(m.aenc, nullptr), "flush audio");
    m.drain(m.aenc, m.ast);
  }
  check(av_write_trailer(m.fmt), "AVI trailer");
}

}  // namespace demo
