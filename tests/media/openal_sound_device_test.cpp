#include "media/openal/openal_sound_device.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <optional>
#include <regex>
#include <sstream>
#include <vector>

#include "media/openal/sndfile_wave.h"
#include "media/openal/sound_device_factory.h"
#include "media_test_support.h"
#include "support/address_space.h"
#include "support/wav_bytes.h"

namespace velmoria {
namespace {

using test::TempDir;

// Writes a sine of the given frequency and peak (1.0 = full scale) through libsndfile.
bool writeSine(const std::filesystem::path& file, int format, int channels, int rate, double hz,
               double peak, int frames) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = SF_FORMAT_WAV | format;
  SNDFILE* sf = sf_open(file.c_str(), SFM_WRITE, &info);
  if (!sf) return false;
  std::vector<double> samples(static_cast<size_t>(frames) * channels);
  for (int f = 0; f < frames; ++f)
    for (int c = 0; c < channels; ++c)
      samples[size_t(f) * channels + c] = peak * std::sin(2 * std::numbers::pi * hz * f / rate);
  sf_writef_double(sf, samples.data(), frames);
  sf_close(sf);
  return true;
}

struct WaveFormat {
  const char* name;
  int format;
  int channels;
  double slackMs;  // ADPCM pads the last block (up to 2041 frames)
  double peakTolerance;
};

class WaveFile : public ::testing::TestWithParam<WaveFormat> {};

TEST_P(WaveFile, loads_as_stereo_with_its_duration_and_level) {
  TempDir dir;
  const auto file = dir / "tone.wav";
  const auto& p = GetParam();
  // 11025 frames at 22050 Hz: half a second of a 441 Hz tone at half scale.
  ASSERT_TRUE(writeSine(file, p.format, p.channels, 22050, 441, 0.5, 11025));
  const auto wave = readStereoWave(file);
  ASSERT_TRUE(wave.has_value());
  EXPECT_EQ(wave->sampleRate, 22050);
  EXPECT_EQ(wave->fileChannels, p.channels);
  EXPECT_GE(wave->durationMs(), 500.0 - 1e-9);
  EXPECT_LE(wave->durationMs(), 500.0 + p.slackMs);
  int peakLeft = 0, peakRight = 0;
  for (size_t i = 0; i < wave->samples.size(); i += 2) {
    peakLeft = std::max(peakLeft, std::abs(int(wave->samples[i])));
    peakRight = std::max(peakRight, std::abs(int(wave->samples[i + 1])));
  }
  EXPECT_NEAR(peakLeft, 16384, 16384 * p.peakTolerance);
  EXPECT_NEAR(peakRight, 16384, 16384 * p.peakTolerance);  // a mono file on both sides
}

INSTANTIATE_TEST_SUITE_P(
    Formats, WaveFile,
    ::testing::Values(WaveFormat{"u8_mono", SF_FORMAT_PCM_U8, 1, 0, 0.02},
                      WaveFormat{"s16_mono", SF_FORMAT_PCM_16, 1, 0, 0.01},
                      WaveFormat{"s16_stereo", SF_FORMAT_PCM_16, 2, 0, 0.01},
                      WaveFormat{"ima_adpcm_mono", SF_FORMAT_IMA_ADPCM, 1, 100, 0.1},
                      WaveFormat{"ima_adpcm_stereo", SF_FORMAT_IMA_ADPCM, 2, 100, 0.1},
                      WaveFormat{"ms_adpcm_mono", SF_FORMAT_MS_ADPCM, 1, 100, 0.1},
                      WaveFormat{"ulaw_mono", SF_FORMAT_ULAW, 1, 0, 0.03},
                      WaveFormat{"alaw_stereo", SF_FORMAT_ALAW, 2, 0, 0.03},
                      WaveFormat{"float_mono", SF_FORMAT_FLOAT, 1, 0, 0.01}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WaveFileErrors, missing_empty_and_foreign_files_do_not_load) {
  TempDir dir;
  test::writeFile(dir / "text.wav", "RIFF....WAVEfmt this is broken");
  test::writeFile(dir / "empty.wav", "");
  EXPECT_FALSE(readStereoWave(dir / "missing.wav"));
  EXPECT_FALSE(readStereoWave(dir / "text.wav"));
  EXPECT_FALSE(readStereoWave(dir / "empty.wav"));
  // A FIFO named as a sound would block the open for ever.
  ASSERT_EQ(::mkfifo((dir / "pipe.wav").c_str(), 0600), 0);
  EXPECT_FALSE(readStereoWave(dir / "pipe.wav"));
}

// 100 ms of 8-bit mono at 8000 Hz, chunk by chunk, with sizes as given.
std::string wavClaiming(std::optional<uint32_t> fmtSize, std::optional<uint32_t> dataSize,
                        size_t samplesPresent = 800) {
  return test::wavFile(test::riffChunk("fmt ", test::wavFmtBody(1, 1, 8000, 8), fmtSize) +
                       test::riffChunk("data", std::string(samplesPresent, '\x40'), dataSize));
}

struct HeaderCase {
  const char* name;
  std::string bytes;
  double durationMs;  // -1: does not load
  friend void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.name; }
};

class WaveHeader : public ::testing::TestWithParam<HeaderCase> {};

// Chunk sizes that claim more than the file holds: the wave is the samples present.
TEST_P(WaveHeader, loads_the_samples_present_whatever_the_sizes_claim) {
  TempDir dir;
  test::writeFile(dir / "a.wav", GetParam().bytes);
  const auto wave = readStereoWave(dir / "a.wav");
  if (GetParam().durationMs < 0) {
    EXPECT_FALSE(wave.has_value());
    return;
  }
  ASSERT_TRUE(wave.has_value());
  EXPECT_DOUBLE_EQ(wave->durationMs(), GetParam().durationMs);
  EXPECT_EQ(wave->samples.size(), static_cast<size_t>(2 * 8 * GetParam().durationMs));
}

INSTANTIATE_TEST_SUITE_P(
    Files, WaveHeader,
    ::testing::Values(HeaderCase{"plain", wavClaiming(std::nullopt, std::nullopt), 100.0},
                      HeaderCase{"data_claims_2_gb", wavClaiming(std::nullopt, 0x7ffffff0u), 100.0},
                      HeaderCase{"data_claims_4_gb", wavClaiming(std::nullopt, 0xfffffff0u), 100.0},
                      HeaderCase{"data_cut_short", wavClaiming(std::nullopt, 800, 400), 50.0},
                      HeaderCase{"fmt_claims_4_gb", wavClaiming(0xfffffff0u, std::nullopt), -1}),
    [](const auto& info) { return std::string(info.param.name); });

// In a child process: loads the file with only 3 GB of address space to spare and ends with 0
// when it does not load, 2 when it does.
[[noreturn]] void loadWithin3Gb(const std::filesystem::path& file) {
  if (!test::limitAddressSpaceToMore(test::kThreeGigabytes)) std::_Exit(3);
  std::_Exit(readStereoWave(file).has_value() ? 2 : 0);
}

// A fmt chunk claiming 4 GB is refused without allocating anything like it.
TEST(WaveHeaderDeathTest, an_oversized_fmt_chunk_is_refused_within_3_gb) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // the Qt application has threads
  TempDir dir;
  test::writeFile(dir / "a.wav", wavClaiming(0xfffffff0u, std::nullopt));
  EXPECT_EXIT(loadWithin3Gb(dir / "a.wav"), ::testing::ExitedWithCode(0), "");
}

