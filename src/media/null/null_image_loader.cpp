#include "media/null/null_image_loader.h"

#include "frame/file_bytes.h"
#include "media/picture_header.h"

namespace velmoria {

std::optional<ImageInfo> readImageSize(const std::filesystem::path& file) {
  const auto bytes = readFileBytes(file);
  if (!bytes) return std::nullopt;
  return pictureSize(*bytes);
}

std::optional<ImageInfo> NullImageLoader::load(const std::filesystem::path& file) {
  auto info = readImageSize(file);
  if (info) info->id = m_next++;
  return info;
}

}  // namespace velmoria
