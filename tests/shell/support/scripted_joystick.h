#pragma once
// A game controller that reports what the test sets, and counts how often it was read.
#include "media/joystick.h"

namespace velmoria::test {

class ScriptedJoystick : public Joystick {
 public:
  JoystickState poll() override {
    ++polls;
    return state;
  }
  JoystickState state;  // axes as read after the dead zone
  int polls = 0;
};

}  // namespace velmoria::test
