#pragma once
// A pad axis as a handle: how far the bound half of the axis is pulled, which handle position
// that stands for, and the key that moves the cab's handle one step toward that position (the
// keys a driver would press: '8' and '2' step, '0' is the emergency brake). No Qt, no SDL.
#include <cstdint>
#include <optional>

#include "controls/bindings.h"

namespace velmoria::controls {

// The part of the bound half-axis travelled, 0 (at rest, or pushed the other way) to 1 (full).
double axisTravel(const GamepadState& pad, const AxisBinding& binding);

// Travel inside the dead zone is the rest position.
constexpr double kDeadZone = 0.08;
// Beyond a band's edge by less than this part of a band, the position stays (stick noise).
constexpr double kHysteresis = 0.25;

// The position of a handle with `levels` positions past rest (notches, or brake steps with the
// last one the emergency brake) that `travel` stands for. The travel past the dead zone is
// shared out evenly, position n taking (n-1, n] of it; `previous` (the position given last
// time, or -1 for none) stays while the travel is within kHysteresis of its band, and rest
// needs the dead zone.
int handleLevel(double travel, int levels, int previous);

// The handle as the cab shows it and the keys that move it.
struct HandleView {
  int powerNotch = 0;
  int brakeStep = 0;  // 0 released .. -emergencyStep
  bool hold = false;
  int emergencyStep = 8;  // the vehicle's [Brake]
  bool keySwap = false;   // Scroll Lock has exchanged '2' and '8'
};

// One line of handle positions as the one-handle keys walk them: notch n is 2n, brake step s
// (negative) 2s, the hold position between release and B1 is -1.
int handleIndex(const HandleView& h);
// The index of a pad target: brake level b (past release) wins over power level p.
int targetIndex(int powerLevel, int brakeLevel);

// The key that moves the handle one step from where it is toward `target` (an index as above),
// already exchanged when Scroll Lock is on so that the run steps the right way; none when the
// handle is there. The emergency position is reached with '0', since '2' stops at the last
// service step.
std::optional<char> stepToward(const HandleView& h, int target);

}  // namespace velmoria::controls
