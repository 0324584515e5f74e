#include "view/video_view_qt.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace velmoria
