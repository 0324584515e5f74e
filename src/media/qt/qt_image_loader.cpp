#include "media/qt/qt_image_loader.h"

#include <QString>

#include "frame/file_bytes.h"
#include "media/jpeg/jpeg_decoder.h"
#include "media/picture_header.h"

namespace velmoria {

QImage QtImageLoader::readImage(const std::filesystem::path& file) {
  const auto read = readFileBytes(file);
  if (!read) return {};
  const std::string& bytes = *read;
  // The header rules velmoria-drive applies come first, so that both refuse the same files.
  if (!pictureSize(bytes)) return {};
  if (looksLikeJpeg(bytes)) {
    const auto jpeg = decodeJpeg(bytes);
    if (!jpeg) return {};
    QImage image(jpeg->width, jpeg->height, QImage::Format_RGB32);
    for (int y = 0; y < jpeg->height; ++y)
      std::copy_n(jpeg->pixels.data() + static_cast<size_t>(y) * jpeg->width, jpeg->width,
                  reinterpret_cast<uint32_t*>(image.scanLine(y)));
    return image;
  }
  QImage image;
  if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                          static_cast<int>(bytes.size())))
    return {};
  return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                       : QImage::Format_RGB32);
}

QImage QtImageLoader::withColourKey(const QImage& picture) {
  QImage keyed = picture.convertToFormat(QImage::Format_ARGB32);
  if (keyed.isNull() || keyed.width() == 0 || keyed.height() == 0) return keyed;
  const uint32_t key = keyed.pixel(0, keyed.height() - 1) & 0x00ffffffu;
  for (int y = 0; y < keyed.height(); ++y) {
    auto* row = reinterpret_cast<uint32_t*>(keyed.scanLine(y));
    for (int x = 0; x < keyed.width(); ++x)
      if ((row[x] & 0x00ffffffu) == key) row[x] = 0;
  }
  return keyed;
}

std::optional<ImageInfo> QtImageLoader::load(const std::filesystem::path& file) {
  QImage image = readImage(file);
  if (image.isNull()) return std::nullopt;
  const int id = m_next++;
  const ImageInfo info{id, image.width(), image.height()};
  m_images[id].image = std::move(image);
  return info;
}

const QImage* QtImageLoader::image(int id) const {
  const auto it = m_images.find(id);
  return it == m_images.end() ? nullptr : &it->second.image;
}

const QImage* QtImageLoader::keyedImage(int id) {
  const auto it = m_images.find(id);
  if (it == m_images.end()) return nullptr;
  if (it->second.keyed.isNull()) it->second.keyed = withColourKey(it->second.image);
  return &it->second.keyed;
}

}  // namespace velmoria
