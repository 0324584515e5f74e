#pragma once
// A video: frames by index. The core reads only the frame count and reopens the track video at
// the branch switch; the shell decodes pictures and paces the opening movie by its frame rate.
// Called on the UI thread unless a backend says otherwise.
#include <cstdint>
#include <filesystem>
#include <vector>

namespace velmoria {

// The part of a picture of `width` x `height` that, scaled, covers an area of `areaWidth` x
// `areaHeight` with the picture's shape kept: the whole picture when the shapes agree, else
// its middle, the excess cut equally from both sides. Empty for an empty picture or area.
struct CropRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const CropRect&) const = default;
};
CropRect coverCrop(int width, int height, int areaWidth, int areaHeight);

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
  // Asks for pictures of this size (the area they are shown in, in device pixels), scaled to
  // cover it with their shape kept (coverCrop); 0 x 0, the default, is the video's own size. A
  // source that cannot scale goes on giving its own size, so callers check what they get.
  virtual void setOutputSize(int width, int height) {
    (void)width;
    (void)height;
  }
};

}  // namespace velmoria
