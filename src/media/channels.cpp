#include "media/channels.h"

#include <algorithm>
#include <cmath>

#include "frame/fixed.h"

namespace velmoria {

void Channels::startOnce(int channel) {
  if (!m_device) return;
  m_device->stop(channel);
  m_device->playOnce(channel);
}

void Channels::startLooped(int channel) {
  if (!m_device) return;
  m_device->stop(channel);
  m_device->playLooped(channel);
}

void Channels::setVolume(int channel, int64_t hundredthsDb) {
  if (!m_device) return;
  m_device->setVolume(channel, static_cast<int>(std::clamp<int64_t>(hundredthsDb, kSilent, 0)));
}

int64_t levelOf(long double ratio) {
  if (!(ratio > 0)) return kSilent;
  const long double level = 2000.0L * std::log10(ratio);
  if (level < kSilent) return kSilent;  // keeps the rounding within range for tiny ratios
  return roundEven(level);
}

}  // namespace velmoria
