#include "media/null/null_video_source.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

namespace velmoria {
namespace {

class NullVideo : public ::testing::Test {
 protected:
  NullVideo()
      : file(std::filesystem::temp_directory_path() /
             ("velmoria-null-video-" + std::to_string(getpid()) + ".avi")) {
    std::ofstream(file) << "x";
  }
  ~NullVideo() override { std::filesystem::remove(file); }
  std::filesystem::path file;
  NullVideoSource video{120};
};

TEST_F(NullVideo, reports_thirty_frames_a_second_once_open_and_none_before) {
  EXPECT_EQ(video.frameRate(), 0.0);
  EXPECT_EQ(video.frameCount(), -1);
  ASSERT_TRUE(video.open(file));
  EXPECT_EQ(video.frameRate(), 30.0);
  EXPECT_EQ(video.frameCount(), 120);
}

TEST_F(NullVideo, a_rate_set_by_the_caller_is_reported_and_a_failed_open_reports_none) {
  video.setFrameRate(15.0);
  ASSERT_TRUE(video.open(file));
  EXPECT_EQ(video.frameRate(), 15.0);
  EXPECT_FALSE(video.open(file.parent_path() / "velmoria-no-such-video.avi"));
  EXPECT_EQ(video.frameRate(), 0.0);
}

}  // namespace
}  // namespace velmoria
