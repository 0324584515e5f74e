// The diesel engine's speed level (percent), raised while powering and falling back to idle
// (50) otherwise. The engine sound follows it. Run loop, once per 100 ms tick, diesel cars.
#include "run/run.h"

namespace velmoria {

namespace {

// Where v stands between sa and sc, 0 at sa and 1 at sc; a gear with sa = sc is a step.
long double gearFraction(const GearEntry& g, long double v) {
  if (g.sc == g.sa) return v >= g.sa ? 1 : 0;
  return (v - g.sa) / (g.sc - g.sa);
}

}  // namespace

void Run::engineLevel() {
  if (vehicle.Engine_Type != 0) return;
  long double& e = train.engineLevel;
  const int n = handle.effectivePower;
  const int gi = handle.gearIndex;
  const bool validGear = gi >= 0 && static_cast<size_t>(gi) < vehicle.GearTable.size();
  if (n >= 1 && !handle.gearChange) {
    if (!validGear) return;
    const GearEntry& g = vehicle.GearTable[gi];
    const long double v = train.speed.ld();
    const long double ceiling =
        vehicle.Power > 0 ? 50 + 50 * static_cast<long double>(n) / vehicle.Power : 100;
    if (gi == 0) {
      if (e < 96 && e < ceiling) e += 4;
      if ((0.5L * gearFraction(g, v) + 0.5L) * 96 > e && e < ceiling) e += 4;
    } else {
      if ((0.3L * gearFraction(g, v) + 0.7L) * 96 > e) e += 4;
    }
  } else if (e > 50) {
    e -= 2;
  }
}

}  // namespace velmoria
