#include <gtest/gtest.h>

#include "support/steps.h"
#include "support/test_run.h"

namespace velmoria {
namespace {

// [BrakeUp] = [BrakeDown] = 300: U/30 = 10 kPa a tick, U/30/1.5 = 6.6667, D/150 = 2.
// [EBPress] = [SAPPress] = 440, [Brake] 8, [HighAirPress] 880, [LowAirPress] 780.
Fixed kPa(long double v) {
  return Fixed::from(v);
}

class AirBrake : public ::testing::Test {
 protected:
  test::TestRun t;
  velmoria::Run* run = nullptr;
  velmoria::Run& make(int brakeType, int brake = 8) {
    t.data.vehicle.BrakeType = brakeType;
    t.data.vehicle.Brake = brake;
    run = &t.make();
    return *run;
  }
  void set(Fixed bc, Fixed er, Fixed sap, int b, int s = 0) {
    poke(*run).air.bc = bc;
    poke(*run).air.er = er;
    poke(*run).air.sap = sap;
    poke(*run).air.mr = kPa(880);
    poke(*run).handle.effectiveBrake = b;
    poke(*run).handle.sapStep = s;
  }
  void steps(int n) {
    for (int i = 0; i < n; ++i) test::airBrakeStep(*run);
  }
};

TEST_F(AirBrake, starts_in_emergency_with_full_cylinders) {
  velmoria::Run& r = make(1);
  EXPECT_EQ(poke(r).air.bc, kPa(440));
  EXPECT_EQ(poke(r).air.mr, kPa(880));
  EXPECT_EQ(poke(r).air.er.raw, 0);
  EXPECT_EQ(poke(r).air.sap.raw, 0);
  EXPECT_EQ(poke(r).air.bcDisplay.raw, 0);
  EXPECT_FALSE(poke(r).air.compressorRunning);
}

TEST_F(AirBrake, type1_emergency_fills_fast_and_vents_the_pipes) {
  make(1);
  set(kPa(0), kPa(100), kPa(100), -8);
  steps(1);
  EXPECT_EQ(poke(*run).air.bc, kPa(30));
  EXPECT_EQ(poke(*run).air.mr, kPa(878));
  EXPECT_EQ(poke(*run).air.er, kPa(70));
  EXPECT_EQ(poke(*run).air.sap, kPa(70));
  steps(5);
  EXPECT_EQ(poke(*run).air.er.raw, 0);
  EXPECT_EQ(poke(*run).air.sap.raw, 0);
}

TEST_F(AirBrake, type1_service_step_stops_within_10_kpa_of_its_target) {
  make(1);
  // B4: target 440 / 7 x 4 = 251.43. Each tick adds 66 667 (6.6667 rounded); after 37 ticks
  // 246.6679 + 10 is no longer below the target.
  set(kPa(0), kPa(500), kPa(0), -4);
  steps(1);
  EXPECT_EQ(poke(*run).air.bc.raw, 66667);
  EXPECT_EQ(poke(*run).air.mr, kPa(879));
  EXPECT_EQ(poke(*run).air.er, kPa(500));  // recharging, held at 500
  steps(99);
  EXPECT_EQ(poke(*run).air.bc.raw, 37 * 66667);
}

TEST_F(AirBrake, type1_b1_target_and_release_towards_a_lower_step) {
  make(1);
  // B1: 440 / 7 = 62.857; from 100 it falls at D/30/1.5 while ER is charged.
  set(kPa(100), kPa(500), kPa(0), -1);
  steps(1);
  EXPECT_EQ(poke(*run).air.bc.raw, 1000000 - 66667);
  set(kPa(100), kPa(384), kPa(0), -1);  // ER below 385: no release
  steps(1);
  EXPECT_EQ(poke(*run).air.bc, kPa(100));
}

TEST_F(AirBrake, type1_sap_follows_the_sap_step) {
  make(1);
  set(kPa(0), kPa(500), kPa(0), -4, -7);  // SAP target 440
  steps(1);
  EXPECT_EQ(poke(*run).air.sap.raw, 66667);
}

TEST_F(AirBrake, type1_release_waits_for_the_equalising_reservoir) {
  make(1);
  // After EB: ER 0 recharges by 2 a tick and must reach 440 - 440/8 = 385 first.
  set(kPa(440), kPa(0), kPa(0), 0);
  steps(193);  // ER reaches 386 at the end of tick 193
  EXPECT_EQ(poke(*run).air.bc, kPa(440));
  EXPECT_EQ(poke(*run).air.er, kPa(386));
  steps(1);
  EXPECT_EQ(poke(*run).air.bc, kPa(430));
}

struct StageCase {
  double from;
  double to;
};
class Type1Release : public AirBrake, public ::testing::WithParamInterface<StageCase> {};

TEST_P(Type1Release, applies_the_stages_in_turn) {
  make(1);
  set(kPa(GetParam().from), kPa(500), kPa(GetParam().from), 0);
  steps(1);
  EXPECT_EQ(poke(*run).air.bc, kPa(GetParam().to));
}
// > 200: -10; 100 < BC <= 200: -5; <= 100: -2.5, each on what the one before left.
INSTANTIATE_TEST_SUITE_P(Stages, Type1Release,
                         ::testing::Values(StageCase{300, 290}, StageCase{205, 190},
                                           StageCase{200, 195}, StageCase{105, 97.5},
                                           StageCase{100, 97.5}, StageCase{1, 0}));

TEST_F(AirBrake, type1_sap_release_slows_at_50) {
  make(1);
  set(kPa(300), kPa(500), kPa(55), 0);
  steps(1);
  EXPECT_EQ(poke(*run).air.sap, kPa(47.5));  // 55 - 5 = 50, then - 2.5
}

TEST_F(AirBrake, type1_protection_flags) {
  make(1);
  set(kPa(0), kPa(500), kPa(0), 0);
  poke(*run).handle.protectionBrake = true;
  steps(1);
  EXPECT_EQ(poke(*run).air.bc, kPa(5));  // U/30/2
  EXPECT_EQ(poke(*run).air.mr, kPa(879));
  EXPECT_EQ(poke(*run).air.sap.raw, 66667);
  EXPECT_EQ(poke(*run).air.er, kPa(500));
  set(kPa(0), kPa(100), kPa(100), 0);
  poke(*run).handle.protectionBrake = false;
  poke(*run).handle.atsEmergency = true;
  steps(1);
  EXPECT_EQ(poke(*run).air.bc, kPa(20));  // U/15
  EXPECT_EQ(poke(*run).air.sap, kPa(70));
  EXPECT_EQ(poke(*run).air.er, kPa(72));  // -30, then +2 (the handle is not in EB)
}

TEST_F(AirBrake, type2_commands_the_cylinder_directly) {
  make(2);
  // B7: 440 / 8 x 7 = 385; stops once BC + 10 reaches it: 57 x 6.6667.
  set(kPa(0), kPa(0), kPa(0), -7);
  steps(100);
  EXPECT_EQ(poke(*run).air.bc.raw, 57 * 66667);
  EXPECT_EQ(poke(*run).air.er.raw, 0);
  // EB: 13 a tick while below 440, so it ends at 442.
  set(kPa(0), kPa(0), kPa(0), -8);
  steps(1);
  EXPECT_EQ(poke(*run).air.bc, kPa(13));
  steps(50);
  EXPECT_EQ(poke(*run).air.bc, kPa(442));
}

class Type2Release : public AirBrake, public ::testing::WithParamInterface<StageCase> {};
TEST_P(Type2Release, applies_its_own_stage_bounds) {
  make(2);
  set(kPa(GetParam().from), kPa(0), kPa(0), 0);
  steps(1);
  EXPECT_EQ(poke(*run).air.bc, kPa(GetParam().to));
}
// >= 200: -10; 100 <= BC < 200: -5; < 100: -2.5.
INSTANTIATE_TEST_SUITE_P(Stages, Type2Release,
                         ::testing::Values(StageCase{250, 240}, StageCase{205, 190},
                                           StageCase{200, 185}, StageCase{105, 100},
                                           StageCase{99, 96.5}, StageCase{2, 0}));

TEST_F(AirBrake, type2_protection_applies_emergency_rate) {
  make(2);
  set(kPa(0), kPa(0), kPa(0), 0);
  poke(*run).handle.protectionBrake = true;
  steps(1);
  EXPECT_EQ(poke(*run).air.bc, kPa(13));
}

// Type 0: N = 4 whatever the file says. D/30/2.5 = 4, U/600 = 0.5, U/75 = 4, U/90 = 3.3333.
TEST_F(AirBrake, type0_running_position_releases_only_below_er) {
  velmoria::Run& r = make(0, 9);
  EXPECT_EQ(r.vehicle().Brake, 4);
  set(kPa(100), kPa(50), kPa(0), 0);
  steps(1);
  EXPECT_EQ(poke(*run).air.bc, kPa(100));
  EXPECT_EQ(poke(*run).air.er, kPa(54));
  EXPECT_EQ(poke(*run).air.mr, kPa(879.5));
  set(kPa(100), kPa(200), kPa(0), 0);
  steps(1);
  EXPECT_EQ(poke(*run).air.bc, kPa(90));
  EXPECT_EQ(poke(*run).air.er, kPa(204));
  set(kPa(0), kPa(488), kPa(0), 0);
  steps(1);
  EXPECT_EQ(poke(*run).air.er, kPa(490));
  EXPECT_EQ(poke(*run).air.mr, kPa(880));
}

TEST_F(AirBrake, type0_service_fill_is_limited_by_the_er_reduction) {
  make(0);
  set(kPa(100), kPa(480), kPa(0), -3);  // 2.5 x (490 - 480) = 25: BC holds
  steps(1);
  EXPECT_EQ(poke(*run).air.bc, kPa(100));
  EXPECT_EQ(poke(*run).air.er, kPa(476));
  set(kPa(0), kPa(300), kPa(10), -3);
  steps(1);
  EXPECT_EQ(poke(*run).air.bc, kPa(10));
  EXPECT_EQ(poke(*run).air.sap.raw, 100000 - 33333);
  EXPECT_EQ(poke(*run).air.er, kPa(296));
}

TEST_F(AirBrake, type0_emergency_maintain_and_lap) {
  make(0);
  set(kPa(0), kPa(10), kPa(0), -4);
  steps(1);
  EXPECT_EQ(poke(*run).air.bc.raw, 333333);   // U/9
  EXPECT_EQ(poke(*run).air.mr.raw, 8769697);  // 880 - U/99 = 876.9697
  EXPECT_EQ(poke(*run).air.er.raw, 0);
  set(kPa(50), kPa(100), kPa(0), -1);
  steps(1);
  EXPECT_EQ(poke(*run).air.er, kPa(104));
  EXPECT_EQ(poke(*run).air.bc, kPa(50));
  set(kPa(50), kPa(100), kPa(7), -2);
  steps(1);
  EXPECT_EQ(poke(*run).air.er, kPa(100));
  EXPECT_EQ(poke(*run).air.bc, kPa(50));
  EXPECT_EQ(poke(*run).air.sap, kPa(7));
}

TEST_F(AirBrake, a_step_beyond_emergency_brakes_as_emergency) {
  make(1);
  set(kPa(0), kPa(0), kPa(0), -9);
  steps(1);
  EXPECT_EQ(poke(*run).air.bc, kPa(30));
}

TEST_F(AirBrake, mc0_needle_shows_the_cylinder) {
  make(1);
  set(kPa(123), kPa(0), kPa(0), -8);
  steps(1);
  EXPECT_EQ(poke(*run).air.bcDisplay, poke(*run).air.bc);
}

TEST_F(AirBrake, mc1_needle_settles_at_50_while_the_electric_brake_works) {
  t.data.vehicle.Mc = 1;
  make(1);
  set(kPa(250), kPa(500), kPa(0), -4);  // B4 target 251.43: BC stays at 250
  poke(*run).train.speed = Fixed::fromInt(50);
  steps(7);
  EXPECT_EQ(poke(*run).air.bcDisplay.raw, 7 * 66667);
  steps(1);
  EXPECT_EQ(poke(*run).air.bcDisplay, kPa(50));
  steps(10);
  EXPECT_EQ(poke(*run).air.bcDisplay, kPa(50));
  EXPECT_EQ(poke(*run).air.bc, kPa(250));
  poke(*run).train.speed = Fixed::fromInt(5);  // below [Lose_elec]: the needle goes to BC
  steps(1);
  EXPECT_EQ(poke(*run).air.bcDisplay.raw, 500000 + 66667);
}

TEST_F(AirBrake, mc1_needle_target_at_and_just_above_lose_elec) {
  t.data.vehicle.Mc = 1;
  make(1);
  set(kPa(20), kPa(500), kPa(0), -1);  // B1 target 62.9: BC rises from 20
  poke(*run).air.bcDisplay = kPa(40);
  poke(*run).train.speed = Fixed::fromInt(10);  // exactly [Lose_elec]: 50 even with BC below 50
  steps(1);
  EXPECT_EQ(poke(*run).air.bcDisplay.raw, 400000 + 66667);
  poke(*run).air.bc = kPa(20);
  poke(*run).train.speed = Fixed::fromInt(11);  // above it with BC below 50: follows BC
  steps(1);
  EXPECT_EQ(poke(*run).air.bcDisplay.raw, 400000);
}

TEST_F(AirBrake, brake_delay_takes_the_handle_of_the_expiry) {
  t.data.vehicle.BrakeDelay = 5;
  make(1);
  poke(*run).handle.effectiveBrake = -2;
  poke(*run).handle.brakeStep = -4;
  poke(*run).handle.brakePending = true;
  steps(2);
  poke(*run).handle.brakeStep = -5;  // a second change does not restart the count
  steps(2);
  EXPECT_EQ(poke(*run).handle.effectiveBrake, -2);
  steps(1);
  EXPECT_EQ(poke(*run).handle.effectiveBrake, -5);
  EXPECT_FALSE(poke(*run).handle.brakePending);
}

TEST_F(AirBrake, a_delay_of_zero_acts_at_the_next_step) {
  t.data.vehicle.SAPDelay = 0;
  make(1);
  poke(*run).handle.brakeStep = -3;
  poke(*run).handle.sapPending = true;
  steps(1);
  EXPECT_EQ(poke(*run).handle.sapStep, -3);
}

TEST(Compressor, starts_below_low_and_runs_to_high) {
  test::TestRun t;
  velmoria::Run& run = t.make();
  poke(run).air.mr = Fixed::fromInt(800);  // between the two: the compressor stays off
  run.tickStep(TickStep::Compressor);
  EXPECT_FALSE(poke(run).air.compressorRunning);
  EXPECT_EQ(poke(run).air.mr, Fixed::fromInt(800));
  poke(run).air.mr = Fixed::fromInt(779);
  run.tickStep(TickStep::Compressor);
  EXPECT_TRUE(poke(run).air.compressorRunning);
  EXPECT_EQ(t.sound.playCount(7), 1);
  EXPECT_TRUE(t.sound.isLooping(8));
  EXPECT_EQ(poke(run).air.mr, Fixed::from(779.3L));
  // 337 additions of 0.3 reach 880.1; the next tick stops it.
  for (int i = 1; i < 337; ++i) run.tickStep(TickStep::Compressor);
  EXPECT_TRUE(poke(run).air.compressorRunning);
  EXPECT_EQ(t.sound.playCount(7), 1);
  EXPECT_EQ(poke(run).air.mr, Fixed::from(880.1L));
  run.tickStep(TickStep::Compressor);
  EXPECT_FALSE(poke(run).air.compressorRunning);
  EXPECT_EQ(t.sound.playCount(9), 1);
  EXPECT_FALSE(t.sound.isPlaying(8));
  EXPECT_EQ(poke(run).air.mr, Fixed::from(880.1L));
}

}  // namespace
}  // namespace velmoria
