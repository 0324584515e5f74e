#include "view/video_view_qt.h"

#include <gtest/gtest.h>

#include "media/video_source.h"
#include "support/desktop_fixture.h"
#include "support/steps.h"

namespace velmoria {
namespace {

using test::patternIndex;

class VideoViewTest : public test::DesktopFixture {
 protected:
  VideoView& video() { return *cab().video(); }
  // Puts the train at a frame, lets the decoder get there, and runs one idle pass after the
  // given number of milliseconds.
  void idleAt(int frame, int afterMs) {
    poke(run()).pos.frame = frame;
    const int index = poke(run()).onBranch ? frame - 41300 : frame;
    video().cache()->want(index, 1);
    video().cache()->waitFor(index, 2000);
    clock->advance(afterMs);
    video().appIdle();
  }
};

TEST_F(VideoViewTest, nothing_is_drawn_before_the_run_starts) {
  choose();
  const int before = video().pictureCount();
  idleAt(500, 100);
  EXPECT_EQ(video().pictureCount(), before);
}

TEST_F(VideoViewTest, the_picture_is_exactly_the_frame_at_the_frame_position) {
  choose();
  cab().start1Click();
  idleAt(777, 100);
  EXPECT_EQ(patternIndex(video().picture()), 777);
  EXPECT_EQ(video().lastDrawnFrame, 777);
  idleAt(790, 40);  // frames skipped by a fast train: only the current one is drawn
  EXPECT_EQ(patternIndex(video().picture()), 790);
}

TEST_F(VideoViewTest, at_most_one_picture_per_33_ms) {
  choose();
  cab().start1Click();
  idleAt(300, 100);
  const int drawn = video().pictureCount();
  idleAt(301, 20);
  idleAt(302, 12);  // 32 ms since the last picture: not yet
  EXPECT_EQ(video().pictureCount(), drawn);
  idleAt(302, 1);  // 33 ms
  EXPECT_EQ(video().pictureCount(), drawn + 1);
  EXPECT_EQ(patternIndex(video().picture()), 302);
}

TEST_F(VideoViewTest, a_standing_train_decodes_and_draws_nothing_new) {
  choose();
  cab().start1Click();
  idleAt(400, 100);
  const int drawn = video().pictureCount();
  const int decodes = videoStats->decodes.load();
  for (int i = 0; i < 50; ++i) idleAt(400, 50);
  EXPECT_EQ(video().pictureCount(), drawn);
  // The decoder may still fill its window ahead, but never re-decodes the standing frame.
  EXPECT_LE(videoStats->decodes.load(), decodes + 49);
}

TEST_F(VideoViewTest, moving_backwards_shows_earlier_frames) {
  choose();
  cab().start1Click();
  idleAt(1000, 100);
  idleAt(990, 40);
  EXPECT_EQ(patternIndex(video().picture()), 990);
}

TEST_F(VideoViewTest, the_branch_video_counts_its_frames_from_41300) {
  choose();
  cab().start1Click();
  poke(run()).onBranch = true;
  idleAt(41350, 100);
  EXPECT_EQ(patternIndex(video().picture()), 50);
}

TEST_F(VideoViewTest, redraw_shows_the_current_frame_even_while_paused) {
  choose();
  poke(run()).pos.frame = 640;
  video().cache()->want(640, 0);
  video().cache()->waitFor(640, 2000);
  cab().menu_d2Click();
  EXPECT_EQ(patternIndex(video().picture()), 640);
  EXPECT_EQ(video().lastDrawnFrame, 640);
}

TEST_F(VideoViewTest, the_indicator_overlay_is_drawn_for_the_201_only) {
  std::filesystem::copy_file(data.path() / "train_test.dat", data.path() / "train_201.dat");
  // An overlay picture whose every pixel tells where it came from.
  QImage atsp(480, 240, QImage::Format_RGB32);
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 480; ++x) atsp.setPixel(x, y, qRgb(x & 0xff, y, 0x80 | (x >> 8)));
  ASSERT_TRUE(atsp.save(QString::fromStdString((data.path() / "image" / "atsp.bmp").string())));
  choose("train_201.dat", "line_test.dat");
  cab().start1Click();
  poke(run()).signals.previousPatternState = 0;
  idleAt(500, 100);
  const QImage& shown = video().picture();
  // (360, 190, 480, 240) <- (0, 0, 120, 50)
  EXPECT_EQ(shown.pixel(365, 192), atsp.pixel(5, 2));
  EXPECT_EQ(shown.pixel(479, 239), atsp.pixel(119, 49));
  // (363, 197, 381, 234) <- (3, 57, 21, 94) and (440, 197, 459, 234) <- (80, 57, 99, 94)
  EXPECT_EQ(shown.pixel(370, 210), atsp.pixel(10, 70));
  EXPECT_EQ(shown.pixel(450, 220), atsp.pixel(90, 80));
  // Pattern state 0: the pattern lamps keep the panel's own picture.
  EXPECT_EQ(shown.pixel(390, 210), atsp.pixel(30, 20));
  EXPECT_EQ(patternIndex(shown), 500);  // outside the overlay the frame shows

