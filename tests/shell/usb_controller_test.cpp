// The USB game controllers as the cab window wires them: the Controller menu chooses the kind,
// and the run loop's tick reads the controller only while a USB kind is chosen.
#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <map>

#include "support/desktop_fixture.h"
#include "support/scripted_joystick.h"
#include "support/steps.h"

namespace velmoria {
namespace {

using test::DesktopFixture;
using test::processEvents;
using test::ScriptedJoystick;

// The button map as the registry would hold it.
class ButtonMapStore : public KeyValueStore {
 public:
  explicit ButtonMapStore(std::map<std::string, int32_t> values) : m_values(std::move(values)) {}
  std::optional<int32_t> readInt(const std::string& name) const override {
    const auto it = m_values.find(name);
    return it == m_values.end() ? std::nullopt : std::optional<int32_t>(it->second);
  }

 private:
  std::map<std::string, int32_t> m_values;
};

class UsbControllerTest : public DesktopFixture {
 protected:
  UsbControllerTest() {
    auto scripted = std::make_unique<ScriptedJoystick>();
    joystick = scripted.get();
    app->media().joystick = std::move(scripted);
  }
  // Lets the window's own run-loop timer read the controller once more.
  bool waitForPoll() {
    const int before = joystick->polls;
    QElapsedTimer timer;
    timer.start();
    while (joystick->polls == before && timer.elapsed() < 2000) processEvents(2);
    return joystick->polls > before;
  }
  ScriptedJoystick* joystick = nullptr;
};

TEST_F(UsbControllerTest, the_windows_controller_sets_the_handle_from_its_two_axes) {
  choose();  // train_test.dat: 4 notches, 8 brake steps
  cab().start1Click();
  cab().action("COM21")->trigger();
  ASSERT_EQ(app->state().controllerKind, 1);

  joystick->state.y = -6000;  // power handle forward: notch 2
  joystick->state.x = 5000;   // brake handle: step 3
  ASSERT_TRUE(waitForPoll());
  EXPECT_EQ(poke(run()).handle.powerNotch, 2);
  EXPECT_EQ(poke(run()).handle.brakeStep, -3);
  EXPECT_EQ(panelText("PowerLabel"), "P2");

  // Past the last band the brake is emergency, which for this vehicle is step 8.
  joystick->state.y = 0;
  joystick->state.x = 20000;
  ASSERT_TRUE(waitForPoll());
  EXPECT_EQ(poke(run()).handle.powerNotch, 0);
  EXPECT_EQ(poke(run()).handle.brakeStep, -8);

  // A band boundary leaves the previous position in force.
  joystick->state.y = -5000;
  joystick->state.x = 8000;
  ASSERT_TRUE(waitForPoll());
  EXPECT_EQ(poke(run()).handle.powerNotch, 0);
  EXPECT_EQ(poke(run()).handle.brakeStep, -8);
}

TEST_F(UsbControllerTest, the_playstation_controller_sets_the_handle_through_the_button_map) {
  // Power positions P0..P5 reported as codes 1..6, brake positions B0..B8 and EB as 1..10.
  std::map<std::string, int32_t> map;
  const char* power[] = {"P0", "P1", "P2", "P3", "P4", "P5"};
  for (int i = 0; i < 6; ++i) map[power[i]] = i + 1;
  const char* brake[] = {"B0", "B1", "B2", "B3", "B4", "B5", "B6", "B7", "B8", "EB"};
  for (int i = 0; i < 10; ++i) map[brake[i]] = i + 1;
  app->media().settings = std::make_unique<ButtonMapStore>(map);
  choose();
  cab().start1Click();
  cab().action("COM31")->trigger();
  ASSERT_EQ(app->state().controllerKind, 2);

  // Buttons 0 and 1 make power code 1 + 2 = 3 (P2); buttons 4 and 6 brake code 1 + 4 = 5 (B4).
  joystick->state.buttons[0] = joystick->state.buttons[1] = true;
  joystick->state.buttons[4] = joystick->state.buttons[6] = true;
  ASSERT_TRUE(waitForPoll());
  EXPECT_EQ(poke(run()).handle.powerNotch, 2);
  EXPECT_EQ(poke(run()).handle.brakeStep, -4);

  // Buttons 5 and 7: brake code 2 + 8 = 10, EB, this vehicle's step 8.
  joystick->state.buttons[4] = joystick->state.buttons[6] = false;
  joystick->state.buttons[5] = joystick->state.buttons[7] = true;
  ASSERT_TRUE(waitForPoll());
  EXPECT_EQ(poke(run()).handle.powerNotch, 2);
  EXPECT_EQ(poke(run()).handle.brakeStep, -8);
}

TEST_F(UsbControllerTest, with_the_keyboard_controller_the_joystick_is_not_read) {
  choose();
  cab().start1Click();
  cab().action("COM21")->trigger();
  joystick->state.y = -6000;
  ASSERT_TRUE(waitForPoll());
  ASSERT_EQ(poke(run()).handle.powerNotch, 2);

  cab().action("COM11")->trigger();
  ASSERT_EQ(app->state().controllerKind, 0);
  const int polls = joystick->polls;
  joystick->state.y = -25000;  // would be notch 4
  processEvents(350);          // three run-loop ticks
  ASSERT_TRUE(cab().timer1().isActive());
  EXPECT_EQ(joystick->polls, polls);
  EXPECT_EQ(poke(run()).handle.powerNotch, 2);
}

TEST_F(UsbControllerTest, before_the_first_start_the_controller_is_not_read) {
  choose();
  cab().action("COM21")->trigger();
  joystick->state.y = -6000;
  processEvents(250);
  EXPECT_EQ(joystick->polls, 0);
  EXPECT_EQ(poke(run()).handle.powerNotch, 0);
}

}  // namespace
}  // namespace velmoria
