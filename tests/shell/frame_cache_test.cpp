#include "view/frame_cache_qt.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>

#include "support/pattern_video.h"

namespace velmoria {
namespace {

using test::patternIndex;
using test::PatternVideo;
using test::PatternVideoStats;

FrameCache::Factory factory(int frames, int decodeMs, std::shared_ptr<PatternVideoStats> stats) {
  return [=] { return std::make_unique<PatternVideo>(frames, decodeMs, stats); };
}

TEST(FrameCache, gives_exactly_the_frame_asked_for) {
  auto stats = std::make_shared<PatternVideoStats>();
  FrameCache cache(factory(500, 0, stats));
  cache.open("track.avi");
  cache.want(123, 1);
  const auto image = cache.waitFor(123, 2000);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(patternIndex(*image), 123);
  EXPECT_EQ(cache.frameCount(), 500);
}

TEST(FrameCache, decodes_ahead_in_the_direction_of_travel) {
  auto stats = std::make_shared<PatternVideoStats>();
  FrameCache cache(factory(500, 0, stats), 10, 4);
  cache.open("track.avi");
  cache.want(200, 1);
  ASSERT_TRUE(cache.waitFor(210, 2000));
  EXPECT_TRUE(cache.take(205).has_value());
  EXPECT_FALSE(cache.take(199).has_value());
  cache.want(200, -1);
  ASSERT_TRUE(cache.waitFor(190, 2000));
  EXPECT_EQ(patternIndex(*cache.take(190)), 190);
  EXPECT_FALSE(cache.take(211).has_value());  // beyond the window behind the train
}

TEST(FrameCache, never_makes_the_caller_wait_for_a_slow_decoder) {
  auto stats = std::make_shared<PatternVideoStats>();
  FrameCache cache(factory(500, 100, stats));
  cache.open("track.avi");
  cache.want(50, 1);
  QElapsedTimer timer;
  timer.start();
  for (int i = 0; i < 20; ++i) cache.take(50 + i);
  EXPECT_LT(timer.elapsed(), 50);
}

TEST(FrameCache, stays_within_the_video) {
  auto stats = std::make_shared<PatternVideoStats>();
  FrameCache cache(factory(20, 0, stats), 48, 16);
  cache.open("track.avi");
  cache.want(15, 1);
  ASSERT_TRUE(cache.waitFor(19, 2000));
  cache.want(15, 1);
  EXPECT_FALSE(cache.waitFor(20, 100).has_value());
}

TEST(FrameCache, reopening_forgets_the_pictures_of_the_other_video) {
  auto stats = std::make_shared<PatternVideoStats>();
  FrameCache cache(factory(100, 0, stats), 5, 2);
  cache.open("tavo.avi");
  cache.want(10, 1);
  ASSERT_TRUE(cache.waitFor(10, 2000));
  cache.open("selo.avi");
  EXPECT_FALSE(cache.take(10).has_value());
  EXPECT_TRUE(cache.waitFor(10, 2000).has_value());
  EXPECT_EQ(stats->opens.load(), 2);
}

TEST(FrameCache, pictures_come_at_the_size_asked_for) {
  auto stats = std::make_shared<PatternVideoStats>();
  FrameCache cache(factory(500, 0, stats));
  cache.open("track.avi");
  cache.want(40, 1);
  ASSERT_TRUE(cache.waitFor(40, 2000));
  EXPECT_EQ(cache.take(40)->size(), QSize(480, 240));  // nothing asked: the video's own
  cache.setPictureSize({960, 480});
  EXPECT_FALSE(cache.take(40).has_value()) << "pictures of the old size are forgotten";
  const auto big = cache.waitFor(40, 2000);
  ASSERT_TRUE(big.has_value());
  EXPECT_EQ(big->size(), QSize(960, 480));
  EXPECT_EQ(patternIndex(*big, 900, 450), 40);
}

TEST(FrameCache, large_pictures_keep_the_window_within_its_budget) {
  auto stats = std::make_shared<PatternVideoStats>();
  FrameCache cache(factory(500, 0, stats), 48, 16);
  EXPECT_EQ(cache.framesAhead(), 48);
  cache.setPictureSize({960, 480});  // 1.8 MB a picture: all 64 fit in 128 MiB
  EXPECT_EQ(cache.framesAhead(), 48);
  cache.setPictureSize({2356, 1178});  // 11.1 MB: 12 pictures, 9 of them ahead
  EXPECT_EQ(cache.framesAhead(), 9);
  cache.setPictureSize({16000, 16000});  // never fewer than a few: 4, 3 of them ahead
  EXPECT_EQ(cache.framesAhead(), 3);
  cache.open("track.avi");
  cache.want(100, 1);
  cache.setPictureSize({2356, 1178});
  ASSERT_TRUE(cache.waitFor(109, 5000));
  EXPECT_FALSE(cache.waitFor(110, 300).has_value()) << "nothing beyond the window is decoded";
}

TEST(FrameCache, fits_a_picture_of_another_shape_by_its_middle) {
  QImage wide(300, 100, QImage::Format_RGB32);
  wide.fill(Qt::red);
  for (int y = 0; y < 100; ++y)
    for (int x = 50; x < 250; ++x) wide.setPixel(x, y, qRgb(0, 255, 0));
  const QImage fitted = FrameCache::fitted(wide, {400, 200});
  EXPECT_EQ(fitted.size(), QSize(400, 200));
  EXPECT_EQ(fitted.pixel(2, 100), qRgb(0, 255, 0));  // the red sides are cut away
  EXPECT_EQ(fitted.pixel(397, 100), qRgb(0, 255, 0));
  EXPECT_EQ(FrameCache::fitted(wide, {300, 100}).constBits(), wide.constBits());
  EXPECT_EQ(FrameCache::fitted(wide, {}).size(), wide.size());
  EXPECT_EQ(FrameCache::fitted(wide, {20000, 10000}).size(), wide.size());
}

}  // namespace
}  // namespace velmoria
