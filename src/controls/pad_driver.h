#pragma once
// A game pad driving a run through the run's own handlers, as a person at the keyboard would:
// a button pressed is the key its action stands for; the power and brake axes give a target
// handle position, and the driver presses '8', '2' or '0' until the handle is there, the way
// velmoria-drive's autopilot moves it. It acts only on change: the handle the keyboard has
// moved stays where it is until the pad moves, and a pad plugged in (or switched on, or a new
// run's different train) is first only looked at. Called once per run-loop tick, UI thread.
#include <array>
#include <functional>

#include "controls/bindings.h"
#include "controls/handle_target.h"

namespace velmoria {
class Run;
}

namespace velmoria::controls {

class PadDriver {
 public:
  // Who carries a key press to the run (the cab window also records it for the replay).
  using Press = std::function<void(const PostedKey&)>;
  // Presses, through `press`, the keys for what has changed on the pad since the last call,
  // reading `run` between presses; true when it pressed any (the cab then draws again).
  bool poll(const GamepadState& pad, const Bindings& bindings, const Run& run, const Press& press);
  // The same, pressing straight on the run's handlers.
  bool poll(const GamepadState& pad, const Bindings& bindings, Run& run);
  // The next state seen is taken as it stands, without acting (the bindings changed).
  void forget() { m_known = false; }

  // The handle position the pad asks for (targetIndex), for the tests and the dialog.
  int target() const { return m_target; }

 private:
  bool moveHandle(const Run& run, const Press& press);

  bool m_known = false;
  int32_t m_id = -1;
  int m_levelsPower = 0, m_levelsBrake = 0;
  int m_power = 0, m_brake = 0;
  int m_target = 0;
  std::array<bool, kPadButtons> m_buttons{};
};

// The handle of the run as the pad driver sees it.
HandleView handleOf(const Run& run);

}  // namespace velmoria::controls
