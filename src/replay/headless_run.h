#pragma once
// A run built the way velmoria-drive builds it: the data files read in the cab window's
// creation order (the panel's pictures checked as the cab window would load them), a sound
// device that plays nothing but keeps each sound's real length on a virtual clock, the
// scripted USB controller, and a private program state. velmoria-drive drives one; the desktop
// program drives one to replay a stored record without a window. One thread.
#include <memory>
#include <string>

#include "frame/data_folder.h"
#include "media/clock.h"
#include "media/key_value_store.h"
#include "media/null/null_image_loader.h"
#include "media/null/null_sound_device.h"
#include "media/video_source.h"
#include "replay/scripted_joystick.h"
#include "run/app_state.h"
#include "run/run.h"

namespace velmoria::replay {

class HeadlessRun : public RunHost {
 public:
  // Throws StartupError with the desktop program's message. `video` gives the frame counts;
  // `buttons` may be null.
  HeadlessRun(const std::string& dataDir, const std::string& vehicleFile,
              const std::string& routeFile, std::unique_ptr<VideoSource> video,
              const KeyValueStore* buttons);

  Run& run() { return *m_run; }
  const Run& run() const { return *m_run; }
  AppState& app() { return m_app; }
  ManualClock& clock() { return m_clock; }
  const ManualClock& clock() const { return m_clock; }
  NullSoundDevice& sound() { return m_sound; }
  ScriptedJoystick& joystick() { return m_joystick; }

  // Told when the branch video reopens (the drive holds for a second).
  std::function<void()> onVideoSwitch;
  void videoSwitched(bool toBranch) override;

 private:
  DataFolder m_folder;
  AppState m_app;
  ManualClock m_clock;
  NullSoundDevice m_sound{m_clock};
  NullImageLoader m_images;
  std::unique_ptr<VideoSource> m_video;
  ScriptedJoystick m_joystick;
  std::unique_ptr<Run> m_run;
};

}  // namespace velmoria::replay
