// The 100 ms half of the dynamics: brake force, adhesion, gradient and running resistance, and
// the integration of the speed over 0.1 s. Also the effective gradient over the train's length.
#include <algorithm>
#include <cmath>

#include "vehicle/dynamics.h"

#include "frame/startup_error.h"

namespace velmoria {

namespace {

constexpr long double kGravity = 9.8L;

// Brake-shoe friction against speed; the brake rate falls with it below [Lose_elec].
long double shoeFriction(long double x) {
  return 0.32L * (1 + 0.01L * x) / (1 + 0.05L * x);
}

long double speedChange(long double force, long double tons) {
  return force / (tons * 1000) * 3.6L / 10;
}

// The gradient history holds 20 samples; a train outside 1..20 cars uses the nearest count.
int gradientSamples(const Vehicle& v) {
  return std::clamp<int32_t>(v.Cars, 1, 20);
}

}  // namespace

void Dynamics::init() {
  const Vehicle& vehicle = m_vehicle;
  // A train without mass cannot be integrated; refuse the file rather than drive on NaN.
  if (vehicle.Tons.raw <= 0)
    throw StartupError("車両ファイルの[Tons]には0より大きい値を指定してください");
  if (vehicle.Mt.raw < 0) throw StartupError("車両ファイルの[Mt]には0以上の値を指定してください");
  m_state = TrainState{};
  m_state.baseAdhesion = Fixed::from(0.345L);
  m_state.adhesion = m_state.baseAdhesion;
  m_state.brakeRate = vehicle.BrakeRate;
}

void Dynamics::clearForces() {
  m_state.netForce = Fixed{};
  m_state.resistance = Fixed{};
}

void Dynamics::applyTraction(Fixed netForce) {
  m_state.netForce = netForce;
  m_state.motorForce = netForce;
}

void Dynamics::dynamicsBlock(const HandleState& handle, const AirState& air) {
  const Vehicle& vehicle = m_vehicle;
  TrainState& t = m_state;
  const long double speed = t.speed.ld();
  const long double v = std::fabs(speed);
  const long double tons = vehicle.Tons.ld();
  const long double mt = vehicle.Mt.ld();

  // 1. Brake rate: the shoe friction fades it below [Lose_elec]; near standstill it is halved.
  t.brakeRate = vehicle.BrakeRate;
  if (speed > 0 && speed < vehicle.Lose_elec)
    t.brakeRate = Fixed::from(t.brakeRate.ld() * shoeFriction(v) / shoeFriction(vehicle.Lose_elec));
  if (v < 1) t.brakeRate = Fixed::from(t.brakeRate.ld() / 2);

  // 2, 3. Brake force against the direction of travel; none at exactly 0.
  if (air.bc.raw > 0 && vehicle.EBPress > 0) {
    const long double fb = t.brakeRate.ld() / 3.6L * air.bc.ld() / vehicle.EBPress * tons * 1000;
    if (t.speed.raw > 0) t.netForce = Fixed::from(t.netForce.ld() - fb);
    if (t.speed.raw < 0) t.netForce = Fixed::from(t.netForce.ld() + fb);
    if (speed > vehicle.Lose_elec && handle.effectiveBrake != -vehicle.Brake &&
        !handle.atsEmergency)
      t.motorForce = t.netForce;  // the electric brake's share, for the ammeter
  }

  // 4. Adhesion falls with speed.
  t.adhesion = Fixed::from(t.baseAdhesion.ld() * (1 + 0.05L * v) / (1 + 0.1L * v));
  const long double mu = t.adhesion.ld();

  // 5. Gravity along the gradient.
  const long double g = t.effectiveGradient.ld();
  const long double hyp = std::sqrt(g * g + 1000 * 1000);
  t.resistance = Fixed::from(t.resistance.ld() - tons * 1000 * kGravity * g / hyp);

  // 6. Wheel slip while powering, skid while braking.
  const long double cosTheta = 1000 / hyp;
  t.poweringLimit = Fixed::from(cosTheta * mu * mt * 1000 * kGravity);
  t.brakingLimit = Fixed::from(-(cosTheta * mu * tons * 1000 * kGravity));
  if (handle.powerNotch >= 1 && t.netForce > t.poweringLimit) {
    t.netForce = Fixed::from(0.5L * mu * mt * 1000 * kGravity);
    t.wheelState = "Racing";
  } else if (handle.brakeStep < 0 && t.netForce < t.brakingLimit) {
    t.netForce = Fixed::from(-mu * tons * 1000 * kGravity);
    t.wheelState = "Sliding";
  } else {
    t.wheelState = "Normal";
  }

  // 7. Starting on an up-grade takes more than the grade alone.
  if (v < 8 && t.resistance.raw > 0) {
    if (t.speed.raw > 0) t.resistance = Fixed::from(t.resistance.ld() - (8 - speed) * 9.8L * tons);
    if (t.speed.raw < 0) t.resistance = Fixed::from(t.resistance.ld() + (8 - speed) * 9.8L * tons);
  }

  // 8. Running resistance, always against the motion.
  const long double r =
      kGravity * ((1.32L + 0.0164L * v) * tons +
                  (0.028L + 0.0078L * (std::max<int32_t>(vehicle.Cars, 1) - 1)) * v * v);
  if (t.speed > Fixed::from(0.1L)) t.resistance = Fixed::from(t.resistance.ld() - r);
  if (t.speed < Fixed::from(-0.1L)) t.resistance = Fixed::from(t.resistance.ld() + r);

  // 9. In the hold position the brake holds the train against a falling gradient.
  if (t.resistance.raw > 0 && handle.hold && t.effectiveGradient.raw < 0)
    t.netForce = Fixed::from(t.netForce.ld() - t.resistance.ld());

  // 10. Where this tick's integration would take the speed.
  t.predictedSpeed = Fixed::from(speed + speedChange(t.netForce.ld(), tons));
  t.predictedSpeed = Fixed::from(t.predictedSpeed.ld() + speedChange(t.resistance.ld(), tons));

  // 11. A brake that would reverse the train stops it instead. The train then stands: the
  // integration is skipped so that the stop ends at exactly 0, not a hair beyond.
  const auto absRaw = [](Fixed f) { return f.raw < 0 ? -f.raw : f.raw; };
  if (t.netForce.raw < 0 && absRaw(t.resistance) < absRaw(t.netForce) && t.speed.raw != 0 &&
      speed * t.predictedSpeed.ld() <= 0) {
    t.speed = Fixed{};
    t.netForce = Fixed{};
    return;
  }

  // 12. Integrate over 0.1 s.
  t.speed = Fixed::from(t.speed.ld() + speedChange(t.resistance.ld(), tons));
  t.speed = Fixed::from(t.speed.ld() + speedChange(t.netForce.ld(), tons));
}

void Dynamics::effectiveGradient(long double distance, Fixed currentGradient) {
  TrainState& train = m_state;
  if (std::fabs(distance - train.gradientSampleDistance) <= 2000) return;
  train.gradientSampleDistance = distance;
  const int n = gradientSamples(m_vehicle);
  auto& h = train.gradientHistory;
  for (int i = n - 1; i >= 1; --i) h[i] = h[i - 1];
  h[0] = static_cast<int32_t>(currentGradient.rounded());
  long double sum = 0;
  for (int i = 0; i < n; ++i) sum += h[i];
  train.effectiveGradient = Fixed::from(sum / n);
}

}  // namespace velmoria
