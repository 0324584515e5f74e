#pragma once
// A video that is only a frame count: frames decode as plain grey pictures of 480 x 240.
// The count comes from the caller (velmoria-drive's --frames) or from a real source's count;
// the frame rate is 30 a second unless set otherwise.
#include "media/video_source.h"

namespace velmoria {

class NullVideoSource : public VideoSource {
 public:
  explicit NullVideoSource(int frames = -1) : m_frames(frames) {}
  // Opening succeeds when the file exists; the frame count stays what it was set to.
  bool open(const std::filesystem::path& file) override;
  int frameCount() const override { return m_open ? m_frames : -1; }
  double frameRate() const override { return m_open ? m_rate : 0.0; }
  bool decode(int index, VideoFrame& out) override;

  void setFrameCount(int frames) { m_frames = frames; }
  void setFrameRate(double perSecond) { m_rate = perSecond; }
  void setOpen(bool open) { m_open = open; }
  const std::filesystem::path& openedFile() const { return m_file; }

 private:
  int m_frames;
  double m_rate = 30.0;
  bool m_open = false;
  std::filesystem::path m_file;
};

}  // namespace velmoria
