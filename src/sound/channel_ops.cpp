#include "sound/channel_ops.h"

#include <algorithm>
#include <cmath>

#include "frame/fixed.h"
#include "run/run.h"

namespace velmoria {

bool channelPlaying(const Run& run, int channel) {
  return run.services.sound && run.services.sound->isPlaying(channel);
}

void stopChannel(Run& run, int channel) {
  if (run.services.sound) run.services.sound->stop(channel);
}

void setChannelVolume(Run& run, int channel, int64_t hundredthsDb) {
  if (!run.services.sound) return;
  const int64_t v = std::clamp<int64_t>(hundredthsDb, kSilent, 0);
  run.services.sound->setVolume(channel, static_cast<int>(v));
}

int channelVolume(const Run& run, int channel) {
  return run.services.sound ? run.services.sound->volume(channel) : 0;
}

void setChannelFrequency(Run& run, int channel, double factor) {
  if (run.services.sound) run.services.sound->setFrequencyFactor(channel, factor);
}

int64_t levelOf(long double ratio) {
  if (!(ratio > 0)) return kSilent;
  const long double level = 2000.0L * std::log10(ratio);
  if (level < kSilent) return kSilent;  // keeps the rounding within range for tiny ratios
  return roundEven(level);
}

}  // namespace velmoria
