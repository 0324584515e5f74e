// Tractive effort of electric notches and diesel gears, and the traction block of the 33 ms
// step with its gear changes, power delay and reverser.
#include "vehicle/traction.h"

#include <cmath>

#include "run/run.h"

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

namespace {

constexpr int kGearChangeTicks = 80;  // about 2.6 s

void addForce(TrainState& t, long double acceleration, const Vehicle& veh, long double scale) {
  const long double force = acceleration * scale / 3.6L * veh.Tons.ld() * 1000;
  t.netForce = Fixed::from(t.netForce.ld() + force);
}

void dieselTraction(Run& run, long double v) {
  HandleState& h = run.handle;
  const Vehicle& veh = run.vehicle;
  const auto& gears = veh.GearTable;
  const bool validIndex = h.gearIndex >= 0 && static_cast<size_t>(h.gearIndex) < gears.size();
  if (!validIndex) return;
  const GearEntry& g = gears[h.gearIndex];
  if (!veh.manualGears) {
    if (v > g.sc && static_cast<size_t>(h.gearIndex) + 1 < gears.size()) {
      ++h.gearPosition;
      h.gearChange = true;
    }
    // No gear below the converter: the down-shift stops at gear 0.
    if (std::fabs(run.train.speed.ld() + 5) < g.sa && h.gearPosition > 0) {
      --h.gearPosition;
      h.gearChange = true;
    }
  }
  const int n = h.effectivePower;
  if (h.gearChange || n <= 0 || veh.Power <= 0) return;
  const long double scale = run.train.engineLevel / 100 / veh.Power * n;
  addForce(run.train, dieselAcceleration(g, v), veh, scale);
}

}  // namespace

void tractionBlock(Run& run) {
  TrainState& t = run.train;
  HandleState& h = run.handle;
  const Vehicle& veh = run.vehicle;
  if (!(t.targetVoltage.raw > 0 && t.speed < Fixed::fromInt(veh.MaxSpeed))) return;

  if (!h.doorOpen && !h.atsEmergency && !h.protectionBrake) {
    const long double v = std::fabs(t.speed.ld());
    if (veh.Engine_Type == 1) {
      const int n = h.effectivePower;
      if (n > 0 && static_cast<size_t>(n) <= veh.NotchTable.size())
        addForce(t, electricAcceleration(veh.NotchTable[n - 1], v, &t.notchPowers[n - 1]), veh, 1);
    } else if (veh.Engine_Type == 0 && !h.gearChange) {
      dieselTraction(run, v);
    }

    // A gear change takes 80 ticks on the counter the power delay shares.
    if (veh.Engine_Type == 0 && h.gearChange) {
      ++h.powerCounter;
      if (h.powerCounter >= kGearChangeTicks) {
        h.powerCounter = 0;
        h.gearIndex = h.gearPosition;
        h.gearChange = false;
        run.masconupdate();
      }
    }

    // The power delay; a delay below 1 acts at the next tick.
    if (h.powerPending) {
      ++h.powerCounter;
      if (h.powerCounter >= std::max(veh.PowerDelay, 1)) {
        h.powerCounter = 0;
        h.powerPending = false;
        h.effectivePower = h.powerNotch;
      }
    }

    if (h.reverser == 0) t.netForce = Fixed{};
    if (h.reverser == -1) t.netForce = Fixed::fromRaw(-t.netForce.raw);
  }
  t.motorForce = t.netForce;
}

}  // namespace velmoria
