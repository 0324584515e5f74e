#pragma once
// Writes an AVI through libavformat/libavcodec: MPEG-4 part 2 with short GOPs (fast random
// access in the simulator), no B-frames, optionally with a 16-bit PCM mono sound track.
// One writer per file; call from one thread.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "image.h"

namespace demo {

class VideoWriter {
 public:
  VideoWriter(const std::filesystem::path& path, int width, int height, int gop, int quality,
              int audioRate = 0);
  ~VideoWriter();
  VideoWriter(const VideoWriter&) = delete;
  VideoWriter& operator=(const VideoWriter&) = delete;

  void addFrame(const Image& rgb);
  void addAudio(const std::vector<int16_t>& samples);  // whole track, before finish()
  void finish();
  int64_t frames() const { return m_frames; }

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
  int64_t m_frames = 0;
};

}  // namespace demo
