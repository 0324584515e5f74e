#include "media/picture_header.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/picture_bytes.h"

namespace velmoria {
namespace {

using test::bmpBytes;
using test::put16;
using test::put32;

TEST(PictureSize, reads_bmp_sizes_of_every_depth_and_of_top_down_rows) {
  for (int bits : {1, 4, 8, 16, 24, 32}) {
    SCOPED_TRACE(bits);
    const auto info = pictureSize(bmpBytes(8, 6, bits));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->width, 8);
    EXPECT_EQ(info->height, 6);
  }
  const auto topDown = pictureSize(bmpBytes(8, -6));
  ASSERT_TRUE(topDown);
  EXPECT_EQ(topDown->height, 6);
}

struct BrokenBmp {
  const char* what;
  std::string bytes;
};

std::string edited(std::string s, size_t at, uint32_t value, int width = 4) {
  if (width == 2)
    put16(s, at, static_cast<uint16_t>(value));
  else
    put32(s, at, value);
  return s;
}
std::string cut(std::string s, size_t size) {
  s.resize(size);
  return s;
}

class PictureSizeRefuses : public ::testing::TestWithParam<BrokenBmp> {};

TEST_P(PictureSizeRefuses, a_bmp_the_decoder_would_refuse) {
  EXPECT_FALSE(pictureSize(GetParam().bytes));
}

const std::string kBmp = bmpBytes(8, 6);
const std::string kBmp8 = bmpBytes(8, 6, 8);

INSTANTIATE_TEST_SUITE_P(
    Headers, PictureSizeRefuses,
    ::testing::Values(BrokenBmp{"bit depth 0", edited(kBmp, 28, 0, 2)},
                      BrokenBmp{"bit depth 7", edited(kBmp, 28, 7, 2)},
                      BrokenBmp{"30000 x 30000 pixels", edited(edited(kBmp, 18, 30000), 22, 30000)},
                      BrokenBmp{"one pixel over 128 MiB at 32 bits",
                                edited(edited(kBmp, 18, 5800), 22, 5800)},
                      BrokenBmp{"width 0", edited(kBmp, 18, 0)},
                      BrokenBmp{"negative width", edited(kBmp, 18, static_cast<uint32_t>(-8))},
                      BrokenBmp{"height 0", edited(kBmp, 22, 0)},
                      BrokenBmp{"height INT32_MIN", edited(kBmp, 22, 0x80000000u)},
                      BrokenBmp{"no planes", edited(kBmp, 26, 0, 2)},
                      BrokenBmp{"RLE8 at 24 bits", edited(kBmp, 30, 1)},
                      BrokenBmp{"bit fields at 24 bits", edited(kBmp, 30, 3)},
                      BrokenBmp{"JPEG inside a BMP", edited(kBmp, 30, 4)},
                      BrokenBmp{"header of 20 bytes", edited(kBmp, 14, 20)},
                      BrokenBmp{"header of 52 bytes", edited(kBmp, 14, 52)},
                      BrokenBmp{"header cut short", cut(kBmp, 40)},
                      BrokenBmp{"no pixel data", cut(kBmp, 54)},
                      BrokenBmp{"palette of 1000 colours", edited(kBmp8, 46, 1000)},
                      BrokenBmp{"palette cut short", cut(kBmp8, 54 + 100)},
                      BrokenBmp{"palette but no pixels", cut(kBmp8, 54 + 1024)},
                      BrokenBmp{"the signature alone", std::string("BM")}),
    [](const ::testing::TestParamInfo<BrokenBmp>& info) {
      std::string name = info.param.what;
      for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

TEST(PictureSize, takes_what_the_decoder_takes_at_the_edges) {
  // Exactly 128 MiB at 32 bits a pixel, rows cut short, a one-colour palette.
  EXPECT_TRUE(pictureSize(edited(edited(kBmp, 18, 8192), 22, 4096)));
  EXPECT_TRUE(pictureSize(cut(kBmp, 55)));
  EXPECT_TRUE(pictureSize(edited(kBmp8, 46, 1)));
}

TEST(PictureSize, png_and_jpeg_headers_and_other_bytes) {
  std::string png = "\x89PNG\r\n\x1a\n";
  png += std::string("\0\0\0\x0dIHDR", 8);
  png += std::string("\0\0\x01\x40\0\0\0\xf0", 8);  // 320 x 240
  const auto p = pictureSize(png);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 320);
  EXPECT_EQ(p->height, 240);
  // SOI, then a baseline SOF0 of 8 bits, 240 rows, 480 columns.
  const std::string jpeg("\xFF\xD8\xFF\xC0\x00\x11\x08\x00\xF0\x01\xE0\x03\x01\x22\x00", 15);
  const auto j = pictureSize(jpeg);
  ASSERT_TRUE(j);
  EXPECT_EQ(j->width, 480);
  EXPECT_EQ(j->height, 240);
  EXPECT_FALSE(pictureSize("GIF89a......"));
  EXPECT_FALSE(pictureSize(""));
}

}  // namespace
}  // namespace velmoria
