#pragma once
// Tractive effort: the electric notch curves and the diesel gear curves, the 33 ms traction
// block that turns the effective notch into force, and the diesel engine's level. Called from
// the 33 ms step and the run loop (UI thread). Accelerations in km/h/s, speeds in km/h
// (magnitudes), forces in N.
#include <optional>
#include <vector>

#include "frame/fixed.h"
#include "vehicle/handle_model.h"
#include "vehicle/vehicle.h"

namespace velmoria {

// Acceleration of one electric notch at speed v: linear up to s1, constant power up to s2,
// then decaying by k per km/h. `powers`, when given, holds k^0, k^1, ... built by repeated
// multiplication (powersOf), so a lookup gives the very value the multiplication would.
long double electricAcceleration(const NotchEntry& notch, long double v,
                                 const std::vector<long double>* powers = nullptr);

// k^0 .. k^count, each the previous times k.
std::vector<long double> powersOf(long double k, int count);

// Acceleration of one diesel gear at speed v, interpolated through sa, sb and sc; 0 from sc.
long double dieselAcceleration(const GearEntry& gear, long double v);

// k to an integer power by repeated multiplication (negative powers divide).
long double integerPower(long double k, long long n);

struct TractionState {
  long double engineLevel = 0;                        // diesel, percent
  std::vector<std::vector<long double>> notchPowers;  // per notch: k^0 .. k^n, set up once
};

class Traction {
 public:
  explicit Traction(const Vehicle& vehicle) : m_vehicle(vehicle) {}
  void init();
  const TractionState& state() const { return m_state; }

  // Step 2 of the 33 ms step: the force of the effective notch or gear (the forces were just
  // cleared), the diesel's gear changes, the power delay and the reverser. The net force the
  // train then has, or nullopt when traction does not run at all (no line voltage, at the
  // vehicle's top speed).
  std::optional<Fixed> tractionBlock(HandleModel& handle, Fixed speed, Fixed targetVoltage);
  // Run loop, diesel cars: the engine rises while powering and falls back to idle (50).
  void engineLevel(const HandleState& handle, Fixed speed);

 private:
  friend struct StateAccess;
  long double dieselForce(HandleModel& handle, Fixed speed, long double v);
  long double force(long double acceleration, long double scale) const;

  const Vehicle& m_vehicle;
  TractionState m_state;
};

}  // namespace velmoria
