#include "media/picture_header.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace velmoria {

namespace {

uint32_t le32(std::string_view d, size_t at) {
  const auto b = [&](size_t i) {
    return static_cast<uint32_t>(static_cast<unsigned char>(d[at + i]));
  };
  return b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24;
}
uint16_t le16(std::string_view d, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(d[at]) |
                               static_cast<unsigned char>(d[at + 1]) << 8);
}
uint32_t be32(std::string_view d, size_t at) {
  const auto b = [&](size_t i) {
    return static_cast<uint32_t>(static_cast<unsigned char>(d[at + i]));
  };
  return b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3);
}
uint16_t be16(std::string_view d, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(d[at]) << 8 |
                               static_cast<unsigned char>(d[at + 1]));
}

bool fitsTheDecoder(long long width, long long height) {
  return width > 0 && height > 0 && width * height * 4 <= kMaxPictureBytes;
}

std::optional<ImageInfo> bmpSize(std::string_view d) {
  constexpr size_t kFileHeader = 14;
  if (d.size() < kFileHeader + 4) return std::nullopt;
  const uint32_t headerSize = le32(d, kFileHeader);
  // The core header of OS/2 1.x, then the Windows and OS/2 2.x information headers.
  if (headerSize != 12 && headerSize != 40 && headerSize != 64 && headerSize != 108 &&
      headerSize != 124)
    return std::nullopt;
  if (d.size() < kFileHeader + headerSize) return std::nullopt;
  const size_t h = kFileHeader;
  long long width, height;
  uint16_t planes, bits;
  uint32_t compression = 0, coloursUsed = 0;
  if (headerSize == 12) {
    width = static_cast<int16_t>(le16(d, h + 4));
    height = static_cast<int16_t>(le16(d, h + 6));
    planes = le16(d, h + 8);
    bits = le16(d, h + 10);
  } else {
    width = static_cast<int32_t>(le32(d, h + 4));
    const int32_t rawHeight = static_cast<int32_t>(le32(d, h + 8));
    if (rawHeight == std::numeric_limits<int32_t>::min()) return std::nullopt;
    height = rawHeight;
    planes = le16(d, h + 12);
    bits = le16(d, h + 14);
    compression = le32(d, h + 16);
    coloursUsed = le32(d, h + 32);
  }
  if (planes != 1) return std::nullopt;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return std::nullopt;
  const bool compressionFits = compression == 0 || (compression == 1 && bits == 8) ||
                               (compression == 2 && bits == 4) ||
                               (compression == 3 && (bits == 16 || bits == 32));
  if (!compressionFits) return std::nullopt;
  if (height < 0) height = -height;  // rows stored top down
  if (!fitsTheDecoder(width, height)) return std::nullopt;

  size_t used = kFileHeader + headerSize;
  if (bits <= 8) {
    const uint64_t colours = coloursUsed ? coloursUsed : 1u << bits;
    if (colours > 256) return std::nullopt;
    used += colours * (headerSize == 12 ? 3 : 4);
  } else if (compression == 3 && headerSize == 40) {
    used += 12;  // the three colour masks follow the short header
  }
  // The decoder reads the rows from where the palette ends; a file cut short keeps the rows it
  // has, but one with none at all is refused.
  if (d.size() <= used) return std::nullopt;
  return ImageInfo{-1, static_cast<int>(width), static_cast<int>(height)};
}

std::optional<ImageInfo> pngSize(std::string_view d) {
  if (d.size() < 24 || std::memcmp(d.data(), "\x89PNG", 4) != 0) return std::nullopt;
  const uint32_t width = be32(d, 16), height = be32(d, 20);
  if (!fitsTheDecoder(width, height)) return std::nullopt;
  return ImageInfo{-1, static_cast<int>(width), static_cast<int>(height)};
}

std::optional<ImageInfo> jpegSize(std::string_view d) {
  if (d.size() < 4 || static_cast<unsigned char>(d[0]) != 0xFF ||
      static_cast<unsigned char>(d[1]) != 0xD8)
    return std::nullopt;
  size_t i = 2;
  while (i + 9 < d.size()) {
    if (static_cast<unsigned char>(d[i]) != 0xFF) return std::nullopt;
    const unsigned char marker = static_cast<unsigned char>(d[i + 1]);
    if (marker == 0xFF) {
      ++i;
      continue;
    }
    const uint16_t len = be16(d, i + 2);
    const bool sof =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (sof) return ImageInfo{-1, be16(d, i + 7), be16(d, i + 5)};
    i += 2 + len;
  }
  return std::nullopt;
}

}  // namespace

bool looksLikeBmp(std::string_view bytes) {
  return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

std::optional<ImageInfo> pictureSize(std::string_view bytes) {
  if (looksLikeBmp(bytes)) return bmpSize(bytes);
  if (auto png = pngSize(bytes)) return png;
  return jpegSize(bytes);
}

}  // namespace velmoria
