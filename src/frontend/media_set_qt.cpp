#include "frontend/media_set_qt.h"

#include <chrono>
#include <cstdlib>

#include "media/ffmpeg/ffmpeg_sound_track.h"
#include "media/ffmpeg/ffmpeg_video_source.h"
#include "media/null/null_sound_device.h"
#include "media/null/null_video_source.h"
#include "media/openal/sound_device_factory.h"
#include "media/qt/qt_settings_store.h"
#include "media/sdl/sdl2_gamepad.h"
#include "media/sdl/sdl2_joystick.h"

namespace velmoria {

namespace {
int64_t steadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

SteadyClock::SteadyClock() : m_origin(steadyMs()) {}
int64_t SteadyClock::nowMs() const {
  return steadyMs() - m_origin;
}

MediaSet MediaSet::null(int videoFrames) {
  MediaSet set;
  set.clock = std::make_unique<SteadyClock>();
  set.sound = std::make_unique<NullSoundDevice>(*set.clock);
  set.makeVideo = [videoFrames] { return std::make_unique<NullVideoSource>(videoFrames); };
  return set;
}

MediaSet MediaSet::system() {
  MediaSet set;
  set.clock = std::make_unique<SteadyClock>();
  set.sound = createSoundDevice(*set.clock);
  // One decoder thread: the worker reads mostly in order, and random access stays quick.
  set.makeVideo = [] { return std::make_unique<FfmpegVideoSource>(1); };
  set.readSoundTrack = readFfmpegSoundTrack;
  // SDL would otherwise take over SIGINT and SIGTERM, and the program could no longer be
  // stopped from outside.
  setenv("SDL_NO_SIGNAL_HANDLERS", "1", 0);
  set.joystick = std::make_unique<Sdl2Joystick>();
  set.gamepad = std::make_unique<Sdl2Gamepad>();
  set.settings = std::make_unique<QtSettingsStore>();
  return set;
}

}  // namespace velmoria
