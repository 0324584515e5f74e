#include "controls/pad_driver.h"

#include "run/run.h"

namespace velmoria::controls {

namespace {
// More presses than any handle has positions: the loop ends at the target or at a step that
// does not move the handle (the end of its travel, the input lock before the first Start).
constexpr int kMaxPresses = 64;

void press(Run& run, const PostedKey& key) {
  if (key.isVirtual)
    run.keydowns(key.key, key.shift);
  else
    run.AsciiDown(key.ch);
}
}  // namespace

HandleView handleOf(const Run& run) {
  const RunObservation seen = run.observe();
  return HandleView{seen.powerNotch, seen.brakeStep, seen.hold, seen.vehicle.Brake, seen.keySwap};
}

bool PadDriver::poll(const GamepadState& pad, const Bindings& bindings, Run& run) {
  return poll(pad, bindings, run, [&run](const PostedKey& key) { press(run, key); });
}

bool PadDriver::poll(const GamepadState& pad, const Bindings& bindings, const Run& run,
                     const Press& press) {
  if (!pad.connected) {
    m_known = false;
    return false;
  }
  const RunObservation seen = run.observe();
  const Vehicle& v = seen.vehicle;
  const bool fresh =
      !m_known || pad.id != m_id || v.Power != m_levelsPower || v.Brake != m_levelsBrake;
  const int power = handleLevel(axisTravel(pad, bindings.powerAxis), v.Power, fresh ? -1 : m_power);
  const int brake = handleLevel(axisTravel(pad, bindings.brakeAxis), v.Brake, fresh ? -1 : m_brake);
  const int target = targetIndex(power, brake);
  const std::array<bool, kPadButtons> before = m_buttons;
  m_known = true;
  m_id = pad.id;
  m_levelsPower = v.Power;
  m_levelsBrake = v.Brake;
  m_power = power;
  m_brake = brake;
  m_buttons = pad.buttons;
  const bool moved = target != m_target;
  m_target = target;
  if (fresh) return false;

  bool pressed = moved && moveHandle(run, press);
  for (const ActionInfo& a : actions()) {
    const auto button = bindings.button(a.action);
    if (!button) continue;
    const auto b = static_cast<size_t>(*button);
    if (pad.buttons[b] && !before[b]) {
      press(a.key);
      pressed = true;
    }
  }
  return pressed;
}

bool PadDriver::moveHandle(const Run& run, const Press& press) {
  bool pressed = false;
  for (int i = 0; i < kMaxPresses; ++i) {
    const HandleView now = handleOf(run);
    const auto key = stepToward(now, m_target);
    if (!key) break;
    press(PostedKey{false, *key, VirtualKey::Enter, false});
    pressed = true;
    if (handleIndex(handleOf(run)) == handleIndex(now)) break;
  }
  return pressed;
}

}  // namespace velmoria::controls
