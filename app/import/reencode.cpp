#include "reencode.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include "media/ffmpeg/ffmpeg_video_source.h"
#include "video_probe.h"

namespace velmoria::import {

namespace {

void check(int err, const std::string& what) {
  if (err < 0) {
    char buf[256];
    av_strerror(err, buf, sizeof buf);
    throw VideoError(what + ": " + buf);
  }
}

AVPixelFormat plain(AVPixelFormat f) {
  return f == AV_PIX_FMT_YUVJ420P ? AV_PIX_FMT_YUV420P : f;
}

struct Encoder {
  AVFormatContext* fmt = nullptr;
  AVCodecContext* enc = nullptr;
  AVStream* st = nullptr;
  AVPacket* pkt = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();  // a converted picture when the source's will not do
  SwsContext* sws = nullptr;

  ~Encoder() {
    sws_freeContext(sws);
    av_frame_free(&frame);
    av_packet_free(&pkt);
    avcodec_free_context(&enc);
    if (fmt) {
      if (fmt->pb) avio_closep(&fmt->pb);
      avformat_free_context(fmt);
    }
  }

  void drain() {
    for (;;) {
      const int r = avcodec_receive_packet(enc, pkt);
      if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return;
      check(r, "encoding");
      av_packet_rescale_ts(pkt, enc->time_base, st->time_base);
      pkt->stream_index = st->index;
      check(av_interleaved_write_frame(fmt, pkt), "writing the video");
    }
  }
};

}  // namespace

void reencodeShortGop(const std::filesystem::path& in, const std::filesystem::path& out,
                      const ReencodeOptions& options, const std::function<void(double)>& progress) {
  FfmpegVideoSource source(0);  // reading in order gains from a thread per core
  if (!source.open(in)) throw VideoError(in.string() + ": FFmpeg cannot open this file as a video");
  const int frames = source.frameCount();
  const AVFrame* first = source.picture(0);
  if (frames <= 0 || !first) throw VideoError(in.string() + ": no frame of the video decodes");
  const AVRational rate = av_d2q(source.frameRate(), 1000000);
  const int width = first->width & ~1, height = first->height & ~1;  // 4:2:0 wants even sizes

  const std::filesystem::path temp = out.string() + ".part.mp4";
  Encoder e;
  check(avformat_alloc_output_context2(&e.fmt, nullptr, "mp4", temp.c_str()), "MP4 muxer");
  const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
  const bool x264 = codec != nullptr;
  if (!codec) codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
  if (!codec) throw VideoError("libavcodec has neither libx264 nor an MPEG-4 encoder");
  e.st = avformat_new_stream(e.fmt, nullptr);
  e.enc = avcodec_alloc_context3(codec);
  e.enc->width = width;
  e.enc->height = height;
  e.enc->pix_fmt = AV_PIX_FMT_YUV420P;
  e.enc->time_base = av_inv_q(rate);
  e.enc->framerate = rate;
  e.enc->gop_size = options.gop;
  e.enc->keyint_min = options.gop;
  e.enc->max_b_frames = 0;
  e.enc->thread_count = 0;
  e.enc->color_range =
      first->color_range == AVCOL_RANGE_JPEG || first->format == AV_PIX_FMT_YUVJ420P
          ? AVCOL_RANGE_JPEG
          : first->color_range;
  e.enc->colorspace = first->colorspace;
  e.enc->color_primaries = first->color_primaries;
  e.enc->color_trc = first->color_trc;
  if (x264) {
    av_opt_set(e.enc->priv_data, "preset", options.preset.c_str(), 0);
    av_opt_set_int(e.enc->priv_data, "crf", options.crf, 0);
    av_opt_set(e.enc->priv_data, "x264-params", "scenecut=0", 0);
  } else {
    e.enc->flags |= AV_CODEC_FLAG_QSCALE;
    e.enc->global_quality = FF_QP2LAMBDA * 3;
  }
  if (e.fmt->oformat->flags & AVFMT_GLOBALHEADER) e.enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  check(avcodec_open2(e.enc, codec, nullptr), "opening the encoder");
  check(avcodec_parameters_from_context(e.st->codecpar, e.enc), "video parameters");
  e.st->time_base = e.enc->time_base;
  e.st->avg_frame_rate = rate;
  check(avio_open(&e.fmt->pb, temp.c_str(), AVIO_FLAG_WRITE), "opening " + temp.string());
  check(avformat_write_header(e.fmt, nullptr), "MP4 header");

  e.frame->format = AV_PIX_FMT_YUV420P;
  e.frame->width = width;
  e.frame->height = height;
  check(av_frame_get_buffer(e.frame, 0), "frame buffer");
  try {
    for (int i = 0; i < frames; ++i) {
      const AVFrame* p = source.picture(i);
      if (!p) throw VideoError(in.string() + ": frame " + std::to_string(i) + " does not decode");
      AVFrame* send = nullptr;
      AVFrame* ref = nullptr;
      if (plain(static_cast<AVPixelFormat>(p->format)) == AV_PIX_FMT_YUV420P && p->width == width &&
          p->height == height) {
        ref = av_frame_clone(p);
        send = ref;
      } else {
        e.sws = sws_getCachedContext(e.sws, p->width, p->height,
                                     plain(static_cast<AVPixelFormat>(p->format)), width, height,
                                     AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr);
        if (!e.sws) throw VideoError("no conversion for the video's pictures");
        check(av_frame_make_writable(e.frame), "frame buffer");
        sws_scale(e.sws, p->data, p->linesize, 0, p->height, e.frame->data, e.frame->linesize);
        send = e.frame;
      }
      send->pts = i;
      send->pict_type = AV_PICTURE_TYPE_NONE;
      send->format = AV_PIX_FMT_YUV420P;
      const int r = avcodec_send_frame(e.enc, send);
      av_frame_free(&ref);
      check(r, "encoding");
      e.drain();
      if (progress && (i % 30 == 0 || i + 1 == frames)) progress(double(i + 1) / frames);
    }
    check(avcodec_send_frame(e.enc, nullptr), "finishing the encoding");
    e.drain();
    check(av_write_trailer(e.fmt), "MP4 trailer");
    avio_closep(&e.fmt->pb);
    FfmpegVideoSource written(1);
    if (!written.open(temp) || written.frameCount() != frames)
      throw VideoError(temp.string() + ": the re-encoded video does not have the " +
                       std::to_string(frames) + " frames of the original");
    std::error_code ec;
    std::filesystem::rename(temp, out, ec);
    if (ec) throw VideoError(out.string() + ": " + ec.message());
  } catch (...) {
    std::error_code ec;
    if (e.fmt && e.fmt->pb) avio_closep(&e.fmt->pb);
    std::filesystem::remove(temp, ec);
    throw;
  }
}

}  // namespace velmoria::import
