#include "media/ffmpeg/ffmpeg_video_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "media_test_support.h"

namespace velmoria {
namespace {

using test::TempDir;

constexpr int kFrames = 30;

// Every generated frame carries its own number n in two grey bars, rows 0-15 at level
// 40 x (n mod 6) and rows 16-31 at level 40 x (n div 6), steps coarse enough to survive
// Cinepak's and MS Video 1's colour loss. Below moves testsrc2's pattern, which gives the
// inter-frame codecs real motion to predict.
std::string numberedSource(const std::string& extraFilter) {
  auto bars = [](const char* c) {
    return std::string("'if(lt(Y\\,16)\\,mod(N\\,6)*40\\,if(lt(Y\\,32)\\,floor(N/6)*40\\,") + c +
           "(X\\,Y)))'";
  };
  return "-f lavfi -i \"testsrc2=size=96x80:rate=30:duration=1,format=gbrp,geq=r=" + bars("r") +
         ":g=" + bars("g") + ":b=" + bars("b") + extraFilter + "\"";
}

bool makeVideo(const std::filesystem::path& file, const std::string& codecArgs,
               const std::string& extraFilter = "", const std::string& outputArgs = "") {
  return test::run("ffmpeg -nostdin -v error -y " + numberedSource(extraFilter) + " " + outputArgs +
                   " -c:v " + codecArgs + " " + file.string());
}

double meanRed(const VideoFrame& f, int fromRow, int toRow) {
  double sum = 0;
  int n = 0;
  for (int y = fromRow; y < toRow; ++y)
    for (int x = 0; x < f.width; ++x, ++n) sum += (f.pixels[size_t(y) * f.width + x] >> 16) & 0xff;
  return sum / n;
}

// The frame number a picture shows, read from the middle rows of its two bars.
int numberOf(const VideoFrame& f) {
  return static_cast<int>(std::lround(meanRed(f, 3, 13) / 40.0) +
                          6 * std::lround(meanRed(f, 19, 29) / 40.0));
}

struct Codec {
  const char* name;
  const char* args;
};

class VideoCodec : public ::testing::TestWithParam<Codec> {
 protected:
  // Each codec's clip is encoded once for all its tests (Cinepak encodes slowly).
  static void SetUpTestSuite() { dir = new TempDir; }
  static void TearDownTestSuite() {
    delete dir;
    dir = nullptr;
  }
  void SetUp() override {
    if (!test::haveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    file = *dir / (std::string(GetParam().name) + ".avi");
    if (!std::filesystem::exists(file)) {
      ASSERT_TRUE(makeVideo(file, GetParam().args));
    }
    ASSERT_TRUE(source.open(file));
  }
  std::vector<VideoFrame> sequential() {
    std::vector<VideoFrame> frames(kFrames);
    for (int i = 0; i < kFrames; ++i) EXPECT_TRUE(source.decode(i, frames[i])) << i;
    return frames;
  }
  static TempDir* dir;
  std::filesystem::path file;
  FfmpegVideoSource source;
};
TempDir* VideoCodec::dir = nullptr;

TEST_P(VideoCodec, counts_the_frames_of_the_stream) {
  EXPECT_EQ(source.frameCount(), kFrames);
}

TEST_P(VideoCodec, sequential_decoding_shows_each_frame_in_turn_without_seeking) {
  const auto frames = sequential();
  for (int i = 0; i < kFrames; ++i) {
    EXPECT_EQ(frames[i].width, 96);
    EXPECT_EQ(frames[i].height, 80);
    EXPECT_EQ(numberOf(frames[i]), i) << "frame " << i;
  }
  EXPECT_EQ(source.seekCount(), 0);
}

TEST_P(VideoCodec, shuffled_jumps_give_the_sequential_pictures_exactly) {
  const auto reference = sequential();
  std::vector<int> order(kFrames);
  std::iota(order.begin(), order.end(), 0);
  std::mt19937 random(1234);
  for (int pass = 0; pass < 3; ++pass) {
    std::shuffle(order.begin(), order.end(), random);
    for (int i : order) {
      VideoFrame f;
      ASSERT_TRUE(source.decode(i, f)) << i;
      EXPECT_EQ(numberOf(f), i);
      EXPECT_TRUE(f.pixels == reference[i].pixels) << "frame " << i << " after a jump";
    }
  }
}

TEST_P(VideoCodec, backward_steps_and_repeats_give_the_right_frame) {
  const auto reference = sequential();
  for (int i : {29, 28, 28, 27, 10, 9, 11, 0, 1, 0, 15, 14, 13, 12}) {
    VideoFrame f;
    ASSERT_TRUE(source.decode(i, f));
    EXPECT_TRUE(f.pixels == reference[i].pixels) << "frame " << i;
  }
}

TEST_P(VideoCodec, short_forward_steps_do_not_seek) {
  VideoFrame f;
  for (int i = 0; i < kFrames; i += 3) {
    ASSERT_TRUE(source.decode(i, f));
    EXPECT_EQ(numberOf(f), i);
  }
  EXPECT_EQ(source.seekCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Avi, VideoCodec,
    ::testing::Values(Codec{"mjpeg", "mjpeg -q:v 3"},
                      Codec{"mpeg4_bframes", "mpeg4 -bf 2 -g 10 -q:v 3"},
                      Codec{"cinepak", "cinepak"}, Codec{"msvideo1", "msvideo1"},
                      Codec{"raw_bgr24", "rawvideo -pix_fmt bgr24"},
                      Codec{"h264", "libx264 -bf 2 -g 10 -pix_fmt yuv420p -preset veryfast"}),
    [](const auto& info) { return std::string(info.param.name); });

class VideoFile : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::haveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
  }
  TempDir dir;
  FfmpegVideoSource source;
};

TEST_F(VideoFile, a_dropped_frame_shows_the_picture_before_it) {
  const auto file = dir / "drops.avi";
  // Frames 5 and 6 are left out; the AVI writer fills the gap with empty chunks.
  ASSERT_TRUE(makeVideo(file, "mjpeg -q:v 3", ",select='not(between(n\\,5\\,6))'",
                        "-fps_mode passthrough"));
  ASSERT_TRUE(source.open(file));
  EXPECT_EQ(source.frameCount(), kFrames);
  const int expected[] = {0, 1, 2, 3, 4, 4, 4, 7, 8, 9};
  VideoFrame f;
  for (int i = 0; i < 10; ++i) {
    ASSERT_TRUE(source.decode(i, f));
    EXPECT_EQ(numberOf(f), expected[i]) << "frame " << i;
  }
  for (int i : {6, 9, 5, 7, 4}) {  // and after jumps
    ASSERT_TRUE(source.decode(i, f));
    EXPECT_EQ(numberOf(f), expected[i]) << "frame " << i;
  }
}

TEST_F(VideoFile, a_file_without_an_index_is_scanned_at_open_and_seeks) {
  const auto file = dir / "noindex.avi";
  ASSERT_TRUE(makeVideo(file, "mpeg4 -bf 2 -g 10 -q:v 3"));
  std::string bytes = test::readFile(file);
  const auto idx1 = bytes.rfind("idx1");
  ASSERT_NE(idx1, std::string::npos);
  test::writeFile(file, bytes.substr(0, idx1));
  ASSERT_TRUE(source.open(file));
  EXPECT_EQ(source.frameCount(), kFrames);
  VideoFrame f;
  for (int i : {25, 3, 17, 0, 29, 11, 12, 10}) {
    ASSERT_TRUE(source.decode(i, f));
    EXPECT_EQ(numberOf(f), i);
  }
}

TEST_F(VideoFile, a_truncated_file_opens_with_the_frames_it_holds) {
  const auto file = dir / "cut.avi";
  ASSERT_TRUE(makeVideo(file, "mjpeg -q:v 3"));
  std::string bytes = test::readFile(file);
  test::writeFile(file, bytes.substr(0, bytes.size() / 2));
  ASSERT_TRUE(source.open(file));
  const int count = source.frameCount();
  EXPECT_GT(count, 5);
  EXPECT_LT(count, kFrames);
  VideoFrame f;
  for (int i : {0, count - 1, 3, kFrames - 1, count / 2}) source.decode(i, f);
  ASSERT_TRUE(source.decode(2, f));
  EXPECT_EQ(numberOf(f), 2);
}

TEST_F(VideoFile, files_without_a_video_stream_do_not_open) {
  const auto text = dir / "text.avi";
  test::writeFile(text, "RIFF this is not a video at all");
  const auto sound = dir / "sound.wav";
  ASSERT_TRUE(test::run("ffmpeg -nostdin -v error -y -f lavfi -i sine=d=0.2 " + sound.string()));
  for (const auto& file : {text, sound, dir / "missing.avi"}) {
    EXPECT_FALSE(source.open(file)) << file;
    EXPECT_EQ(source.frameCount(), -1);
    VideoFrame f;
    EXPECT_FALSE(source.decode(0, f));
  }
}

TEST_F(VideoFile, indices_outside_the_video_keep_the_previous_picture) {
  const auto file = dir / "clip.avi";
  ASSERT_TRUE(makeVideo(file, "mjpeg -q:v 3"));
  ASSERT_TRUE(source.open(file));
  VideoFrame f;
  ASSERT_TRUE(source.decode(7, f));
  const auto before = f.pixels;
  EXPECT_FALSE(source.decode(-1, f));
  EXPECT_FALSE(source.decode(kFrames, f));
  EXPECT_TRUE(f.pixels == before);
  source.close();
  EXPECT_EQ(source.frameCount(), -1);
  EXPECT_FALSE(source.decode(7, f));
}

// --- Containers with presentation times: MP4, MKV, WebM -----------------------------------

// 300 frames (10 s) numbered in four grey bars (rows 0-15, 16-31, 32-47, 48-63 at 40 x the
// base-6 digits of n), so that long GOPs, B-frames and trimmed files can be checked frame by
// frame against what a plain decode from the start shows.
constexpr int kLongFrames = 300;

std::string longNumberedSource() {
  const auto bars = [](const char* c) {
    return std::string(
               "'if(lt(Y\\,16)\\,mod(N\\,6)*40\\,if(lt(Y\\,32)\\,mod(floor(N/6)\\,6)*40\\,") +
           "if(lt(Y\\,48)\\,mod(floor(N/36)\\,6)*40\\,if(lt(Y\\,64)\\,floor(N/216)*40\\," + c +
           "(X\\,Y)))))'";
  };
  return "-f lavfi -i \"testsrc2=size=96x96:rate=30:duration=10,format=gbrp,geq=r=" + bars("r") +
         ":g=" + bars("g") + ":b=" + bars("b") + "\"";
}

int longNumberOf(const VideoFrame& f) {
  int n = 0, scale = 1;
  for (int bar = 0; bar < 4; ++bar, scale *= 6)
    n += scale * static_cast<int>(std::lround(meanRed(f, 16 * bar + 3, 16 * bar + 13) / 40.0));
  return n;
}

struct ContainerCase {
  const char* name;
  const char* file;  // the container by its extension
  const char* args;  // encoder and options, as ffmpeg takes them
  int firstShown;    // the number of the first picture shown (a trimmed file starts later)
  int frames;
  const char* trim;  // a stream copy of the encoded file from this many seconds on, or null
  friend void PrintTo(const ContainerCase& c, std::ostream* os) { *os << c.name; }
};

class VideoContainer : public ::testing::TestWithParam<ContainerCase> {
 protected:
  static void SetUpTestSuite() { dir = new TempDir; }
  static void TearDownTestSuite() {
    delete dir;
    dir = nullptr;
  }
  void SetUp() override {
    if (!test::haveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    const ContainerCase& c = GetParam();
    file = *dir / (std::string(c.name) + "_" + c.file);
    if (!std::filesystem::exists(file)) {
      const auto encoded = c.trim ? *dir / (std::string(c.name) + "_whole_" + c.file) : file;
      ASSERT_TRUE(test::run("ffmpeg -nostdin -v error -y " + longNumberedSource() + " -c:v " +
                            c.args + " " + encoded.string()))
          << c.name << ": this ffmpeg cannot encode it";
      if (c.trim) {
        ASSERT_TRUE(test::run("ffmpeg -nostdin -v error -y -ss " + std::string(c.trim) + " -i " +
                              encoded.string() + " -c copy " + file.string()));
      }
    }
    ASSERT_TRUE(source.open(file));
  }
  static TempDir* dir;
  std::filesystem::path file;
  FfmpegVideoSource source;
};
TempDir* VideoContainer::dir = nullptr;

TEST_P(VideoContainer, counts_every_frame_shown_and_shows_them_in_order_without_seeking) {
  const ContainerCase& c = GetParam();
  ASSERT_EQ(source.frameCount(), c.frames);
  VideoFrame f;
  for (int i = 0; i < c.frames; ++i) {
    ASSERT_TRUE(source.decode(i, f)) << i;
    ASSERT_EQ(longNumberOf(f), c.firstShown + i) << "frame " << i;
  }
  EXPECT_EQ(source.seekCount(), 0);
  EXPECT_FALSE(source.decode(c.frames, f));
}

TEST_P(VideoContainer, random_and_backward_jumps_give_the_frame_asked_for) {
  const ContainerCase& c = GetParam();
  std::vector<int> order(static_cast<size_t>(c.frames));
  std::iota(order.begin(), order.end(), 0);
  std::mt19937 random(99);
  std::shuffle(order.begin(), order.end(), random);
  order.resize(120);
  // The frames just before keyframes and the last ones, where presentation and decoding
  // order part, and a walk backwards across a GOP boundary.
  for (int i : {c.frames - 1, c.frames - 2, 59, 60, 61, 249, 250, 251, 0, 1})
    if (i < c.frames) order.push_back(i);
  for (int i = std::min(c.frames - 1, 70); i >= 50; --i) order.push_back(i);
  VideoFrame f;
  for (int i : order) {
    ASSERT_TRUE(source.decode(i, f)) << i;
    EXPECT_EQ(longNumberOf(f), c.firstShown + i) << "frame " << i << " after a jump";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Containers, VideoContainer,
    ::testing::Values(
        ContainerCase{"h264_long_gop", "clip.mp4",
                      "libx264 -bf 3 -g 250 -pix_fmt yuv420p -preset veryfast", 0, 300, nullptr},
        ContainerCase{"h264_without_edit_list", "clip.mp4",
                      "libx264 -bf 3 -g 120 -pix_fmt yuv420p -preset veryfast -use_editlist 0", 0,
                      300, nullptr},
        ContainerCase{"h264_trimmed", "clip.mp4",
                      "libx264 -bf 3 -g 250 -pix_fmt yuv420p -preset veryfast", 75, 225, "2.5"},
        ContainerCase{"h264_mkv", "clip.mkv",
                      "libx264 -bf 3 -g 60 -pix_fmt yuv420p -preset veryfast", 0, 300, nullptr},
        ContainerCase{"h265_open_gop", "clip.mp4",
                      "libx265 -x265-params keyint=60:log-level=error -pix_fmt yuv420p "
                      "-preset veryfast",
                      0, 300, nullptr},
        ContainerCase{"h265_mkv", "clip.mkv",
                      "libx265 -x265-params keyint=90:log-level=error -pix_fmt yuv420p "
                      "-preset veryfast",
                      0, 300, nullptr},
        ContainerCase{"vp9_webm", "clip.webm",
                      "libvpx-vp9 -g 90 -b:v 400k -deadline realtime -cpu-used 8", 0, 300, nullptr},
        ContainerCase{"av1_webm", "clip.webm", "libaom-av1 -g 90 -cpu-used 8 -b:v 300k", 0, 300,
                      nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VideoSize, a_1080p_clip_decodes_at_its_own_size_exactly_as_ffmpeg_shows_it) {
  if (!test::haveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
  TempDir dir;
  const auto file = dir / "hd.mp4";
  const auto raw = dir / "hd.bgra";
  ASSERT_TRUE(test::run(
      "ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=1920x1080:rate=30 -frames:v 8 -c:v "
      "libx264 -bf 2 -g 4 -pix_fmt yuv420p -preset ultrafast " +
      file.string()));
  ASSERT_TRUE(test::run("ffmpeg -nostdin -v error -y -i " + file.string() +
                        " -pix_fmt bgra -f rawvideo " + raw.string()));
  const std::string expected = test::readFile(raw);
  FfmpegVideoSource source;
  ASSERT_TRUE(source.open(file));
  ASSERT_EQ(source.frameCount(), 8);
  const size_t frameBytes = size_t(1920) * 1080 * 4;
  ASSERT_EQ(expected.size(), frameBytes * 8);
  for (int i : {7, 0, 5, 3, 4}) {
    VideoFrame f;
    ASSERT_TRUE(source.decode(i, f));
    ASSERT_EQ(f.width, 1920);
    ASSERT_EQ(f.height, 1080);
    int worst = 0;
    for (size_t p = 0; p < f.pixels.size(); p += 97)
      for (int c = 0; c < 3; ++c)
        worst = std::max(
            worst, std::abs(int((f.pixels[p] >> (8 * c)) & 0xff) -
                            int(static_cast<unsigned char>(expected[frameBytes * i + 4 * p + c]))));
    EXPECT_LE(worst, 1) << "frame " << i;
  }
}

TEST(VideoKeyframes, are_listed_where_the_encoder_put_them_and_pictures_come_raw) {
  if (!test::haveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
  TempDir dir;
  const auto file = dir / "keys.mp4";
  ASSERT_TRUE(test::run("ffmpeg -nostdin -v error -y " + longNumberedSource() +
                        " -c:v libx264 -bf 3 -g 100 -keyint_min 100 -sc_threshold 0 -pix_fmt "
                        "yuv420p -preset veryfast " +
                        file.string()));
  FfmpegVideoSource source;
  EXPECT_TRUE(source.keyframes().empty());
  ASSERT_TRUE(source.open(file));
  EXPECT_EQ(source.keyframes(), (std::vector<int64_t>{0, 100, 200}));
  const AVFrame* p = source.picture(150);
  ASSERT_NE(p, nullptr);
  VideoFrame f;
  ASSERT_TRUE(source.decode(150, f));
  EXPECT_EQ(longNumberOf(f), 150);
  EXPECT_EQ(source.picture(300), nullptr);
  EXPECT_EQ(source.picture(-1), nullptr);
}

struct ColourCase {
  const char* name;
  const char* args;  // the encoder and its options, as ffmpeg takes them
  friend void PrintTo(const ColourCase& c, std::ostream* os) { *os << c.name; }
};

class VideoColours : public ::testing::TestWithParam<ColourCase> {};

// Our pictures carry the colours the ffmpeg command line gives the same file, whichever range
// the codec stores: MJPEG's full-range (JPEG) levels as well as the limited range of MPEG-4
// and H.264. testsrc's colour bars, gradient and text make any difference in range, chroma
// placement or rounding show; every frame is checked, sequentially and after jumps, because a
// converter set up only for the first pictures goes wrong on the later ones.
TEST_P(VideoColours, match_the_ffmpeg_command_lines_conversion) {
  if (!test::haveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
  constexpr int kWidth = 480, kHeight = 240, kClipFrames = 12;
  TempDir dir;
  const auto file = dir / "colours.avi";
  const auto raw = dir / "colours.bgra";
  ASSERT_TRUE(
      test::run("ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=480x240:rate=30 "
                "-frames:v " +
                std::to_string(kClipFrames) + " -c:v " + GetParam().args + " " + file.string()));
  ASSERT_TRUE(test::run("ffmpeg -nostdin -v error -y -i " + file.string() +
                        " -pix_fmt bgra -f rawvideo " + raw.string()));
  const std::string expected = test::readFile(raw);
  const size_t frameBytes = size_t(kWidth) * kHeight * 4;
  ASSERT_EQ(expected.size(), frameBytes * kClipFrames);
  FfmpegVideoSource source;
  ASSERT_TRUE(source.open(file));
  ASSERT_EQ(source.frameCount(), kClipFrames);
  std::vector<int> order(kClipFrames);
  std::iota(order.begin(), order.end(), 0);
  order.insert(order.end(), {9, 2, 11, 0, 5});
  for (int i : order) {
    VideoFrame f;
    ASSERT_TRUE(source.decode(i, f)) << i;
    ASSERT_EQ(f.width, kWidth);
    ASSERT_EQ(f.height, kHeight);
    int worst = 0;
    size_t off = 0;
    for (size_t p = 0; p < f.pixels.size(); ++p)
      for (int c = 0; c < 3; ++c) {  // B, G, R
        const int ours = (f.pixels[p] >> (8 * c)) & 0xff;
        const int theirs = static_cast<unsigned char>(expected[frameBytes * i + 4 * p + c]);
        worst = std::max(worst, std::abs(ours - theirs));
        if (std::abs(ours - theirs) > 1) ++off;
      }
    EXPECT_LE(worst, 1) << "frame " << i << ": " << off << " samples off by more than 1";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Avi, VideoColours,
    ::testing::Values(ColourCase{"mjpeg_444", "mjpeg -q:v 3"},
                      ColourCase{"mjpeg_420", "mjpeg -q:v 3 -pix_fmt yuvj420p"},
                      ColourCase{"mpeg4", "mpeg4 -q:v 3"},
                      ColourCase{"h264", "libx264 -pix_fmt yuv420p -preset veryfast"}),
    [](const auto& info) { return std::string(info.param.name); });

struct RateCase {
  const char* name;
  const char* rate;  // as ffmpeg takes it
  double perSecond;
};

class VideoRate : public ::testing::TestWithParam<RateCase> {};

TEST_P(VideoRate, reports_the_rate_the_file_states_and_none_when_closed) {
  if (!test::haveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
  TempDir dir;
  const auto file = dir / "rate.avi";
  ASSERT_TRUE(test::run("ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=64x48:rate=" +
                        std::string(GetParam().rate) + ":duration=1 -c:v mjpeg " + file.string()));
  FfmpegVideoSource source;
  EXPECT_EQ(source.frameRate(), 0.0);
  ASSERT_TRUE(source.open(file));
  EXPECT_NEAR(source.frameRate(), GetParam().perSecond, 1e-9);
  EXPECT_FALSE(source.open(dir / "missing.avi"));
  EXPECT_EQ(source.frameRate(), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Avi, VideoRate,
                         ::testing::Values(RateCase{"fifteen", "15", 15.0},
                                           RateCase{"twenty_five", "25", 25.0},
                                           RateCase{"ntsc", "30000/1001", 30000.0 / 1001.0}),
                         [](const auto& info) { return std::string(info.param.name); });

// A picture of three bands, red | green | blue, the green one as wide as the two others
// together: 160 x 40 in all, so its middle 80 x 40 (2:1, the shape of the cab's video area)
// is all green.
class VideoOutputSize : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::haveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    file = dir / "bands.avi";
    ASSERT_TRUE(test::run(
        "ffmpeg -nostdin -v error -y -f lavfi -i color=red:s=40x40:r=30:d=1 -f lavfi -i "
        "color=lime:s=80x40:r=30:d=1 -f lavfi -i color=blue:s=40x40:r=30:d=1 -filter_complex "
        "hstack=inputs=3,format=yuv444p -c:v mjpeg -q:v 1 " +
        file.string()));
  }
  // The share of pixels whose green clearly outweighs red and blue.
  static double greenShare(const VideoFrame& f) {
    int green = 0;
    for (uint32_t p : f.pixels) {
      const int r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
      if (g > 200 && r < 60 && b < 60) ++green;
    }
    return static_cast<double>(green) / static_cast<double>(f.pixels.size());
  }
  TempDir dir;
  std::filesystem::path file;
  FfmpegVideoSource source;
};

TEST_F(VideoOutputSize, pictures_come_at_the_asked_size_cut_to_its_shape) {
  ASSERT_TRUE(source.open(file));
  VideoFrame f;
  ASSERT_TRUE(source.decode(3, f));
  EXPECT_EQ(f.width, 160);  // no size asked for: the video's own
  EXPECT_LT(greenShare(f), 0.6);
  // Twice the 80 x 40 middle: scaled up from the green band alone.
  source.setOutputSize(160, 80);
  ASSERT_TRUE(source.decode(4, f));
  EXPECT_EQ(f.width, 160);
  EXPECT_EQ(f.height, 80);
  EXPECT_EQ(f.pixels.size(), 160u * 80u);
  EXPECT_GT(greenShare(f), 0.97);
  // The same shape as the video: the whole picture, scaled down.
  source.setOutputSize(80, 20);
  ASSERT_TRUE(source.decode(5, f));
  EXPECT_EQ(f.width, 80);
  EXPECT_EQ(f.height, 20);
  EXPECT_LT(greenShare(f), 0.6);
  EXPECT_GT(greenShare(f), 0.4);
}

TEST_F(VideoOutputSize, is_kept_across_open_and_refused_when_absurd) {
  source.setOutputSize(96, 48);
  ASSERT_TRUE(source.open(file));
  VideoFrame f;
  ASSERT_TRUE(source.decode(0, f));
  EXPECT_EQ(f.width, 96);
  EXPECT_EQ(f.height, 48);
  source.setOutputSize(100000, 50000);  // never allocated: the video's own size again
  ASSERT_TRUE(source.decode(1, f));
  EXPECT_EQ(f.width, 160);
  EXPECT_EQ(f.height, 40);
  source.setOutputSize(0, 0);
  ASSERT_TRUE(source.decode(2, f));
  EXPECT_EQ(f.width, 160);
}

}  // namespace
}  // namespace velmoria
