#pragma once
// Pictures for the shell: BMP (1, 4, 8, 24 and 32 bits, RLE4 and RLE8), PNG, and JPEG through
// libjpeg. The data readers call load() on the UI thread during main-window creation and keep
// the id; the cab view asks for the pixels by id. The loader owns every picture it has given
// an id, for its own lifetime.
// Panel pictures are drawn with a colour key: the colour of the lower-left pixel is
// transparent. keyedImage() gives that version; image() the picture as it is (opaque pictures
// such as the video overlay and the still images).
#include <QImage>
#include <map>

#include "media/image_loader.h"

namespace velmoria {

class QtImageLoader : public ImageLoader {
 public:
  std::optional<ImageInfo> load(const std::filesystem::path& file) override;

  // The picture as loaded (Format_RGB32, or Format_ARGB32 when the file has alpha); nullptr
  // for an unknown id.
  const QImage* image(int id) const;
  // The picture with its lower-left pixel's colour made transparent (Format_ARGB32); nullptr
  // for an unknown id. Made on first use and kept.
  const QImage* keyedImage(int id);

  // Reads a picture without keeping it; a null QImage when it cannot be read.
  static QImage readImage(const std::filesystem::path& file);
  // A copy of picture whose pixels of the lower-left pixel's colour are fully transparent.
  static QImage withColourKey(const QImage& picture);

 private:
  struct Entry {
    QImage image;
    QImage keyed;  // null until asked for
  };
  std::map<int, Entry> m_images;
  int m_next = 0;
};

}  // namespace velmoria
