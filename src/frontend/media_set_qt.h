#pragma once
// The media services of the desktop program, created once at start and shared by every run:
// one sound device (re-created when a run closes), the joystick, the game pad, the clock, the
// button-map store, and a factory for video sources (the core's, the decoding worker's and the
// opening movie's each get their own). The desktop application owns the set. UI thread.
#include <functional>
#include <memory>

#include "media/clock.h"
#include "media/gamepad.h"
#include "media/joystick.h"
#include "media/key_value_store.h"
#include "media/pcm_sound.h"
#include "media/sound_device.h"
#include "media/video_source.h"

namespace velmoria {

struct MediaSet {
  std::unique_ptr<Clock> clock;
  std::unique_ptr<SoundDevice> sound;
  std::unique_ptr<Joystick> joystick;       // may be null: no USB scan input
  std::unique_ptr<Gamepad> gamepad;         // any game pad; may be null: no pad input
  std::unique_ptr<KeyValueStore> settings;  // the button map; may be null
  std::function<std::unique_ptr<VideoSource>()> makeVideo;
  SoundTrackReader readSoundTrack;  // the opening movie's sound; empty: movies play silently

  // The real backends where they are built in, null devices otherwise.
  static MediaSet system();
  // Null devices throughout (tests); videos report the given frame count.
  static MediaSet null(int videoFrames = 100000);
};

// Milliseconds of a monotonic clock that started with the program.
class SteadyClock : public Clock {
 public:
  SteadyClock();
  int64_t nowMs() const override;

 private:
  int64_t m_origin;
};

}  // namespace velmoria
