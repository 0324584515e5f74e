#pragma once
// The 256 sound channels on OpenAL Soft, one source per channel, with DirectSound's levels:
// every wave is stereo (mono files duplicated at load), no distance attenuation, sources at
// the listener. Volume v (hundredths of a decibel, 0 .. -10000) is gain 10^(v/2000); a
// frequency factor is the pitch, kept so that the wave plays between 100 Hz and 200 kHz as
// DirectSound allowed; factor 0 (or less) silences the channel and it reports not playing.
// The mix as a whole plays at kMasterGain, with OpenAL Soft's output limiter behind it.
// UI thread only. The device owns its waves and sources; destroying it frees them.
#include <array>
#include <map>
#include <memory>

#include "media/sound_device.h"

struct ALCdevice_struct;
struct ALCcontext_struct;

namespace velmoria {

class OpenAlSoundDevice : public SoundDevice {
 public:
  // Gain of the whole mix (6 dB of headroom): many channels at full volume together would
  // otherwise clip. Every channel's level relative to the others stays DirectSound's.
  static constexpr float kMasterGain = 0.5f;

  // The system's default output; nullptr when there is no sound card (or no OpenAL).
  static std::unique_ptr<OpenAlSoundDevice> openDefault();
  // A device that renders only when asked (ALC_SOFT_loopback): exact and without a sound
  // card, for tests and offline checks. nullptr when the extension is missing.
  static std::unique_ptr<OpenAlSoundDevice> openLoopback(int sampleRate);
  ~OpenAlSoundDevice() override;
  OpenAlSoundDevice(const OpenAlSoundDevice&) = delete;
  OpenAlSoundDevice& operator=(const OpenAlSoundDevice&) = delete;

  WaveId loadWave(const std::filesystem::path& file) override;
  WaveId loadPcm(const PcmSound& pcm) override;  // mono duplicated to stereo, as for files
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

  // Length of a loaded wave in milliseconds (0 for an unknown id).
  double waveDurationMs(WaveId wave) const;
  // Loopback devices: mixes the next frames into interleaved stereo floats.
  bool render(float* interleavedStereo, int frames);

 private:
  struct Wave {
    unsigned buffer = 0;
    int sampleRate = 0;
    double durationMs = 0;
  };
  struct Channel {
    unsigned source = 0;
    WaveId wave = -1;
    int volume = 0;
    double factor = 1.0;
  };
  OpenAlSoundDevice(ALCdevice_struct* device, ALCcontext_struct* context, bool loopback);
  static bool valid(int channel) { return channel >= 0 && channel < kSoundChannels; }
  bool makeCurrent() const;
  WaveId addBuffer(const int16_t* stereo, size_t frames, int sampleRate);
  bool createSources();
  void deleteSources();
  void start(int channel, bool looped);
  void applyPitch(Channel& c);
  const Wave* waveOf(const Channel& c) const;

  ALCdevice_struct* m_device;
  ALCcontext_struct* m_context;
  bool m_loopback;
  std::map<WaveId, Wave> m_waves;
  WaveId m_next = 0;
  std::array<Channel, kSoundChannels> m_channels{};
};

}  // namespace velmoria
