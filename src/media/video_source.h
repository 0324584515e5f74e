#pragma once
// A video: frames by index. The core reads only the frame count and reopens the track video at
// the branch switch; the shell decodes pictures and paces the opening movie by its frame rate.
// Called on the UI thread unless a backend says otherwise.
#include <cstdint>
#include <filesystem>
#include <vector>

namespace velmoria {

// A decoded picture, 32 bits a pixel (B, G, R, X in memory), rows top to bottom.
struct VideoFrame {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

class VideoSource {
 public:
  virtual ~VideoSource() = default;
  // True when a video stream was found; a failed open leaves nothing open.
  virtual bool open(const std::filesystem::path& file) = 0;
  // Number of frames of the open video, -1 when nothing is open.
  virtual int frameCount() const = 0;
  // Pictures a second of the open video, as the file states it; 0 when nothing is open.
  virtual double frameRate() const = 0;
  // Decodes frame index into out when 0 <= index < frameCount(); otherwise out keeps its
  // previous picture and the result is false.
  virtual bool decode(int index, VideoFrame& out) = 0;
};

}  // namespace velmoria
