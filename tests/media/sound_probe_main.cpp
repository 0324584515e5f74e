// A program for the sound device factory's test: creates the desktop program's sound device
// as it starts, prints which one it got ("openal" or "null") on standard output and, with
// --then-alsa-error, afterwards makes ALSA fail to open a device, so that the test can see
// ALSA's errors are printed again once the probe is over.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "media/clock.h"
#include "media/null/null_sound_device.h"
#include "media/openal/sound_device_factory.h"

int main(int argc, char** argv) {
  velmoria::ManualClock clock;
  auto device = velmoria::createSoundDevice(clock);
  std::printf("%s\n", dynamic_cast<velmoria::NullSoundDevice*>(device.get()) ? "null" : "openal");
  std::fflush(stdout);
  if (argc > 1 && std::strcmp(argv[1], "--then-alsa-error") == 0) {
    void* alsa = dlopen("libasound.so.2", RTLD_NOW);
    if (!alsa) return 3;
    using Open = int (*)(void** pcm, const char* name, int stream, int mode);
    auto open = reinterpret_cast<Open>(dlsym(alsa, "snd_pcm_open"));
    void* pcm = nullptr;
    if (!open || open(&pcm, "velmoria_no_such_pcm", 0, 0) == 0) return 3;
  }
  return 0;
}
