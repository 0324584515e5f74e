#pragma once
// The autopilot's picture of its own train under the brake: how far it runs before it stands
// when the brake handle is held at one level from now on. It knows what the vehicle file says
// (brake rate, cylinder pressures and fill rates, delays, mass, length) and works through the
// same 33 ms / 100 ms rhythm as the train: the cylinder follows the handle after the brake
// delay, the brake force follows the cylinder. Pure computation; no state of its own.
#include <cstdint>

#include "vehicle/vehicle.h"

namespace velmoria::drive {

struct BrakeState {
  long double speedKmh = 0;  // >= 0
  long double bcKpa = 0;     // brake cylinder now
  int effectiveLevel = 0;    // the level the cylinder is following now
  int lagSteps = 0;          // 33 ms steps before a new level takes effect
  long double gradient = 0;  // per mille, uphill positive
};

class BrakePredictor {
 public:
  explicit BrakePredictor(const Vehicle& vehicle);

  // Service levels 1..levels() (0 releases). For numbered brakes a level is a brake step; for
  // the three-position brake it is a cylinder pressure the driver holds with apply and lap.
  int levels() const { return m_levels; }
  long double bcTarget(int level) const;
  // Deceleration (km/h/s) the level gives at speed once the cylinder has filled.
  long double deceleration(int level, long double speedKmh) const;
  // Distance (cm) run before standing, holding `level` from now; `limitCm` caps the search.
  long double stopDistanceCm(const BrakeState& s, int level, long double limitCm = 1e7L) const;
  // The brake rate (km/h/s at a full cylinder) at a speed: the shoes grip better when slow.
  long double brakeRate(long double speedKmh) const;
  // Deceleration of rolling resistance and gradient alone (km/h/s, positive slows).
  long double resistanceDeceleration(long double speedKmh, long double gradient) const;

 private:
  long double bcStep(long double bc, int level) const;  // one 33 ms step of the cylinder

  const Vehicle& m_vehicle;
  int m_levels = 1;
  long double m_tons = 1;
};

}  // namespace velmoria::drive
