#pragma once
// The 256 sound channels as the run's rules use them: every call is safe without a sound
// device (a run built without one is silent), "start" always stops, rewinds and plays, and
// volumes are kept within what a channel accepts. Held by reference by every subsystem that
// sounds; UI thread only. Volumes are hundredths of a decibel.
#include <cstdint>

#include "media/sound_device.h"

namespace velmoria {

constexpr int kSilent = -10000;  // hundredths of a decibel

class Channels {
 public:
  explicit Channels(SoundDevice* device) : m_device(device) {}
  SoundDevice* device() const { return m_device; }

  bool playing(int channel) const { return m_device && m_device->isPlaying(channel); }
  void stop(int channel) {
    if (m_device) m_device->stop(channel);
  }
  void startOnce(int channel);
  void startLooped(int channel);
  // Clamped to -10000..0: the rules can compute values above full level (a cue faster than
  // its reference speed) and the channels accept none.
  void setVolume(int channel, int64_t hundredthsDb);
  int volume(int channel) const { return m_device ? m_device->volume(channel) : 0; }
  void setFrequency(int channel, double factor) {
    if (m_device) m_device->setFrequencyFactor(channel, factor);
  }
  void attach(int channel, WaveId wave) {
    if (m_device) m_device->attach(channel, wave);
  }

 private:
  SoundDevice* m_device;
};

// round(2000 x log10(ratio)), the level of a ratio in hundredths of a decibel; a ratio of 0 or
// less is silence.
int64_t levelOf(long double ratio);

}  // namespace velmoria
