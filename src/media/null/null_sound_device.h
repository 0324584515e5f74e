#pragma once
// A sound device that makes no sound but keeps time like a real one: a channel started once
// "plays" for its wave's real duration (from the WAV header) divided by its frequency factor,
// measured on the given clock. A frequency factor of 0 stops the channel and keeps it from
// starting, as the OpenAL device does. Used by the tests and by velmoria-drive.
#include <array>
#include <filesystem>
#include <map>
#include <optional>

#include "media/clock.h"
#include "media/sound_device.h"

namespace velmoria {

// Duration in milliseconds of a WAV file, from its header; nullopt when it is not a WAV.
std::optional<double> wavDurationMs(const std::filesystem::path& file);

class NullSoundDevice : public SoundDevice {
 public:
  explicit NullSoundDevice(const Clock& clock) : m_clock(clock) {}

  WaveId loadWave(const std::filesystem::path& file) override;
  WaveId loadPcm(const PcmSound& pcm) override;
  void freeWave(WaveId wave) override;
  void attach(int channel, WaveId wave) override;
  void playOnce(int channel) override;
  void playLooped(int channel) override;
  void stop(int channel) override;
  bool isPlaying(int channel) const override;
  void setVolume(int channel, int hundredthsDb) override;
  int volume(int channel) const override;
  void setFrequencyFactor(int channel, double factor) override;
  bool reinitialise() override;

  // For tests: a wave of a given length without a file.
  WaveId addWave(double durationMs);
  WaveId attachedWave(int channel) const;
  bool hasWave(WaveId wave) const { return m_waves.count(wave) != 0; }
  double waveDurationMs(WaveId wave) const;  // 0 for an unknown id
  double frequencyFactor(int channel) const;
  bool isLooping(int channel) const;
  int playCount(int channel) const;  // how often the channel was asked to start

 private:
  struct Channel {
    WaveId wave = -1;
    bool started = false;
    bool looping = false;
    int64_t startMs = 0;
    int volume = 0;
    double factor = 1.0;
    int plays = 0;
  };
  static bool valid(int channel) { return channel >= 0 && channel < kSoundChannels; }
  void start(int channel, bool looped);

  const Clock& m_clock;
  std::map<WaveId, double> m_waves;  // id -> duration in ms
  WaveId m_next = 0;
  std::array<Channel, kSoundChannels> m_channels{};
};

}  // namespace velmoria
