#include "video_probe.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

#include "iso_time.h"
#include "media/ffmpeg/ffmpeg_video_source.h"

namespace velmoria::import {

std::optional<double> parseCreationTime(const std::string& text) {
  const auto t = parseIsoTime(text);
  // Containers store 0 (1904 or 1970) when the camera had no clock.
  if (!t || *t < 86400.0 * 365 * 10) return std::nullopt;
  return t;
}

namespace {

struct Container {
  AVFormatContext* fmt = nullptr;
  ~Container() { avformat_close_input(&fmt); }
};

std::optional<double> creationTime(AVFormatContext* fmt, int stream) {
  // Apple's tag carries the local time with its zone; the plain one is UTC.
  for (AVDictionary* d : {fmt->metadata, fmt->streams[stream]->metadata})
    for (const char* key : {"com.apple.quicktime.creationdate", "creation_time"})
      if (const AVDictionaryEntry* e = av_dict_get(d, key, nullptr, 0))
        if (auto t = parseCreationTime(e->value)) return t;
  return std::nullopt;
}

}  // namespace

VideoFacts probeVideo(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec))
    throw VideoError(file.string() + ": no such video file");
  av_log_set_level(AV_LOG_FATAL);
  Container c;
  if (avformat_open_input(&c.fmt, file.c_str(), nullptr, nullptr) < 0 ||
      avformat_find_stream_info(c.fmt, nullptr) < 0)
    throw VideoError(file.string() + ": FFmpeg cannot open this file as a video");
  const AVCodec* codec = nullptr;
  const int stream = av_find_best_stream(c.fmt, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
  if (stream < 0) throw VideoError(file.string() + ": the file has no video stream");
  if (!codec)
    throw VideoError(file.string() + ": this FFmpeg has no decoder for its video (" +
                     avcodec_get_name(c.fmt->streams[stream]->codecpar->codec_id) + ")");
  VideoFacts f;
  f.codec = avcodec_get_name(c.fmt->streams[stream]->codecpar->codec_id);
  f.container = c.fmt->iformat->name;
  f.creationTime = creationTime(c.fmt, stream);

  FfmpegVideoSource source(1);
  if (!source.open(file)) throw VideoError(file.string() + ": FFmpeg cannot open its video stream");
  f.frames = source.frameCount();
  f.fps = source.frameRate();
  VideoFrame first;
  if (f.frames <= 0 || f.fps <= 0 || !source.decode(0, first))
    throw VideoError(file.string() + ": no frame of the video decodes");
  f.width = first.width;
  f.height = first.height;
  const std::vector<int64_t> keys = source.keyframes();
  std::vector<int64_t> shown;
  for (int64_t k : keys)
    if (k >= 0 && k < f.frames) shown.push_back(k);
  if (shown.size() > 1) {
    int64_t longest = 0;
    for (size_t i = 1; i < shown.size(); ++i) longest = std::max(longest, shown[i] - shown[i - 1]);
    longest = std::max(longest, f.frames - shown.back());
    f.longestGop = static_cast<int>(longest);
    f.meanGop = static_cast<double>(f.frames) / static_cast<double>(shown.size());
  } else {
    f.longestGop = f.frames;
    f.meanGop = f.frames;
  }
  return f;
}

AccessTimes measureAccess(const std::filesystem::path& file, int jumps,
                          const std::function<void(double)>& progress, double budgetSeconds) {
  AccessTimes a;
  FfmpegVideoSource source(1);  // as the desktop program's decoding worker opens it
  if (!source.open(file) || source.frameCount() <= 0) return a;
  const int n = source.frameCount();
  std::mt19937 random(15);
  std::uniform_int_distribution<int> any(0, n - 1);
  VideoFrame frame;
  std::vector<double> ms;
  using Clock = std::chrono::steady_clock;
  double spent = 0;
  for (int k = 0; k < jumps; ++k) {
    // A camera's hour can take seconds a jump: a few say enough.
    if (k >= kMinJumps && spent > budgetSeconds * 1000) break;
    const int index = any(random);
    const auto t0 = Clock::now();
    source.decode(index, frame);
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    spent += ms.back();
    if (progress) progress(0.8 * (k + 1) / jumps);
  }
  a.jumps = static_cast<int>(ms.size());
  std::sort(ms.begin(), ms.end());
  if (!ms.empty()) a.jumpMedianMs = ms[ms.size() / 2], a.jumpWorstMs = ms.back();
  const int from = n / 2,
            count = std::min(n - from, std::max(30, static_cast<int>(source.frameRate())));
  source.decode(from, frame);
  const auto t0 = Clock::now();
  for (int i = 1; i < count; ++i) source.decode(from + i, frame);
  const double s = std::chrono::duration<double>(Clock::now() - t0).count();
  a.aheadFps = count > 1 && s > 0 ? (count - 1) / s : 0;
  if (progress) progress(1);
  return a;
}

}  // namespace velmoria::import
