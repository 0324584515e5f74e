#include "media/video_source.h"

#include <cmath>
#include <cstdint>

namespace velmoria {

CropRect coverCrop(int width, int height, int areaWidth, int areaHeight) {
  if (width <= 0 || height <= 0 || areaWidth <= 0 || areaHeight <= 0) return {};
  // Compare the shapes in 64 bits: the products of two sizes need not fit in an int.
  const int64_t picture = int64_t{width} * areaHeight, area = int64_t{areaWidth} * height;
  if (picture > area) {  // wider than the area: cut left and right
    const int w = static_cast<int>(std::lround(static_cast<double>(area) / areaHeight));
    const int kept = w < 1 ? 1 : w;
    return {(width - kept) / 2, 0, kept, height};
  }
  if (picture < area) {  // taller: cut top and bottom
    const int h = static_cast<int>(std::lround(static_cast<double>(picture) / areaWidth));
    const int kept = h < 1 ? 1 : h;
    return {0, (height - kept) / 2, width, kept};
  }
  return {0, 0, width, height};
}

}  // namespace velmoria
