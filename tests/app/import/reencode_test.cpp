#include "reencode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "media/ffmpeg/ffmpeg_video_source.h"
#include "support/data_files.h"
#include "video_probe.h"

namespace velmoria::import {
namespace {

bool run(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Frame n carries n in two grey bars (n mod 10 at 25 levels a step, n div 10 at 12).
std::string numbered() {
  const auto bars = [](const char* c) {
    return std::string("'if(lt(Y\\,16)\\,mod(N\\,10)*25\\,if(lt(Y\\,32)\\,floor(N/10)*12\\,") + c +
           "(X\\,Y)))'";
  };
  return "-f lavfi -i \"testsrc2=size=96x64:rate=25:duration=8,format=gbrp,geq=r=" + bars("r") +
         ":g=" + bars("g") + ":b=" + bars("b") + "\"";
}

int numberOf(const VideoFrame& f) {
  const auto mean = [&](int a, int b) {
    double s = 0;
    for (int y = a; y < b; ++y)
      for (int x = 0; x < f.width; ++x) s += (f.pixels[size_t(y) * f.width + x] >> 16) & 0xff;
    return s / ((b - a) * f.width);
  };
  return static_cast<int>(std::lround(mean(3, 13) / 25) + 10 * std::lround(mean(19, 29) / 12));
}

// Mean absolute difference of two pictures over every channel of every pixel, in levels.
double difference(const VideoFrame& a, const VideoFrame& b) {
  if (a.width != b.width || a.height != b.height || a.pixels.size() != b.pixels.size()) return 255;
  double sum = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i)
    for (int shift : {0, 8, 16}) {
      const int pa = (a.pixels[i] >> shift) & 0xff, pb = (b.pixels[i] >> shift) & 0xff;
      sum += std::abs(pa - pb);
    }
  return sum / (3.0 * a.pixels.size());
}

TEST(Reencode, gives_every_frame_of_the_original_with_a_keyframe_every_fifteen) {
  velmoria::test::TempDataFolder dir;
  const auto in = dir.root() / "long.mp4";
  const auto out = dir.root() / "short.mp4";
  ASSERT_TRUE(run("ffmpeg -nostdin -y " + numbered() +
                  " -c:v libx264 -bf 3 -g 200 -pix_fmt yuv420p -preset ultrafast " + in.string()));
  std::vector<double> seen;
  reencodeShortGop(in, out, {}, [&](double f) { seen.push_back(f); });
  ASSERT_FALSE(seen.empty());
  EXPECT_DOUBLE_EQ(seen.back(), 1.0);
  FfmpegVideoSource a(1), b(1);
  ASSERT_TRUE(a.open(in));
  ASSERT_TRUE(b.open(out));
  ASSERT_EQ(b.frameCount(), 200);
  EXPECT_DOUBLE_EQ(b.frameRate(), 25);
  const auto keys = b.keyframes();
  ASSERT_FALSE(keys.empty());
  for (size_t i = 1; i < keys.size(); ++i) EXPECT_EQ(keys[i] - keys[i - 1], 15);
  VideoFrame fa, fb;
  for (int i : {0, 1, 14, 15, 16, 99, 150, 199, 3}) {
    ASSERT_TRUE(a.decode(i, fa));
    ASSERT_TRUE(b.decode(i, fb));
    EXPECT_EQ(numberOf(fb), i);
    EXPECT_EQ(numberOf(fb), numberOf(fa));
    EXPECT_EQ(fb.width, 96);
  }
  // The whole picture, not only its number: each re-encoded frame is close to its original
  // (the encoder's loss at its quality), and closer to it than to the original's next frame.
  VideoFrame next;
  for (int i : {0, 7, 14, 15, 29, 100, 198}) {
    ASSERT_TRUE(a.decode(i, fa));
    ASSERT_TRUE(b.decode(i, fb));
    ASSERT_TRUE(a.decode(i + 1, next));
    const double own = difference(fa, fb);
    EXPECT_LT(own, 3.0) << "frame " << i;
    EXPECT_LT(own, difference(next, fb)) << "frame " << i;
  }
  EXPECT_FALSE(std::filesystem::exists(out.string() + ".part.mp4"));
}

TEST(Reencode, a_file_that_is_no_video_leaves_nothing_behind) {
  velmoria::test::TempDataFolder dir;
  dir.writeBytes("x.mp4", "not a video");
  EXPECT_THROW(reencodeShortGop(dir.root() / "x.mp4", dir.root() / "y.mp4"), VideoError);
  EXPECT_FALSE(std::filesystem::exists(dir.root() / "y.mp4"));
  EXPECT_FALSE(std::filesystem::exists(dir.root() / "y.mp4.part.mp4"));
}

}  // namespace
}  // namespace velmoria::import
