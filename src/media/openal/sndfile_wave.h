#pragma once
// Reads a WAV file through libsndfile into 16-bit stereo samples: 8-bit unsigned, 16-bit,
// 24/32-bit, float, IMA and MS ADPCM, u-law and a-law, mono or stereo. A mono file is
// duplicated to both sides so that it plays at the level DirectSound gave it (a centred mono
// source in OpenAL comes out 3 dB or more lower per side). Further channels are dropped.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace velmoria {

struct StereoWave {
  int sampleRate = 0;
  int fileChannels = 0;          // channels in the file (1 or 2 for our data)
  std::vector<int16_t> samples;  // left, right, left, right ...
  size_t frames() const { return samples.size() / 2; }
  double durationMs() const { return sampleRate > 0 ? 1000.0 * frames() / sampleRate : 0; }
};

// nullopt when the file is missing, not a sound libsndfile reads, or empty.
std::optional<StereoWave> readStereoWave(const std::filesystem::path& file);

}  // namespace velmoria
