#include "media/ffmpeg/ffmpeg_sound_track.h"

#include <cmath>
#include <limits>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace velmoria {

namespace {

struct Decoder {
  AVFormatContext* fmt = nullptr;
  AVCodecContext* dec = nullptr;
  AVPacket* pkt = nullptr;
  AVFrame* frame = nullptr;
  SwrContext* swr = nullptr;
  // What the resampler was set up for; a stream may change its format on the way.
  int inFormat = -1;
  int inRate = 0;
  AVChannelLayout inLayout{};

  PcmSound out;
  size_t maxFrames = std::numeric_limits<size_t>::max();

  ~Decoder() {
    swr_free(&swr);
    av_channel_layout_uninit(&inLayout);
    av_frame_free(&frame);
    av_packet_free(&pkt);
    avcodec_free_context(&dec);
    avformat_close_input(&fmt);
  }

  bool full() const { return out.frames() >= maxFrames; }

  // Sets the resampler up for the format of this frame (again, when it changed).
  bool configure(const AVFrame* f) {
    AVChannelLayout in{};
    // PCM in an AVI often has no channel order: take the usual one for its channel count.
    if (f->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
      av_channel_layout_default(&in, f->ch_layout.nb_channels);
    else if (av_channel_layout_copy(&in, &f->ch_layout) < 0)
      return false;
    if (swr && f->format == inFormat && f->sample_rate == inRate &&
        av_channel_layout_compare(&in, &inLayout) == 0) {
      av_channel_layout_uninit(&in);
      return true;
    }
    swr_free(&swr);
    av_channel_layout_uninit(&inLayout);
    inLayout = in;
    inFormat = f->format;
    inRate = f->sample_rate;
    if (out.sampleRate == 0) out.sampleRate = f->sample_rate;
    if (out.channels == 0) out.channels = in.nb_channels >= 2 ? 2 : 1;
    AVChannelLayout outLayout{};
    av_channel_layout_default(&outLayout, out.channels);
    const int r =
        swr_alloc_set_opts2(&swr, &outLayout, AV_SAMPLE_FMT_S16, out.sampleRate, &inLayout,
                            static_cast<AVSampleFormat>(f->format), f->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&outLayout);
    if (r < 0 || !swr || swr_init(swr) < 0) {
      swr_free(&swr);
      return false;
    }
    return true;
  }

  // Converts a decoded frame (or, with nullptr, what the resampler still holds) and appends
  // it; false when the frame cannot be converted.
  bool append(const AVFrame* f) {
    if (f) {
      if (f->nb_samples <= 0) return true;  // nothing in it
      if (f->sample_rate <= 0 || f->ch_layout.nb_channels <= 0 || !configure(f)) return false;
    }
    if (!swr) return true;
    const int inSamples = f ? f->nb_samples : 0;
    const int room = swr_get_out_samples(swr, inSamples);
    if (room < 0) return false;
    if (room == 0) return true;
    const size_t at = out.samples.size();
    out.samples.resize(at + static_cast<size_t>(room) * out.channels);
    uint8_t* dst = reinterpret_cast<uint8_t*>(out.samples.data() + at);
    const uint8_t** src = f ? const_cast<const uint8_t**>(f->extended_data) : nullptr;
    const int got = swr_convert(swr, &dst, room, src, inSamples);
    out.samples.resize(at + static_cast<size_t>(got > 0 ? got : 0) * out.channels);
    return got >= 0;
  }

  // Takes every frame the decoder has ready; false on a decoder or resampler error.
  bool drainDecoder() {
    for (;;) {
      const int r = avcodec_receive_frame(dec, frame);
      if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
      if (r < 0) return false;
      const bool ok = append(frame);
      av_frame_unref(frame);
      if (!ok) return false;
      if (full()) return true;
    }
  }
};

}  // namespace

std::optional<PcmSound> readFfmpegSoundTrack(const std::filesystem::path& file, double maxSeconds) {
  if (!(maxSeconds > 0)) return std::nullopt;
  av_log_set_level(AV_LOG_FATAL);
  Decoder d;
  if (avformat_open_input(&d.fmt, file.c_str(), nullptr, nullptr) < 0) return std::nullopt;
  if (avformat_find_stream_info(d.fmt, nullptr) < 0) return std::nullopt;
  int stream = -1;
  for (unsigned s = 0; s < d.fmt->nb_streams; ++s) {
    if (stream < 0 && d.fmt->streams[s]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
      stream = static_cast<int>(s);
    else
      d.fmt->streams[s]->discard = AVDISCARD_ALL;
  }
  if (stream < 0) return std::nullopt;
  const AVCodecParameters* par = d.fmt->streams[stream]->codecpar;
  const AVCodec* codec = avcodec_find_decoder(par->codec_id);
  if (!codec) return std::nullopt;
  d.dec = avcodec_alloc_context3(codec);
  if (!d.dec || avcodec_parameters_to_context(d.dec, par) < 0) return std::nullopt;
  if (avcodec_open2(d.dec, codec, nullptr) < 0) return std::nullopt;
  d.pkt = av_packet_alloc();
  d.frame = av_frame_alloc();
  if (!d.pkt || !d.frame) return std::nullopt;
  if (par->sample_rate > 0 && std::isfinite(maxSeconds))
    d.maxFrames = static_cast<size_t>(std::ceil(maxSeconds * par->sample_rate));

  bool ok = true;
  while (ok && !d.full() && av_read_frame(d.fmt, d.pkt) >= 0) {
    if (d.pkt->stream_index == stream && d.pkt->size > 0) {
      // A packet the decoder refuses is skipped: the rest of the track may still decode.
      avcodec_send_packet(d.dec, d.pkt);
      ok = d.drainDecoder();
    }
    av_packet_unref(d.pkt);
  }
  if (ok && !d.full()) {
    avcodec_send_packet(d.dec, nullptr);
    ok = d.drainDecoder();
  }
  if (ok && !d.full()) d.append(nullptr);  // the resampler's last few samples

  PcmSound& pcm = d.out;
  // The limit was reckoned at the stream's stated rate; cut at the rate actually decoded.
  if (pcm.sampleRate > 0 && std::isfinite(maxSeconds)) {
    const auto limit = static_cast<size_t>(std::ceil(maxSeconds * pcm.sampleRate));
    if (pcm.frames() > limit) pcm.samples.resize(limit * static_cast<size_t>(pcm.channels));
  }
  if (pcm.samples.empty() || pcm.sampleRate <= 0) return std::nullopt;
  return std::move(pcm);
}

}  // namespace velmoria
