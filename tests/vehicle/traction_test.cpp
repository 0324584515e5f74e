#include "vehicle/traction.h"

#include <gtest/gtest.h>

#include "support/steps.h"
#include "support/test_run.h"

namespace velmoria {
namespace {

struct CurveCase {
  const char* region;
  NotchEntry notch;
  long double v;
  long double expected;  // worked out by hand
};

class ElectricCurve : public ::testing::TestWithParam<CurveCase> {};

TEST_P(ElectricCurve, gives_the_acceleration_of_its_region) {
  const auto& c = GetParam();
  EXPECT_NEAR(static_cast<double>(electricAcceleration(c.notch, c.v)),
              static_cast<double>(c.expected), 1e-12)
      << c.region;
}

const NotchEntry kNotch{2.0, 3.0, 40, 60, 0.97};
INSTANTIATE_TEST_SUITE_P(
    Regions, ElectricCurve,
    ::testing::Values(CurveCase{"linear at 0", kNotch, 0, 2.0},
                      CurveCase{"linear at 20", kNotch, 20, 2.5},
                      CurveCase{"constant power at s1", kNotch, 40, 3.0},
                      CurveCase{"constant power at 50", kNotch, 50, 2.4},
                      CurveCase{"decay starts at s2 with k^0", kNotch, 60, 2.0},
                      // 3 x 40 / 80 x 0.97^20, with 0.97^20 = 0.543794342926747
                      CurveCase{"decay at 80", kNotch, 80, 0.8156915143901204L},
                      // round(80.4) = 80: still 0.97^20, but divided by 80.4
                      CurveCase{"decay rounds v for the power", kNotch, 80.4L,
                                120.0L / 80.4L * 0.543794342926747L},
                      // round(80.6) = 81: one more factor 0.97
                      CurveCase{"decay at 80.6 takes k^21", kNotch, 80.6L, 0.7853307880480564L},
                      CurveCase{"k of 0 above s2", NotchEntry{2.0, 3.0, 40, 60, 0.0}, 70, 0.0},
                      CurveCase{"k of 0 at s2", NotchEntry{2.0, 3.0, 40, 60, 0.0}, 60, 2.0},
                      CurveCase{"s1 of 0 at standstill", NotchEntry{2.0, 3.0, 0, 60, 0.97}, 0, 0.0},
                      CurveCase{"s1 of 0 moving", NotchEntry{2.0, 3.0, 0, 60, 0.97}, 30, 0.0}));

TEST(IntegerPower, multiplies_and_divides) {
  EXPECT_DOUBLE_EQ(static_cast<double>(integerPower(2, 10)), 1024.0);
  EXPECT_DOUBLE_EQ(static_cast<double>(integerPower(2, -2)), 0.25);
  EXPECT_DOUBLE_EQ(static_cast<double>(integerPower(0.5, 0)), 1.0);
}

struct GearCase {
  long double v;
  long double expected;
};
class DieselCurve : public ::testing::TestWithParam<GearCase> {};

TEST_P(DieselCurve, interpolates_through_sa_sb_sc) {
  const GearEntry gear{10, 30, 60, 2.0, 1.0, 0.4};
  EXPECT_NEAR(static_cast<double>(dieselAcceleration(gear, GetParam().v)),
              static_cast<double>(GetParam().expected), 1e-12);
}
INSTANTIATE_TEST_SUITE_P(Spans, DieselCurve,
                         ::testing::Values(GearCase{10, 2.0}, GearCase{20, 1.5},
                                           // below sa the distance to sa counts as positive:
                                           // the curve is mirrored, not extended
                                           GearCase{0, 1.5}, GearCase{30, 1.0}, GearCase{45, 0.7},
                                           GearCase{59.9L, 0.402L}, GearCase{60, 0.0},
                                           GearCase{90, 0.0}));

TEST(DieselCurve, an_empty_first_span_gives_its_first_value) {
  EXPECT_DOUBLE_EQ(static_cast<double>(dieselAcceleration({20, 20, 60, 2.0, 1.0, 0.4}, 5)), 2.0);
}

// 300 t: a force of a / 3.6 x 300 000 N.
class TractionStep : public ::testing::Test {
 protected:
  test::TestRun t;
  velmoria::Run& start(int notch, long double speed) {
    t.data.vehicle.NotchTable.assign(4, NotchEntry{2.0, 3.0, 40, 60, 0.97});
    velmoria::Run& run = t.make();
    poke(run).handle.doorOpen = false;
    poke(run).handle.effectivePower = notch;
    poke(run).handle.powerNotch = notch;
    poke(run).train.speed = Fixed::from(speed);
    return run;
  }
};

TEST_F(TractionStep, notch_force_is_acceleration_times_mass) {
  velmoria::Run& run = start(1, 20);
  run.MMTimer1Timer();
  // 2.5 / 3.6 x 300 000 = 208 333.3333
  EXPECT_EQ(poke(run).train.netForce.raw, 2083333333);
  EXPECT_EQ(poke(run).train.motorForce.raw, 2083333333);
}

TEST_F(TractionStep, reverser_keeps_clears_or_negates) {
  for (int reverser : {1, 0, -1}) {
    velmoria::Run& run = start(1, 20);
    poke(run).handle.reverser = reverser;
    run.MMTimer1Timer();
    EXPECT_EQ(poke(run).train.netForce.raw, reverser * 2083333333LL) << reverser;
  }
}

TEST_F(TractionStep, open_doors_hold_the_notch_in_its_delay) {
  velmoria::Run& run = start(0, 0);
  poke(run).handle.doorOpen = true;
  poke(run).handle.powerNotch = 2;
  poke(run).handle.powerPending = true;
  run.MMTimer1Timer();
  EXPECT_EQ(poke(run).train.netForce.raw, 0);
  EXPECT_EQ(poke(run).handle.effectivePower, 0);
  EXPECT_TRUE(poke(run).handle.powerPending);
  poke(run).handle.doorOpen = false;
  run.MMTimer1Timer();  // the delay of 1 expires now; the force follows next step
  EXPECT_EQ(poke(run).handle.effectivePower, 2);
  EXPECT_EQ(poke(run).train.netForce.raw, 0);
  run.MMTimer1Timer();
  EXPECT_EQ(poke(run).train.netForce.raw, 1666666667);  // a0 = 2.0 at standstill: 166 666.6667 N
}

TEST_F(TractionStep, no_traction_at_max_speed_or_under_protection) {
  velmoria::Run& run = start(1, 120);
  run.MMTimer1Timer();
  EXPECT_EQ(poke(run).train.netForce.raw, 0);
  velmoria::Run& run2 = start(1, 20);
  poke(run2).handle.atsEmergency = true;
  run2.MMTimer1Timer();
  EXPECT_EQ(poke(run2).train.netForce.raw, 0);
}

TEST(DieselTraction, scales_by_engine_level_and_notch_share) {
  test::TestRun t;
  t.data.vehicle = test::dieselVehicle();
  velmoria::Run& run = t.make();
  poke(run).handle.doorOpen = false;
  poke(run).handle.effectivePower = 2;
  poke(run).traction.engineLevel = 80;
  poke(run).train.speed = Fixed::fromInt(10);
  run.MMTimer1Timer();
  // gear 0 (0, 20, 40; 2.0, 1.5, 1.0) at 10 km/h: 1.75 km/h/s; x 80/100 / 3.6 x 300 000 / 4 x 2
  // = 1.75 x 0.8 x 83 333.33 / 2 = 58 333.3333
  EXPECT_EQ(poke(run).train.netForce.raw, 583333333);
}

TEST(DieselTraction, automatic_gear_change_takes_80_steps_without_force) {
  test::TestRun t;
  t.data.vehicle = test::dieselVehicle();
  t.data.vehicle.PowerDelay = 1;
  velmoria::Run& run = t.make();
  poke(run).handle.doorOpen = false;
  poke(run).handle.effectivePower = 1;
  poke(run).traction.engineLevel = 100;
  poke(run).train.speed = Fixed::fromInt(41);  // above sc = 40 of gear 0
  run.MMTimer1Timer();
  EXPECT_EQ(poke(run).handle.gearPosition, 1);
  EXPECT_TRUE(poke(run).handle.gearChange);
  EXPECT_EQ(poke(run).train.netForce.raw, 0);
  EXPECT_EQ(poke(run).handle.powerCounter, 1);
  for (int i = 1; i < 79; ++i) run.MMTimer1Timer();
  EXPECT_TRUE(poke(run).handle.gearChange);
  EXPECT_EQ(poke(run).handle.gearIndex, 0);
  run.MMTimer1Timer();  // the 80th step ends the change
  EXPECT_FALSE(poke(run).handle.gearChange);
  EXPECT_EQ(poke(run).handle.gearIndex, 1);
  EXPECT_EQ(poke(run).display.GearLabel.text, "直1");
  run.MMTimer1Timer();
  // gear 1 (30, 50, 70; 1.0, 0.8, 0.6) at 41: 1.0 + 11 x (-0.2 / 20) = 0.89;
  // x 1.0 / 3.6 x 300 000 / 4 = 18 541.6667
  EXPECT_EQ(poke(run).train.netForce.raw, 185416667);
}

TEST(DieselTraction, down_shift_stops_at_the_converter_gear) {
  test::TestRun t;
  t.data.vehicle = test::dieselVehicle();
  t.data.vehicle.GearTable[0].sa = 10;  // |0 + 5| < 10 would ask for gear -1
  velmoria::Run& run = t.make();
  poke(run).handle.doorOpen = false;
  run.MMTimer1Timer();
  EXPECT_EQ(poke(run).handle.gearPosition, 0);
  EXPECT_FALSE(poke(run).handle.gearChange);
}

TEST(DieselTraction, down_shift_below_sa_minus_5) {
  test::TestRun t;
  t.data.vehicle = test::dieselVehicle();
  velmoria::Run& run = t.make();
  poke(run).handle.doorOpen = false;
  poke(run).handle.gearPosition = poke(run).handle.gearIndex = 1;  // sa = 30
  poke(run).train.speed = Fixed::fromInt(25);                      // |25 + 5| is not below 30
  run.MMTimer1Timer();
  EXPECT_FALSE(poke(run).handle.gearChange);
  poke(run).train.speed = Fixed::from(24.9L);
  run.MMTimer1Timer();
  EXPECT_TRUE(poke(run).handle.gearChange);
  EXPECT_EQ(poke(run).handle.gearPosition, 0);
}

TEST(DieselTraction, manual_gearbox_never_shifts_by_itself) {
  test::TestRun t;
  t.data.vehicle = test::dieselVehicle();
  t.data.vehicle.manualGears = true;
  velmoria::Run& run = t.make();
  poke(run).handle.doorOpen = false;
  poke(run).train.speed = Fixed::fromInt(60);
  run.MMTimer1Timer();
  EXPECT_EQ(poke(run).handle.gearPosition, 0);
}

}  // namespace
}  // namespace velmoria

