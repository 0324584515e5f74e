#include "view/picture_store_qt.h"

#include <QBitmap>
#include <QFile>

namespace velmoria {

std::optional<ImageInfo> PictureStore::load(const std::filesystem::path& file) {
  QImage image;
  // Qt's readers cover the BMP and PNG files of the panel; JPEG too where the plugin is present.
  if (!image.load(QString::fromStdString(file.string()))) return std::nullopt;
  ImageInfo info;
  info.width = image.width();
  info.height = image.height();
  info.id = add(std::move(image));
  return info;
}

int PictureStore::add(QImage image) {
  m_images.push_back(image.convertToFormat(QImage::Format_RGB32));
  return static_cast<int>(m_images.size()) - 1;
}

QImage PictureStore::image(int id) const {
  if (id < 0 || static_cast<size_t>(id) >= m_images.size()) return {};
  return m_images[static_cast<size_t>(id)];
}

QPixmap colourKeyed(const QImage& image) {
  if (image.isNull()) return {};
  QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  const QRgb key = rgb.pixel(0, rgb.height() - 1);
  QPixmap pixmap = QPixmap::fromImage(rgb);
  pixmap.setMask(QBitmap::fromImage(rgb.createMaskFromColor(key, Qt::MaskInColor)));
  return pixmap;
}

}  // namespace velmoria
