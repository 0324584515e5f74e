#pragma once
// The train's motion: the forces of the 33 ms step and the 100 ms dynamics block that applies
// the brake, adhesion, gradient and running resistance and integrates the speed over 0.1 s;
// and the effective gradient over the train's length. UI thread. Forces in N, speeds in km/h,
// masses in t, gradients per mille.
#include <array>
#include <cstdint>
#include <string>

#include "frame/fixed.h"
#include "vehicle/air_brake.h"
#include "vehicle/handle_model.h"
#include "vehicle/vehicle.h"

namespace velmoria {

struct TrainState {
  Fixed speed;                             // km/h, signed
  Fixed netForce, resistance, motorForce;  // N
  Fixed predictedSpeed;
  Fixed brakeRate;  // effective, km/h/s
  Fixed adhesion, baseAdhesion;
  Fixed poweringLimit, brakingLimit;  // N, shown by the value display
  std::string wheelState = "Normal";
  std::array<int32_t, 20> gradientHistory{};
  Fixed effectiveGradient;
  long double gradientSampleDistance = 0;
};

class Dynamics {
 public:
  explicit Dynamics(const Vehicle& vehicle) : m_vehicle(vehicle) {}
  // Throws StartupError for a train without mass.
  void init();
  const TrainState& state() const { return m_state; }
  int32_t roundedSpeed() const { return static_cast<int32_t>(m_state.speed.rounded()); }

  // The 33 ms step: forces cleared, then the traction's net force (also the motor's share).
  void clearForces();
  void applyTraction(Fixed netForce);
  // Step 3 of the run loop.
  void dynamicsBlock(const HandleState& handle, const AirState& air);
  // Step 18: a new sample of the gradient every 20 m, averaged over the train's cars.
  void effectiveGradient(long double distance, Fixed currentGradient);

  // Follow mode, the speed keys, the station jump.
  void setSpeed(Fixed speed) { m_state.speed = speed; }
  void clearGradient() { m_state.effectiveGradient = Fixed{}; }

 private:
  friend struct StateAccess;
  const Vehicle& m_vehicle;
  TrainState m_state;
};

}  // namespace velmoria
