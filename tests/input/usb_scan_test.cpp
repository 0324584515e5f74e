#include <gtest/gtest.h>

#include "support/steps.h"
#include "support/test_run.h"

namespace velmoria {
namespace {

class FakeJoystick : public Joystick {
 public:
  JoystickState state;
  JoystickState poll() override { return state; }
};

class Usb : public ::testing::Test {
 protected:
  test::TestRun t;
  FakeJoystick stick;
  velmoria::Run* run = nullptr;
  velmoria::Run& make(int kind) {
    t.app.controllerKind = kind;
    run = &t.makeUnlocked();
    poke(*run).services.joystick = &stick;
    return *run;
  }
  void scan(int32_t x, int32_t y) {
    stick.state.x = x;
    stick.state.y = y;
    run->USBScan();
  }
};

struct AxisCase {
  int32_t value;
  int expected;  // -100: unchanged
};

class WindowsPower : public Usb, public ::testing::WithParamInterface<AxisCase> {};
TEST_P(WindowsPower, bands_of_the_y_axis) {
  make(1);
  poke(*run).handle.powerNotch = 3;
  poke(*run).handle.powerPending = false;
  scan(0, GetParam().value);
  if (GetParam().expected == -100) {
    EXPECT_EQ(poke(*run).handle.powerNotch, 3);
    EXPECT_FALSE(poke(*run).handle.powerPending);
  } else {
    // [Power] 4 here: the fifth notch is clamped to 4.
    EXPECT_EQ(poke(*run).handle.powerNotch, GetParam().expected);
    EXPECT_TRUE(poke(*run).handle.powerPending);
  }
}
INSTANTIATE_TEST_SUITE_P(Bands, WindowsPower,
                         ::testing::Values(AxisCase{1, 0}, AxisCase{-1, 1}, AxisCase{-4999, 1},
                                           AxisCase{-5000, -100}, AxisCase{-5001, 2},
                                           AxisCase{-6000, 2}, AxisCase{-12000, -100},
                                           AxisCase{-12001, 3}, AxisCase{-20000, -100},
                                           AxisCase{-29999, 4}, AxisCase{-30000, -100},
                                           AxisCase{-30001, 4}));

class WindowsBrake : public Usb, public ::testing::WithParamInterface<AxisCase> {};
TEST_P(WindowsBrake, bands_of_the_x_axis) {
  make(1);
  poke(*run).handle.brakeStep = -3;
  scan(GetParam().value, 1);  // y = 1: notch 0, so the signature changes with x alone
  EXPECT_EQ(poke(*run).handle.brakeStep, GetParam().expected == -100 ? -3 : GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Bands, WindowsBrake,
                         ::testing::Values(AxisCase{-5, 0}, AxisCase{1, -1}, AxisCase{999, -1},
                                           AxisCase{1000, -100}, AxisCase{1001, -2},
                                           AxisCase{4000, -100}, AxisCase{5999, -3},
                                           AxisCase{6001, -4}, AxisCase{9500, -100},
                                           AxisCase{9501, -6}, AxisCase{11001, -7},
                                           AxisCase{12999, -8}, AxisCase{13000, -100},
                                           // -9 clamped to this train's EB, -8
                                           AxisCase{13001, -8}, AxisCase{20000, -8}));

TEST_F(Usb, nothing_happens_while_the_inputs_stay_the_same) {
  make(1);
  scan(0, -6000);
  EXPECT_EQ(poke(*run).handle.powerNotch, 2);
  poke(*run).handle.powerNotch = 0;  // changed elsewhere
  scan(0, -6000);
  EXPECT_EQ(poke(*run).handle.powerNotch, 0);
  EXPECT_EQ(t.app.lastUsbSignature, -6000);
  EXPECT_EQ(t.app.usbChangeCounter, 0);
}

TEST_F(Usb, windows_buttons_post_their_keys_in_order) {
  make(1);
  for (int b : {0, 1, 2, 3, 4, 5}) stick.state.buttons[b] = true;
  scan(0, 0);
  ASSERT_EQ(poke(*run).postedKeys.size(), 6u);
  const char expected[] = {'4', '1', '3', '7'};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(poke(*run).postedKeys[i].ch, expected[i]);
  EXPECT_TRUE(poke(*run).postedKeys[4].isVirtual);
  EXPECT_EQ(poke(*run).postedKeys[4].key, VirtualKey::Enter);
  EXPECT_EQ(poke(*run).postedKeys[5].ch, 's');
}

TEST_F(Usb, a_held_horn_sounds_again_at_every_change) {
  make(1);
  stick.state.buttons[2] = true;  // horn
  for (int32_t x : {1, 2000, 2000, 5000}) {
    scan(x, 0);
    run->drainPostedKeys();
  }
  EXPECT_EQ(t.sound.playCount(run->vehicle().Sound_Horn), 3);  // the repeated 2000 is no change
}

TEST_F(Usb, playstation_takes_the_first_matching_position) {
  make(2);
  auto& map = t.app.buttonMap.values;
  map = {100, 101, 102, 103, 102, 105,                // P2 and P4 share a code
         9,   1,   2,   3,   4,   5,   6, 7, 8, 15};  // B0..B8, EB
  // Power code X + A + Y = 102 with button 0 (A = 1): 50 + 1 + 51.
  stick.state.buttons[0] = true;
  stick.state.buttons[4] = true;  // B = 1: B1
  scan(50, 51);
  EXPECT_EQ(poke(*run).handle.powerNotch, 2);
  EXPECT_EQ(poke(*run).handle.brakeStep, -1);
  stick.state.buttons[4] = false;
  for (int b : {4, 5, 6, 7}) stick.state.buttons[b] = true;  // B = 15: EB
  scan(50, 51);
  EXPECT_EQ(poke(*run).handle.brakeStep, -8);
}

TEST_F(Usb, playstation_unset_map_values_still_take_part) {
  make(2);
  poke(*run).handle.powerNotch = 3;
  poke(*run).handle.brakeStep = -4;
  scan(5, -5);  // signature 0, the same as at program start: no change is seen
  EXPECT_EQ(poke(*run).handle.powerNotch, 3);
  stick.state.buttons[3] = true;  // A = 8, code 8: no P; B still 0: B0
  scan(0, 0);
  EXPECT_EQ(poke(*run).handle.brakeStep, 0);
  EXPECT_EQ(poke(*run).handle.powerNotch, 3);
}

TEST_F(Usb, playstation_buttons_post_their_keys_in_order) {
  make(2);
  for (int b : {1, 2, 3, 8, 9}) stick.state.buttons[b] = true;
  scan(0, 0);
  ASSERT_EQ(poke(*run).postedKeys.size(), 5u);
  const char expected[] = {'1', '3', '7', '4', 'r'};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(poke(*run).postedKeys[i].ch, expected[i]);
}

TEST_F(Usb, no_controller_reads_as_nothing) {
  make(1);
  poke(*run).services.joystick = nullptr;
  poke(*run).handle.powerNotch = 2;
  run->USBScan();
  EXPECT_EQ(poke(*run).handle.powerNotch, 2);
}

}  // namespace
}  // namespace velmoria
