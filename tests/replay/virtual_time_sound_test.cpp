#include "replay/virtual_time_sound.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/wav_bytes.h"

namespace velmoria::replay {
namespace {

TEST(VirtualTimeSound, is_heard_through_the_device_and_ends_on_the_virtual_clock) {
  ManualClock wall, virtualTime;
  NullSoundDevice heard(wall);
  VirtualTimeSound sound(heard, virtualTime);
  const auto file = std::filesystem::temp_directory_path() /
                    ("velmoria-vts-" + std::to_string(getpid()) + ".wav");
  std::ofstream(file, std::ios::binary) << test::silentWav(500);
  const WaveId wave = sound.loadWave(file);
  ASSERT_GE(wave, 0);
  sound.attach(3, wave);
  sound.setVolume(3, -800);
  sound.setFrequencyFactor(3, 2.0);
  sound.playOnce(3);
  EXPECT_EQ(heard.playCount(3), 1);
  EXPECT_EQ(heard.volume(3), -800);
  EXPECT_DOUBLE_EQ(heard.frequencyFactor(3), 2.0);
  EXPECT_TRUE(sound.isPlaying(3));
  // Twice as fast: a quarter of a second of virtual time, whatever the wall clock says.
  virtualTime.set(260);
  EXPECT_TRUE(heard.isPlaying(3));
  EXPECT_FALSE(sound.isPlaying(3));
  EXPECT_EQ(sound.volume(3), -800);
  sound.stop(3);
  EXPECT_FALSE(heard.isPlaying(3));
  std::filesystem::remove(file);
}

TEST(VirtualTimeSound, a_wave_the_model_cannot_time_is_no_wave) {
  ManualClock wall, virtualTime;
  NullSoundDevice heard(wall);
  VirtualTimeSound sound(heard, virtualTime);
  const auto file = std::filesystem::temp_directory_path() /
                    ("velmoria-vts-bad-" + std::to_string(getpid()) + ".wav");
  std::ofstream(file, std::ios::binary) << "not a wave";
  EXPECT_EQ(sound.loadWave(file), -1);
  sound.attach(4, -1);
  sound.playOnce(4);
  EXPECT_FALSE(sound.isPlaying(4));
  std::filesystem::remove(file);
}

TEST(VirtualTimeSound, freeing_a_wave_frees_it_in_both) {
  ManualClock wall, virtualTime;
  NullSoundDevice heard(wall);
  VirtualTimeSound sound(heard, virtualTime);
  PcmSound pcm;
  pcm.channels = 1;
  pcm.sampleRate = 8000;
  pcm.samples.assign(800, 0);
  const WaveId wave = sound.loadPcm(pcm);
  ASSERT_GE(wave, 0);
  ASSERT_TRUE(heard.hasWave(0));
  sound.freeWave(wave);
  EXPECT_FALSE(heard.hasWave(0));
  EXPECT_FALSE(sound.model().hasWave(0));
}

}  // namespace
}  // namespace velmoria::replay
