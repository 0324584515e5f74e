// Tractive effort of electric notches and diesel gears, the traction block of the 33 ms step
// with its gear changes, power delay and reverser, and the diesel engine's level.
#include "vehicle/traction.h"

#include <algorithm>
#include <cmath>

namespace velmoria {

long double integerPower(long double k, long long n) {
  long double r = 1;
  const long long m = n < 0 ? -n : n;
  for (long long i = 0; i < m; ++i) r *= k;
  return n < 0 ? 1 / r : r;
}

std::vector<long double> powersOf(long double k, int count) {
  std::vector<long double> p(static_cast<size_t>(count) + 1);
  long double r = 1;
  for (auto& x : p) {
    x = r;
    r *= k;
  }
  return p;
}

long double electricAcceleration(const NotchEntry& e, long double v,
                                 const std::vector<long double>* powers) {
  const auto power = [&](long long n) {
    if (powers && n >= 0 && static_cast<size_t>(n) < powers->size())
      return (*powers)[static_cast<size_t>(n)];
    return integerPower(e.k, n);
  };
  if (v < e.s1) return e.a0 + v * (e.a1 - e.a0) / e.s1;
  // Above s1 the curve is a1 * s1 / v; a curve whose s1 is 0 or below gives nothing there,
  // and at standstill it has no defined value: no force rather than a division by zero.
  if (v == 0) return 0;
  if (v < e.s2) return e.a1 * e.s1 / v;
  const long long rv = roundEven(v);
  const long double ks2 = power(e.s2);
  if (ks2 != 0 && std::isfinite(ks2)) return e.a1 * e.s1 / ks2 * power(rv) / v;
  // k of 0 (or a power out of range): take the decay as one power of the difference.
  return e.a1 * e.s1 / v * power(rv - e.s2);
}

long double dieselAcceleration(const GearEntry& g, long double v) {
  if (v < g.sb) {
    if (g.sb == g.sa) return g.aa;  // an empty first span: no slope to follow
    return g.aa + std::fabs(v - g.sa) * (g.ab - g.aa) / (g.sb - g.sa);
  }
  if (v < g.sc) return g.ab + std::fabs(v - g.sb) * (g.ac - g.ab) / (g.sc - g.sb);
  return 0;
}

void Traction::init() {
  m_state = TractionState{};
  // The decay powers of every notch, up to the highest speed at which traction runs.
  for (const NotchEntry& notch : m_vehicle.NotchTable) {
    const int top = std::clamp(std::max(m_vehicle.MaxSpeed, notch.s2) + 2, 0, 2000);
    m_state.notchPowers.push_back(powersOf(notch.k, top));
  }
}

long double Traction::force(long double acceleration, long double scale) const {
  return acceleration * scale / 3.6L * m_vehicle.Tons.ld() * 1000;
}

long double Traction::dieselForce(HandleModel& handle, Fixed speed, long double v) {
  const HandleState& h = handle.state();
  const Vehicle& veh = m_vehicle;
  const auto& gears = veh.GearTable;
  const bool validIndex = h.gearIndex >= 0 && static_cast<size_t>(h.gearIndex) < gears.size();
  if (!validIndex) return 0;
  const GearEntry& g = gears[h.gearIndex];
  if (!veh.manualGears) {
    if (v > g.sc && static_cast<size_t>(h.gearIndex) + 1 < gears.size()) handle.automaticGearUp();
    // No gear below the converter: the down-shift stops at gear 0.
    if (std::fabs(speed.ld() + 5) < g.sa && h.gearPosition > 0) handle.automaticGearDown();
  }
  const int n = h.effectivePower;
  if (h.gearChange || n <= 0 || veh.Power <= 0) return 0;
  const long double scale = m_state.engineLevel / 100 / veh.Power * n;
  return force(dieselAcceleration(g, v), scale);
}

std::optional<Fixed> Traction::tractionBlock(HandleModel& handle, Fixed speed,
                                             Fixed targetVoltage) {
  const HandleState& h = handle.state();
  const Vehicle& veh = m_vehicle;
  if (!(targetVoltage.raw > 0 && speed < Fixed::fromInt(veh.MaxSpeed))) return std::nullopt;

  Fixed net{};
  if (!h.doorOpen && !h.atsEmergency && !h.protectionBrake) {
    const long double v = std::fabs(speed.ld());
    if (veh.Engine_Type == 1) {
      const int n = h.effectivePower;
      if (n > 0 && static_cast<size_t>(n) <= veh.NotchTable.size())
        net = Fixed::from(
            force(electricAcceleration(veh.NotchTable[n - 1], v, &m_state.notchPowers[n - 1]), 1));
    } else if (veh.Engine_Type == 0 && !h.gearChange) {
      net = Fixed::from(dieselForce(handle, speed, v));
    }

    // A gear change takes 80 ticks on the counter the power delay shares.
    if (veh.Engine_Type == 0 && h.gearChange) handle.gearChangeTick();
    handle.powerDelayTick();

    if (h.reverser == 0) net = Fixed{};
    if (h.reverser == -1) net = Fixed::fromRaw(-net.raw);
  }
  return net;
}

// Where v stands between sa and sc, 0 at sa and 1 at sc; a gear with sa = sc is a step.
static long double gearFraction(const GearEntry& g, long double v) {
  if (g.sc == g.sa) return v >= g.sa ? 1 : 0;
  return (v - g.sa) / (g.sc - g.sa);
}

void Traction::engineLevel(const HandleState& handle, Fixed speed) {
  if (m_vehicle.Engine_Type != 0) return;
  long double& e = m_state.engineLevel;
  const int n = handle.effectivePower;
  const int gi = handle.gearIndex;
  const bool validGear = gi >= 0 && static_cast<size_t>(gi) < m_vehicle.GearTable.size();
  if (n >= 1 && !handle.gearChange) {
    if (!validGear) return;
    const GearEntry& g = m_vehicle.GearTable[gi];
    const long double v = speed.ld();
    const long double ceiling =
        m_vehicle.Power > 0 ? 50 + 50 * static_cast<long double>(n) / m_vehicle.Power : 100;
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