namespace velmoria {
namespace {

TEST(PowerTable, gives_exactly_the_repeated_multiplication) {
  const NotchEntry notch{2.0, 3.0, 40, 60, 0.973};
  const auto table = powersOf(notch.k, 130);
  for (long double v = 60; v < 140; v += 0.37L) {
    EXPECT_EQ(electricAcceleration(notch, v, &table), electricAcceleration(notch, v)) << v;
  }
  EXPECT_EQ(table[7], integerPower(notch.k, 7));
}

}  // namespace
}  // namespace velmoria

namespace velmoria {
namespace {

TEST(DieselTraction, power_delay_shares_the_gear_counter) {
  test::TestRun t;
  t.data.vehicle = test::dieselVehicle();
  t.data.vehicle.PowerDelay = 5;
  velmoria::Run& run = t.make();
  poke(run).handle.doorOpen = false;
  poke(run).handle.gearChange = true;
  poke(run).handle.powerNotch = 2;
  poke(run).handle.powerPending = true;
  // Each step counts twice, once for the gear change and once for the delay: 2, 4, 6.
  run.MMTimer1Timer();
  run.MMTimer1Timer();
  EXPECT_EQ(poke(run).handle.effectivePower, 0);
  EXPECT_EQ(poke(run).handle.powerCounter, 4);
  run.MMTimer1Timer();
  EXPECT_EQ(poke(run).handle.effectivePower, 2);
  EXPECT_EQ(poke(run).handle.powerCounter, 0);  // and the gear change starts its count again
  EXPECT_TRUE(poke(run).handle.gearChange);
}

}  // namespace
}  // namespace velmoria
