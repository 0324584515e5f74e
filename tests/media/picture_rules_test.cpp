// The desktop program's loader and velmoria-drive's size-only loader must take and refuse the
// same picture files, or a route author's check passes a vehicle the cab window refuses.
#include <gtest/gtest.h>

#include <QtGlobal>
#include <random>

#include "media/null/null_image_loader.h"
#include "media/qt/qt_image_loader.h"
#include "media_test_support.h"
#include "support/picture_bytes.h"

namespace velmoria {
namespace {

using test::bmpBytes;
using test::TempDir;

struct Verdicts {
  bool desktop = false, drive = false;
  int desktopWidth = 0, driveWidth = 0;
};

Verdicts judge(const TempDir& dir, const std::string& bytes) {
  const auto file = dir / "picture.bmp";
  test::writeFile(file, bytes);
  QtImageLoader desktop;
  NullImageLoader drive;
  const auto a = desktop.load(file);
  const auto b = drive.load(file);
  Verdicts v;
  v.desktop = a.has_value();
  v.drive = b.has_value();
  if (a) v.desktopWidth = a->width;
  if (b) v.driveWidth = b->width;
  return v;
}

TEST(PictureRules, both_loaders_decide_alike_on_mutated_bmp_headers) {
  // Offsets past the end of a file make the decoder warn about every seek it cannot do.
  const QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  TempDir dir;
  std::mt19937 random(20261209);
  const std::string bases[] = {bmpBytes(8, 6),    bmpBytes(8, 6, 8),  bmpBytes(5, -3, 4),
                               bmpBytes(9, 2, 1), bmpBytes(4, 4, 32), bmpBytes(3, 3, 16)};
  // The fields a damaged or hostile file changes: sizes, header size, planes, depth,
  // compression, colour count; values near the edges and random ones.
  const size_t fields[] = {2, 10, 14, 18, 22, 26, 28, 30, 34, 46};
  const uint32_t edges[] = {0,      1,      2,      3,          4,           12,         16,  24,
                            32,     40,     64,     108,        124,         255,        256, 257,
                            0x7fff, 0x8000, 0xffff, 0x7fffffff, 0x80000000u, 0xffffffffu};
  int agreed = 0, taken = 0;
  for (int trial = 0; trial < 1500; ++trial) {
    std::string bytes = bases[static_cast<size_t>(trial) % std::size(bases)];
    const int changes = 1 + static_cast<int>(random() % 2);
    for (int c = 0; c < changes; ++c) {
      const size_t at = fields[random() % std::size(fields)];
      const uint32_t value = random() % 2 ? edges[random() % std::size(edges)]
                                          : static_cast<uint32_t>(random() % 70000);
      if (at == 26 || at == 28)
        test::put16(bytes, at, static_cast<uint16_t>(value));
      else
        test::put32(bytes, at, value);
    }
    if (random() % 5 == 0) bytes.resize(random() % bytes.size());
    const Verdicts v = judge(dir, bytes);
    EXPECT_EQ(v.desktop, v.drive) << "trial " << trial;
    if (v.desktop && v.drive) {
      EXPECT_EQ(v.desktopWidth, v.driveWidth) << "trial " << trial;
    }
    agreed += v.desktop == v.drive;
    taken += v.desktop;
  }
  // The mutations must reach both sides of the rules, or the comparison proves nothing.
  EXPECT_GT(taken, 150);
  EXPECT_LT(taken, 1350);
  EXPECT_EQ(agreed, 1500);
  qInstallMessageHandler(previous);
}

TEST(PictureRules, both_refuse_the_broken_bmps_route_authors_send) {
  TempDir dir;
  std::string noDepth = bmpBytes(8, 6);
  test::put16(noDepth, 28, 0);
  std::string huge = bmpBytes(8, 6);
  test::put32(huge, 18, 40000);
  test::put32(huge, 22, 40000);
  for (const std::string& bytes : {noDepth, huge}) {
    const Verdicts v = judge(dir, bytes);
    EXPECT_FALSE(v.desktop);
    EXPECT_FALSE(v.drive);
  }
}

}  // namespace
}  // namespace velmoria
