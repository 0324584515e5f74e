#include "view/instruments.h"

#include <gtest/gtest.h>

#include "support/run_ticks.h"
#include "support/steps.h"

namespace velmoria {
namespace {

using test::TestRun;

struct InstrumentRun : TestRun {
  InstrumentRun() {
    NeedleSpec n;
    n.file = "needle.bmp";
    n.zeroAngle = -135;
    n.anglePerUnit = 1.5L;  // degrees per km/h or kPa
    data.vehicle.Needle_Speed = n;
    data.vehicle.Needle_MR = n;
    data.vehicle.Needle_BC = n;
    data.vehicle.Needle_I = n;
  }
};

struct NeedleCase {
  double speed;
  int angle;  // -1000: the needle keeps its angle
  const char* digits;
};
class SpeedNeedleTest : public ::testing::TestWithParam<NeedleCase> {};

TEST_P(SpeedNeedleTest, turns_by_the_absolute_speed_below_160) {
  InstrumentRun t;
  auto& r = t.makeUnlocked();
  poke(r).display.Needle_Speed.angle = -1000;
  poke(r).train.speed = Fixed::from(GetParam().speed);
  r.tickStep(TickStep::NeedlesAndSpeed);
  EXPECT_EQ(poke(r).display.Needle_Speed.angle, GetParam().angle);
  EXPECT_EQ(poke(r).display.digi_speed.text, GetParam().digits);
}

// round(1.5 a - 135)
INSTANTIATE_TEST_SUITE_P(
    Speeds, SpeedNeedleTest,
    ::testing::Values(NeedleCase{0, -135, "0km/h"}, NeedleCase{60, -45, "60km/h"},
                      NeedleCase{59.5, -46, "60km/h"},  // -45.75
                      NeedleCase{159.9, 105, "160km/h"}, NeedleCase{160, -1000, "160km/h"},
                      NeedleCase{-0.5, -1000, "0km/h"}, NeedleCase{-5, -128, "-5km/h"}));

TEST(Needles, pressure_gauges_and_a_missing_needle) {
  InstrumentRun t;
  auto& r = t.makeUnlocked();
  poke(r).air.mr = Fixed::fromInt(800);
  poke(r).air.bcDisplay = Fixed::fromInt(101);
  poke(r).meters.shownCurrent = -100;
  r.tickStep(TickStep::NeedlesAndSpeed);
  EXPECT_EQ(poke(r).display.Needle_MR.angle, 1065);
  EXPECT_EQ(poke(r).display.Needle_BC.angle, 16);  // 151.5 - 135 = 16.5, ties to even
  EXPECT_EQ(poke(r).display.Needle_I.angle, 15);
  EXPECT_FALSE(poke(r).display.Needle_ER.present);
  EXPECT_EQ(poke(r).display.Needle_ER.angle, 0);
}

TEST(Needles, e233_bars_and_the_speed_digits) {
  InstrumentRun t;
  t.data.vehicle.fileName = "train_E233.dat";
  auto& r = t.makeUnlocked();
  poke(r).air.bcDisplay = Fixed::fromInt(300);
  poke(r).air.mr = Fixed::fromInt(780);
  poke(r).train.speed = Fixed::fromInt(7);
  r.tickStep(TickStep::NeedlesAndSpeed);
  EXPECT_EQ(poke(r).display.E233BRTop, 350);
  EXPECT_EQ(poke(r).display.E233MRTop, 380);
  EXPECT_EQ(poke(r).display.E233Speed.text, "  7");
}

TEST(Needles, other_vehicles_move_only_the_mr_marker) {
  InstrumentRun t;
  auto& r = t.makeUnlocked();
  poke(r).air.bcDisplay = Fixed::fromInt(300);
  poke(r).air.mr = Fixed::fromInt(520);
  r.tickStep(TickStep::NeedlesAndSpeed);
  EXPECT_EQ(poke(r).display.E233BRTop, 400);
  EXPECT_EQ(poke(r).display.E233MRTop, 430);
  EXPECT_EQ(poke(r).display.E233Speed.text, "  0");
}

// --- Lamps -------------------------------------------------------------------------------------

TEST(Lamps, follow_the_effective_handle_and_the_speed) {
  InstrumentRun t;
  auto& r = t.makeUnlocked();
  auto& h = poke(r).handle;
  h.doorOpen = false;
  h.effectivePower = 2;
  h.effectiveBrake = 0;
  poke(r).train.speed = Fixed::fromInt(30);
  r.tickStep(TickStep::BrakeAndPowerLamps);
  EXPECT_TRUE(poke(r).display.Lamp_Power);
  EXPECT_TRUE(poke(r).display.Lamp_Ele);
  EXPECT_FALSE(poke(r).display.Lamp_Gen);
  EXPECT_FALSE(poke(r).display.Lamp_Air);
  h.effectivePower = 0;
  h.effectiveBrake = -3;
  r.tickStep(TickStep::BrakeAndPowerLamps);
  EXPECT_FALSE(poke(r).display.Lamp_Power);
  EXPECT_TRUE(poke(r).display.Lamp_Gen);
  EXPECT_TRUE(poke(r).display.Lamp_Ele);
  EXPECT_TRUE(poke(r).display.Lamp_Air);
  poke(r).train.speed = Fixed::fromInt(10);  // [Lose_elec] 10: no electric brake
  r.tickStep(TickStep::BrakeAndPowerLamps);
  EXPECT_FALSE(poke(r).display.Lamp_Gen);
  EXPECT_FALSE(poke(r).display.Lamp_Ele);
  h.effectiveBrake = -8;
  poke(r).train.speed = Fixed::fromInt(30);
  r.tickStep(TickStep::BrakeAndPowerLamps);
  EXPECT_FALSE(poke(r).display.Lamp_Gen);
  EXPECT_FALSE(poke(r).display.Lamp_Ele);
  EXPECT_FALSE(poke(r).display.Lamp_Air);
  h.doorOpen = true;
  h.effectivePower = 3;
  r.tickStep(TickStep::BrakeAndPowerLamps);
  EXPECT_FALSE(poke(r).display.Lamp_Power);
}

// --- Meters ------------------------------------------------------------------------------------

TEST(Voltmeter, settles_toward_1600_v_in_10_v_steps) {
  InstrumentRun t;
  auto& r = t.makeUnlocked();
  poke(r).meters.lineVoltage = Fixed::fromInt(1575);
  poke(r).train.speed = Fixed{};
  r.tickStep(TickStep::VoltAndAmmeter);
  EXPECT_EQ(poke(r).meters.lineVoltage, Fixed::fromInt(1585));
  r.tickStep(TickStep::VoltAndAmmeter);
  r.tickStep(TickStep::VoltAndAmmeter);
  EXPECT_EQ(poke(r).meters.lineVoltage, Fixed::fromInt(1605));  // up to 10 V above
  r.tickStep(TickStep::VoltAndAmmeter);
  EXPECT_EQ(poke(r).meters.lineVoltage, Fixed::fromInt(1605));  // down 10, then up 10
  poke(r).handle.powerNotch = 2;
  poke(r).train.netForce = Fixed::fromInt(100000);  // target 1580
  r.tickStep(TickStep::VoltAndAmmeter);
  EXPECT_EQ(poke(r).meters.lineVoltage, Fixed::fromInt(1595));
  EXPECT_EQ(poke(r).meters.targetVoltage, Fixed::fromInt(1580));
}

TEST(Ammeter, approaches_by_100_then_50_then_10) {
  InstrumentRun t;
  auto& r = t.makeUnlocked();
  poke(r).handle.effectivePower = 1;
  // 3.6 x F / 300 000 kg x 160 = F / 520.8: 52 083 N gives 100 A... take F for 285 A.
  poke(r).train.motorForce = Fixed::from(285.0L * 300000 / 3.6L / 160);
  std::vector<int32_t> shown;
  for (int i = 0; i < 7; ++i) {
    r.tickStep(TickStep::VoltAndAmmeter);
    shown.push_back(poke(r).meters.shownCurrent);
  }
  EXPECT_EQ(poke(r).meters.targetCurrent, 285);
  EXPECT_EQ(shown, (std::vector<int32_t>{100, 200, 250, 260, 270, 280, 290}));
  r.tickStep(TickStep::VoltAndAmmeter);
  EXPECT_EQ(poke(r).meters.shownCurrent, 290);  // 10 down to 280, then 10 up again: it stays
}

// --- Value display -------------------------------------------------------------------------

TEST(ValueDisplay, is_filled_only_while_visible) {
  InstrumentRun t;
  auto& r = t.makeUnlocked();
  poke(r).train.speed = Fixed::from(42.25L);
  r.tickStep(TickStep::ValueDisplay);
  EXPECT_EQ(poke(r).display.values.Label1, "0 km/h");
  poke(r).display.values.visible = true;
  poke(r).train.netForce = Fixed::fromInt(600000);
  poke(r).train.resistance = Fixed::fromInt(-3000);
  poke(r).train.adhesion = Fixed::from(0.256L);
  poke(r).pos.remaining = 12345;
  poke(r).pos.frame = 777;
  poke(r).signals.targetDistance = 25050;
  r.tickStep(TickStep::ValueDisplay);
  EXPECT_EQ(poke(r).display.values.Label1, "42.2 km/h");
  EXPECT_EQ(poke(r).display.values.Label7, "600000 N");
  EXPECT_EQ(poke(r).display.values.ProgressBar1, 500000);
  // (600 000 - 3 000) / 300 000 x 3.6 = 7.164
  EXPECT_EQ(poke(r).display.values.Label6, "7.2 km/h/s");
  EXPECT_EQ(poke(r).display.values.Label8, "0.26");
  EXPECT_EQ(poke(r).display.values.Label33, "123 m");
  EXPECT_EQ(poke(r).display.values.Label30, "777");
  EXPECT_EQ(poke(r).display.values.Label41, "250 m");  // 250.5, ties to even
}

TEST(FixedText, formats_without_separators_and_without_a_minus_zero) {
  EXPECT_EQ(fixedText(1234567.4L, 0), "1234567");
  EXPECT_EQ(fixedText(-0.04L, 1), "0.0");
  EXPECT_EQ(fixedText(2.5L, 2), "2.50");
}

}  // namespace
}  // namespace velmoria
