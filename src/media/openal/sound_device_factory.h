#pragma once
// The desktop program's sound device: OpenAL on the default output, or, when there is no
// sound card, the null device that keeps time without sound, so that a run goes on silently.
// Probing prints nothing; falling back says so in one line on standard error. The clock must
// outlive the device.
#include <memory>

#include "media/clock.h"
#include "media/sound_device.h"

namespace velmoria {

std::unique_ptr<SoundDevice> createSoundDevice(const Clock& clock);

}  // namespace velmoria
