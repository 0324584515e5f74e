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

}  // namespace
}  // namespace velmoria
