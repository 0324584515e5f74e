#include "media/null/null_sound_device.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <limits>

#include "media/clock.h"
#include "support/address_space.h"
#include "support/data_files.h"
#include "support/wav_bytes.h"

namespace velmoria {
namespace {

class NullSound : public ::testing::Test {
 protected:
  ManualClock clock;
  NullSoundDevice device{clock};
  WaveId wave = device.addWave(1000);
};

TEST_F(NullSound, a_one_shot_plays_for_its_length_divided_by_the_factor) {
  device.attach(3, wave);
  device.setFrequencyFactor(3, 2.0);
  device.playOnce(3);
  clock.set(499);
  EXPECT_TRUE(device.isPlaying(3));
  clock.set(500);
  EXPECT_FALSE(device.isPlaying(3));
}

// The OpenAL device goes quiet and stops at factor 0 (DirectSound's rates start at 100 Hz);
// the null device must agree, or the run loop would behave differently in tests.
TEST_F(NullSound, frequency_factor_zero_stops_a_channel_and_keeps_it_from_starting) {
  device.attach(10, wave);
  device.attach(11, wave);
  device.playLooped(10);
  device.setFrequencyFactor(10, 0.0);
  EXPECT_FALSE(device.isPlaying(10));
  device.setFrequencyFactor(10, 1.0);
  EXPECT_FALSE(device.isPlaying(10)) << "a new rate does not restart it";

  device.setFrequencyFactor(11, 0.0);
  device.playOnce(11);
  EXPECT_FALSE(device.isPlaying(11));
  EXPECT_EQ(device.playCount(11), 1) << "the request is still counted";
  device.setFrequencyFactor(11, std::numeric_limits<double>::quiet_NaN());
  device.playLooped(11);
  EXPECT_FALSE(device.isPlaying(11));
  device.setFrequencyFactor(11, 0.5);
  device.playLooped(11);
  EXPECT_TRUE(device.isPlaying(11));
}

struct PcmCase {
  const char* name;
  int sampleRate;
  int channels;
  size_t samples;
  double durationMs;  // -1: refused
};

class NullSoundPcm : public NullSound, public ::testing::WithParamInterface<PcmCase> {};

// A sound in memory lasts its frames over its rate: 22050 mono samples at 22050 Hz are 1 s,
// 44100 stereo samples at 44100 Hz (22050 frames) half a second.
TEST_P(NullSoundPcm, keeps_time_by_frames_over_rate_and_refuses_what_cannot_play) {
  const PcmCase& c = GetParam();
  PcmSound pcm;
  pcm.sampleRate = c.sampleRate;
  pcm.channels = c.channels;
  pcm.samples.assign(c.samples, 1000);
  const WaveId id = device.loadPcm(pcm);
  if (c.durationMs < 0) {
    EXPECT_EQ(id, -1);
    return;
  }
  ASSERT_GE(id, 0);
  EXPECT_DOUBLE_EQ(device.waveDurationMs(id), c.durationMs);
  device.attach(7, id);
  device.playOnce(7);
  clock.set(static_cast<int64_t>(c.durationMs) - 1);
  EXPECT_TRUE(device.isPlaying(7));
  clock.set(static_cast<int64_t>(c.durationMs));
  EXPECT_FALSE(device.isPlaying(7));
  device.freeWave(id);
  EXPECT_FALSE(device.hasWave(id));
  EXPECT_EQ(device.attachedWave(7), -1);
}

INSTANTIATE_TEST_SUITE_P(Pcm, NullSoundPcm,
                         ::testing::Values(PcmCase{"mono_one_second", 22050, 1, 22050, 1000.0},
                                           PcmCase{"stereo_half_second", 44100, 2, 44100, 500.0},
                                           PcmCase{"empty", 22050, 1, 0, -1},
                                           PcmCase{"no_rate", 0, 1, 100, -1},
                                           PcmCase{"three_channels", 22050, 3, 300, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

// 100 ms of 8-bit mono at 8000 Hz: 800 bytes of samples.
const std::string kFmt = test::riffChunk("fmt ", test::wavFmtBody(1, 1, 8000, 8));
const std::string kSamples(800, '\x80');

struct HeaderCase {
  const char* name;
  std::string bytes;
  double durationMs;  // -1: not a sound
  friend void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.name; }
};

class WavHeader : public ::testing::TestWithParam<HeaderCase> {};

// A clip lasts as long as the samples the file holds, whatever its chunk sizes claim: a data
// chunk claiming 2 GB would otherwise keep a channel "playing" for 74 hours, and a run that
// waits for it (the door chime) would never go on.
TEST_P(WavHeader, duration_comes_from_the_data_present) {
  test::TempDataFolder dir;
  dir.writeBytes("a.wav", GetParam().bytes);
  const auto duration = wavDurationMs(dir.root() / "a.wav");
  if (GetParam().durationMs < 0) {
    EXPECT_FALSE(duration.has_value());
    return;
  }
  ASSERT_TRUE(duration.has_value());
  EXPECT_DOUBLE_EQ(*duration, GetParam().durationMs);
}

TEST(WavHeaderFile, a_fifo_named_as_a_sound_is_no_sound_and_does_not_block) {
  test::TempDataFolder dir;
  const auto fifo = dir.root() / "pipe.wav";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(wavDurationMs(fifo).has_value());
}

// IMA ADPCM, mono, 8000 Hz: 256-byte blocks of 505 frames, 4055 bytes a second.
std::string adpcmFmt() {
  std::string body = test::le16(0x11) + test::le16(1) + test::le32(8000) + test::le32(4055) +
                     test::le16(256) + test::le16(4) + test::le16(2) + test::le16(505);
  return test::riffChunk("fmt ", body);
}

INSTANTIATE_TEST_SUITE_P(
    Files, WavHeader,
    ::testing::Values(
        HeaderCase{"plain", test::wavFile(kFmt + test::riffChunk("data", kSamples)), 100.0},
        HeaderCase{"data_claims_2_gb",
                   test::wavFile(kFmt + test::riffChunk("data", kSamples, 0x7ffffff0u)), 100.0},
        HeaderCase{"data_claims_4_gb",
                   test::wavFile(kFmt + test::riffChunk("data", kSamples, 0xfffffff0u)), 100.0},
        HeaderCase{"data_cut_short",
                   test::wavFile(kFmt + test::riffChunk("data", kSamples.substr(0, 400), 800)),
                   50.0},
        HeaderCase{"fmt_with_extra_bytes",
                   test::wavFile(test::riffChunk("fmt ", test::wavFmtBody(1, 1, 8000, 8) +
                                                             std::string(6, '\0')) +
                                 test::riffChunk("data", kSamples)),
                   100.0},
        HeaderCase{
            "fmt_claims_4_gb",
            test::wavFile(test::riffChunk("fmt ", test::wavFmtBody(1, 1, 8000, 8), 0xfffffff0u) +
                          test::riffChunk("data", kSamples)),
            -1},
        HeaderCase{"list_claims_past_the_end",
                   test::wavFile(kFmt + test::riffChunk("LIST", "INFO", 0x10000000u) +
                                 test::riffChunk("data", kSamples)),
                   -1},
        // 2020 frames in 4 blocks: the fact chunk's count when the data holds it ...
        HeaderCase{"adpcm_fact",
                   test::wavFile(adpcmFmt() + test::riffChunk("fact", test::le32(2020)) +
                                 test::riffChunk("data", std::string(1024, '\0'))),
                   252.5},
        // ... and no more than the data's length when the count claims more.
        HeaderCase{"adpcm_fact_claims_too_much",
                   test::wavFile(adpcmFmt() + test::riffChunk("fact", test::le32(0x7fffffffu)) +
                                 test::riffChunk("data", std::string(1024, '\0'))),
                   1000.0 * 1024 / 4055}),
    [](const auto& info) { return std::string(info.param.name); });

// In a child process: reads the file's duration with only 3 GB of address space to spare and
// ends with 0 when it is no sound, 2 when it is one.
[[noreturn]] void durationWithin3Gb(const std::filesystem::path& file) {
  if (!test::limitAddressSpaceToMore(test::kThreeGigabytes)) std::_Exit(3);
  std::_Exit(wavDurationMs(file).has_value() ? 2 : 0);
}

// A fmt chunk claiming 4 GB costs no 4 GB: with only 3 GB of address space to spare, reading
// the file's duration neither fails to allocate nor aborts (the file is no sound: the chunk
// swallows the rest of it).
TEST(WavHeaderDeathTest, an_oversized_fmt_chunk_is_read_within_3_gb) {
  test::TempDataFolder dir;
  dir.writeBytes(
      "a.wav", test::wavFile(test::riffChunk("fmt ", test::wavFmtBody(1, 1, 8000, 8), 0xfffffff0u) +
                             test::riffChunk("data", kSamples)));
  EXPECT_EXIT(durationWithin3Gb(dir.root() / "a.wav"), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace velmoria
