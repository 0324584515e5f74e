#pragma once
// Loads nothing but the size of a picture, from the BMP, PNG or JPEG header, so that the core's
// layout rules (timetable card, indicator lists) work headless. Missing or unknown files fail
// as they would in the real loader.
#include "media/image_loader.h"

namespace velmoria {

std::optional<ImageInfo> readImageSize(const std::filesystem::path& file);

class NullImageLoader : public ImageLoader {
 public:
  std::optional<ImageInfo> load(const std::filesystem::path& file) override;

 private:
  int m_next = 0;
};

}  // namespace velmoria
