#include <gtest/gtest.h>

#include "frame/startup_error.h"
#include "support/steps.h"
#include "support/test_run.h"

namespace velmoria {
namespace {

// The test train: 300 t, [Mt] 120, 10 cars, [BrakeRate] 4, [EBPress] 440, [Lose_elec] 10.
class Dynamics : public ::testing::Test {
 protected:
  test::TestRun t;
  velmoria::Run& run = t.make();
  void SetUp() override {
    poke(run).air.bc = Fixed{};
    poke(run).handle.brakeStep = 0;
    poke(run).handle.effectiveBrake = 0;
  }
  void at(long double speed) { poke(run).train.speed = Fixed::from(speed); }
};

TEST_F(Dynamics, standing_train_stays_exactly_at_zero) {
  for (int i = 0; i < 50; ++i) {
    poke(run).train.netForce = poke(run).train.resistance = Fixed{};
    run.tickStep(TickStep::DynamicsBlock);
  }
  EXPECT_EQ(poke(run).train.speed.raw, 0);
  EXPECT_EQ(poke(run).train.wheelState, "Normal");
}

TEST_F(Dynamics, running_resistance_opposes_the_motion_both_ways) {
  // R at 50 km/h = 9.8 x ((1.32 + 0.82) x 300 + (0.028 + 0.0702) x 2500) = 8697.5 N;
  // its change of speed is 8697.5 / 300 000 x 0.36 = 0.010437 km/h.
  at(50);
  run.tickStep(TickStep::DynamicsBlock);
  EXPECT_EQ(poke(run).train.resistance.raw, -86975000);
  EXPECT_EQ(poke(run).train.speed.raw, 499896);
  poke(run).train.resistance = Fixed{};
  at(-50);
  run.tickStep(TickStep::DynamicsBlock);
  EXPECT_EQ(poke(run).train.resistance.raw, 86975000);
  EXPECT_EQ(poke(run).train.speed.raw, -499896);
}

TEST_F(Dynamics, no_running_resistance_within_a_tenth_of_a_kmh) {
  at(0.1L);
  run.tickStep(TickStep::DynamicsBlock);
  EXPECT_EQ(poke(run).train.resistance.raw, 0);
  EXPECT_EQ(poke(run).train.speed.raw, 1000);
}

TEST_F(Dynamics, full_brake_above_lose_elec) {
  poke(run).air.bc = Fixed::fromInt(440);
  poke(run).handle.effectiveBrake = -3;
  at(50);
  run.tickStep(TickStep::DynamicsBlock);
  // Fb = 4 / 3.6 x 440/440 x 300 000 = 333 333.3333 N; also the ammeter's share.
  EXPECT_EQ(poke(run).train.motorForce.raw, -3333333333);
  EXPECT_EQ(poke(run).train.brakeRate.raw, 40000);
  // 50 - 0.010437 (resistance) - 0.4 (brake) = 49.5896
  EXPECT_EQ(poke(run).train.predictedSpeed.raw, 495896);
  EXPECT_EQ(poke(run).train.speed.raw, 495896);
  EXPECT_EQ(poke(run).train.wheelState, "Normal");
}

TEST_F(Dynamics, brake_rate_follows_shoe_friction_below_lose_elec) {
  poke(run).air.bc = Fixed::fromInt(440);
  at(5);
  run.tickStep(TickStep::DynamicsBlock);
  // 4 x mu(5) / mu(10) = 4 x (1.05 / 1.25) / (1.1 / 1.5) = 4.581818...
  EXPECT_EQ(poke(run).train.brakeRate.raw, 45818);
}

TEST_F(Dynamics, brake_rate_halved_below_1_kmh_and_uncorrected_backwards) {
  poke(run).air.bc = Fixed::fromInt(440);
  at(-0.5L);  // backwards: no friction correction, but halved
  run.tickStep(TickStep::DynamicsBlock);
  EXPECT_EQ(poke(run).train.brakeRate.raw, 20000);
  at(0);
  run.tickStep(TickStep::DynamicsBlock);
  EXPECT_EQ(poke(run).train.brakeRate.raw, 20000);
  at(0.5L);  // 4 x (1.005/1.025)/(1.1/1.5) = 5.34811, stored 5.3481, halved 2.67405
  run.tickStep(TickStep::DynamicsBlock);
  EXPECT_NEAR(static_cast<double>(poke(run).train.brakeRate.raw), 26740.5, 0.5);
}

TEST_F(Dynamics, braking_to_a_stop_ends_at_exactly_zero) {
  poke(run).air.bc = Fixed::fromInt(440);
  poke(run).handle.effectiveBrake = poke(run).handle.brakeStep = -7;
  at(3);
  int ticks = 0;
  while (poke(run).train.speed.raw != 0 && ticks < 100) {
    poke(run).train.netForce = poke(run).train.resistance = Fixed{};
    run.tickStep(TickStep::DynamicsBlock);
    ++ticks;
    ASSERT_GE(poke(run).train.speed.raw, 0);
  }
  EXPECT_EQ(poke(run).train.speed.raw, 0);
  EXPECT_EQ(poke(run).train.netForce.raw, 0);
  // And it stays there: no brake force at exactly 0.
  poke(run).train.netForce = poke(run).train.resistance = Fixed{};
  run.tickStep(TickStep::DynamicsBlock);
  EXPECT_EQ(poke(run).train.speed.raw, 0);
}

TEST_F(Dynamics, skid_caps_the_brake_force_at_mu_times_the_train_weight) {
  // mu at 40 km/h = 0.345 x 3 / 5 = 0.207; limit 0.207 x 300 000 x 9.8 = 608 580 N.
  poke(run).train.netForce = Fixed::fromInt(-700000);
  poke(run).handle.brakeStep = -7;
  at(40);
  run.tickStep(TickStep::DynamicsBlock);
  EXPECT_EQ(poke(run).train.adhesion.raw, 2070);
  EXPECT_EQ(poke(run).train.brakingLimit.raw, -6085800000);
  EXPECT_EQ(poke(run).train.wheelState, "Sliding");
  EXPECT_EQ(poke(run).train.netForce.raw, -6085800000);
}

TEST_F(Dynamics, slip_halves_the_powering_limit) {
  // Powering limit 0.207 x 120 x 1000 x 9.8 = 243 432 N; slipping leaves half: 121 716 N.
  poke(run).train.netForce = Fixed::fromInt(300000);
  poke(run).handle.powerNotch = 1;
  at(40);
  run.tickStep(TickStep::DynamicsBlock);
  EXPECT_EQ(poke(run).train.poweringLimit.raw, 2434320000);
  EXPECT_EQ(poke(run).train.wheelState, "Racing");
  EXPECT_EQ(poke(run).train.netForce.raw, 1217160000);
}

TEST_F(Dynamics, forces_under_the_limits_stay_normal) {
  poke(run).train.netForce = Fixed::fromInt(-700000);
  poke(run).handle.brakeStep = 0;  // no brake handle: no skid rule
  at(50);
  run.tickStep(TickStep::DynamicsBlock);
  EXPECT_EQ(poke(run).train.wheelState, "Normal");
  poke(run).train.netForce = Fixed::fromInt(300000);
  poke(run).handle.powerNotch = 0;
  run.tickStep(TickStep::DynamicsBlock);
  EXPECT_EQ(poke(run).train.wheelState, "Normal");
}

TEST_F(Dynamics, low_speed_term_on_a_falling_gradient) {
  poke(run).train.effectiveGradient = Fixed::fromInt(-10);
  at(5);
  run.tickStep(TickStep::DynamicsBlock);
  // grade: 300 000 x 9.8 x 10 / sqrt(100 + 10^6) = 29 398.5301; low speed: (8 - 5) x 9.8 x 300
  // = 8820; R at 5 km/h = 4145.939. Sum 16 432.5911.
  EXPECT_EQ(poke(run).train.resistance.raw, 164325911);
}

TEST_F(Dynamics, hold_position_cancels_a_falling_gradient) {
  poke(run).train.effectiveGradient = Fixed::fromInt(-10);
  poke(run).handle.hold = true;
  at(5);
  run.tickStep(TickStep::DynamicsBlock);
  EXPECT_EQ(poke(run).train.netForce.raw, -164325911);
  EXPECT_EQ(poke(run).train.speed.raw, 50000);  // the two terms cancel
}

TEST(TrainSetup, refuses_a_train_without_mass) {
  test::TestRun t;
  t.data.vehicle.Tons = Fixed{};
  EXPECT_THROW(t.make(), StartupError);
  test::TestRun u;
  u.data.vehicle.Mt = Fixed::fromInt(-1);
  EXPECT_THROW(u.make(), StartupError);
}

TEST(TrainSetup, starts_at_rest_with_full_line_voltage) {
  test::TestRun t;
  velmoria::Run& run = t.make();
  EXPECT_EQ(poke(run).train.speed.raw, 0);
  EXPECT_EQ(poke(run).train.baseAdhesion.raw, 3450);
  EXPECT_EQ(poke(run).meters.targetVoltage, Fixed::fromInt(1500));
  EXPECT_EQ(poke(run).meters.lineVoltage, Fixed::fromInt(1500));
}

class Gradient : public ::testing::Test {
 protected:
  test::TestRun t;
  velmoria::Run& make(int cars) {
    t.data.vehicle.Cars = cars;
    return t.make();
  }
  static void sampleAt(velmoria::Run& run, long double cm) {
    poke(run).pos.distance = cm;
    run.tickStep(TickStep::EffectiveGradient);
  }
};

TEST_F(Gradient, takes_one_sample_per_20_m_and_averages_over_the_cars) {
  velmoria::Run& run = make(10);
  poke(run).limits.currentGradient = Fixed::fromInt(10);
  sampleAt(run, 2000);  // exactly 20 m: not yet
  EXPECT_EQ(poke(run).train.effectiveGradient.raw, 0);
  for (int i = 1; i <= 10; ++i) {
    sampleAt(run, 2000.5L * i);
    EXPECT_EQ(poke(run).train.effectiveGradient, Fixed::fromInt(i)) << i;  // i x 10 / 10
  }
  sampleAt(run, 2000.5L * 11);
  EXPECT_EQ(poke(run).train.effectiveGradient, Fixed::fromInt(10));
}

TEST_F(Gradient, rounds_the_current_gradient_and_divides_exactly) {
  velmoria::Run& run = make(3);
  poke(run).limits.currentGradient = Fixed::from(2.5L);  // rounds to 2
  sampleAt(run, 2001);
  EXPECT_EQ(poke(run).train.gradientHistory[0], 2);
  EXPECT_EQ(poke(run).train.effectiveGradient.raw, 6667);  // 2 / 3
}

TEST_F(Gradient, a_train_beyond_twenty_cars_uses_the_twenty_samples_held) {
  velmoria::Run& run = make(25);
  poke(run).limits.currentGradient = Fixed::fromInt(20);
  sampleAt(run, 2001);
  EXPECT_EQ(poke(run).train.effectiveGradient, Fixed::fromInt(1));  // 20 / 20
  velmoria::Run& zero = make(0);
  poke(zero).limits.currentGradient = Fixed::fromInt(20);
  sampleAt(zero, 2001);
  EXPECT_EQ(poke(zero).train.effectiveGradient, Fixed::fromInt(20));
}

TEST(EngineLevel, rises_in_the_converter_gear_and_falls_back_to_idle) {
  test::TestRun t;
  t.data.vehicle = test::dieselVehicle();
  velmoria::Run& run = t.make();
  poke(run).handle.effectivePower = 2;  // ceiling 50 + 50 x 2/4 = 75
  test::engineLevel(run);               // 0 -> 4 -> 8 (0.5 x 96 = 48 > 4)
  EXPECT_DOUBLE_EQ(static_cast<double>(poke(run).traction.engineLevel), 8);
  for (int i = 0; i < 30; ++i) test::engineLevel(run);
  // 8 a tick up to 48 (the second rule's 0.5 x 96 at standstill), then 4 a tick until the
  // ceiling of 75 is passed: 76.
  EXPECT_DOUBLE_EQ(static_cast<double>(poke(run).traction.engineLevel), 76);
  poke(run).handle.effectivePower = 0;
  const long double before = poke(run).traction.engineLevel;
  test::engineLevel(run);
  EXPECT_DOUBLE_EQ(static_cast<double>(poke(run).traction.engineLevel),
                   static_cast<double>(before - 2));
  for (int i = 0; i < 30; ++i) test::engineLevel(run);
  EXPECT_DOUBLE_EQ(static_cast<double>(poke(run).traction.engineLevel), 50);
}

TEST(EngineLevel, direct_gear_follows_the_speed_within_its_range) {
  test::TestRun t;
  t.data.vehicle = test::dieselVehicle();
  velmoria::Run& run = t.make();
  poke(run).handle.effectivePower = 1;
  poke(run).handle.gearIndex = 1;  // sa 30, sc 70
  poke(run).train.speed = Fixed::fromInt(50);
  // target (0.3 x 0.5 + 0.7) x 96 = 81.6: rises by 4 while below it
  for (int i = 0; i < 40; ++i) test::engineLevel(run);
  EXPECT_DOUBLE_EQ(static_cast<double>(poke(run).traction.engineLevel), 84);
}

TEST(EngineLevel, electric_cars_have_none) {
  test::TestRun t;
  velmoria::Run& run = t.make();
  poke(run).handle.effectivePower = 2;
  test::engineLevel(run);
  EXPECT_EQ(poke(run).traction.engineLevel, 0);
}

}  // namespace
}  // namespace velmoria
