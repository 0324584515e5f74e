#pragma once
// A game pad of any make, in the terms of SDL's game-controller layout (the Xbox names:
// A B X Y, Back, Guide, Start, the stick presses, the shoulders, the d-pad; two sticks and two
// triggers). The shell polls it once per run-loop tick on the UI thread while the driver has
// switched the pad on; the device finds pads plugged in after the start and lets go of pads
// pulled out. Axes: sticks -32768..32767 (up and left negative), triggers 0..32767 (released 0).
#include <array>
#include <cstdint>
#include <string>

namespace velmoria {

// In SDL's order (SDL_GameControllerButton, SDL_GameControllerAxis), so that a device maps by
// index.
enum class PadButton {
  A,
  B,
  X,
  Y,
  Back,
  Guide,
  Start,
  LeftStick,
  RightStick,
  LeftShoulder,
  RightShoulder,
  DpadUp,
  DpadDown,
  DpadLeft,
  DpadRight,
  Misc1,
  Paddle1,
  Paddle2,
  Paddle3,
  Paddle4,
  Touchpad,
};
constexpr int kPadButtons = 21;
enum class PadAxis { LeftX, LeftY, RightX, RightY, LeftTrigger, RightTrigger };
constexpr int kPadAxes = 6;

struct GamepadState {
  bool connected = false;
  int32_t id = -1;   // changes whenever another pad (or the same one plugged in again) is used
  std::string name;  // the pad's name as the game-controller database knows it
  std::array<int16_t, kPadAxes> axes{};
  std::array<bool, kPadButtons> buttons{};

  int16_t axis(PadAxis a) const { return axes[static_cast<size_t>(a)]; }
  bool button(PadButton b) const { return buttons[static_cast<size_t>(b)]; }
};

class Gamepad {
 public:
  virtual ~Gamepad() = default;
  // Takes notice of pads plugged in or pulled out since the last call, then reads the pad in
  // use (the first one found). No pad: connected is false and everything reads at rest.
  virtual GamepadState poll() = 0;
  // While a Densha de GO! controller kind is chosen, the USB scan reads the first joystick
  // with its own rules: the pad then leaves that device alone, even when the game-controller
  // database knows it.
  virtual void leaveFirstJoystick(bool leave) = 0;
};

}  // namespace velmoria
