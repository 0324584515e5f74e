#include "video_probe.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/data_files.h"

namespace velmoria::import {
namespace {

bool run(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

TEST(VideoProbe, frames_rate_size_keyframes_and_the_creation_time) {
  velmoria::test::TempDataFolder dir;
  const auto file = dir.root() / "cam.mp4";
  ASSERT_TRUE(
      run("ffmpeg -nostdin -y -f lavfi -i testsrc2=size=320x180:rate=30000/1001 "
          "-frames:v 240 -c:v libx264 -g 120 -keyint_min 120 -sc_threshold 0 -bf 2 "
          "-preset ultrafast -metadata creation_time=2024-05-18T00:30:00.000000Z " +
          file.string()));
  const VideoFacts f = probeVideo(file);
  EXPECT_EQ(f.frames, 240);
  EXPECT_NEAR(f.fps, 29.97, 0.01);
  EXPECT_EQ(f.width, 320);
  EXPECT_EQ(f.height, 180);
  EXPECT_EQ(f.codec, "h264");
  EXPECT_EQ(f.longestGop, 120);
  ASSERT_TRUE(f.creationTime);
  EXPECT_DOUBLE_EQ(*f.creationTime, 1715992200);
  const AccessTimes a = measureAccess(file, 5);
  EXPECT_EQ(a.jumps, 5);
  EXPECT_GT(a.jumpWorstMs, 0);
  EXPECT_GE(a.jumpWorstMs, a.jumpMedianMs);
  EXPECT_GT(a.aheadFps, 0);
  // A slow file stops the jumps when their time is spent, after the few that say enough.
  const AccessTimes quick = measureAccess(file, 50, {}, 0.0);
  EXPECT_EQ(quick.jumps, kMinJumps);
  EXPECT_GT(quick.jumpWorstMs, 0);
}

TEST(VideoProbe, apples_local_creation_date_wins_and_a_zero_date_is_none) {
  EXPECT_DOUBLE_EQ(*parseCreationTime("2024-05-18T09:30:00+0900"), 1715992200);
  EXPECT_FALSE(parseCreationTime("1970-01-01T00:00:00.000000Z"));
  EXPECT_FALSE(parseCreationTime("1904-01-01T00:00:00Z"));
  velmoria::test::TempDataFolder dir;
  const auto file = dir.root() / "none.mkv";
  ASSERT_TRUE(
      run("ffmpeg -nostdin -y -f lavfi -i testsrc2=size=64x48:rate=25 -frames:v 10 "
          "-c:v libx264 -preset ultrafast -fflags +bitexact " +
          file.string()));
  const VideoFacts f = probeVideo(file);
  EXPECT_FALSE(f.creationTime);
  EXPECT_EQ(f.frames, 10);
}

struct Unopenable {
  const char* name;
  const char* bytes;  // null: no file at all
  const char* message;
};

class VideoProbeRefusal : public ::testing::TestWithParam<Unopenable> {};

TEST_P(VideoProbeRefusal, says_why) {
  velmoria::test::TempDataFolder dir;
  const auto file = dir.root() / "bad.mp4";
  if (GetParam().bytes) dir.writeBytes("bad.mp4", GetParam().bytes);
  try {
    probeVideo(file);
    ADD_FAILURE() << "opened";
  } catch (const VideoError& e) {
    EXPECT_NE(std::string(e.what()).find(GetParam().message), std::string::npos) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, VideoProbeRefusal,
                         ::testing::Values(Unopenable{"missing", nullptr, "no such video"},
                                           Unopenable{"not_a_video", "this is text, not a film",
                                                      "cannot open"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VideoProbe, a_sound_file_has_no_video_stream) {
  velmoria::test::TempDataFolder dir;
  const auto file = dir.root() / "sound.mp4";
  ASSERT_TRUE(run("ffmpeg -nostdin -y -f lavfi -i sine=d=0.5 -c:a aac " + file.string()));
  EXPECT_THROW(probeVideo(file), VideoError);
}

}  // namespace
}  // namespace velmoria::import
