#include "controls/pad_driver.h"

#include <gtest/gtest.h>

#include "support/state_access.h"
#include "support/test_run.h"

namespace velmoria::controls {
namespace {

// The test train: one handle, [Power] 4, [Brake] 8 (EB), horn on channel 2, EB sound on 1.
class PadDriverTest : public ::testing::Test {
 protected:
  PadDriverTest() {
    pad.connected = true;
    pad.id = 7;
  }
  velmoria::Run& make() {
    run = &t.makeUnlocked();
    poke(*run).handle.brakeStep = 0;
    poke(*run).handle.effectiveBrake = 0;
    return *run;
  }
  bool poll() { return driver.poll(pad, bindings, *run); }
  void axis(PadAxis a, int16_t v) { pad.axes[static_cast<size_t>(a)] = v; }
  void button(PadButton b, bool down) { pad.buttons[static_cast<size_t>(b)] = down; }
  int notch() { return poke(*run).handle.powerNotch; }
  int brake() { return poke(*run).handle.brakeStep; }

  test::TestRun t;
  velmoria::Run* run = nullptr;
  GamepadState pad;
  Bindings bindings = Bindings::defaults();
  PadDriver driver;
};

TEST_F(PadDriverTest, the_triggers_set_power_and_brake_through_the_keys) {
  make();
  poll();  // first look
  axis(PadAxis::RightTrigger, 32767);
  poll();
  EXPECT_EQ(notch(), 4);
  EXPECT_EQ(brake(), 0);
  axis(PadAxis::RightTrigger, 16384);  // half: (0.5 - 0.08) / 0.92 * 4 = 1.83, notch 2
  poll();
  EXPECT_EQ(notch(), 2);
  axis(PadAxis::RightTrigger, 0);
  axis(PadAxis::LeftTrigger, 16384);  // (0.5 - 0.08) / 0.92 * 8 = 3.65, B4
  poll();
  EXPECT_EQ(notch(), 0);
  EXPECT_EQ(brake(), -4);
  EXPECT_EQ(t.sound.playCount(1), 0);
  axis(PadAxis::LeftTrigger, 32767);  // the end of the travel is the emergency brake
  poll();
  EXPECT_EQ(brake(), -8);
  EXPECT_EQ(t.sound.playCount(1), 1);  // '0' sounds it, as from the keyboard
  axis(PadAxis::LeftTrigger, 0);
  poll();
  EXPECT_EQ(brake(), 0);
  EXPECT_EQ(notch(), 0);
}

TEST_F(PadDriverTest, the_brake_trigger_wins_over_the_power_trigger) {
  make();
  poll();
  axis(PadAxis::RightTrigger, 32767);
  axis(PadAxis::LeftTrigger, 8000);  // (0.244 - 0.08) / 0.92 * 8 = 1.43, B2
  poll();
  EXPECT_EQ(notch(), 0);
  EXPECT_EQ(brake(), -2);
  EXPECT_EQ(driver.target(), -4);
}

TEST_F(PadDriverTest, the_first_look_at_a_pad_moves_nothing) {
  make();
  poke(*run).handle.brakeStep = -5;
  axis(PadAxis::RightTrigger, 32767);
  button(PadButton::A, true);
  poll();
  EXPECT_EQ(brake(), -5);
  EXPECT_EQ(notch(), 0);
  EXPECT_EQ(t.sound.playCount(2), 0);
  // Another pad, or the same one plugged in again, is looked at afresh.
  axis(PadAxis::RightTrigger, 0);
  pad.id = 8;
  poll();
  EXPECT_EQ(brake(), -5);
  // A pad that is gone does nothing, and when it is back it is new again.
  pad.connected = false;
  poll();
  pad.connected = true;
  axis(PadAxis::LeftTrigger, 32767);
  poll();
  EXPECT_EQ(brake(), -5);
  axis(PadAxis::LeftTrigger, 0);
  poll();
  EXPECT_EQ(brake(), 0);
}

TEST_F(PadDriverTest, it_acts_only_when_the_pad_moves) {
  make();
  poll();
  axis(PadAxis::LeftTrigger, 16384);
  poll();
  ASSERT_EQ(brake(), -4);
  // The driver moves the handle with the keyboard; the pad, unmoved, leaves it there.
  run->AsciiDown('2');
  run->AsciiDown('2');
  poll();
  EXPECT_EQ(brake(), -6);
  // Noise near a band's edge is not a movement: 16384 + 300 is still within B4's hysteresis.
  axis(PadAxis::LeftTrigger, 16684);
  poll();
  EXPECT_EQ(brake(), -6);
  axis(PadAxis::LeftTrigger, 8000);
  poll();
  EXPECT_EQ(brake(), -2);
}

TEST_F(PadDriverTest, a_button_is_its_key_once_per_press) {
  make();
  poll();
  button(PadButton::A, true);  // the horn
  EXPECT_TRUE(poll());
  EXPECT_EQ(t.sound.playCount(2), 1);
  EXPECT_FALSE(poll());  // held
  EXPECT_EQ(t.sound.playCount(2), 1);
  button(PadButton::A, false);
  poll();
  button(PadButton::A, true);
  poll();
  EXPECT_EQ(t.sound.playCount(2), 2);
  // Y is the first buzzer, the right shoulder a step toward power.
  button(PadButton::Y, true);
  button(PadButton::RightShoulder, true);
  poll();
  EXPECT_EQ(t.sound.playCount(11), 1);
  EXPECT_EQ(notch(), 1);
}

TEST_F(PadDriverTest, after_a_rebinding_the_stick_and_other_buttons_drive) {
  make();
  bindings.powerAxis = AxisBinding{PadAxis::LeftY, -1};
  bindings.brakeAxis = AxisBinding{PadAxis::LeftY, 1};
  bindButton(bindings, Action::Horn, PadButton::B);
  poll();
  axis(PadAxis::LeftY, -32768);  // up: full power
  poll();
  EXPECT_EQ(notch(), 4);
  axis(PadAxis::LeftY, 20000);  // down: (0.61 - 0.08) / 0.92 * 8 = 4.6, B5
  poll();
  EXPECT_EQ(notch(), 0);
  EXPECT_EQ(brake(), -5);
  // The triggers no longer do anything; A has no action, B is the horn.
  axis(PadAxis::RightTrigger, 32767);
  button(PadButton::A, true);
  poll();
  EXPECT_EQ(brake(), -5);
  EXPECT_EQ(t.sound.playCount(2), 0);
  button(PadButton::B, true);
  poll();
  EXPECT_EQ(t.sound.playCount(2), 1);
}

TEST_F(PadDriverTest, scroll_lock_does_not_turn_the_pad_around) {
  make();
  run->keydowns(VirtualKey::ScrollLock, false);
  ASSERT_TRUE(run->observe().keySwap);
  poll();
  axis(PadAxis::RightTrigger, 32767);
  poll();
  EXPECT_EQ(notch(), 4);
  axis(PadAxis::RightTrigger, 0);
  axis(PadAxis::LeftTrigger, 16384);
  poll();
  EXPECT_EQ(brake(), -4);
}

TEST_F(PadDriverTest, release_passes_the_hold_position_and_stops_beyond_it) {
  t.data.vehicle.Hold = 1;
  make();
  poke(*run).handle.brakeStep = -3;
  poll();
  axis(PadAxis::LeftTrigger, 0);
  axis(PadAxis::RightTrigger, 16384);
  poll();
  EXPECT_FALSE(poke(*run).handle.hold);
  EXPECT_EQ(brake(), 0);
  EXPECT_EQ(notch(), 2);
  axis(PadAxis::RightTrigger, 0);
  poll();
  EXPECT_FALSE(poke(*run).handle.hold);
  EXPECT_EQ(notch(), 0);
}

TEST_F(PadDriverTest, before_the_first_start_the_keys_do_nothing_and_the_driver_gives_up) {
  run = &t.make();  // the input lock is set
  const int before = brake();
  poll();
  axis(PadAxis::RightTrigger, 32767);
  poll();
  EXPECT_EQ(brake(), before);
  EXPECT_EQ(notch(), 0);
}

TEST_F(PadDriverTest, a_new_train_is_looked_at_first) {
  make();
  poll();
  axis(PadAxis::LeftTrigger, 16384);
  poll();
  ASSERT_EQ(brake(), -4);
  // The next run's train has five brake steps: the same trigger is another position.
  test::TestRun other;
  other.data.vehicle.Brake = 5;
  velmoria::Run& next = other.makeUnlocked();
  poke(next).handle.brakeStep = 0;
  driver.poll(pad, bindings, next);
  EXPECT_EQ(poke(next).handle.brakeStep, 0);
  axis(PadAxis::LeftTrigger, 32767);
  driver.poll(pad, bindings, next);
  EXPECT_EQ(poke(next).handle.brakeStep, -5);
}

TEST_F(PadDriverTest, forgetting_takes_the_next_state_as_it_stands) {
  make();
  poll();
  axis(PadAxis::LeftTrigger, 16384);
  driver.forget();
  poll();
  EXPECT_EQ(brake(), 0);
  axis(PadAxis::LeftTrigger, 32767);
  poll();
  EXPECT_EQ(brake(), -8);
}

}  // namespace
}  // namespace velmoria::controls
