#include "media/ffmpeg/ffmpeg_video_source.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace velmoria {

namespace {

// A forward jump that crosses a keyframe is decoded through rather than sought when it is at
// most this many frames: a seek flushes the decoder and rereads from the keyframe, which costs
// more than a few frames of decoding.
constexpr int64_t kForwardDecodeLimit = 24;

// The label of a picture whose place cannot be told (no timestamp, nothing before it).
constexpr int64_t kUnknown = std::numeric_limits<int64_t>::min();

// swscale wants the plain planar formats with a full-range flag, not MJPEG's yuvj* formats.
AVPixelFormat plainFormat(AVPixelFormat f, bool& fullRange) {
  switch (f) {
    case AV_PIX_FMT_YUVJ420P:
      fullRange = true;
      return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P:
      fullRange = true;
      return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P:
      fullRange = true;
      return AV_PIX_FMT_YUV444P;
    case AV_PIX_FMT_YUVJ440P:
      fullRange = true;
      return AV_PIX_FMT_YUV440P;
    case AV_PIX_FMT_YUVJ411P:
      fullRange = true;
      return AV_PIX_FMT_YUV411P;
    default:
      return f;
  }
}

}  // namespace

struct FfmpegVideoSource::Impl {
  std::filesystem::path file;
  int threads = 1;
  AVFormatContext* fmt = nullptr;
  AVCodecContext* dec = nullptr;
  AVPacket* pkt = nullptr;
  AVFrame* tmp = nullptr;      // the picture just received
  AVFrame* cur = nullptr;      // the newest picture at or before the last index asked for
  AVFrame* ahead = nullptr;    // a picture received past the last index asked for
  AVFrame* cropped = nullptr;  // a second reference to cur with the crop applied
  // The scaler for the pictures' current shape, made for exactly that shape and range.
  SwsContext* sws = nullptr;
  int swsWidth = 0, swsHeight = 0, swsOutWidth = 0, swsOutHeight = 0;
  AVPixelFormat swsFormat = AV_PIX_FMT_NONE;
  bool swsFull = false;

  int stream = -1;
  AVRational timeBase{1, 1};
  AVRational frameDuration{1, 1};  // one frame in seconds
  int64_t startTs = 0;
  int count = -1;
  double fps = 0;
  std::vector<int64_t> keyframes;  // frame indices of keyframes, ascending

  bool haveCur = false, haveAhead = false;
  int64_t curIndex = -1, aheadIndex = -1;
  int64_t lastLabel = -1;
  bool fresh = true;  // at the start of the file with nothing received: no seek needed
  bool draining = false, ended = false;
  int seeks = 0;
  int outWidth = 0, outHeight = 0;  // 0: the pictures' own size
  bool decodeOrderTimes = false;    // the container stamps packets in decoding order only
  bool skipBFramesWhenBehind = false;
  int64_t target = 0;  // the index being decoded towards

  ~Impl() {
    sws_freeContext(sws);
    av_frame_free(&tmp);
    av_frame_free(&cur);
    av_frame_free(&ahead);
    av_frame_free(&cropped);
    av_packet_free(&pkt);
    avcodec_free_context(&dec);
    avformat_close_input(&fmt);
  }

