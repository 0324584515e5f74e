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

}  // namespace
}  // namespace velmoria
