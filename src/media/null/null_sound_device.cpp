#include "media/null/null_sound_device.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

namespace velmoria {

namespace {
uint32_t le32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}
uint16_t le16(const unsigned char* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
}  // namespace

std::optional<double> wavDurationMs(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  unsigned char head[12];
  if (!in.read(reinterpret_cast<char*>(head), 12)) return std::nullopt;
  if (std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0)
    return std::nullopt;
  uint32_t byteRate = 0, sampleRate = 0, factFrames = 0, dataBytes = 0;
  uint16_t format = 0;
  bool haveFmt = false, haveData = false;
  unsigned char chunk[8];
  while (in.read(reinterpret_cast<char*>(chunk), 8)) {
    const uint32_t size = le32(chunk + 4);
    if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
      std::vector<unsigned char> fmt(size);
      if (!in.read(reinterpret_cast<char*>(fmt.data()), size)) return std::nullopt;
      format = le16(fmt.data());
      sampleRate = le32(fmt.data() + 4);
      byteRate = le32(fmt.data() + 8);
      haveFmt = true;
      if (size & 1) in.seekg(1, std::ios::cur);
    } else if (std::memcmp(chunk, "fact", 4) == 0 && size >= 4) {
      unsigned char f[4];
      if (!in.read(reinterpret_cast<char*>(f), 4)) return std::nullopt;
      factFrames = le32(f);
      in.seekg(size - 4 + (size & 1), std::ios::cur);
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      dataBytes = size;
      haveData = true;
      break;  // the data chunk is last in every file we care about
    } else {
      in.seekg(size + (size & 1), std::ios::cur);
    }
  }
  if (!haveFmt || !haveData || sampleRate == 0) return std::nullopt;
  // Compressed formats (ADPCM) state their length in frames in the fact chunk.
  if (format != 1 && format != 3 && factFrames > 0) return 1000.0 * factFrames / sampleRate;
  if (byteRate == 0) return std::nullopt;
  return 1000.0 * dataBytes / byteRate;
}

WaveId NullSoundDevice::loadWave(const std::filesystem::path& file) {
  const auto duration = wavDurationMs(file);
  if (!duration) return -1;
  return addWave(*duration);
}

WaveId NullSoundDevice::loadPcm(const PcmSound& pcm) {
  if (pcm.sampleRate <= 0 || (pcm.channels != 1 && pcm.channels != 2) || pcm.frames() == 0)
    return -1;
  return addWave(pcm.durationMs());
}

WaveId NullSoundDevice::addWave(double durationMs) {
  m_waves[m_next] = durationMs;
  return m_next++;
}

void NullSoundDevice::freeWave(WaveId wave) {
  m_waves.erase(wave);
  for (auto& c : m_channels)
    if (c.wave == wave) c = Channel{};
}

void NullSoundDevice::attach(int channel, WaveId wave) {
  if (!valid(channel)) return;
  auto& c = m_channels[channel];
  c.started = false;
  c.wave = m_waves.count(wave) ? wave : -1;
}

void NullSoundDevice::start(int channel, bool looped) {
  if (!valid(channel)) return;
  auto& c = m_channels[channel];
  if (c.wave < 0) return;
  ++c.plays;
  // At frequency 0 a channel is held silent, as on the real device: it does not start.
  if (!(c.factor > 0)) return;
  c.started = true;
  c.looping = looped;
  c.startMs = m_clock.nowMs();
}

void NullSoundDevice::playOnce(int channel) {
  start(channel, false);
}
void NullSoundDevice::playLooped(int channel) {
  start(channel, true);
}

void NullSoundDevice::stop(int channel) {
  if (valid(channel)) m_channels[channel].started = false;
}

bool NullSoundDevice::isPlaying(int channel) const {
  if (!valid(channel)) return false;
  const auto& c = m_channels[channel];
  if (!c.started || c.wave < 0) return false;
  if (c.looping) return true;
  const auto it = m_waves.find(c.wave);
  if (it == m_waves.end()) return false;
  return static_cast<double>(m_clock.nowMs() - c.startMs) < it->second / c.factor;
}

void NullSoundDevice::setVolume(int channel, int hundredthsDb) {
  if (valid(channel)) m_channels[channel].volume = hundredthsDb;
}

int NullSoundDevice::volume(int channel) const {
  return valid(channel) ? m_channels[channel].volume : 0;
}

void NullSoundDevice::setFrequencyFactor(int channel, double factor) {
  if (!valid(channel)) return;
  auto& c = m_channels[channel];
  c.factor = std::isfinite(factor) ? factor : 0.0;
  if (!(c.factor > 0)) c.started = false;  // silent and stopped, as on the real device
}

bool NullSoundDevice::reinitialise() {
  m_channels.fill(Channel{});
  return true;
}

WaveId NullSoundDevice::attachedWave(int channel) const {
  return valid(channel) ? m_channels[channel].wave : -1;
}
double NullSoundDevice::waveDurationMs(WaveId wave) const {
  const auto it = m_waves.find(wave);
  return it == m_waves.end() ? 0.0 : it->second;
}
double NullSoundDevice::frequencyFactor(int channel) const {
  return valid(channel) ? m_channels[channel].factor : 1.0;
}
bool NullSoundDevice::isLooping(int channel) const {
  return valid(channel) && m_channels[channel].looping;
}
int NullSoundDevice::playCount(int channel) const {
  return valid(channel) ? m_channels[channel].plays : 0;
}

}  // namespace velmoria
