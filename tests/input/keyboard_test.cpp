#include <gtest/gtest.h>

#include "support/steps.h"
#include "support/test_run.h"

namespace velmoria {
namespace {

// The test train: one handle, [Brake] 8 (B1..B7 and EB), [Power] 4; EB sound on channel 1,
// horn 2, horn2 3, EB ring 6, buzzers 11 and 12, brake sounds 13 and 14.
class Keys : public ::testing::Test {
 protected:
  test::TestRun t;
  velmoria::Run* run = nullptr;
  velmoria::Run& make() {
    run = &t.makeUnlocked();
    poke(*run).handle.brakeStep = 0;
    poke(*run).handle.effectiveBrake = 0;
    return *run;
  }
  void keys(const std::string& typed) {
    for (char c : typed) run->AsciiDown(c);
  }
  int plays(int channel) const { return t.sound.playCount(channel); }
};

TEST_F(Keys, hold_sits_between_release_and_b1) {
  t.data.vehicle.Hold = 1;
  make();
  keys("2");
  EXPECT_TRUE(poke(*run).handle.hold);
  EXPECT_EQ(poke(*run).handle.brakeStep, 0);
  keys("2");
  EXPECT_FALSE(poke(*run).handle.hold);
  EXPECT_EQ(poke(*run).handle.brakeStep, -1);  // B1, not B2
  keys("2");
  EXPECT_EQ(poke(*run).handle.brakeStep, -2);
  keys("88");
  EXPECT_EQ(poke(*run).handle.brakeStep, 0);
  EXPECT_TRUE(poke(*run).handle.hold);
  keys("8");
  EXPECT_FALSE(poke(*run).handle.hold);
  EXPECT_EQ(poke(*run).handle.powerNotch, 0);
  keys("8");
  EXPECT_EQ(poke(*run).handle.powerNotch, 1);
}

TEST_F(Keys, brake_key_stops_at_the_last_service_step_and_the_wheel_reaches_eb) {
  make();
  poke(*run).air.er = Fixed::fromInt(490);  // the brake pipe is charged
  keys("2222222222");
  EXPECT_EQ(poke(*run).handle.brakeStep, -7);
  EXPECT_EQ(plays(1), 0);
  run->WheelU();
  EXPECT_EQ(poke(*run).handle.brakeStep, -8);
  EXPECT_EQ(plays(1), 1);
  run->WheelU();  // already in EB: no second sound
  EXPECT_EQ(plays(1), 1);
}

TEST_F(Keys, wheel_into_eb_is_silent_with_an_empty_brake_pipe) {
  make();
  poke(*run).handle.brakeStep = -7;
  poke(*run).air.er = Fixed{};
  run->WheelU();
  EXPECT_EQ(poke(*run).handle.brakeStep, -8);
  EXPECT_EQ(plays(1), 0);
}

TEST_F(Keys, wheel_ignores_the_lock_and_the_handle_type) {
  t.data.vehicle.Handle = 1;
  velmoria::Run& r = t.make();  // still locked
  poke(r).handle.brakeStep = -1;
  r.WheelD();
  EXPECT_EQ(poke(r).handle.brakeStep, 0);
  r.WheelD();
  EXPECT_EQ(poke(r).handle.powerNotch, 1);
  EXPECT_EQ(poke(r).display.PowerLabel.text, "P1");
  r.WheelU();
  EXPECT_EQ(poke(r).handle.powerNotch, 0);
}

TEST_F(Keys, zero_in_eb_plays_nothing_and_cuts_power) {
  make();
  keys("0");
  EXPECT_EQ(poke(*run).handle.brakeStep, -8);
  EXPECT_EQ(plays(1), 1);
  poke(*run).handle.powerNotch = 2;
  keys("0");
  EXPECT_EQ(plays(1), 1);
  EXPECT_EQ(poke(*run).handle.powerNotch, 0);
  EXPECT_TRUE(poke(*run).handle.powerPending && poke(*run).handle.brakePending &&
              poke(*run).handle.sapPending);
}

TEST_F(Keys, zero_under_the_train_stop_plays_nothing) {
  make();
  poke(*run).handle.atsEmergency = true;
  keys("0");
  EXPECT_EQ(poke(*run).handle.brakeStep, -8);
  EXPECT_EQ(plays(1), 0);
}

TEST_F(Keys, neutral_and_quick_emergency) {
  make();
  poke(*run).handle.brakeStep = -3;
  poke(*run).handle.hold = true;
  keys("5");
  EXPECT_EQ(poke(*run).handle.brakeStep, 0);
  EXPECT_FALSE(poke(*run).handle.hold);
  poke(*run).handle.powerNotch = 3;
  keys("q");
  EXPECT_EQ(poke(*run).handle.powerNotch, 0);
  EXPECT_EQ(poke(*run).handle.brakeStep, -8);
  EXPECT_EQ(plays(1), 0);  // 'q' has no sound
}

TEST_F(Keys, two_handles_power_with_the_brake_applied) {
  t.data.vehicle.Handle = 1;
  make();
  poke(*run).handle.brakeStep = -3;
  keys("z");
  EXPECT_EQ(poke(*run).handle.powerNotch, 1);
  EXPECT_TRUE(poke(*run).handle.powerPending);
  EXPECT_FALSE(poke(*run).handle.brakePending);
  keys("8");  // still the one-handle rule: no power while braking
  EXPECT_EQ(poke(*run).handle.powerNotch, 1);
  keys("a");
  EXPECT_EQ(poke(*run).handle.powerNotch, 0);
  keys(".");
  EXPECT_EQ(poke(*run).handle.brakeStep, -4);
  keys(",,");
  EXPECT_EQ(poke(*run).handle.brakeStep, -2);
}

TEST_F(Keys, two_handles_brake_apply_ignores_power_and_stops_before_eb) {
  t.data.vehicle.Handle = 1;
  make();
  poke(*run).handle.powerNotch = 2;
  poke(*run).handle.brakeStep = -6;
  keys("...");
  EXPECT_EQ(poke(*run).handle.brakeStep, -7);
  EXPECT_EQ(poke(*run).handle.powerNotch, 2);
  keys("/");
  EXPECT_EQ(poke(*run).handle.brakeStep, -8);
  EXPECT_EQ(plays(1), 1);
  keys("/");  // in EB already: nothing
  EXPECT_EQ(plays(1), 1);
}

TEST_F(Keys, two_handles_release_goes_through_hold) {
  t.data.vehicle.Handle = 1;
  t.data.vehicle.Hold = 1;
  make();
  poke(*run).handle.brakeStep = -1;
  keys(",");
  EXPECT_EQ(poke(*run).handle.brakeStep, 0);
  EXPECT_TRUE(poke(*run).handle.hold);
  keys(",");
  EXPECT_FALSE(poke(*run).handle.hold);
}

TEST_F(Keys, one_handle_letters_do_not_work_two_handles) {
  t.data.vehicle.Handle = 1;
  make();
  keys("q");
  EXPECT_EQ(poke(*run).handle.brakeStep, 0);
}

TEST_F(Keys, scroll_lock_swaps_2_and_8) {
  make();
  run->keydowns(VirtualKey::ScrollLock, false);
  EXPECT_TRUE(t.app.keySwap);
  keys("8");
  EXPECT_EQ(poke(*run).handle.brakeStep, -1);
  keys("22");
  EXPECT_EQ(poke(*run).handle.powerNotch, 1);
  run->keydowns(VirtualKey::ScrollLock, false);
  keys("2");
  EXPECT_EQ(poke(*run).handle.powerNotch, 0);
}

struct ReverserCase {
  double speed;
  char key;
  int reverser;
  bool fwd, bck;
};
class Reverser : public Keys, public ::testing::WithParamInterface<ReverserCase> {};
TEST_P(Reverser, moves_only_at_1_kmh_or_less) {
  make();
  poke(*run).handle.reverser = 0;
  poke(*run).display.Lamp_Fwd = poke(*run).display.Lamp_Bck = false;
  poke(*run).train.speed = Fixed::from(GetParam().speed);
  run->AsciiDown(GetParam().key);
  EXPECT_EQ(poke(*run).handle.reverser, GetParam().reverser);
  EXPECT_EQ(poke(*run).display.Lamp_Fwd, GetParam().fwd);
  EXPECT_EQ(poke(*run).display.Lamp_Bck, GetParam().bck);
}
INSTANTIATE_TEST_SUITE_P(Keys, Reverser,
                         ::testing::Values(ReverserCase{1, 'f', 1, true, false},
                                           ReverserCase{2, 'f', 0, false, false},
                                           ReverserCase{-1, 'b', -1, false, true},
                                           ReverserCase{-1.0001, 'b', 0, false, false},
                                           ReverserCase{0, 'n', 0, false, false}));

TEST_F(Keys, nothing_before_the_first_start_but_the_prologue) {
  velmoria::Run& r = t.make();
  poke(r).handle.brakeStep = 0;
  poke(r).vigilance.counter = 40;
  poke(r).display.Lamp_EB = true;
  t.sound.playLooped(r.vehicle().Sound_EBring);
  r.AsciiDown('8');
  r.AsciiDown('3');
  EXPECT_EQ(poke(r).handle.powerNotch, 0);
  EXPECT_EQ(t.sound.playCount(r.vehicle().Sound_Horn), 0);
  EXPECT_EQ(poke(r).vigilance.counter, 0);
  EXPECT_FALSE(poke(r).display.Lamp_EB);
  EXPECT_FALSE(t.sound.isPlaying(r.vehicle().Sound_EBring));
}

TEST_F(Keys, horns_and_buzzers) {
  make();
  keys("3641");
  EXPECT_EQ(plays(2), 1);
  EXPECT_EQ(plays(3), 1);
  EXPECT_EQ(plays(11), 1);
  EXPECT_EQ(plays(12), 1);
}

TEST_F(Keys, doors_by_key_only_on_one_man_routes) {
  make();
  poke(*run).handle.doorOpen = false;
  keys("d");
  EXPECT_FALSE(poke(*run).handle.doorOpen);
  poke(*run).data.route.OneMan = 1;
  keys("7");
  EXPECT_TRUE(poke(*run).handle.doorOpen);
}

TEST_F(Keys, going_further_on_silences_the_release_sounds) {
  make();
  t.sound.playOnce(13);
  t.sound.playOnce(14);
  keys("2");  // brake step -1 while the effective step is still 0
  EXPECT_FALSE(t.sound.isPlaying(13));
  EXPECT_FALSE(t.sound.isPlaying(14));
}

TEST_F(Keys, manual_gears_by_key_with_power_off) {
  t.data.vehicle = test::dieselVehicle();
  t.data.vehicle.manualGears = true;
  make();
  keys("s");
  EXPECT_EQ(poke(*run).handle.gearPosition, 1);
  EXPECT_TRUE(poke(*run).handle.gearChange);
  EXPECT_EQ(poke(*run).display.GearLabel.text, "直1");
  keys("ss");
  EXPECT_EQ(poke(*run).handle.gearPosition, 2);  // three gears: 0..2
  keys("x");
  EXPECT_EQ(poke(*run).handle.gearPosition, 1);
  poke(*run).handle.effectivePower = 1;
  keys("x");
  EXPECT_EQ(poke(*run).handle.gearPosition, 1);
}

TEST_F(Keys, gear_keys_do_nothing_on_an_automatic_or_electric_train) {
  make();
  keys("s");
  EXPECT_EQ(poke(*run).handle.gearPosition, 0);
  EXPECT_FALSE(poke(*run).handle.gearChange);
}

TEST_F(Keys, shift_f5_moves_back_and_toggles_the_value_display) {
  make();
  poke(*run).pos.frame = 1000;
  run->keydowns(VirtualKey::F5, true);
  EXPECT_EQ(poke(*run).pos.frame, 900);
  EXPECT_TRUE(poke(*run).display.values.visible);
  run->keydowns(VirtualKey::F5, false);
  EXPECT_EQ(poke(*run).pos.frame, 900);
  EXPECT_FALSE(poke(*run).display.values.visible);
}

TEST_F(Keys, shift_function_keys_stay_on_the_video_and_after_midnight) {
  make();  // the video has 100 000 frames
  poke(*run).pos.frame = 50;
  run->keydowns(VirtualKey::F5, true);
  EXPECT_EQ(poke(*run).pos.frame, 0);
  poke(*run).pos.frame = 99500;
  run->keydowns(VirtualKey::F8, true);
  EXPECT_EQ(poke(*run).pos.frame, 99999);
  run->keydowns(VirtualKey::F7, true);
  EXPECT_EQ(poke(*run).pos.frame, 98999);
  run->keydowns(VirtualKey::F6, true);
  EXPECT_EQ(poke(*run).pos.frame, 99099);
  poke(*run).pos.clockTicks = 100;
  run->keydowns(VirtualKey::F9, true);
  EXPECT_EQ(poke(*run).pos.clockTicks, 0);
  run->keydowns(VirtualKey::F10, true);
  EXPECT_EQ(poke(*run).pos.clockTicks, 900);
  run->keydowns(VirtualKey::F8, false);  // without Shift: nothing
  EXPECT_EQ(poke(*run).pos.frame, 99099);
}

TEST_F(Keys, shift_f11_f12_change_the_speed_by_10) {
  make();
  poke(*run).train.speed = Fixed::fromInt(10);
  run->keydowns(VirtualKey::F11, true);
  EXPECT_EQ(poke(*run).train.speed, Fixed::fromInt(10));
  run->keydowns(VirtualKey::F12, true);
  EXPECT_EQ(poke(*run).train.speed, Fixed::fromInt(20));
  run->keydowns(VirtualKey::F11, true);
  EXPECT_EQ(poke(*run).train.speed, Fixed::fromInt(10));
}

TEST_F(Keys, shift_f1_f2_follow_the_recorded_speed) {
  make();
  run->keydowns(VirtualKey::F1, true);
  EXPECT_TRUE(t.app.followMode);
  EXPECT_FALSE(poke(*run).display.cardShown);
  run->keydowns(VirtualKey::F2, true);
  EXPECT_FALSE(t.app.followMode);
}

TEST_F(Keys, f1_on_a_short_card_only_toggles_the_slide) {
  make();
  poke(*run).display.cardHeight = 400;
  poke(*run).pos.frame = 90000;
  run->keydowns(VirtualKey::F1, false);
  EXPECT_TRUE(poke(*run).display.cardShown);
  EXPECT_EQ(poke(*run).display.cardTop, 0);
  run->keydowns(VirtualKey::F1, false);
  EXPECT_FALSE(poke(*run).display.cardShown);
}

TEST_F(Keys, f1_on_a_tall_card_shows_the_part_for_the_place_on_the_line) {
  make();
  poke(*run).display.cardHeight = 600;
  poke(*run).pos.frame = 50001;  // beyond half of 100 000 frames: the lower part
  run->keydowns(VirtualKey::F1, false);
  EXPECT_EQ(poke(*run).display.cardTop, 440 - 600);
  EXPECT_TRUE(poke(*run).display.cardShown);
  poke(*run).pos.frame = 50000;
  run->keydowns(VirtualKey::F1, false);
  EXPECT_EQ(poke(*run).display.cardTop, 0);
  EXPECT_FALSE(poke(*run).display.cardShown);
  run->keydowns(VirtualKey::F3, false);
  EXPECT_EQ(poke(*run).display.cardTop, -160);
  run->keydowns(VirtualKey::F3, false);  // only from the top
  EXPECT_EQ(poke(*run).display.cardTop, -160);
  run->keydowns(VirtualKey::F2, true);  // Shift+F2 is follow mode off, not the card
  EXPECT_EQ(poke(*run).display.cardTop, -160);
  run->keydowns(VirtualKey::F2, false);
  EXPECT_EQ(poke(*run).display.cardTop, 0);
}

}  // namespace
}  // namespace velmoria
