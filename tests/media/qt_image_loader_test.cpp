#include "media/qt/qt_image_loader.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>
#include <cstdint>
#include <string>
#include <vector>

#include "media/jpeg/jpeg_decoder.h"
#include "media_test_support.h"

namespace velmoria {
namespace {

using test::TempDir;

// The test picture, 8 x 6, as palette indices, top row first. The lower-left pixel is index 0
// (magenta, the colour key), which also appears inside the picture.
constexpr int kW = 8, kH = 6;
const int kPicture[kH][kW] = {{1, 1, 2, 2, 3, 3, 0, 0}, {1, 1, 2, 2, 3, 3, 0, 0},
                              {2, 3, 0, 1, 2, 3, 1, 2}, {3, 3, 3, 3, 1, 1, 1, 1},
                              {0, 1, 2, 3, 0, 1, 2, 3}, {0, 0, 0, 2, 2, 2, 1, 1}};
const uint32_t kPalette[4] = {0xff00ff, 0xffffff, 0x208040, 0x000000};  // 0xRRGGBB

void put16(std::string& s, uint16_t v) {
  s += char(v & 0xff), s += char(v >> 8);
}
void put32(std::string& s, uint32_t v) {
  put16(s, v & 0xffff), put16(s, v >> 16);
}

// A Windows BMP of the test picture with the given bits per pixel, RLE-compressed for
// compression 1 (RLE8) and 2 (RLE4). Pictures of 1 bit use the first two colours only.
std::string makeBmp(int bits, int compression = 0) {
  auto index = [&](int x, int y) { return bits == 1 ? kPicture[y][x] & 1 : kPicture[y][x]; };
  std::string pixels;
  for (int y = kH - 1; y >= 0; --y) {  // bottom row first
    std::string row;
    if (compression == 1) {
      for (int x = 0; x < kW; ++x) row += char(1), row += char(index(x, y));
      row += std::string("\0\0", 2);
    } else if (compression == 2) {
      for (int x = 0; x < kW; ++x) row += char(1), row += char(index(x, y) << 4);
      row += std::string("\0\0", 2);
    } else if (bits <= 8) {
      int acc = 0, used = 0;
      for (int x = 0; x < kW; ++x) {
        acc = acc << bits | index(x, y);
        used += bits;
        if (used == 8) row += char(acc), acc = 0, used = 0;
      }
      if (used) row += char(acc << (8 - used));
    } else {
      for (int x = 0; x < kW; ++x) {
        const uint32_t c = kPalette[kPicture[y][x]];
        row += char(c & 0xff), row += char(c >> 8 & 0xff), row += char(c >> 16);
        if (bits == 32) row += char(0);
      }
    }
    if (compression == 0)
      while (row.size() % 4) row += char(0);
    pixels += row;
  }
  if (compression) pixels += std::string("\0\1", 2);
  const int colours = bits <= 8 ? (1 << bits) : 0;
  std::string palette;
  for (int i = 0; i < colours; ++i) put32(palette, i < 4 ? kPalette[i] : 0x123456);
  std::string bmp = "BM";
  const uint32_t offset = 14 + 40 + uint32_t(palette.size());
  put32(bmp, offset + uint32_t(pixels.size()));
  put32(bmp, 0);
  put32(bmp, offset);
  put32(bmp, 40);
  put32(bmp, kW);
  put32(bmp, kH);
  put16(bmp, 1);
  put16(bmp, uint16_t(bits));
  put32(bmp, uint32_t(compression));
  put32(bmp, uint32_t(pixels.size()));
  put32(bmp, 2835);
  put32(bmp, 2835);
  put32(bmp, uint32_t(colours));
  put32(bmp, 0);
  return bmp + palette + pixels;
}

struct BmpKind {
  const char* name;
  int bits;
  int compression;
};

class BmpDepth : public ::testing::TestWithParam<BmpKind> {};

TEST_P(BmpDepth, loads_with_its_colours_and_keys_out_the_lower_left_colour) {
  TempDir dir;
  const auto file = dir / "lamp.bmp";
  test::writeFile(file, makeBmp(GetParam().bits, GetParam().compression));
  QtImageLoader loader;
  const auto info = loader.load(file);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->width, kW);
  EXPECT_EQ(info->height, kH);
  const QImage* plain = loader.image(info->id);
  const QImage* keyed = loader.keyedImage(info->id);
  ASSERT_NE(plain, nullptr);
  ASSERT_NE(keyed, nullptr);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const int index = GetParam().bits == 1 ? kPicture[y][x] & 1 : kPicture[y][x];
      EXPECT_EQ(plain->pixel(x, y), 0xff000000u | kPalette[index]) << x << "," << y;
      EXPECT_EQ(qAlpha(plain->pixel(x, y)), 255);
      EXPECT_EQ(qAlpha(keyed->pixel(x, y)), index == 0 ? 0 : 255) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Bmp, BmpDepth,
                         ::testing::Values(BmpKind{"bits1", 1, 0}, BmpKind{"bits4", 4, 0},
                                           BmpKind{"bits8", 8, 0}, BmpKind{"bits24", 24, 0},
                                           BmpKind{"bits32", 32, 0}, BmpKind{"rle8", 8, 1},
                                           BmpKind{"rle4", 4, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

QImage quadrants(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      image.setPixel(x, y,
                     x < w / 2 ? (y < h / 2 ? 0xffc00000 : 0xff00c000)
                               : (y < h / 2 ? 0xff0000c0 : 0xffe0e0e0));
  return image;
}

std::string encodeJpeg(const QImage& image, bool progressive) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setQuality(95);
  writer.setProgressiveScanWrite(progressive);
  EXPECT_TRUE(writer.write(image));
  return bytes.toStdString();
}

bool near(QRgb a, QRgb b, int tolerance) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

TEST(Jpeg, progressive_and_baseline_pictures_decode_to_their_colours) {
  for (bool progressive : {true, false}) {
    const std::string bytes = encodeJpeg(quadrants(64, 48), progressive);
    // A progressive file starts its frame with SOF2 (FF C2), a baseline one with SOF0.
    EXPECT_EQ(bytes.find("\xff\xc2") != std::string::npos, progressive);
    TempDir dir;
    test::writeFile(dir / "01.jpg", bytes);
    QtImageLoader loader;
    const auto info = loader.load(dir / "01.jpg");
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->width, 64);
    EXPECT_EQ(info->height, 48);
    const QImage* image = loader.image(info->id);
    EXPECT_TRUE(near(image->pixel(8, 8), 0xffc00000, 12));
    EXPECT_TRUE(near(image->pixel(8, 40), 0xff00c000, 12));
    EXPECT_TRUE(near(image->pixel(56, 8), 0xff0000c0, 12));
    EXPECT_TRUE(near(image->pixel(56, 40), 0xffe0e0e0, 12));
    EXPECT_EQ(qAlpha(image->pixel(56, 40)), 255);
  }
}

TEST(Jpeg, grey_pictures_decode_to_grey) {
  QImage grey(16, 16, QImage::Format_Grayscale8);
  grey.fill(100);
  const auto picture = decodeJpeg(encodeJpeg(grey, false));
  ASSERT_TRUE(picture.has_value());
  EXPECT_TRUE(near(picture->pixels[5 * 16 + 5], 0xff646464, 2));
}

TEST(Jpeg, broken_files_give_nothing_and_the_program_goes_on) {
  const std::string good = encodeJpeg(quadrants(32, 32), true);
  EXPECT_FALSE(decodeJpeg("\xff\xd8\xff garbage that is not a JPEG stream at all"));
  EXPECT_FALSE(decodeJpeg(good.substr(0, 40)));  // cut inside the headers
  EXPECT_FALSE(decodeJpeg(""));
  // A baseline file cut inside its one scan: libjpeg fills the rest, a picture all the same.
  const std::string baseline = encodeJpeg(quadrants(32, 32), false);
  const size_t scan = baseline.find("\xff\xda");
  ASSERT_NE(scan, std::string::npos);
  const auto cut = decodeJpeg(baseline.substr(0, scan + (baseline.size() - scan) / 2));
  ASSERT_TRUE(cut.has_value());
  EXPECT_EQ(cut->width, 32);
}

TEST(ImageLoader, missing_and_unreadable_files_give_nullopt_and_unknown_ids_nullptr) {
  TempDir dir;
  test::writeFile(dir / "junk.bmp", "BM this is not a bitmap");
  QtImageLoader loader;
  EXPECT_FALSE(loader.load(dir / "missing.bmp"));
  EXPECT_FALSE(loader.load(dir / "junk.bmp"));
  EXPECT_EQ(loader.image(0), nullptr);
  EXPECT_EQ(loader.keyedImage(7), nullptr);
}

TEST(ImageLoader, png_pictures_load_and_ids_are_distinct) {
  TempDir dir;
  ASSERT_TRUE(quadrants(10, 4).save(QString::fromStdString((dir / "a.png").string())));
  QtImageLoader loader;
  const auto a = loader.load(dir / "a.png");
  const auto b = loader.load(dir / "a.png");
  ASSERT_TRUE(a && b);
  EXPECT_NE(a->id, b->id);
  EXPECT_EQ(loader.image(a->id)->pixel(9, 3), 0xffe0e0e0u);
  // Key = lower-left (green): the green quadrant goes, the others stay.
  const QImage* keyed = loader.keyedImage(a->id);
  EXPECT_EQ(qAlpha(keyed->pixel(0, 3)), 0);
  EXPECT_EQ(qAlpha(keyed->pixel(0, 0)), 255);
}

}  // namespace
}  // namespace velmoria
