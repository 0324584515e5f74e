#include "replay/virtual_time_sound.h"

namespace velmoria::replay {

WaveId VirtualTimeSound::add(WaveId heard, WaveId model) {
  if (model < 0) {
    // The run must see what velmoria-drive sees: no wave.
    if (heard >= 0) m_heard.freeWave(heard);
    return -1;
  }
  const WaveId id = m_next++;
  m_waves[id] = Pair{heard, model};
  return id;
}

WaveId VirtualTimeSound::loadWave(const std::filesystem::path& file) {
  return add(m_heard.loadWave(file), m_model.loadWave(file));
}

WaveId VirtualTimeSound::loadPcm(const PcmSound& pcm) {
  return add(m_heard.loadPcm(pcm), m_model.loadPcm(pcm));
}

void VirtualTimeSound::freeWave(WaveId wave) {
  const auto it = m_waves.find(wave);
  if (it == m_waves.end()) return;
  if (it->second.heard >= 0) m_heard.freeWave(it->second.heard);
  m_model.freeWave(it->second.model);
  m_waves.erase(it);
}

void VirtualTimeSound::attach(int channel, WaveId wave) {
  const auto it = m_waves.find(wave);
  m_heard.attach(channel, it == m_waves.end() ? -1 : it->second.heard);
  m_model.attach(channel, it == m_waves.end() ? -1 : it->second.model);
}

void VirtualTimeSound::playOnce(int channel) {
  m_heard.playOnce(channel);
  m_model.playOnce(channel);
}

void VirtualTimeSound::playLooped(int channel) {
  m_heard.playLooped(channel);
  m_model.playLooped(channel);
}

void VirtualTimeSound::stop(int channel) {
  m_heard.stop(channel);
  m_model.stop(channel);
}

void VirtualTimeSound::setVolume(int channel, int hundredthsDb) {
  m_heard.setVolume(channel, hundredthsDb);
  m_model.setVolume(channel, hundredthsDb);
}

void VirtualTimeSound::setFrequencyFactor(int channel, double factor) {
  m_heard.setFrequencyFactor(channel, factor);
  m_model.setFrequencyFactor(channel, factor);
}

bool VirtualTimeSound::reinitialise() {
  m_waves.clear();
  const bool model = m_model.reinitialise();
  return m_heard.reinitialise() && model;
}

}  // namespace velmoria::replay
