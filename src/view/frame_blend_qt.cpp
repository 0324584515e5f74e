#include "view/frame_blend_qt.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace velmoria {

double blendWeight(const BlendPosition& p) {
  const int64_t speed = std::llabs(p.speed);
  const int64_t unit = std::max<int32_t>(p.recordedSpeed, 1);
  if (speed == 0 || speed >= unit) return 0.0;
  // Between steps the train goes on at its speed; a late step does not carry it past the next
  // frame.
  const double part = std::clamp(p.sinceStepMs / kPositionStepMs, 0.0, 1.0);
  const double covered = std::max<int32_t>(p.accumulator, 0) + static_cast<double>(speed) * part;
  return std::clamp(covered / static_cast<double>(unit), 0.0, 1.0);
}

int blendLevel(double weight) {
  return static_cast<int>(std::lround(std::clamp(weight, 0.0, 1.0) * 256.0));
}

}  // namespace velmoria
