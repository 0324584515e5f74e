#include "controls/handle_target.h"

#include <algorithm>
#include <cmath>

namespace velmoria::controls {

double axisTravel(const GamepadState& pad, const AxisBinding& binding) {
  if (!binding.axis) return 0;
  const int v = pad.axis(*binding.axis);
  const double travel = binding.sign < 0 ? -v / 32768.0 : v / 32767.0;
  return std::clamp(travel, 0.0, 1.0);
}

int handleLevel(double travel, int levels, int previous) {
  if (levels <= 0) return 0;
  const double p = std::clamp((travel - kDeadZone) / (1 - kDeadZone), 0.0, 1.0) * levels;
  const int level = p <= 0 ? 0 : std::min(levels, static_cast<int>(std::ceil(p)));
  if (previous < 0 || previous > levels || level == previous) return level;
  if (level > previous && p < previous + kHysteresis) return previous;
  // Back to rest only through the dead zone, which is wider than any noise.
  if (level < previous && level > 0 && p > previous - 1 - kHysteresis) return previous;
  return level;
}

int handleIndex(const HandleView& h) {
  if (h.powerNotch > 0) return 2 * h.powerNotch;
  if (h.hold) return -1;
  return 2 * h.brakeStep;
}

int targetIndex(int powerLevel, int brakeLevel) {
  if (brakeLevel > 0) return -2 * brakeLevel;
  return 2 * std::max(0, powerLevel);
}

std::optional<char> stepToward(const HandleView& h, int target) {
  const int index = handleIndex(h);
  if (index == target) return std::nullopt;
  if (target == -2 * h.emergencyStep) return '0';
  char key = index < target ? '8' : '2';
  if (h.keySwap) key = key == '8' ? '2' : '8';
  return key;
}

}  // namespace velmoria::controls
