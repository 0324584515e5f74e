#include "media/ffmpeg/ffmpeg_sound_track.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "media/ffmpeg/ffmpeg_video_source.h"
#include "media/openal/openal_sound_device.h"
#include "media_test_support.h"

namespace velmoria {
namespace {

using test::TempDir;

constexpr double kAll = std::numeric_limits<double>::infinity();

// A two-second movie of the given picture rate with a sound track made by aevalsrc: one
// expression per channel, separated by '|'.
bool makeMovie(const std::filesystem::path& file, const std::string& fps, const std::string& sound,
               int sampleRate, const std::string& audioCodec) {
  return test::run("ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=64x48:rate=" + fps +
                   ":duration=2 -f lavfi -i \"aevalsrc=" + sound +
                   ":s=" + std::to_string(sampleRate) + ":d=2\" -c:v mpeg4 -q:v 5 -c:a " +
                   audioCodec + " " + file.string());
}

// Amplitude (1.0 = full scale) of the component at hz in one channel of the track (Goertzel).
double amplitudeAt(const PcmSound& pcm, int channel, double hz) {
  const size_t n = pcm.frames();
  const double w = 2 * std::numbers::pi * hz / pcm.sampleRate;
  double s1 = 0, s2 = 0;
  for (size_t i = 0; i < n; ++i) {
    const double x = pcm.samples[i * pcm.channels + channel] / 32768.0;
    const double s0 = x + 2 * std::cos(w) * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  return 2 * std::sqrt(s1 * s1 + s2 * s2 - 2 * std::cos(w) * s1 * s2) / n;
}

double peakOf(const PcmSound& pcm, int channel) {
  int peak = 0;
  for (size_t i = 0; i < pcm.frames(); ++i)
    peak = std::max(peak, std::abs(int(pcm.samples[i * pcm.channels + channel])));
  return peak / 32768.0;
}

struct Tone {
  double hz;
  double level;  // peak, 1.0 = full scale
};

struct MovieCase {
  const char* name;
  const char* fps;
  double perSecond;
  const char* audioCodec;
  int sampleRate;
  std::vector<Tone> tones;  // one per channel
  double extraMs;           // what the codec may add at the ends (MP3 pads its frames)
  double levelTolerance;
};

class MovieSound : public ::testing::TestWithParam<MovieCase> {
 protected:
  void SetUp() override {
    if (!test::haveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    const MovieCase& c = GetParam();
    std::string sound;
    for (const Tone& t : c.tones) {
      if (!sound.empty()) sound += "|";
      sound += std::to_string(t.level) + "*sin(2*PI*" + std::to_string(t.hz) + "*t)";
    }
    file = dir / "movie.avi";
    ASSERT_TRUE(makeMovie(file, c.fps, sound, c.sampleRate, c.audioCodec));
  }
  TempDir dir;
  std::filesystem::path file;
};

TEST_P(MovieSound, the_picture_rate_is_the_movies_own) {
  FfmpegVideoSource video;
  ASSERT_TRUE(video.open(file));
  EXPECT_NEAR(video.frameRate(), GetParam().perSecond, 1e-9);
}

TEST_P(MovieSound, the_track_decodes_with_its_length_pitch_and_level) {
  const MovieCase& c = GetParam();
  const auto pcm = readFfmpegSoundTrack(file, kAll);
  ASSERT_TRUE(pcm.has_value());
  EXPECT_EQ(pcm->sampleRate, c.sampleRate);
  ASSERT_EQ(pcm->channels, static_cast<int>(c.tones.size()));
  EXPECT_GE(pcm->durationMs(), 2000.0 - 0.5);
  EXPECT_LE(pcm->durationMs(), 2000.0 + c.extraMs);
  for (int ch = 0; ch < pcm->channels; ++ch) {
    const Tone& t = c.tones[static_cast<size_t>(ch)];
    // Over the whole track the padding dilutes the tone a little: measure the level by peak.
    EXPECT_NEAR(peakOf(*pcm, ch), t.level, t.level * c.levelTolerance) << "channel " << ch;
    EXPECT_GT(amplitudeAt(*pcm, ch, t.hz),
              t.level * (1 - c.levelTolerance) * 2000.0 / (2000.0 + c.extraMs));
    // A quarter above the tone, nothing: the pitch is the tone's and no other.
    EXPECT_LT(amplitudeAt(*pcm, ch, t.hz * 1.25), 0.01) << "channel " << ch;
  }
}

TEST_P(MovieSound, a_limit_keeps_only_the_start) {
  const auto pcm = readFfmpegSoundTrack(file, 0.5);
  ASSERT_TRUE(pcm.has_value());
  // Half a second, rounded up to whole frames: 11025 at 22050 Hz, 5513 at 11025 Hz.
  EXPECT_EQ(pcm->frames(), static_cast<size_t>((GetParam().sampleRate + 1) / 2));
}

INSTANTIATE_TEST_SUITE_P(
    Avi, MovieSound,
    ::testing::Values(
        // 441 Hz at 22050 Hz: 50 samples a cycle, 882 whole cycles in two seconds.
        MovieCase{"pcm16_mono_15fps", "15", 15.0, "pcm_s16le", 22050, {{441, 0.5}}, 1, 0.01},
        MovieCase{"pcm8_mono_25fps", "25", 25.0, "pcm_u8", 11025, {{300, 0.8}}, 1, 0.02},
        MovieCase{"mp3_stereo_25fps",
                  "25",
                  25.0,
                  "libmp3lame -b:a 192k",
                  44100,
                  {{440, 0.5}, {660, 0.25}},
                  120,
                  0.08}),
    [](const auto& info) { return std::string(info.param.name); });

class MovieFile : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::haveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
  }
  TempDir dir;
};

TEST_F(MovieFile, files_without_sound_give_no_track) {
  const auto silent = dir / "silent.avi";
  ASSERT_TRUE(
      test::run("ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=64x48:rate=15:"
                "duration=1 -c:v mpeg4 " +
                silent.string()));
  const auto text = dir / "text.avi";
  test::writeFile(text, "RIFF this is not a movie at all");
  const auto empty = dir / "empty.avi";
  test::writeFile(empty, "");
  for (const auto& file : {silent, text, empty, dir / "missing.avi"})
    EXPECT_FALSE(readFfmpegSoundTrack(file, kAll).has_value()) << file;
}

TEST_F(MovieFile, no_time_asked_gives_no_track) {
  const auto file = dir / "movie.avi";
  ASSERT_TRUE(makeMovie(file, "15", "0.5*sin(2*PI*441*t)", 22050, "pcm_s16le"));
  EXPECT_FALSE(readFfmpegSoundTrack(file, 0).has_value());
  EXPECT_FALSE(readFfmpegSoundTrack(file, -1).has_value());
  EXPECT_FALSE(readFfmpegSoundTrack(file, std::nan("")).has_value());
}

TEST_F(MovieFile, a_truncated_movie_gives_the_sound_it_holds) {
  const auto file = dir / "cut.avi";
  ASSERT_TRUE(makeMovie(file, "15", "0.5*sin(2*PI*441*t)", 22050, "pcm_s16le"));
  const std::string bytes = test::readFile(file);
  test::writeFile(file, bytes.substr(0, bytes.size() / 2));
  const auto pcm = readFfmpegSoundTrack(file, kAll);
  ASSERT_TRUE(pcm.has_value());
  EXPECT_GT(pcm->durationMs(), 100.0);
  EXPECT_LT(pcm->durationMs(), 2000.0);
  EXPECT_NEAR(peakOf(*pcm, 0), 0.5, 0.005);
}

TEST_F(MovieFile, a_sound_file_alone_is_a_track_too) {
  const auto file = dir / "tone.wav";
  ASSERT_TRUE(
      test::run("ffmpeg -nostdin -v error -y -f lavfi -i \"aevalsrc=0.5*sin(2*PI*1000*t):"
                "s=8000:d=0.25\" " +
                file.string()));
  const auto pcm = readFfmpegSoundTrack(file, kAll);
  ASSERT_TRUE(pcm.has_value());
  EXPECT_EQ(pcm->frames(), 2000u);
}

// The whole path of the opening movie's sound: decoded from the movie, put on a channel of the
// OpenAL device and mixed, it comes out at its pitch and level on both sides.
TEST_F(MovieFile, the_decoded_track_plays_through_the_openal_device) {
  constexpr int kRate = 48000;
  auto device = OpenAlSoundDevice::openLoopback(kRate);
  if (!device) GTEST_SKIP() << "OpenAL has no loopback rendering here";
  const auto file = dir / "movie.avi";
  ASSERT_TRUE(makeMovie(file, "15", "0.5*sin(2*PI*441*t)", 22050, "pcm_s16le"));
  const auto pcm = readFfmpegSoundTrack(file, kAll);
  ASSERT_TRUE(pcm.has_value());
  const WaveId wave = device->loadPcm(*pcm);
  ASSERT_GE(wave, 0);
  EXPECT_NEAR(device->waveDurationMs(wave), 2000.0, 0.1);
  device->attach(255, wave);
  device->playOnce(255);
  std::vector<float> out(size_t(kRate / 10) * 2);
  device->render(out.data(), kRate / 10);  // let the mixer settle
  device->render(out.data(), kRate / 10);
  for (int side : {0, 1}) {
    const size_t n = out.size() / 2;
    const double w = 2 * std::numbers::pi * 441 / kRate;
    double s1 = 0, s2 = 0;
    for (size_t i = 0; i < n; ++i) {
      const double s0 = out[2 * i + side] + 2 * std::cos(w) * s1 - s2;
      s2 = s1;
      s1 = s0;
    }
    const double amplitude = 2 * std::sqrt(s1 * s1 + s2 * s2 - 2 * std::cos(w) * s1 * s2) / n;
    // The half-scale track at volume 0, under the mix's headroom.
    const double expected = 0.5 * OpenAlSoundDevice::kMasterGain;
    EXPECT_NEAR(amplitude, expected, expected * 0.06) << "side " << side;
  }
  EXPECT_TRUE(device->isPlaying(255));
  device->freeWave(wave);
  EXPECT_FALSE(device->isPlaying(255));
  EXPECT_EQ(device->waveDurationMs(wave), 0.0);
}

TEST(PcmOnOpenAl, sounds_that_cannot_play_are_refused) {
  auto device = OpenAlSoundDevice::openLoopback(48000);
  if (!device) GTEST_SKIP() << "OpenAL has no loopback rendering here";
  PcmSound none{22050, 1, {}};
  PcmSound threeChannels{22050, 3, std::vector<int16_t>(300, 100)};
  PcmSound noRate{0, 2, std::vector<int16_t>(300, 100)};
  PcmSound stereo{44100, 2, std::vector<int16_t>(44100, 100)};
  EXPECT_EQ(device->loadPcm(none), -1);
  EXPECT_EQ(device->loadPcm(threeChannels), -1);
  EXPECT_EQ(device->loadPcm(noRate), -1);
  const WaveId ok = device->loadPcm(stereo);
  ASSERT_GE(ok, 0);
  EXPECT_NEAR(device->waveDurationMs(ok), 500.0, 1e-9);  // 22050 frames at 44100 Hz
}

}  // namespace
}  // namespace velmoria
