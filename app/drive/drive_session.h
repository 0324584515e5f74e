#pragma once
// One headless run: reads the data files in the cab window's creation order, builds the Run on
// null devices and drives it in virtual time with the script, the autopilot, the trace and the
// meter. Used by velmoria-drive's main() and by the tests, on one thread.
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "autopilot.h"
#include "frame/data_folder.h"
#include "media/clock.h"
#include "media/key_value_store.h"
#include "media/null/null_image_loader.h"
#include "media/null/null_sound_device.h"
#include "media/video_source.h"
#include "options.h"
#include "run/run.h"
#include "run/trace.h"
#include "run_meter.h"
#include "scheduler.h"
#include "script.h"
#include "scripted_joystick.h"

namespace velmoria::drive {

constexpr int64_t kDefaultLimitMs = 24LL * 3600 * 1000;  // a day of driving at most
constexpr int64_t kVideoSwitchHoldMs = 1000;

struct DriveEnd {
  int64_t timeMs = 0;
  bool terminus = false;  // the terminus caption was seen with the train standing
  bool quit = false;      // the script said quit
  bool gaveUp = false;    // the autopilot found it could not bring the train to its stop
};

class DriveSession : public RunHost {
 public:
  // Reads the data files and builds the run. Throws StartupError with the message the desktop
  // program shows. `buttons` may be null; `trace` and `log` may be null; both must outlive the
  // session.
  DriveSession(const DriveOptions& options, Script script, const KeyValueStore* buttons,
               std::ostream* trace, std::ostream* log = nullptr, bool verboseLog = false);
  // Every input from now on is also written to `record` as a script line.
  void record(std::ostream* record) { m_record = record; }
  // From now on a trace row follows every tick; the header is written at once.
  void setTrace(std::ostream* trace);

  // A script line naming a station entry the route does not have.
  std::optional<ScriptError> checkScript() const;
  // Runs until quit, the time limit or (when asked) the terminus.
  DriveEnd drive();

  Run& run() { return *m_run; }
  RunObservation observe() const { return m_run->observe(); }
  const RunMeter& meter() const { return *m_meter; }
  int64_t now() const { return m_clock.nowMs(); }

  void videoSwitched(bool toBranch) override;

 private:
  void execute(const ScriptCommand& c);
  void recordCommand(const ScriptCommand& c);
  void startClick();
  void afterTick();

  DriveOptions m_options;
  DataFolder m_folder;
  Script m_script;
  size_t m_nextCommand = 0;
  AppState m_app;
  ManualClock m_clock;
  NullSoundDevice m_sound{m_clock};
  NullImageLoader m_images;
  std::unique_ptr<VideoSource> m_video;
  ScriptedJoystick m_joystick;
  std::unique_ptr<Run> m_run;
  std::unique_ptr<RunMeter> m_meter;
  std::unique_ptr<Autopilot> m_autopilot;
  std::optional<TraceWriter> m_trace;
  std::ostream* m_record = nullptr;
  std::optional<int64_t> m_autopilotDue;  // the autopilot acts 1 ms after each tick
  Scheduler m_scheduler;
  bool m_quit = false;
  bool m_terminus = false;
};

}  // namespace velmoria::drive
