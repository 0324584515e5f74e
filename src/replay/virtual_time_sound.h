#pragma once
// The sound device of a replay in the cab window: every call goes to the desktop's device, so
// the replay is heard, while what the run's rules ask back (is a channel still playing, its
// volume) is answered by a NullSoundDevice on the replay's virtual clock, as velmoria-drive
// answers it. A sound then ends at the same tick as in the stored run, at 1x or 4x. A wave is
// valid when the model can time it. UI thread; both devices and the clock outlive this one.
#include <map>

#include "media/clock.h"
#include "media/null/null_sound_device.h"
#include "media/sound_device.h"

namespace velmoria::replay {

class VirtualTimeSound : public SoundDevice {
 public:
  VirtualTimeSound(SoundDevice& heard, const Clock& virtualClock)
      : m_heard(heard), m_model(virtualClock) {}

  WaveId loadWave(const std::filesystem::path& file) override;
  WaveId loadPcm(const PcmSound& pcm) override;
  void freeWave(WaveId wave) override;
  void attach(int channel, WaveId wave) override;
  void playOnce(int channel) override;
  void playLooped(int channel) override;
  void stop(int channel) override;
  bool isPlaying(int channel) const override { return m_model.isPlaying(channel); }
  void setVolume(int channel, int hundredthsDb) override;
  int volume(int channel) const override { return m_model.volume(channel); }
  void setFrequencyFactor(int channel, double factor) override;
  bool reinitialise() override;

  const NullSoundDevice& model() const { return m_model; }

 private:
  struct Pair {
    WaveId heard = -1, model = -1;
  };
  WaveId add(WaveId heard, WaveId model);

  SoundDevice& m_heard;
  NullSoundDevice m_model;
  std::map<WaveId, Pair> m_waves;
  WaveId m_next = 0;
};

}  // namespace velmoria::replay
