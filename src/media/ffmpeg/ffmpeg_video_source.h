#pragma once
// The track video through FFmpeg: any codec FFmpeg reads from an AVI (or any container it
// demuxes), frame-exact by index in whatever order frames are asked for.
// Called on the UI thread (or any one thread at a time); not thread-safe.
// Frame i is the i-th picture of the video as a plain sequential decode shows it, with an
// empty "drop" chunk showing the picture before it. Sequential and short forward steps keep
// decoding; a backward or long forward jump seeks to a keyframe.
#include <cstdint>
#include <memory>
#include <vector>

#include "media/video_source.h"

struct AVFrame;

namespace velmoria {

class FfmpegVideoSource : public VideoSource {
 public:
  // decoderThreads: 1 gives the fastest random access; 0 lets FFmpeg use one per core, which
  // speeds up long sequential runs of H.264 and MPEG-4.
  explicit FfmpegVideoSource(int decoderThreads = 1);
  ~FfmpegVideoSource() override;
  FfmpegVideoSource(const FfmpegVideoSource&) = delete;
  FfmpegVideoSource& operator=(const FfmpegVideoSource&) = delete;

  bool open(const std::filesystem::path& file) override;
  int frameCount() const override;
  // The stream's average frame rate (its nominal rate where the container gives no average).
  double frameRate() const override;
  bool decode(int index, VideoFrame& out) override;
  // Scales and cuts in the same swscale pass that converts the picture (bicubic), so a large
  // video is never converted whole; kept across open().
  void setOutputSize(int width, int height) override;
  void close();

  // How many seeks decode() has made since open (for tests and benchmarks).
  int seekCount() const;
  // The frame indices of the keyframes, ascending (where the container says or a scan found
  // them; a keyframe a trimmed file never shows may lie before 0). Empty when nothing is open.
  std::vector<int64_t> keyframes() const;
  // The decoder's own picture for index, in its own format and size, as decode() would convert
  // it; valid until the next call on this source; null where decode() fails. For tools that
  // re-encode a video frame by frame.
  const AVFrame* picture(int index);

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
  int m_threads;
  int m_outWidth = 0, m_outHeight = 0;
};

}  // namespace velmoria