  int64_t toIndex(int64_t ts) const {
    return av_rescale_q_rnd(ts - startTs, timeBase, frameDuration,
                            AVRounding(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
  }
  int64_t toTs(int64_t index) const {
    return startTs + av_rescale_q(index, frameDuration, timeBase);
  }

  bool openFormat() {
    avformat_close_input(&fmt);
    if (avformat_open_input(&fmt, file.c_str(), nullptr, nullptr) < 0) return false;
    if (avformat_find_stream_info(fmt, nullptr) < 0) return false;
    return true;
  }

  void discardOtherStreams() {
    for (unsigned s = 0; s < fmt->nb_streams; ++s)
      if (static_cast<int>(s) != stream) fmt->streams[s]->discard = AVDISCARD_ALL;
  }

  bool open() {
    if (!openFormat()) return false;
    const AVCodec* codec = nullptr;
    stream = av_find_best_stream(fmt, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (stream < 0 || !codec) return false;
    discardOtherStreams();
    decodeOrderTimes = std::strcmp(fmt->iformat->name, "avi") == 0;
    AVStream* st = fmt->streams[stream];
    timeBase = st->time_base;
    AVRational rate = st->avg_frame_rate.num > 0 ? st->avg_frame_rate : st->r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) rate = av_inv_q(timeBase);
    frameDuration = av_inv_q(rate);
    fps = av_q2d(rate);
    startTs = st->start_time != AV_NOPTS_VALUE ? st->start_time : 0;

    dec = avcodec_alloc_context3(codec);
    if (!dec || avcodec_parameters_to_context(dec, st->codecpar) < 0) return false;
    dec->thread_count = threads;
    skipBFramesWhenBehind = codec->id == AV_CODEC_ID_MPEG4;
    if (avcodec_open2(dec, codec, nullptr) < 0) return false;
    pkt = av_packet_alloc();
    tmp = av_frame_alloc();
    cur = av_frame_alloc();
    ahead = av_frame_alloc();
    cropped = av_frame_alloc();
    if (!pkt || !tmp || !cur || !ahead || !cropped) return false;

    // A complete AVI's index lists every chunk, drop chunks included. An MP4's lists every
    // sample by its decoding time, which runs behind the presentation time by the reorder
    // delay from the first sample on: shifted by that, a closed GOP's keyframe lands on its own
    // frame, an open GOP's earlier (which the retry one keyframe back covers), and the last
    // sample on the last frame.
    int64_t packets = -1;
    const int entries = avformat_index_get_entries_count(st);
    // Samples that an edit list cuts away (a trimmed file) are never shown: they count for no
    // frame, but a keyframe among them is where the first shown frames decode from.
    int64_t shift = 0;
    if (!decodeOrderTimes) {
      for (int e = 0; e < entries; ++e)
        if (const AVIndexEntry* entry = avformat_index_get_entry(st, e))
          if (!(entry->flags & AVINDEX_DISCARD_FRAME))
            shift = std::max(shift, -toIndex(entry->timestamp));
    }
    for (int e = 0; e < entries; ++e) {
      const AVIndexEntry* entry = avformat_index_get_entry(st, e);
      if (!entry) continue;
      const int64_t index = toIndex(entry->timestamp) + shift;
      if (entry->size > 0 && (entry->flags & AVINDEX_KEYFRAME)) keyframes.push_back(index);
      if (entry->flags & AVINDEX_DISCARD_FRAME) continue;
      // Only in AVI does a chunk's time say which frame it is (drop chunks leave gaps);
      // elsewhere every sample shown is one frame.
      packets = decodeOrderTimes ? std::max(packets, index + 1) : std::max<int64_t>(packets, 0) + 1;
    }
    if (keyframes.empty() || st->nb_frames <= 0 || entries < st->nb_frames) {
      // No index (an AVI written without idx1, or cut short before it; the header still
      // claims the full length): one pass over the packets finds the keyframes and the real
      // length, and lets the demuxer seek.
      keyframes.clear();
      packets = scanPackets();
      if (!rewind()) return false;
    }
    std::sort(keyframes.begin(), keyframes.end());
    keyframes.erase(std::unique(keyframes.begin(), keyframes.end()), keyframes.end());
    count = st->nb_frames > 0 ? static_cast<int>(std::min<int64_t>(st->nb_frames, INT32_MAX)) : 0;
    if (packets >= 0 && (count == 0 || packets < count)) count = static_cast<int>(packets);
    return true;
  }

  // Reads every packet once; returns one past the last frame index seen.
  int64_t scanPackets() {
    int64_t end = 0;
    while (av_read_frame(fmt, pkt) >= 0) {
      if (pkt->stream_index == stream && pkt->size > 0) {
        // Where packets carry presentation times (everything but AVI), those place the frames.
        const int64_t first = decodeOrderTimes ? pkt->dts : pkt->pts;
        const int64_t ts = first != AV_NOPTS_VALUE ? first : decodeOrderTimes ? pkt->pts : pkt->dts;
        if (ts != AV_NOPTS_VALUE) {
          const int64_t index = toIndex(ts);
          if (pkt->flags & AV_PKT_FLAG_KEY) keyframes.push_back(index);
          if (!(pkt->flags & AV_PKT_FLAG_DISCARD)) end = std::max(end, index + 1);
        }
      }
      av_packet_unref(pkt);
    }
    return std::min<int64_t>(end, INT32_MAX);
  }

  void resetPictures(int64_t labelBase) {
    av_frame_unref(cur);
    av_frame_unref(ahead);
    haveCur = haveAhead = false;
    curIndex = aheadIndex = -1;
    lastLabel = labelBase;
    draining = ended = false;
  }

  // Back to the first packet; reopening the file is the fallback when the demuxer cannot seek.
  bool rewind() {
    if (fmt->pb) {
      if (avformat_seek_file(fmt, stream, std::numeric_limits<int64_t>::min(), startTs, startTs,
                             0) >= 0)
        return true;
    }
    if (!openFormat()) return false;
    discardOtherStreams();
    return true;
  }

  bool seekToKeyframe(int64_t key, bool streamStart) {
    avcodec_flush_buffers(dec);
    // Only at the start of the stream does the place of a picture without a timestamp follow
    // from the keyframe's: elsewhere the keyframe may be shown after pictures decoded later.
    resetPictures(streamStart ? key - 1 : kUnknown);
    fresh = false;
    ++seeks;
    if (av_seek_frame(fmt, stream, toTs(key), AVSEEK_FLAG_BACKWARD) >= 0) return true;
    // Decoding from the start is slow but always right.
    if (!rewind()) return false;
    lastLabel = -1;
    return true;
  }

  // Gets the next decoded picture into tmp; false at the end of the stream.
  bool receiveNext() {
    for (;;) {
      if (ended) return false;
      const int r = avcodec_receive_frame(dec, tmp);
      if (r == 0) {
        if (tmp->data[0]) return true;
        av_frame_unref(tmp);
        continue;
      }
      if (r == AVERROR_EOF || draining) {
        ended = true;
        return false;
      }
      // EAGAIN, or a broken picture: feed the decoder the next packet of our stream.
      for (;;) {
        if (av_read_frame(fmt, pkt) < 0) {
          avcodec_send_packet(dec, nullptr);
          draining = true;
          break;
        }
        if (pkt->stream_index != stream || pkt->size <= 0) {
          av_packet_unref(pkt);
          continue;
        }
        if (skipBFramesWhenBehind) {
          // Well short of the target, MPEG-4 part 2's B-frames need no decoding: nothing
          // refers to them, and the pictures around them come out as they would have.
          const bool behind = pkt->dts != AV_NOPTS_VALUE && toIndex(pkt->dts) + 3 < target;
          dec->skip_frame = behind ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
        }
        const int s = avcodec_send_packet(dec, pkt);
        av_packet_unref(pkt);
        if (s == 0 || s == AVERROR(EAGAIN)) break;
        // A packet the decoder refuses is skipped; the next one may decode.
      }
    }
  }

  // The frame index of a received picture. AVI has no presentation timestamps (what the
  // demuxer offers as one is a copy of the decoding time), so the decoder's best guess is the
  // time of the packet that pushed the picture out, which runs ahead of the picture by the
  // decoder's reorder delay.
  int64_t labelOf(const AVFrame* f) {
    int64_t index;
    if (f->best_effort_timestamp == AV_NOPTS_VALUE) {
      if (lastLabel == kUnknown) return kUnknown;
      index = lastLabel + 1;
    } else {
      index = toIndex(f->best_effort_timestamp);
      if (decodeOrderTimes) index -= dec->has_b_frames;
    }
    if (lastLabel != kUnknown && index <= lastLabel) index = lastLabel + 1;
    lastLabel = index;
    return index;
  }

  enum class Step { Found, Overshot, Empty };

  // Decodes forward until the picture for index is at hand.
  Step advanceTo(int64_t index) {
    target = index;
    while (receiveNext()) {
      const int64_t label = labelOf(tmp);
      if (label == kUnknown) return Step::Overshot;  // try from a keyframe further back
      if (label <= index) {
        av_frame_unref(cur);
        av_frame_move_ref(cur, tmp);
        haveCur = true;
        curIndex = label;
        if (label == index) return Step::Found;
        continue;
      }
      av_frame_unref(ahead);
      av_frame_move_ref(ahead, tmp);
      haveAhead = true;
      aheadIndex = label;
      return haveCur ? Step::Found : Step::Overshot;
    }
    return haveCur ? Step::Found : Step::Empty;
  }

  int keyPositionFor(int64_t index) const {
    auto it = std::upper_bound(keyframes.begin(), keyframes.end(), index);
    return static_cast<int>(it - keyframes.begin()) - 1;
  }

  bool seekAndDecode(int64_t index) {
    int k = keyPositionFor(index);
    for (;;) {
      const int64_t key = k >= 0 ? keyframes[k] : 0;
      if (!seekToKeyframe(key, k <= 0)) return false;
      const Step step = advanceTo(index);
      if (step == Step::Found) return true;
      if (step == Step::Empty) return false;
      // The first picture came out past the target: an open GOP. Start a keyframe earlier.
      if (k <= 0) {
        promoteAhead();
        return true;
      }
      --k;
    }
  }

  void promoteAhead() {
    if (!haveAhead) return;
    av_frame_unref(cur);
    av_frame_move_ref(cur, ahead);
    haveCur = true;
    curIndex = aheadIndex;
    haveAhead = false;
  }

  // Makes cur the picture for index; false when there is none.
  bool position(int64_t index) {
    if (haveAhead && aheadIndex <= index) promoteAhead();
    if (haveCur && curIndex == index) return true;
    if (haveCur && haveAhead && curIndex < index) return true;  // a dropped frame
    if (haveCur && ended && curIndex < index) return true;      // dropped frames at the end
    bool forward = (haveCur && index > curIndex) || (!haveCur && fresh);
    if (forward) {
      const int64_t from = haveCur ? curIndex : -1;
      const int k = keyPositionFor(index);
      const int64_t key = k >= 0 ? keyframes[k] : 0;
      if (key > from + 1 && index - from > kForwardDecodeLimit) forward = false;
    }
    if (forward) {
      fresh = false;
      const Step step = advanceTo(index);
      if (step == Step::Overshot) promoteAhead();
      return step != Step::Empty;
    }
    return seekAndDecode(index);
  }

  // Keeps one scaler while the pictures keep their size, format and range. The range goes in
  // before the scaler is initialised, and the scaler is ours to compare by what it was made
  // for: swscale rewrites a context's flags as it sets it up (4:4:4 input gets full chroma
  // interpolation added), so sws_getCachedContext never recognises it again and builds a new
  // one for every picture, often at the address just freed, which then escaped a later
  // range setting and read JPEG's full-range levels as limited-range ones.
  bool scalerFor(int width, int height, AVPixelFormat format, bool full, int outW, int outH) {
    if (sws && width == swsWidth && height == swsHeight && format == swsFormat && full == swsFull &&
        outW == swsOutWidth && outH == swsOutHeight)
      return true;
    sws_freeContext(sws);
    sws = sws_alloc_context();
    if (!sws) return false;
    av_opt_set_int(sws, "srcw", width, 0);
    av_opt_set_int(sws, "srch", height, 0);
    av_opt_set_int(sws, "src_format", format, 0);
    av_opt_set_int(sws, "src_range", full ? 1 : 0, 0);
    av_opt_set_int(sws, "dstw", outW, 0);
    av_opt_set_int(sws, "dsth", outH, 0);
    av_opt_set_int(sws, "dst_format", AV_PIX_FMT_BGRA, 0);
    av_opt_set_int(sws, "dst_range", 1, 0);
    av_opt_set_int(sws, "sws_flags", SWS_BICUBIC, 0);
    if (sws_init_context(sws, nullptr, nullptr) < 0) {
      sws_freeContext(sws);
      sws = nullptr;
      return false;
    }
    swsWidth = width;
    swsHeight = height;
    swsFormat = format;
    swsFull = full;
    swsOutWidth = outW;
    swsOutHeight = outH;
    return true;
  }

  // The picture to scale: cur itself, or, for an output of another shape, the part of it that
  // covers the output (a second reference with its data pointers moved, cur left untouched).
  const AVFrame* croppedFor(const AVFrame* f, int outW, int outH) {
    const CropRect crop = coverCrop(f->width, f->height, outW, outH);
    if (crop.width == f->width && crop.height == f->height) return f;
    av_frame_unref(cropped);
    if (av_frame_ref(cropped, f) < 0) return f;
    cropped->crop_left = static_cast<size_t>(crop.x);
    cropped->crop_right = static_cast<size_t>(f->width - crop.x - crop.width);
    cropped->crop_top = static_cast<size_t>(crop.y);
    cropped->crop_bottom = static_cast<size_t>(f->height - crop.y - crop.height);
    // Formats that cannot be cut (hardware, bitstream) are scaled whole.
    if (av_frame_apply_cropping(cropped, AV_FRAME_CROP_UNALIGNED) < 0) {
      av_frame_unref(cropped);
      return f;
    }
    return cropped;
  }

  bool convert(const AVFrame* whole, VideoFrame& out) {
    if (whole->width <= 0 || whole->height <= 0 || !whole->data[0]) return false;
    const int outW = outWidth > 0 ? outWidth : whole->width;
    const int outH = outHeight > 0 ? outHeight : whole->height;
    const AVFrame* f = croppedFor(whole, outW, outH);
    bool full = f->color_range == AVCOL_RANGE_JPEG;
    const AVPixelFormat format = plainFormat(static_cast<AVPixelFormat>(f->format), full);
    const bool ok = scalerFor(f->width, f->height, format, full, outW, outH);
    if (ok) {
      out.width = outW;
      out.height = outH;
      out.pixels.resize(static_cast<size_t>(outW) * outH);
      uint8_t* dst[4] = {reinterpret_cast<uint8_t*>(out.pixels.data()), nullptr, nullptr, nullptr};
      const int dstStride[4] = {outW * 4, 0, 0, 0};
      sws_scale(sws, f->data, f->linesize, 0, f->height, dst, dstStride);
    }
    if (f == cropped) av_frame_unref(cropped);
    return ok;
  }
};

FfmpegVideoSource::FfmpegVideoSource(int decoderThreads) : m_threads(decoderThreads) {
  av_log_set_level(AV_LOG_FATAL);
}

FfmpegVideoSource::~FfmpegVideoSource() = default;

bool FfmpegVideoSource::open(const std::filesystem::path& file) {
  close();
  auto impl = std::make_unique<Impl>();
  impl->file = file;
  impl->threads = m_threads;
  impl->outWidth = m_outWidth;
  impl->outHeight = m_outHeight;
  if (!impl->open()) return false;
  m_impl = std::move(impl);
  return true;
}

void FfmpegVideoSource::close() {
  m_impl.reset();
}

int FfmpegVideoSource::frameCount() const {
  return m_impl ? m_impl->count : -1;
}

double FfmpegVideoSource::frameRate() const {
  return m_impl ? m_impl->fps : 0.0;
}

int FfmpegVideoSource::seekCount() const {
  return m_impl ? m_impl->seeks : 0;
}

void FfmpegVideoSource::setOutputSize(int width, int height) {
  // Sizes beyond what a screen shows are refused, not allocated: the video's own size then.
  constexpr int kLargest = 16384;
  const bool valid = width > 0 && height > 0 && width <= kLargest && height <= kLargest;
  m_outWidth = valid ? width : 0;
  m_outHeight = valid ? height : 0;
  if (m_impl) {
    m_impl->outWidth = m_outWidth;
    m_impl->outHeight = m_outHeight;
  }
}

std::vector<int64_t> FfmpegVideoSource::keyframes() const {
  return m_impl ? m_impl->keyframes : std::vector<int64_t>{};
}

const AVFrame* FfmpegVideoSource::picture(int index) {
  if (!m_impl || index < 0 || index >= m_impl->count) return nullptr;
  if (!m_impl->position(index) || !m_impl->cur->data[0]) return nullptr;
  return m_impl->cur;
}

bool FfmpegVideoSource::decode(int index, VideoFrame& out) {
  if (!m_impl || index < 0 || index >= m_impl->count) return false;
  if (!m_impl->position(index)) return false;
  return m_impl->convert(m_impl->cur, out);
}

}  // namespace velmoria
