#pragma once
// The USB controller of a script: it reports whatever the last "usb" command set, through the
// same 5 % dead zone as a real device. Polled by the run's USB scan on the drive loop's thread.
#include "media/joystick.h"

namespace velmoria::replay {

class ScriptedJoystick : public Joystick {
 public:
  // Raw axes in -32768..32767, as the device reports them.
  void set(int32_t rawX, int32_t rawY, const std::array<bool, 16>& buttons) {
    m_state.x = applyDeadZone(rawX);
    m_state.y = applyDeadZone(rawY);
    m_state.buttons = buttons;
  }
  JoystickState poll() override { return m_state; }

 private:
  JoystickState m_state;
};

}  // namespace velmoria::replay
