#include "media/joystick.h"

namespace velmoria {

int32_t applyDeadZone(int32_t raw) {
  constexpr int32_t kDead = 1638;  // 5 % of the half range
  if (raw > kDead) return (raw - kDead) * 100 / 95;
  if (raw < -kDead) return (raw + kDead) * 100 / 95;
  return 0;
}

}  // namespace velmoria