  poke(run()).signals.previousPatternState = 2;
  idleAt(501, 40);
  EXPECT_EQ(video().picture().pixel(390, 210), atsp.pixel(30, 70));
  EXPECT_EQ(video().picture().pixel(410, 210), atsp.pixel(50, 70));
}

TEST_F(VideoViewTest, no_overlay_for_other_vehicles) {
  choose();
  cab().start1Click();
  idleAt(500, 100);
  EXPECT_EQ(patternIndex(video().picture(), 370, 210), 500);
}

// A video whose frame i is one grey level, 50 x i modulo 256: a blend of two neighbouring
// frames shows in every pixel as a level between theirs.
class GreyVideo : public VideoSource {
 public:
  bool open(const std::filesystem::path&) override { return true; }
  int frameCount() const override { return 16340; }
  double frameRate() const override { return 30.0; }
  bool decode(int index, VideoFrame& out) override {
    if (index < 0 || index >= frameCount()) return false;
    const uint32_t v = static_cast<uint32_t>(index * 50) & 0xff;
    out.width = 480;
    out.height = 240;
    out.pixels.assign(480 * 240, 0xff000000u | v << 16 | v << 8 | v);
    return true;
  }
  static int level(int index) { return (index * 50) & 0xff; }  // 2000: 160, 2001: 210
};

// The line is filmed at 70 km/h between frames 1175 and 3215 of the test route.
class SmoothMotionTest : public VideoViewTest {
 protected:
  void SetUp() override {
    app->media().makeVideo = [] { return std::make_unique<GreyVideo>(); };
    choose();
    cab().start1Click();
    ASSERT_TRUE(video().blending()) << "smooth motion is on by default";
  }
  // The train at `frame`, `accumulator` units on its way to the next frame at `speed` km/h;
  // both frames decoded; then one idle pass `sinceStepMs` after a 33 ms step.
  void idleBetween(int frame, int accumulator, int speed, int sinceStepMs = 0) {
    auto p = poke(run());
    p.pos.frame = frame;
    p.pos.frameAccumulator = accumulator;
    p.pos.recordedSpeed = 70;
    p.train.speed = Fixed::fromInt(speed);
    video().cache()->want(frame, speed < 0 ? -1 : 1);
    ASSERT_TRUE(video().cache()->waitFor(frame, 2000));
    ASSERT_TRUE(video().cache()->waitFor(frame + (speed < 0 ? -1 : 1), 2000));
    clock->advance(100);
    video().stepped();
    clock->advance(sinceStepMs);
    video().appIdle();
  }
  int shownLevel() { return qRed(video().picture().pixel(200, 100)); }
};

TEST_F(SmoothMotionTest, the_next_frame_is_laid_over_by_the_way_covered) {
  // 35 of 70 units: half way from 2000 (level 160) to 2001 (level 210).
  idleBetween(2000, 35, 20);
  EXPECT_DOUBLE_EQ(video().shownWeight(), 0.5);
  EXPECT_NEAR(shownLevel(), (GreyVideo::level(2000) + GreyVideo::level(2001)) / 2.0, 1.0);
  // 14 units and 21 ms after the step at 20 km/h: (14 + 20 x 21 / 33.33) / 70 = 0.38.
  idleBetween(2000, 14, 20, 21);
  EXPECT_NEAR(video().shownWeight(), (14 + 20 * 21 / (100.0 / 3.0)) / 70.0, 1e-9);
  EXPECT_NEAR(shownLevel(), 160 + 0.38 * 50, 1.0);
  EXPECT_EQ(video().lastDrawnFrame, 2000);
}

TEST_F(SmoothMotionTest, backwards_the_frame_before_is_laid_over) {
  idleBetween(2000, 14, -14);  // a fifth of the way back to 1999 (level 110)
  EXPECT_DOUBLE_EQ(video().shownWeight(), 0.2);
  EXPECT_NEAR(shownLevel(), 0.8 * GreyVideo::level(2000) + 0.2 * GreyVideo::level(1999), 1.0);
}

TEST_F(SmoothMotionTest, standing_still_shows_the_exact_frame) {
  idleBetween(2000, 35, 20);
  ASSERT_GT(video().shownWeight(), 0.0);
  idleBetween(2000, 35, 0);  // stopped half way: the frame the core is at
  EXPECT_EQ(video().shownWeight(), 0.0);
  EXPECT_EQ(shownLevel(), GreyVideo::level(2000));
  const int drawn = video().pictureCount();
  for (int i = 0; i < 20; ++i) idleBetween(2000, 35, 0, 10);
  EXPECT_EQ(video().pictureCount(), drawn) << "a standing train draws nothing new";
}

TEST_F(SmoothMotionTest, at_the_recorded_speed_the_frame_is_exact_as_without_it) {
  idleBetween(2000, 35, 70);
  EXPECT_EQ(video().shownWeight(), 0.0);
  EXPECT_EQ(shownLevel(), GreyVideo::level(2000));
  idleBetween(2003, 10, 90);
  EXPECT_EQ(shownLevel(), GreyVideo::level(2003));
}

TEST_F(SmoothMotionTest, switched_off_only_exact_frames_are_drawn) {
  cab().setSmoothMotion(false);
  idleBetween(2000, 35, 20);
  EXPECT_EQ(video().shownWeight(), 0.0);
  EXPECT_EQ(shownLevel(), GreyVideo::level(2000));
  EXPECT_FALSE(cab().action("smoothMotion")->isChecked());
}

TEST_F(SmoothMotionTest, the_indicator_overlay_lies_over_the_blend) {
  std::filesystem::copy_file(data.path() / "train_test.dat", data.path() / "train_201.dat");
  QImage atsp(480, 240, QImage::Format_RGB32);
  atsp.fill(qRgb(1, 2, 3));
  ASSERT_TRUE(atsp.save(QString::fromStdString((data.path() / "image" / "atsp.bmp").string())));
  choose("train_201.dat", "line_test.dat");
  cab().start1Click();
  idleBetween(2000, 35, 20);
  ASSERT_GT(video().shownWeight(), 0.0);
  EXPECT_EQ(video().picture().pixel(400, 220), qRgb(1, 2, 3));
  EXPECT_NEAR(shownLevel(), (GreyVideo::level(2000) + GreyVideo::level(2001)) / 2.0, 1.0);
}

TEST_F(SmoothMotionTest, pictures_come_at_most_sixty_a_second) {
  // One second of driving at 20 km/h in virtual time: the 33 ms steps move the train, the
  // idle passes every 4 ms draw.
  auto p = poke(run());
  p.pos.frame = 2000;
  p.train.speed = Fixed::fromInt(20);
  video().cache()->want(2000, 1);
  ASSERT_TRUE(video().cache()->waitFor(2012, 3000));
  video().appIdle();
  const int before = video().pictureCount();
  double nextStep = 0;
  for (int t = 0; t < 1000; t += 4) {
    if (t >= nextStep) {
      cab().MMTimer1Timer();
      poke(run()).train.speed = Fixed::fromInt(20);
      nextStep += 100.0 / 3.0;
    }
    clock->advance(4);
    video().appIdle();
  }
  const int pictures = video().pictureCount() - before;
  EXPECT_LE(pictures, 61);
  EXPECT_GE(pictures, 55);  // every one of them a new position
  EXPECT_GT(poke(run()).pos.frame, 2008);
}

TEST_F(SmoothMotionTest, zoomed_the_pictures_have_the_areas_size_in_device_pixels) {
  cab().resize(1280, 880 + cab().height() - cab().surface()->height());
  test::processEvents(20);
  ASSERT_DOUBLE_EQ(cab().scale(), 2.0);
  EXPECT_EQ(video().geometry(), QRect(0, 0, 960, 480));
  EXPECT_EQ(video().pictureSize(), QSize(960, 480));
  // The worker scales the 480 x 240 frames of a source that cannot scale itself.
  poke(run()).pos.frame = 2000;
  video().appIdle();
  const auto frame = video().cache()->waitFor(2000, 2000);
  ASSERT_TRUE(frame.has_value());
  EXPECT_EQ(frame->size(), QSize(960, 480));
  idleBetween(2000, 35, 20);
  const QImage shown = video().picture();
  EXPECT_EQ(shown.size(), QSize(960, 480));
  EXPECT_NEAR(qRed(shown.pixel(900, 450)), (GreyVideo::level(2000) + GreyVideo::level(2001)) / 2.0,
              1.0);
}

}  // namespace
}  // namespace velmoria
