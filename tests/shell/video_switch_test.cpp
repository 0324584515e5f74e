// The branch-line video switch of the two routes that leave the main line at frame 41300, as the
// cab window shows it: the loading picture while the other video opens, then that video's
// pictures.
#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <filesystem>
#include <functional>

#include "support/desktop_fixture.h"
#include "support/steps.h"

namespace velmoria {
namespace {

using test::fromBranchVideo;
using test::patternIndex;
using test::processEvents;

const QRgb kLoading = qRgb(0x12, 0x34, 0x56);

class VideoSwitchTest : public test::DesktopFixture,
                        public ::testing::WithParamInterface<const char*> {
 protected:
  VideoSwitchTest() {
    *videoFrames = 50000;  // the main line runs past the branch point
    std::filesystem::copy_file(data.path() / "line_test.dat", data.path() / GetParam());
    QImage loading(480, 240, QImage::Format_RGB32);
    loading.fill(kLoading);
    loading.save(QString::fromStdString((data.path() / "image" / "loading.bmp").string()));
  }
  VideoView& video() { return *cab().video(); }
  bool showsLoading() { return video().picture().pixel(10, 10) == kLoading; }
  // Pumps events, with the clock moving on, until the condition holds or `ms` pass.
  bool within(int ms, const std::function<bool()>& condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < ms) {
      clock->advance(5);
      processEvents(5);
    }
    return condition();
  }
  // Puts the train at a frame and lets the window's run loop see it before the picture of that
  // frame was drawn, as with a train that passes the point at speed.
  void moveTo(int frame, bool expectBranch) {
    poke(run()).pos.frame = frame;
    QElapsedTimer timer;
    timer.start();
    while (poke(run()).onBranch != expectBranch && timer.elapsed() < 1000) processEvents(5);
    ASSERT_EQ(poke(run()).onBranch, expectBranch);
    ASSERT_NE(video().lastDrawnFrame, frame);
  }
};

TEST_P(VideoSwitchTest, passing_41300_shows_the_loading_picture_then_the_branch_video) {
  choose("train_test.dat", GetParam());
  cab().start1Click();
  ASSERT_TRUE(within(1000, [&] { return video().lastDrawnFrame != 1; }));

  moveTo(41301, true);
  EXPECT_TRUE(showsLoading());
  // The drive waits meanwhile: neither the 33 ms step nor the run loop runs.
  EXPECT_FALSE(cab().mmTimer().isActive());
  EXPECT_FALSE(cab().timer1().isActive());
  // The loading picture stays while the branch video opens (about a second).
  QElapsedTimer held;
  held.start();
  EXPECT_FALSE(within(700, [&] { return !showsLoading(); }));
  ASSERT_TRUE(within(2000, [&] { return !showsLoading(); }));
  EXPECT_GE(held.elapsed(), 900);
  EXPECT_TRUE(cab().mmTimer().isActive());
  EXPECT_TRUE(cab().timer1().isActive());
  ASSERT_TRUE(within(1000, [&] { return video().lastDrawnFrame == poke(run()).pos.frame; }));
  // Frames from 41300 on are the branch video's, counted from 41300.
  EXPECT_TRUE(fromBranchVideo(video().picture()));
  EXPECT_EQ(patternIndex(video().picture()), poke(run()).pos.frame - 41300);

  // Backing below 41300 returns to the main line's video.
  moveTo(41299, false);
  EXPECT_TRUE(showsLoading());
  ASSERT_TRUE(within(
      2500, [&] { return !showsLoading() && video().lastDrawnFrame == poke(run()).pos.frame; }));
  EXPECT_FALSE(fromBranchVideo(video().picture()));
  EXPECT_EQ(patternIndex(video().picture()), poke(run()).pos.frame);
}

TEST_P(VideoSwitchTest, a_pause_during_the_wait_is_kept_and_a_resume_waits_for_its_end) {
  choose("train_test.dat", GetParam());
  cab().start1Click();
  moveTo(41301, true);
  cab().start1Click();  // pause while the branch video opens
  EXPECT_FALSE(within(1300, [&] { return cab().timer1().isActive(); }));
  EXPECT_FALSE(cab().mmTimer().isActive());
  cab().start1Click();  // resume once it is open
  EXPECT_TRUE(cab().timer1().isActive());

  poke(run()).pos.frame = 41299;
  ASSERT_TRUE(within(1000, [&] { return !poke(run()).onBranch; }));
  cab().start1Click();  // pause and resume while the main video opens
  cab().start1Click();
  EXPECT_FALSE(cab().timer1().isActive());
  EXPECT_FALSE(cab().mmTimer().isActive());
  EXPECT_TRUE(within(1500, [&] { return cab().timer1().isActive(); }));
  EXPECT_TRUE(cab().mmTimer().isActive());
}

TEST_P(VideoSwitchTest, exactly_41300_does_not_switch_either_way) {
  choose("train_test.dat", GetParam());
  cab().start1Click();
  poke(run()).pos.frame = 41300;
  processEvents(250);
  EXPECT_FALSE(poke(run()).onBranch);
  EXPECT_TRUE(cab().mmTimer().isActive());
}

INSTANTIATE_TEST_SUITE_P(BranchRoutes, VideoSwitchTest,
                         ::testing::Values("line_rapid5.dat", "line_local6.dat"),
                         [](const auto& info) { return std::string(info.param).substr(5, 6); });

class MainLineOnly : public test::DesktopFixture {};

TEST_F(MainLineOnly, other_routes_never_switch_videos) {
  *videoFrames = 50000;
  choose();
  cab().start1Click();
  poke(run()).pos.frame = 41301;
  processEvents(250);
  EXPECT_FALSE(poke(run()).onBranch);
  EXPECT_TRUE(cab().mmTimer().isActive());
}

}  // namespace
}  // namespace velmoria
