#pragma once
// Writes an H.264 MP4 through libavformat/libavcodec (libx264) the way a camera does: long
// GOPs with B-frames, the recording's start in the container's creation time. One writer per
// file; call from one thread.
#include <cstdint>
#include <filesystem>
#include <memory>

#include "image.h"

namespace demo {

class Mp4Writer {
 public:
  // gop: frames between keyframes; crf: libx264's constant quality (lower is better).
  Mp4Writer(const std::filesystem::path& path, int width, int height, int gop, int crf,
            int64_t creationUtc);
  ~Mp4Writer();
  Mp4Writer(const Mp4Writer&) = delete;
  Mp4Writer& operator=(const Mp4Writer&) = delete;

  void addFrame(const Image& rgb);
  void finish();
  int64_t frames() const { return m_frames; }

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
  int64_t m_frames = 0;
};

}  // namespace demo
