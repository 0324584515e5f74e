#include "media/null/null_sound_device.h"

#include "frame/file_bytes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>

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
  // A FIFO or device would block the open or never end: only regular files are waves.
  if (!isRegularFile(file)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  const std::streamoff fileSize = in.tellg();
  in.seekg(0);
  unsigned char head[12];
  if (fileSize < 12 || !in.read(reinterpret_cast<char*>(head), 12)) return std::nullopt;
  if (std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0)
    return std::nullopt;
  uint32_t byteRate = 0, sampleRate = 0, factFrames = 0;
  uint64_t dataBytes = 0;
  uint16_t format = 0;
  bool haveFmt = false, haveFact = false, haveData = false;
  unsigned char chunk[8];
  while (in.read(reinterpret_cast<char*>(chunk), 8)) {
    // Whatever a header claims, a chunk ends where the file does: only the bytes present are
    // read, skipped or counted.
    const std::streamoff left = fileSize - in.tellg();
    const uint64_t size = std::min<uint64_t>(le32(chunk + 4), static_cast<uint64_t>(left));
    const uint64_t next = static_cast<uint64_t>(in.tellg()) + size + (size & 1);
    if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
      unsigned char fmt[16];  // the fields every format has; the rest is not needed here
      if (!in.read(reinterpret_cast<char*>(fmt), 16)) return std::nullopt;
      format = le16(fmt);
      sampleRate = le32(fmt + 4);
      byteRate = le32(fmt + 8);
      haveFmt = true;
    } else if (std::memcmp(chunk, "fact", 4) == 0 && size >= 4) {
      unsigned char f[4];
      if (!in.read(reinterpret_cast<char*>(f), 4)) return std::nullopt;
      factFrames = le32(f);
      haveFact = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      dataBytes = size;
      haveData = true;
      break;  // the data chunk is last in every file we care about
    }
    in.seekg(static_cast<std::streamoff>(next));
  }
  if (!haveFmt || !haveData || sampleRate == 0) return std::nullopt;
  const double fromData = byteRate > 0 ? 1000.0 * static_cast<double>(dataBytes) / byteRate : -1.0;
  // Compressed formats (ADPCM) state their length in frames in the fact chunk; the data
  // present bounds it, since a fact chunk can claim anything.
  if (format != 1 && format != 3 && haveFact && factFrames > 0) {
    const double fromFact = 1000.0 * factFrames / sampleRate;
    return fromData >= 0 ? std::min(fromFact, fromData) : fromFact;
  }
  if (fromData < 0) return std::nullopt;
  return fromData;
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
