#pragma once
// A video whose frame i is a 480 x 240 picture filled with the colour value i, optionally slow
// to decode, 30 frames a second unless set otherwise. Counts its decodes (shared between copies
// made by one factory). Pictures of a file named selo.avi (the branch line) also carry
// kBranchTag, so a test can tell the two videos' pictures apart.
#include <QImage>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "media/video_source.h"

namespace velmoria::test {

constexpr uint32_t kBranchTag = 0x800000;

struct PatternVideoStats {
  std::atomic<int> decodes{0};
  std::atomic<int> opens{0};
};

class PatternVideo : public VideoSource {
 public:
  PatternVideo(int frames, int decodeMs, std::shared_ptr<PatternVideoStats> stats)
      : m_frames(frames), m_decodeMs(decodeMs), m_stats(std::move(stats)) {}
  bool open(const std::filesystem::path& file) override {
    ++m_stats->opens;
    m_tag = file.filename() == "selo.avi" ? kBranchTag : 0;
    m_open = true;
    return true;
  }
  int frameCount() const override { return m_open ? m_frames : -1; }
  double frameRate() const override { return m_open ? m_rate : 0.0; }
  void setFrameRate(double perSecond) { m_rate = perSecond; }
  bool decode(int index, VideoFrame& out) override {
    if (index < 0 || index >= frameCount()) return false;
    if (m_decodeMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(m_decodeMs));
    ++m_stats->decodes;
    out.width = 480;
    out.height = 240;
    out.pixels.assign(480 * 240, 0xff000000u | m_tag | static_cast<uint32_t>(index));
    return true;
  }

 private:
  int m_frames;
  int m_decodeMs;
  std::shared_ptr<PatternVideoStats> m_stats;
  bool m_open = false;
  uint32_t m_tag = 0;
  double m_rate = 30.0;
};

// The frame index a PatternVideo picture shows.
inline int patternIndex(const QImage& image, int x = 10, int y = 10) {
  return static_cast<int>(image.pixel(x, y) & (kBranchTag - 1));
}

// Whether a PatternVideo picture came from the branch line's video.
inline bool fromBranchVideo(const QImage& image, int x = 10, int y = 10) {
  return (image.pixel(x, y) & kBranchTag) != 0;
}

}  // namespace velmoria::test
