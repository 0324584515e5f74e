#include "brake_predictor.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velmoria::drive {
namespace {

Vehicle emu(int brakeType = 1) {
  Vehicle v;
  v.BrakeType = brakeType;
  v.Brake = brakeType == 0 ? 4 : 8;
  v.BrakeRate = Fixed::fromRaw(42000);  // 4.2 km/h/s
  v.EBPress = 440;
  v.BrakeUp = 200;
  v.BrakeDown = 160;
  v.Lose_elec = 7;
  v.Tons = Fixed::fromInt(320);
  v.Cars = 10;
  return v;
}

TEST(BrakePredictor, levels_and_cylinder_targets_follow_the_brake_type) {
  const Vehicle one = emu(1), two = emu(2), three = emu(0);
  const BrakePredictor p1(one), p2(two), p0(three);
  EXPECT_EQ(p1.levels(), 7);
  EXPECT_DOUBLE_EQ(double(p1.bcTarget(7)), 440.0);       // B7 fills the cylinder
  EXPECT_NEAR(double(p1.bcTarget(1)), 440.0 / 7, 1e-9);  // 62.86 kPa
  EXPECT_NEAR(double(p2.bcTarget(7)), 385.0, 1e-9);      // 440 / 8 x 7
  EXPECT_EQ(p0.levels(), 7);                             // pressures held with apply and lap
  EXPECT_NEAR(double(p0.bcTarget(7)), 440.0, 1e-9);
  EXPECT_EQ(p1.bcTarget(0), 0);
}

TEST(BrakePredictor, deceleration_is_the_brake_rate_scaled_by_the_cylinder) {
  const Vehicle v = emu();
  const BrakePredictor p(v);
  EXPECT_NEAR(double(p.deceleration(7, 30)), 4.2, 1e-12);
  EXPECT_NEAR(double(p.deceleration(1, 30)), 0.6, 1e-12);
  // Below [Lose_elec] the shoes grip harder: 0.32(1+0.01v)/(1+0.05v) against its value at 7.
  const double shoe05 = 0.32 * 1.005 / 1.025, shoe7 = 0.32 * 1.07 / 1.35;
  EXPECT_NEAR(double(p.brakeRate(0.5)), 4.2 * shoe05 / shoe7 / 2, 1e-12);  // halved below 1
  EXPECT_NEAR(double(p.brakeRate(7)), 4.2, 1e-12);
}

TEST(BrakePredictor, resistance_and_gradient) {
  const Vehicle v = emu();
  const BrakePredictor p(v);
  // 9.8 x ((1.32 + 0.0164 x 50) x 320 + (0.028 + 0.0078 x 9) x 2500) N on 320 t, x 3.6.
  const double r = 9.8 * ((1.32 + 0.0164 * 50) * 320 + (0.028 + 0.0078 * 9) * 2500);
  EXPECT_NEAR(double(p.resistanceDeceleration(50, 0)), r / 320000 * 3.6, 1e-9);
  // 10 per mille uphill at a standstill: g sin(theta) only.
  EXPECT_NEAR(double(p.resistanceDeceleration(0, 10)), 9.8 * 10 / std::sqrt(100.0 + 1e6) * 3.6,
              1e-9);
  EXPECT_LT(p.resistanceDeceleration(0, -10), 0);  // downhill pushes
}

TEST(BrakePredictor, stopping_distance_lies_within_the_physics_bounds) {
  const Vehicle v = emu();
  const BrakePredictor p(v);
  BrakeState s;
  s.speedKmh = 60;
  s.bcKpa = 440;
  s.effectiveLevel = 7;
  // Full cylinder from the start: at least v^2 / (7.2 x (4.2 + resistance)) and at most
  // v^2 / (7.2 x 4.2) plus a tick of running.
  const double cm = double(p.stopDistanceCm(s, 7));
  const double upper = 60.0 * 60 / (7.2 * 4.2) * 100 + 60 / 3.6 * 10;
  const double lower = 60.0 * 60 / (7.2 * (4.2 + 0.3)) * 100;
  EXPECT_GT(cm, lower);
  EXPECT_LT(cm, upper);
}

TEST(BrakePredictor, stronger_steps_and_a_full_cylinder_stop_sooner) {
  const Vehicle v = emu();
  const BrakePredictor p(v);
  BrakeState s;
  s.speedKmh = 45;
  long double previous = 1e12L;
  for (int k = 1; k <= p.levels(); ++k) {
    const long double d = p.stopDistanceCm(s, k);
    EXPECT_LT(d, previous) << "level " << k;
    previous = d;
  }
  BrakeState full = s;
  full.bcKpa = 440;
  full.effectiveLevel = 7;
  EXPECT_LT(p.stopDistanceCm(full, 7), p.stopDistanceCm(s, 7));
  BrakeState uphill = s;
  uphill.gradient = 10;
  EXPECT_LT(p.stopDistanceCm(uphill, 3), p.stopDistanceCm(s, 3));
}

TEST(BrakePredictor, the_brake_delay_keeps_the_old_level_for_a_while) {
  const Vehicle v = emu();
  const BrakePredictor p(v);
  BrakeState s;
  s.speedKmh = 40;
  s.bcKpa = 440;
  s.effectiveLevel = 7;
  BrakeState lagging = s;
  lagging.lagSteps = 30;  // a second more of B7 before B2 takes over
  EXPECT_LT(p.stopDistanceCm(lagging, 2), p.stopDistanceCm(s, 2));
}

TEST(BrakePredictor, released_train_on_the_level_is_capped_by_the_limit) {
  const Vehicle v = emu();
  const BrakePredictor p(v);
  BrakeState s;
  s.speedKmh = 80;
  EXPECT_GE(p.stopDistanceCm(s, 0, 5000), 5000);
  s.speedKmh = 0;
  EXPECT_EQ(p.stopDistanceCm(s, 3), 0);
}

}  // namespace
}  // namespace velmoria::drive