// Amplitude of the component at hz in one side of interleaved stereo (Goertzel).
double amplitudeAt(const std::vector<float>& stereo, int side, double hz, int rate) {
  const size_t n = stereo.size() / 2;
  const double w = 2 * std::numbers::pi * hz / rate;
  double s1 = 0, s2 = 0;
  for (size_t i = 0; i < n; ++i) {
    const double s0 = stereo[2 * i + side] + 2 * std::cos(w) * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  const double power = s1 * s1 + s2 * s2 - 2 * std::cos(w) * s1 * s2;
  return 2 * std::sqrt(power) / n;
}

double peakOf(const std::vector<float>& stereo) {
  double peak = 0;
  for (float s : stereo) peak = std::max(peak, double(std::fabs(s)));
  return peak;
}

class Loopback : public ::testing::Test {
 protected:
  static constexpr int kRate = 48000;
  // What a half-scale tone on one channel at volume 0 comes out at: the mix's headroom.
  static constexpr double kFull = 0.5 * OpenAlSoundDevice::kMasterGain;
  void SetUp() override {
    device = OpenAlSoundDevice::openLoopback(kRate);
    if (!device) GTEST_SKIP() << "OpenAL has no loopback rendering here";
  }
  WaveId tone(const std::string& name, int rate, double hz, int frames, int channels = 1) {
    const auto file = dir / name;
    EXPECT_TRUE(writeSine(file, SF_FORMAT_PCM_16, channels, rate, hz, 0.5, frames));
    return device->loadWave(file);
  }
  // Renders a tenth of a second (after letting the mixer settle for as long).
  std::vector<float> render() {
    std::vector<float> out(size_t(kRate / 10) * 2);
    device->render(out.data(), kRate / 10);
    device->render(out.data(), kRate / 10);
    return out;
  }
  TempDir dir;
  std::unique_ptr<OpenAlSoundDevice> device;
};

TEST_F(Loopback, two_channels_mix_at_their_volumes_and_pitches) {
  const WaveId a = tone("a.wav", 22050, 1000, 22050);  // mono, 1 s
  const WaveId b = tone("b.wav", 8000, 500, 8000);     // mono, 1 s at 8 kHz
  ASSERT_GE(a, 0);
  ASSERT_GE(b, 0);
  device->attach(3, a);
  device->attach(200, b);
  device->setVolume(3, -600);            // 10^(-600/2000) = 0.501
  device->setFrequencyFactor(200, 3.0);  // 500 Hz played at 24 kHz sounds at 1500 Hz
  device->playLooped(3);
  device->playLooped(200);
  const auto out = render();
  for (int side : {0, 1}) {
    EXPECT_NEAR(amplitudeAt(out, side, 1000, kRate), kFull * 0.501, kFull * 0.501 * 0.06);
    EXPECT_NEAR(amplitudeAt(out, side, 1500, kRate), kFull, kFull * 0.06);
    EXPECT_LT(amplitudeAt(out, side, 500, kRate), 0.01);
  }
  EXPECT_TRUE(device->isPlaying(3));
  EXPECT_TRUE(device->isPlaying(200));
  EXPECT_EQ(device->volume(3), -600);
}

TEST_F(Loopback, stereo_waves_keep_their_sides) {
  const auto file = dir / "left.wav";
  SF_INFO info{};
  info.samplerate = 24000;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* sf = sf_open(file.c_str(), SFM_WRITE, &info);
  ASSERT_NE(sf, nullptr);
  std::vector<short> samples(24000 * 2);
  for (int f = 0; f < 24000; ++f)
    samples[2 * f] = short(16384 * std::sin(2 * std::numbers::pi * 600 * f / 24000));
  sf_writef_short(sf, samples.data(), 24000);
  sf_close(sf);
  const WaveId w = device->loadWave(file);
  device->attach(0, w);
  device->playOnce(0);
  const auto out = render();
  EXPECT_NEAR(amplitudeAt(out, 0, 600, kRate), kFull, 0.03);
  EXPECT_LT(amplitudeAt(out, 1, 600, kRate), 0.01);
}

TEST_F(Loopback, silence_at_minus_10000_and_at_frequency_factor_zero) {
  const WaveId a = tone("a.wav", 22050, 1000, 22050);
  device->attach(10, a);
  device->attach(11, a);
  device->setVolume(10, -10000);
  device->playLooped(10);
  device->setFrequencyFactor(11, 0.0);
  device->playLooped(11);
  EXPECT_FALSE(device->isPlaying(11));
  EXPECT_LT(peakOf(render()), 1e-4);
  EXPECT_TRUE(device->isPlaying(10));
  // A playing channel whose factor drops to 0 goes quiet and stops.
  device->setFrequencyFactor(10, 1.0);
  device->setVolume(10, 0);
  EXPECT_GT(peakOf(render()), 0.8 * kFull);
  device->setFrequencyFactor(10, 0.0);
  EXPECT_FALSE(device->isPlaying(10));
  EXPECT_LT(peakOf(render()), 1e-4);
}

TEST_F(Loopback, frequency_factor_is_kept_within_100_hz_and_200_khz) {
  const WaveId a = tone("a.wav", 10000, 1000, 10000);
  device->attach(1, a);
  device->setFrequencyFactor(1, 0.001);  // 10 Hz asked, 100 Hz played: the tone at 10 Hz
  device->playLooped(1);
  auto out = render();
  EXPECT_NEAR(amplitudeAt(out, 0, 10, kRate), kFull, 0.1);
}

TEST_F(Loopback, a_one_shot_ends_and_can_restart_from_the_start) {
  const WaveId a = tone("short.wav", 48000, 1000, 2400);  // 50 ms
  device->attach(5, a);
  device->playOnce(5);
  EXPECT_TRUE(device->isPlaying(5));
  render();
  EXPECT_FALSE(device->isPlaying(5));
  device->playOnce(5);
  EXPECT_TRUE(device->isPlaying(5));
  device->stop(5);
  EXPECT_FALSE(device->isPlaying(5));
  EXPECT_NEAR(device->waveDurationMs(a), 50.0, 1e-9);
}

TEST_F(Loopback, reinitialise_leaves_every_channel_empty) {
  const WaveId a = tone("a.wav", 22050, 1000, 22050);
  for (int ch : {0, 128, 255}) {
    device->attach(ch, a);
    device->playLooped(ch);
  }
  ASSERT_TRUE(device->reinitialise());
  for (int ch : {0, 128, 255}) {
    EXPECT_FALSE(device->isPlaying(ch));
    device->playOnce(ch);  // no wave attached any more
    EXPECT_FALSE(device->isPlaying(ch));
  }
  EXPECT_LT(peakOf(render()), 1e-4);
  device->attach(7, a);  // waves survive and can be attached again
  device->playOnce(7);
  EXPECT_TRUE(device->isPlaying(7));
}

TEST_F(Loopback, channels_outside_0_to_255_and_unknown_waves_are_ignored) {
  const WaveId a = tone("a.wav", 22050, 1000, 22050);
  for (int ch : {-1, 256, 1000}) {
    device->attach(ch, a);
    device->playOnce(ch);
    device->setVolume(ch, -100);
    device->setFrequencyFactor(ch, 2);
    device->stop(ch);
    EXPECT_FALSE(device->isPlaying(ch));
    EXPECT_EQ(device->volume(ch), 0);
  }
  device->attach(4, a + 100);
  device->playOnce(4);
  EXPECT_FALSE(device->isPlaying(4));
  EXPECT_EQ(device->loadWave(dir / "missing.wav"), -1);
  device->freeWave(a);
  device->attach(4, a);
  device->playOnce(4);
  EXPECT_FALSE(device->isPlaying(4));
}

// Sounds that together peak at up to twice full scale (here seven quarter-scale tones in
// phase, 1.75) come out below full scale; without headroom the limiter would hold every peak
// at full scale, which a sound card plays as clipping.
TEST_F(Loopback, loud_channels_together_stay_below_full_scale) {
  const auto file = dir / "quarter.wav";
  ASSERT_TRUE(writeSine(file, SF_FORMAT_PCM_16, 1, kRate, 1000, 0.25, kRate));
  const WaveId w = device->loadWave(file);
  ASSERT_GE(w, 0);
  for (int ch = 0; ch < 7; ++ch) device->attach(ch, w);
  for (int ch = 0; ch < 7; ++ch) device->playLooped(ch);
  double peak = 0;
  for (int block = 0; block < 5; ++block) peak = std::max(peak, peakOf(render()));
  EXPECT_LT(peak, 1.0);
  EXPECT_NEAR(peak, 7 * 0.25 * OpenAlSoundDevice::kMasterGain, 0.02);
}

// Far more than the headroom holds (64 half-scale tones in phase, 32 times full scale) is
// held at full scale by the limiter rather than passed on for the sound card to clip.
TEST_F(Loopback, a_pile_beyond_the_headroom_is_held_at_full_scale) {
  const WaveId w = tone("a.wav", kRate, 1000, kRate);
  ASSERT_GE(w, 0);
  for (int ch = 0; ch < 64; ++ch) device->attach(ch, w);
  for (int ch = 0; ch < 64; ++ch) device->playLooped(ch);
  for (int block = 0; block < 5; ++block) EXPECT_LE(peakOf(render()), 1.0) << block;
}

struct LevelCase {
  const char* name;
  int quieter;   // hundredths of a decibel on the second channel
  double ratio;  // 10^(quieter/2000)
  friend void PrintTo(const LevelCase& c, std::ostream* os) { *os << c.name; }
};

class LoopbackLevels : public Loopback, public ::testing::WithParamInterface<LevelCase> {};

// The headroom is one gain for the whole mix: two channels keep DirectSound's level ratio,
// and each is the wave's level times its volume's gain times the master gain.
TEST_P(LoopbackLevels, keep_their_ratio_under_the_headroom) {
  const WaveId a = tone("a.wav", 22050, 1000, 22050);
  const WaveId b = tone("b.wav", 22050, 1500, 22050);
  device->attach(10, a);
  device->attach(11, b);
  device->setVolume(11, GetParam().quieter);
  device->playLooped(10);
  device->playLooped(11);
  const auto out = render();
  const double loud = amplitudeAt(out, 0, 1000, kRate);
  const double quiet = amplitudeAt(out, 0, 1500, kRate);
  EXPECT_NEAR(loud, kFull, kFull * 0.03);
  EXPECT_NEAR(quiet / loud, GetParam().ratio, GetParam().ratio * 0.03);
}

INSTANTIATE_TEST_SUITE_P(Volumes, LoopbackLevels,
                         ::testing::Values(LevelCase{"same", 0, 1.0},
                                           LevelCase{"minus_6_db", -600, 0.50119},
                                           LevelCase{"minus_20_db", -2000, 0.1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SoundDeviceFactory, gives_a_working_device_with_or_without_a_sound_card) {
  ManualClock clock;
  auto device = createSoundDevice(clock);
  ASSERT_NE(device, nullptr);
  TempDir dir;
  ASSERT_TRUE(writeSine(dir / "a.wav", SF_FORMAT_PCM_16, 1, 22050, 440, 0.5, 22050));
  const WaveId w = device->loadWave(dir / "a.wav");
  ASSERT_GE(w, 0);
  device->attach(0, w);
  device->playLooped(0);
  EXPECT_TRUE(device->isPlaying(0));
  device->stop(0);
  EXPECT_FALSE(device->isPlaying(0));
}

#ifdef VELMORIA_SOUND_PROBE
struct ProbeCase {
  const char* name;
  const char* drivers;             // ALSOFT_DRIVERS for the probe
  bool logLevel;                   // ALSOFT_LOGLEVEL=1 set as well
  bool thenAlsaError;              // ALSA is made to fail once more after the probe
  const char* device;              // what the probe program says it got
  std::vector<std::string> lines;  // its standard error, line by line (regular expressions)
  friend void PrintTo(const ProbeCase& c, std::ostream* os) { *os << c.name; }
};

class SoundDeviceProbe : public ::testing::TestWithParam<ProbeCase> {};

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Starting without a sound card says so in one line, instead of ALSA's and OpenAL Soft's own
// complaints from the probe; errors after the probe still show, and so does everything when
// OpenAL's log was asked for. "No card" is an ALSA device name that names nothing, which
// ALSA and OpenAL Soft report as they report a missing card.
TEST_P(SoundDeviceProbe, says_once_that_sound_is_off_and_nothing_more) {
  const ProbeCase& c = GetParam();
  TempDir dir;
  test::writeFile(dir / "alsoft.conf", "[alsa]\ndevice = velmoria_no_such_card\n");
  std::string env =
      "env -u ALSOFT_LOGLEVEL -u ALSOFT_LOGFILE ALSOFT_DRIVERS=" + std::string(c.drivers) +
      " ALSOFT_CONF=" + (dir / "alsoft.conf").string();
  if (c.logLevel) env += " ALSOFT_LOGLEVEL=1";
  const std::string command = env + " " + VELMORIA_SOUND_PROBE +
                              (c.thenAlsaError ? " --then-alsa-error" : "") + " > " +
                              (dir / "out.txt").string() + " 2> " + (dir / "err.txt").string();
  ASSERT_EQ(std::system(command.c_str()), 0) << test::readFile(dir / "err.txt");
  EXPECT_EQ(test::readFile(dir / "out.txt"), std::string(c.device) + "\n");
  const auto err = linesOf(test::readFile(dir / "err.txt"));
  ASSERT_EQ(err.size(), c.lines.size()) << test::readFile(dir / "err.txt");
  for (size_t i = 0; i < err.size(); ++i) {
    EXPECT_TRUE(std::regex_match(err[i], std::regex(c.lines[i]))) << err[i];
  }
}

const std::string kSoundOff = "velmoria: no sound device found; sound is off";

INSTANTIATE_TEST_SUITE_P(
    Factory, SoundDeviceProbe,
    ::testing::Values(ProbeCase{"no_card", "alsa", false, false, "null", {kSoundOff}},
                      ProbeCase{"no_card_then_an_alsa_error",
                                "alsa",
                                false,
                                true,
                                "null",
                                {kSoundOff, "ALSA lib .*Unknown PCM velmoria_no_such_pcm"}},
                      ProbeCase{
                          "no_card_with_openal_log_asked_for",
                          "alsa",
                          true,
                          false,
                          "null",
                          {"ALSA lib .*velmoria_no_such_card", "AL lib: \\(EE\\) .*", kSoundOff}},
                      ProbeCase{"a_device_opens", "null", false, false, "openal", {}}),
    [](const auto& info) { return std::string(info.param.name); });
#endif

}  // namespace
}  // namespace velmoria
