#pragma once
// The USB Densha de GO! controllers: what the polled inputs mean. Pure functions; the run
// applies them once per run-loop tick while one of the two USB kinds is chosen.
#include <cstdint>
#include <optional>

#include "media/joystick.h"

namespace velmoria {

// The buttons folded into two codes, and the signature whose change means the driver moved
// something: x + y + a + b.
struct UsbReading {
  int32_t a = 0;  // buttons 0..3 and 8..15
  int32_t b = 0;  // buttons 4..7 (the PlayStation controller's brake handle)
  int32_t signature = 0;
};
UsbReading readUsb(const JoystickState& js);

// The Windows controller's handle from its axes: the notch from the Y axis (forward is
// negative), the brake step from the X axis. A value on a boundary between two bands matches
// neither and leaves the handle as it was.
std::optional<int> windowsPowerNotch(int32_t y);
std::optional<int> windowsBrakeStep(int32_t x);

}  // namespace velmoria
