#pragma once
// The desktop program's record of a run: every input its handlers were given, as lines of
// velmoria-drive's script format, each at the time velmoria-drive's virtual schedule would
// run it (scheduler.h). The recorder follows the schedule as the cab window's two timers
// walk it: each 33 ms step and each tick takes the next step or tick of a schedule of its own,
// and an input gets the wall-clock time since Start, kept between the step or tick before it
// and the one after it. Replayed, the script then gives the handlers the same inputs between
// the same steps and ticks. When the timers ever come in another order than the schedule's
// (a stalled program), or an input cannot be written as a script line, exact() turns false.
// UI thread; called by the cab window's watcher.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "media/joystick.h"
#include "replay/scheduler.h"
#include "replay/script.h"
#include "run/app_state.h"

namespace velmoria::replay {

// The raw axis value that the USB controller's dead zone turns into `axis` (the nearest one
// when none does).
int32_t rawAxisFor(int32_t axis);

class InputRecorder {
 public:
  // `app` as the run was created with: Scroll Lock's swap and the recorded-speed follow mode
  // last from run to run, so the record starts by setting them.
  explicit InputRecorder(const AppState& app);

  // An input, at the desktop's clock (ms); Start toggles the schedule. `c.timeMs` is set here.
  void input(ScriptCommand c, int64_t wallMs);
  // The USB controller as the tick's scan reads it, or the controller kind chosen in the menu.
  void usb(int kind, const JoystickState& state, int64_t wallMs);
  void controllerKind(int kind, int64_t wallMs);
  void step();
  void tick();
  // The branch video reopens during the tick now running.
  void videoSwitched();

  int64_t lastTickMs() const { return m_lastTick; }
  // The time an input would get now (for the record's closing "quit").
  int64_t timeFor(int64_t wallMs) const;
  bool exact() const { return m_exact; }
  const std::string& whyNotExact() const { return m_why; }
  const std::vector<ScriptCommand>& commands() const { return m_commands; }
  // The record: `header` as '#' comment lines, then a command a line.
  std::string script(const std::string& header) const;

 private:
  void inexact(const std::string& why);
  std::optional<int64_t> upperBound() const;
  int64_t take(EventKind kind);

  Scheduler m_schedule;
  bool m_started = false;
  int64_t m_wallAtZero = 0;  // the wall clock at virtual time 0
  int64_t m_floor = 0;       // no input before this
  int64_t m_lastTick = 0;
  bool m_tickTaken = false;  // the running tick was taken early (the video switch)
  bool m_exact = true;
  std::string m_why;
  std::vector<ScriptCommand> m_commands;
  int m_kind = 0;
  JoystickState m_stick;
  bool m_usbCarried = false;  // the controller's last reading came from an earlier run
};

}  // namespace velmoria::replay
