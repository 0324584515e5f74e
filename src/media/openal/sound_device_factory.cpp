#include "media/openal/sound_device_factory.h"

#include "media/null/null_sound_device.h"
#include "media/openal/openal_sound_device.h"

namespace velmoria {

std::unique_ptr<SoundDevice> createSoundDevice(const Clock& clock) {
  if (auto device = OpenAlSoundDevice::openDefault()) return device;
  return std::make_unique<NullSoundDevice>(clock);
}

}  // namespace velmoria
