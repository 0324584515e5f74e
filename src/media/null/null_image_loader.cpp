#include "media/null/null_image_loader.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace velmoria {

namespace {
int32_t le32(const unsigned char* p) {
  return static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24);
}
uint32_t be32(const unsigned char* p) { return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }
uint16_t be16(const unsigned char* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }

std::optional<ImageInfo> jpegSize(const std::vector<unsigned char>& d) {
  size_t i = 2;
  while (i + 9 < d.size()) {
    if (d[i] != 0xFF) return std::nullopt;
    const unsigned char marker = d[i + 1];
    if (marker == 0xFF) { ++i; continue; }
    const uint16_t len = be16(&d[i + 2]);
    const bool sof = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                     marker != 0xCC;
    if (sof) return ImageInfo{-1, be16(&d[i + 7]), be16(&d[i + 5])};
    i += 2 + len;
  }
  return std::nullopt;
}
}  // namespace

std::optional<ImageInfo> readImageSize(const std::filesystem::path& file) {
  // A folder opens as a stream on Linux but throws when read: it is simply not a picture.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<unsigned char> d((std::istreambuf_iterator<char>(in)), {});
  if (d.size() >= 26 && d[0] == 'B' && d[1] == 'M')
    return ImageInfo{-1, le32(&d[18]), std::abs(le32(&d[22]))};
  if (d.size() >= 24 && std::memcmp(d.data(), "\x89PNG", 4) == 0)
    return ImageInfo{-1, static_cast<int>(be32(&d[16])), static_cast<int>(be32(&d[20]))};
  if (d.size() >= 4 && d[0] == 0xFF && d[1] == 0xD8) return jpegSize(d);
  return std::nullopt;
}

std::optional<ImageInfo> NullImageLoader::load(const std::filesystem::path& file) {
  auto info = readImageSize(file);
  if (info) info->id = m_next++;
  return info;
}

}  // namespace velmoria
