#include "media/sdl/sdl2_gamepad.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "controls/pad_driver.h"
#include "support/state_access.h"
#include "support/test_run.h"

namespace velmoria {
namespace {

// A virtual joystick (six axes, fifteen buttons) given a game-controller mapping of its own:
// SDL then opens it as a pad of any make, through the same database that knows real pads.
class VirtualPad : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(reader.available()) << SDL_GetError();
    if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real controller is attached";
    attach();
  }
  void TearDown() override { detach(); }

  void attach() {
    // Of no known type and with a vendor and product of its own, so that only the mapping
    // below makes it a pad (SDL gives its plain virtual game controllers a built-in one).
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
    desc.naxes = 6;
    desc.nbuttons = 15;
    desc.vendor_id = 0x1209;
    desc.product_id = 0x0001;
    desc.name = "Velmoria test pad";
    index = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(index, 0) << SDL_GetError();
    char guid[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
    // Joystick button n is pad button n in SDL's order; the triggers use the upper half of
    // their axes, as a trigger at rest reads 0.
    const std::string mapping = std::string(guid) +
                                ",Velmoria test pad,a:b0,b:b1,x:b2,y:b3,back:b4,guide:b5,"
                                "start:b6,leftstick:b7,rightstick:b8,leftshoulder:b9,"
                                "rightshoulder:b10,dpup:b11,dpdown:b12,dpleft:b13,dpright:b14,"
                                "leftx:a0,lefty:a1,rightx:a2,righty:a3,lefttrigger:+a4,"
                                "righttrigger:+a5,";
    ASSERT_GE(SDL_GameControllerAddMapping(mapping.c_str()), 0) << SDL_GetError();
    ASSERT_TRUE(SDL_IsGameController(index));
    handle = SDL_JoystickOpen(index);
    ASSERT_NE(handle, nullptr);
  }
  void detach() {
    if (handle) SDL_JoystickClose(handle);
    handle = nullptr;
    if (index >= 0) SDL_JoystickDetachVirtual(index);
    index = -1;
  }
  void axis(int a, int16_t v) { SDL_JoystickSetVirtualAxis(handle, a, v); }
  void button(int b, bool down) {
    SDL_JoystickSetVirtualButton(handle, b, down ? SDL_PRESSED : SDL_RELEASED);
  }

  Sdl2Gamepad reader;
  int index = -1;
  SDL_Joystick* handle = nullptr;
};

TEST_F(VirtualPad, is_read_in_the_terms_of_the_game_controller_layout) {
  axis(1, -20000);
  axis(5, 32767);
  button(0, true);
  button(9, true);
  const GamepadState pad = reader.poll();
  ASSERT_TRUE(pad.connected);
  EXPECT_EQ(pad.name, "Velmoria test pad");
  EXPECT_EQ(pad.axis(PadAxis::LeftY), -20000);
  EXPECT_EQ(pad.axis(PadAxis::RightTrigger), 32767);
  EXPECT_EQ(pad.axis(PadAxis::LeftTrigger), 0);
  EXPECT_EQ(pad.axis(PadAxis::LeftX), 0);
  EXPECT_TRUE(pad.button(PadButton::A));
  EXPECT_TRUE(pad.button(PadButton::LeftShoulder));
  EXPECT_FALSE(pad.button(PadButton::B));
  button(0, false);
  EXPECT_FALSE(reader.poll().button(PadButton::A));
}

TEST_F(VirtualPad, pulled_out_it_reads_as_none_and_plugged_in_again_it_is_a_new_pad) {
  const GamepadState first = reader.poll();
  ASSERT_TRUE(first.connected);
  detach();
  const GamepadState gone = reader.poll();
  EXPECT_FALSE(gone.connected);
  EXPECT_EQ(gone.axis(PadAxis::RightTrigger), 0);
  attach();
  const GamepadState again = reader.poll();
  EXPECT_TRUE(again.connected);
  EXPECT_NE(again.id, first.id);
}

TEST_F(VirtualPad, a_pad_plugged_in_after_the_start_is_found_at_the_next_poll) {
  detach();
  EXPECT_FALSE(reader.poll().connected);
  attach();
  axis(5, 30000);
  const GamepadState pad = reader.poll();
  EXPECT_TRUE(pad.connected);
  EXPECT_EQ(pad.axis(PadAxis::RightTrigger), 30000);
}

TEST_F(VirtualPad, the_first_joystick_is_left_to_the_usb_scan_when_asked) {
  ASSERT_EQ(index, 0);
  ASSERT_TRUE(reader.poll().connected);
  reader.leaveFirstJoystick(true);
  EXPECT_FALSE(reader.poll().connected);
  reader.leaveFirstJoystick(false);
  EXPECT_TRUE(reader.poll().connected);
}

TEST(NoPad, a_joystick_without_a_mapping_is_no_pad) {
  Sdl2Gamepad reader;
  ASSERT_TRUE(reader.available());
  if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real controller is attached";
  // Three axes and two buttons: no layout SDL could guess a pad from.
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 3, 2, 0);
  ASSERT_GE(index, 0);
  const bool known = SDL_IsGameController(index);
  const GamepadState pad = reader.poll();
  SDL_JoystickDetachVirtual(index);
  if (known) GTEST_SKIP() << "this SDL maps any virtual joystick";
  EXPECT_FALSE(pad.connected);
}

