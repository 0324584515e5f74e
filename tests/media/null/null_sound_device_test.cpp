#include "media/null/null_sound_device.h"

#include <gtest/gtest.h>

#include <limits>

#include "media/clock.h"

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

}  // namespace
}  // namespace velmoria
