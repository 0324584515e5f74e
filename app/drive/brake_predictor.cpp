#include "brake_predictor.h"

#include <algorithm>
#include <cmath>

namespace velmoria::drive {

namespace {
constexpr int kLevelsForThreePosition = 7;
constexpr int kMostLevels = 100;
long double shoeFriction(long double v) {
  return 0.32L * (1 + 0.01L * v) / (1 + 0.05L * v);
}
}  // namespace

BrakePredictor::BrakePredictor(const Vehicle& vehicle) : m_vehicle(vehicle) {
  // More service steps than any train has would only make the predictions slow: the
  // autopilot uses the first kMostLevels of them.
  m_levels = vehicle.BrakeType == 0
                 ? kLevelsForThreePosition
                 : std::clamp(int64_t{vehicle.Brake} - 1, int64_t{1}, int64_t{kMostLevels});
  m_tons = vehicle.Tons.ld() > 0 ? vehicle.Tons.ld() : 1;
}

long double BrakePredictor::bcTarget(int level) const {
  const long double eb = m_vehicle.EBPress;
  if (level <= 0) return 0;
  level = std::min(level, m_levels);
  switch (m_vehicle.BrakeType) {
    case 1:
      return eb / (m_vehicle.Brake - 1) * level;
    case 2:
      return eb / m_vehicle.Brake * level;
    default:
      return eb * level / kLevelsForThreePosition;
  }
}

long double BrakePredictor::brakeRate(long double v) const {
  long double rate = m_vehicle.BrakeRate.ld();
  const long double lose = m_vehicle.Lose_elec;
  if (v > 0 && v < lose) rate *= shoeFriction(v) / shoeFriction(lose);
  if (v < 1) rate /= 2;
  return rate;
}

long double BrakePredictor::resistanceDeceleration(long double v, long double g) const {
  const long double m = m_tons;
  long double force = 9.8L * g * 1000 / std::sqrt(g * g + 1e6L) * m;  // N per tonne x t
  if (v > 0.1L) {
    const long double cars = std::max<int32_t>(1, m_vehicle.Cars);
    force += 9.8L * ((1.32L + 0.0164L * v) * m + (0.028L + 0.0078L * (cars - 1)) * v * v);
  }
  return force / (m * 1000) * 3.6L;
}

long double BrakePredictor::deceleration(int level, long double v) const {
  const long double eb = m_vehicle.EBPress > 0 ? m_vehicle.EBPress : 1;
  return brakeRate(v) * bcTarget(level) / eb;
}

long double BrakePredictor::bcStep(long double bc, int level) const {
  const long double up = m_vehicle.BrakeUp, down = m_vehicle.BrakeDown;
  const long double target = bcTarget(level);
  if (m_vehicle.BrakeType == 0) {
    // Apply fills at U/30 a step, release empties at D/30; lap holds in between.
    if (bc + 10 < target)
      bc += up / 30;
    else if (bc > target + 10)
      bc -= down / 30;
    return std::max<long double>(bc, 0);
  }
  if (level > 0) {
    if (bc + 10 < target) bc += up / 30 / 1.5L;
    if (bc > target) bc -= down / 30 / 1.5L;
    return std::max<long double>(bc, 0);
  }
  // Release slows as the cylinder empties.
  if (bc > 200) bc -= down / 30;
  if (bc > 100 && bc <= 200) bc -= down / 60;
  if (bc <= 100) bc -= down / 120;
  return std::max<long double>(bc, 0);
}

long double BrakePredictor::stopDistanceCm(const BrakeState& s, int level,
                                           long double limitCm) const {
  const long double eb = m_vehicle.EBPress > 0 ? m_vehicle.EBPress : 1;
  long double v = std::max<long double>(s.speedKmh, 0);
  long double bc = s.bcKpa;
  long double distance = 0;
  int lag = s.lagSteps;
  // 33 ms steps move the train and fill the cylinder; a 100 ms tick integrates the speed
  // whenever it falls before the next step, as the drive loop orders them.
  int64_t ms = 0;
  int64_t nextTick = 100;
  for (int guard = 0; guard < 600 * 1000 / 33 && v > 0; ++guard) {
    ms += 33;
    bc = bcStep(bc, lag > 0 ? s.effectiveLevel : level);
    if (lag > 0) --lag;
    distance += v / 3.6L * 3.3333L;
    if (distance > limitCm) return distance;
    while (nextTick < ms + 33) {
      nextTick += 100;
      const long double brake = bc > 0 ? brakeRate(v) * bc / eb / 10 : 0;
      const long double rest = resistanceDeceleration(v, s.gradient) / 10;
      if (brake > 0 && v - brake - rest <= 0) return distance;  // the stop rule
      v -= brake + rest;
      if (v <= 0) return distance;
    }
  }
  return distance;
}

}  // namespace velmoria::drive
