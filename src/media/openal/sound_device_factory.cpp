#include "media/openal/sound_device_factory.h"

#include <cstdio>

#include "media/null/null_sound_device.h"
#include "media/openal/openal_sound_device.h"

namespace velmoria {

std::unique_ptr<SoundDevice> createSoundDevice(const Clock& clock) {
  if (auto device = OpenAlSoundDevice::openDefault()) return device;
  // The probe itself was kept quiet; this one line says what it found.
  std::fputs("velmoria: no sound device found; sound is off\n", stderr);
  return std::make_unique<NullSoundDevice>(clock);
}

}  // namespace velmoria
