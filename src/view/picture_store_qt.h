#pragma once
// The pictures of a run, kept as QImages. The data-file readers load through this store (as an
// ImageLoader, receiving ids and sizes); the cab window then asks for the pixels by id. Panel
// pictures are loaded through it as well. UI thread only; the store owns every image.
#include <QImage>
#include <QPixmap>
#include <vector>

#include "media/image_loader.h"

namespace velmoria {

class PictureStore : public ImageLoader {
 public:
  std::optional<ImageInfo> load(const std::filesystem::path& file) override;
  // Adds a picture made in memory; returns its id.
  int add(QImage image);
  // The picture with this id; a null image for an unknown id.
  QImage image(int id) const;
  size_t size() const { return m_images.size(); }

 private:
  std::vector<QImage> m_images;
};

// A picture whose background colour (the colour of its lower-left pixel) is not drawn.
QPixmap colourKeyed(const QImage& image);

}  // namespace velmoria
