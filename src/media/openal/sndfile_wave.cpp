#include "media/openal/sndfile_wave.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

#include "frame/file_bytes.h"

namespace velmoria {

namespace {
int16_t toShort(float x) {
  const long v = std::lround(static_cast<double>(x) * 32768.0);
  return static_cast<int16_t>(std::clamp<long>(v, -32768, 32767));
}
}  // namespace

std::optional<StereoWave> readStereoWave(const std::filesystem::path& file) {
  // A FIFO or device would block the open or never end: only regular files are waves.
  if (!isRegularFile(file)) return std::nullopt;
  SF_INFO info{};
  SNDFILE* sf = sf_open(file.c_str(), SFM_READ, &info);
  if (!sf) return std::nullopt;
  StereoWave wave;
  wave.sampleRate = info.samplerate;
  wave.fileChannels = info.channels;
  // The frame count can be an estimate (ADPCM pads to its block size): read until the end.
  // Read as floats in -1..1 (libsndfile normalises every format so, and its own float-to-short
  // path would either truncate float files or scale them to their peak).
  std::vector<float> block(static_cast<size_t>(4096) * (info.channels > 0 ? info.channels : 1));
  const sf_count_t blockFrames = 4096;
  for (;;) {
    if (info.channels <= 0 || info.samplerate <= 0) break;
    const sf_count_t got = sf_readf_float(sf, block.data(), blockFrames);
    if (got <= 0) break;
    for (sf_count_t f = 0; f < got; ++f) {
      const float* frame = &block[static_cast<size_t>(f) * info.channels];
      wave.samples.push_back(toShort(frame[0]));
      wave.samples.push_back(toShort(info.channels >= 2 ? frame[1] : frame[0]));
    }
  }
  sf_close(sf);
  if (wave.samples.empty() || wave.sampleRate <= 0) return std::nullopt;
  return wave;
}

}  // namespace velmoria
