#pragma once
// A game pad that reports what the test sets, and remembers what the cab window told it.
#include "media/gamepad.h"

namespace velmoria::test {

class ScriptedGamepad : public Gamepad {
 public:
  GamepadState poll() override {
    ++polls;
    return state;
  }
  void leaveFirstJoystick(bool leave) override { leavingFirst = leave; }
  GamepadState state;
  int polls = 0;
  bool leavingFirst = false;
};

}  // namespace velmoria::test
