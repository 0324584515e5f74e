#pragma once
// Channel operations as the run's rules use them: safe without a sound device, and volumes
// kept within what a channel accepts. UI thread only.
#include <cstdint>

namespace velmoria {

class Run;

constexpr int kSilent = -10000;  // hundredths of a decibel

bool channelPlaying(const Run& run, int channel);
void stopChannel(Run& run, int channel);
// Sets a volume in hundredths of a decibel, clamped to -10000..0: the rules can compute values
// above full level (a cue faster than its reference speed) and the channels accept none.
void setChannelVolume(Run& run, int channel, int64_t hundredthsDb);
int channelVolume(const Run& run, int channel);
void setChannelFrequency(Run& run, int channel, double factor);

// round(2000 x log10(ratio)), the level of a ratio in hundredths of a decibel; a ratio of 0 or
// less is silence.
int64_t levelOf(long double ratio);

}  // namespace velmoria
