#pragma once
// A sound held in memory as 16-bit PCM: a movie's sound track, decoded by a media backend and
// handed to the sound device (SoundDevice::loadPcm), which copies it. Plain data; any thread.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace velmoria {

struct PcmSound {
  int sampleRate = 0;            // frames a second
  int channels = 0;              // 1 (mono) or 2 (stereo, left first)
  std::vector<int16_t> samples;  // interleaved
  size_t frames() const {
    return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0;
  }
  double durationMs() const { return sampleRate > 0 ? 1000.0 * frames() / sampleRate : 0; }
};

// Reads the sound track of a media file, at most maxSeconds of it from the start; nullopt when
// the file has none or it cannot be decoded. Called on the UI thread.
using SoundTrackReader =
    std::function<std::optional<PcmSound>(const std::filesystem::path& file, double maxSeconds)>;

}  // namespace velmoria
