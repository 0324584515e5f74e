#pragma once
// The first game controller, as the USB scan reads it once per run-loop tick (UI thread).
#include <array>
#include <cstdint>

namespace velmoria {

struct JoystickState {
  int32_t x = 0;  // after the 5 % dead zone: -1638..1638 read 0, beyond scaled by 100/95
  int32_t y = 0;
  std::array<bool, 16> buttons{};
};

// Applies the dead zone to a raw axis value in -32768..32767.
int32_t applyDeadZone(int32_t raw);

class Joystick {
 public:
  virtual ~Joystick() = default;
  // Polls the device; no controller reads as zero axes and no buttons.
  virtual JoystickState poll() = 0;
};

}  // namespace velmoria