// The whole way: SDL's pad, the default bindings, the pad driver, the run's key handler.
class VirtualPadDrivesRun : public VirtualPad {
 protected:
  void SetUp() override {
    VirtualPad::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    run = &t.makeUnlocked();
    poke(*run).handle.brakeStep = 0;
    poke(*run).handle.effectiveBrake = 0;
    tick();  // the first look at the pad moves nothing
  }
  void tick() { driver.poll(reader.poll(), bindings, *run); }
  int notch() { return poke(*run).handle.powerNotch; }
  int brake() { return poke(*run).handle.brakeStep; }

  test::TestRun t;
  velmoria::Run* run = nullptr;
  controls::Bindings bindings = controls::Bindings::defaults();
  controls::PadDriver driver;
};

TEST_F(VirtualPadDrivesRun, the_triggers_work_power_and_brake_by_default) {
  axis(5, 32767);  // right trigger, full: the last notch of [Power] 4
  tick();
  EXPECT_EQ(notch(), 4);
  axis(5, 16384);  // half: (0.5 - 0.08) / 0.92 * 4 = 1.83, P2
  tick();
  EXPECT_EQ(notch(), 2);
  axis(5, 0);
  axis(4, 16384);  // left trigger half: 3.65 of 8, B4
  tick();
  EXPECT_EQ(notch(), 0);
  EXPECT_EQ(brake(), -4);
  axis(4, 32767);  // the end of the travel is the emergency brake
  tick();
  EXPECT_EQ(brake(), -8);
  axis(4, 0);
  tick();
  EXPECT_EQ(brake(), 0);
  button(0, true);  // A: the horn, channel 2 of the test train
  tick();
  EXPECT_EQ(t.sound.playCount(2), 1);
}

TEST_F(VirtualPadDrivesRun, after_a_rebinding_the_left_stick_works_them) {
  bindings.powerAxis = controls::AxisBinding{PadAxis::LeftY, -1};
  bindings.brakeAxis = controls::AxisBinding{PadAxis::LeftY, 1};
  controls::bindButton(bindings, controls::Action::Horn, PadButton::B);
  driver.forget();
  tick();
  axis(1, -32768);  // stick up: full power
  tick();
  EXPECT_EQ(notch(), 4);
  axis(1, 20000);  // down: (0.61 - 0.08) / 0.92 * 8 = 4.6, B5
  tick();
  EXPECT_EQ(notch(), 0);
  EXPECT_EQ(brake(), -5);
  axis(5, 32767);  // the right trigger no longer works power, A no longer sounds the horn
  button(0, true);
  tick();
  EXPECT_EQ(notch(), 0);
  EXPECT_EQ(brake(), -5);
  EXPECT_EQ(t.sound.playCount(2), 0);
  button(1, true);
  tick();
  EXPECT_EQ(t.sound.playCount(2), 1);
}

}  // namespace
}  // namespace velmoria
