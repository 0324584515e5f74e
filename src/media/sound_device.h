#pragma once
// The 256 sound channels. The core decides what plays; a backend makes the sound.
// All calls come from the UI thread (run loop, input handlers, creation). Channel numbers
// outside 0..255 and unknown wave ids are ignored. Volumes are hundredths of a decibel
// (0 full, -10000 silent); a frequency factor multiplies the wave's own sampling rate.
#include <filesystem>

#include "media/pcm_sound.h"

namespace velmoria {

using WaveId = int;  // -1: no wave
constexpr int kSoundChannels = 256;

class SoundDevice {
 public:
  virtual ~SoundDevice() = default;
  // Wave data from a WAV file; -1 when it cannot be read. The device owns the data.
  virtual WaveId loadWave(const std::filesystem::path& file) = 0;
  // Wave data from samples in memory (a movie's sound track), copied; -1 when there are no
  // samples, the format is not mono or stereo, or the device cannot take it.
  virtual WaveId loadPcm(const PcmSound& pcm) = 0;
  virtual void freeWave(WaveId wave) = 0;
  // Puts a wave on a channel (stopping what played there); -1 leaves the channel empty.
  virtual void attach(int channel, WaveId wave) = 0;
  virtual void playOnce(int channel) = 0;    // from the start, without looping
  virtual void playLooped(int channel) = 0;  // from the start, looping
  virtual void stop(int channel) = 0;
  virtual bool isPlaying(int channel) const = 0;
  virtual void setVolume(int channel, int hundredthsDb) = 0;
  virtual int volume(int channel) const = 0;  // the last volume set (0 for a fresh channel)
  virtual void setFrequencyFactor(int channel, double factor) = 0;
  // Every channel recreated empty; false when the device cannot be created again.
  virtual bool reinitialise() = 0;
};

}  // namespace velmoria
