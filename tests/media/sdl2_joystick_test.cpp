#include "media/sdl/sdl2_joystick.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace velmoria {
namespace {

// A virtual controller that the test moves; SDL lists it like a plugged-in device.
class VirtualJoystick : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(reader.available()) << SDL_GetError();
    index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 16, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    handle = SDL_JoystickOpen(index);
    ASSERT_NE(handle, nullptr);
  }
  void TearDown() override {
    if (handle) SDL_JoystickClose(handle);
    if (index >= 0) SDL_JoystickDetachVirtual(index);
  }
  Sdl2Joystick reader;
  int index = -1;
  SDL_Joystick* handle = nullptr;
};

TEST_F(VirtualJoystick, axes_are_read_through_the_dead_zone) {
  struct Case {
    int16_t raw;
    int32_t read;
  };
  // Worked by hand: |raw| <= 1638 reads 0; beyond, (raw -/+ 1638) * 100 / 95 truncated.
  for (const Case c :
       {Case{0, 0}, Case{1638, 0}, Case{-1638, 0}, Case{1639, 1}, Case{-1639, -1}, Case{1733, 100},
        Case{32767, 32767}, Case{-32768, -32768}, Case{-6000, -4591}, Case{20000, 19328}}) {
    SDL_JoystickSetVirtualAxis(handle, 0, c.raw);
    SDL_JoystickSetVirtualAxis(handle, 1, c.raw);
    const auto state = reader.poll();
    EXPECT_EQ(state.x, c.read) << c.raw;
    EXPECT_EQ(state.y, c.read) << c.raw;
  }
  SDL_JoystickSetVirtualAxis(handle, 0, 1733);
  SDL_JoystickSetVirtualAxis(handle, 1, -6000);
  const auto state = reader.poll();
  EXPECT_EQ(state.x, 100);
  EXPECT_EQ(state.y, -4591);
}

TEST_F(VirtualJoystick, buttons_0_to_15_are_read) {
  for (int b : {0, 3, 9, 15}) SDL_JoystickSetVirtualButton(handle, b, SDL_PRESSED);
  auto state = reader.poll();
  for (int b = 0; b < 16; ++b)
    EXPECT_EQ(state.buttons[b], b == 0 || b == 3 || b == 9 || b == 15) << b;
  SDL_JoystickSetVirtualButton(handle, 3, SDL_RELEASED);
  state = reader.poll();
  EXPECT_FALSE(state.buttons[3]);
  EXPECT_TRUE(state.buttons[9]);
}

TEST(NoJoystick, reads_zero_axes_and_no_buttons) {
  Sdl2Joystick reader;
  if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real controller is attached";
  const auto state = reader.poll();
  EXPECT_EQ(state.x, 0);
  EXPECT_EQ(state.y, 0);
  for (bool b : state.buttons) EXPECT_FALSE(b);
  EXPECT_FALSE(reader.connected());
}

TEST(NoJoystick, a_controller_unplugged_reads_as_none) {
  Sdl2Joystick reader;
  if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real controller is attached";
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 16, 0);
  ASSERT_GE(index, 0);
  SDL_Joystick* handle = SDL_JoystickOpen(index);
  SDL_JoystickSetVirtualButton(handle, 1, SDL_PRESSED);
  SDL_JoystickSetVirtualAxis(handle, 0, 20000);
  EXPECT_TRUE(reader.poll().buttons[1]);
  EXPECT_TRUE(reader.connected());
  SDL_JoystickClose(handle);
  SDL_JoystickDetachVirtual(index);
  const auto state = reader.poll();
  EXPECT_FALSE(state.buttons[1]);
  EXPECT_EQ(state.x, 0);
  EXPECT_FALSE(reader.connected());
}

}  // namespace
}  // namespace velmoria
