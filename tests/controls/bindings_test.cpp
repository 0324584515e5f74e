#include "controls/bindings.h"

#include <gtest/gtest.h>

#include <set>

namespace velmoria::controls {
namespace {

using Kind = KeyRoute::Kind;

TEST(Bindings, every_action_has_its_own_key_and_character_as_always) {
  const Bindings b = Bindings::defaults();
  EXPECT_TRUE(b.keysAsAlways());
  std::set<std::string> keys, ids;
  std::set<char> characters;
  for (const ActionInfo& a : actions()) {
    EXPECT_EQ(b.key(a.action), a.defaultKey);
    EXPECT_TRUE(keys.insert(a.defaultKey).second) << a.defaultKey;
    EXPECT_TRUE(ids.insert(a.id).second) << a.id;
    if (!a.key.isVirtual) {
      EXPECT_TRUE(characters.insert(a.key.ch).second) << a.key.ch;
    }
    EXPECT_EQ(&info(a.action), &a);
  }
  EXPECT_EQ(characters.size(), static_cast<size_t>(kActions - 1));  // and Enter
  EXPECT_EQ(info(Action::Horn).key.ch, '3');
  EXPECT_EQ(info(Action::Acknowledge).key.ch, ' ');
  EXPECT_TRUE(info(Action::CallOut).key.isVirtual);
  EXPECT_EQ(info(Action::CallOut).key.key, VirtualKey::Enter);
}

TEST(Bindings, without_a_rebinding_every_key_goes_as_it_always_went) {
  const Bindings b = Bindings::defaults();
  for (const ActionInfo& a : actions())
    EXPECT_EQ(routeKey(b, a.defaultKey).kind, Kind::AsAlways) << a.defaultKey;
  for (const char* other : {"H", "F1", "F5", "ScrollLock", "D", "Enter", "*", ""})
    EXPECT_EQ(routeKey(b, other).kind, Kind::AsAlways) << other;
}

TEST(Bindings, a_rebound_key_stands_for_its_action_and_the_old_key_for_none) {
  Bindings b = Bindings::defaults();
  bindKey(b, Action::Horn, "H");
  EXPECT_FALSE(b.keysAsAlways());
  const KeyRoute h = routeKey(b, "H");
  EXPECT_EQ(h.kind, Kind::Replaced);
  EXPECT_FALSE(h.key.isVirtual);
  EXPECT_EQ(h.key.ch, '3');
  EXPECT_EQ(routeKey(b, "3").kind, Kind::Dropped);
  // Keys of other actions, and keys no action has, are untouched.
  EXPECT_EQ(routeKey(b, "4").kind, Kind::AsAlways);
  EXPECT_EQ(routeKey(b, "J").kind, Kind::AsAlways);

  bindKey(b, Action::Horn, "3");
  EXPECT_TRUE(b.keysAsAlways());
  EXPECT_EQ(routeKey(b, "3").kind, Kind::AsAlways);
  EXPECT_EQ(routeKey(b, "H").kind, Kind::AsAlways);
}

TEST(Bindings, a_key_taken_by_another_action_leaves_the_first_without_one) {
  Bindings b = Bindings::defaults();
  bindKey(b, Action::Horn, "4");
  EXPECT_EQ(b.key(Action::Buzzer1), "");
  EXPECT_EQ(routeKey(b, "4").key.ch, '3');
  EXPECT_EQ(routeKey(b, "3").kind, Kind::Dropped);
  // ...and given the horn's old key, the two are exchanged.
  bindKey(b, Action::Buzzer1, "3");
  EXPECT_EQ(routeKey(b, "3").kind, Kind::Replaced);
  EXPECT_EQ(routeKey(b, "3").key.ch, '4');
  EXPECT_EQ(routeKey(b, "4").key.ch, '3');
}

TEST(Bindings, the_call_out_moves_as_the_virtual_key_enter) {
  Bindings b = Bindings::defaults();
  bindKey(b, Action::CallOut, "C");
  const KeyRoute c = routeKey(b, "C");
  ASSERT_EQ(c.kind, Kind::Replaced);
  EXPECT_TRUE(c.key.isVirtual);
  EXPECT_EQ(c.key.key, VirtualKey::Enter);
  EXPECT_FALSE(c.key.shift);
  EXPECT_EQ(routeKey(b, "Return").kind, Kind::Dropped);
}

TEST(Bindings, an_action_without_a_key_drops_its_old_key) {
  Bindings b = Bindings::defaults();
  bindKey(b, Action::Emergency, "");
  EXPECT_EQ(b.key(Action::Emergency), "");
  EXPECT_EQ(routeKey(b, "0").kind, Kind::Dropped);
  EXPECT_EQ(routeKey(b, "").kind, Kind::AsAlways);
}

TEST(Bindings, a_pad_button_stands_for_one_action_only) {
  Bindings b = Bindings::defaults();
  ASSERT_EQ(b.button(Action::Horn), PadButton::A);
  bindButton(b, Action::Doors, PadButton::A);
  EXPECT_EQ(b.button(Action::Doors), PadButton::A);
  EXPECT_EQ(b.button(Action::Horn), std::nullopt);
  bindButton(b, Action::Doors, std::nullopt);
  EXPECT_EQ(b.button(Action::Doors), std::nullopt);
  int bound = 0;
  for (const auto& button : b.buttons) bound += button.has_value();
  EXPECT_EQ(bound, 10);  // the twelve defaults less the horn's and the doors'
}

TEST(Bindings, button_and_axis_names_are_sdls) {
  for (int i = 0; i < kPadButtons; ++i) {
    const auto b = static_cast<PadButton>(i);
    EXPECT_EQ(buttonFromName(buttonName(b)), b) << buttonName(b);
  }
  EXPECT_STREQ(buttonName(PadButton::LeftShoulder), "leftshoulder");
  EXPECT_STREQ(buttonName(PadButton::DpadRight), "dpright");
  EXPECT_STREQ(buttonName(PadButton::Touchpad), "touchpad");
  EXPECT_EQ(buttonFromName("A"), std::nullopt);
  EXPECT_EQ(buttonFromName(""), std::nullopt);
  EXPECT_STREQ(axisName(PadAxis::RightTrigger), "righttrigger");
  EXPECT_STREQ(axisName(PadAxis::LeftY), "lefty");
}

struct AxisName {
  const char* text;
  std::optional<AxisBinding> binding;
};
class AxisNames : public ::testing::TestWithParam<AxisName> {};

TEST_P(AxisNames, read_as_a_half_axis) {
  const AxisName& c = GetParam();
  EXPECT_EQ(axisBindingFromName(c.text), c.binding);
  if (c.binding) {
    EXPECT_EQ(axisBindingName(*c.binding), c.text);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Bindings, AxisNames,
    ::testing::Values(AxisName{"", AxisBinding{}},
                      AxisName{"+righttrigger", AxisBinding{PadAxis::RightTrigger, 1}},
                      AxisName{"+lefttrigger", AxisBinding{PadAxis::LeftTrigger, 1}},
                      AxisName{"-lefty", AxisBinding{PadAxis::LeftY, -1}},
                      AxisName{"+lefty", AxisBinding{PadAxis::LeftY, 1}},
                      AxisName{"-rightx", AxisBinding{PadAxis::RightX, -1}},
                      AxisName{"-lefttrigger", std::nullopt},  // a trigger goes one way
                      AxisName{"lefty", std::nullopt}, AxisName{"+", std::nullopt},
                      AxisName{"+leftz", std::nullopt}, AxisName{"*lefty", std::nullopt}));

TEST(Bindings, a_table_read_back_from_its_settings_is_the_same) {
  Bindings b = Bindings::defaults();
  bindKey(b, Action::Horn, "H");
  bindKey(b, Action::Acknowledge, "Return");  // takes Enter from the call-out
  bindKey(b, Action::BrakeRelease, "Space");
  bindButton(b, Action::Emergency, PadButton::LeftStick);
  bindButton(b, Action::Horn, PadButton::B);  // takes B from the acknowledge
  b.powerAxis = AxisBinding{PadAxis::LeftY, -1};
  b.brakeAxis = AxisBinding{PadAxis::LeftY, 1};
  const auto settings = toSettings(b);
  EXPECT_EQ(settings.at("keys/horn"), "H");
  EXPECT_EQ(settings.at("keys/call_out"), "");
  EXPECT_EQ(settings.at("pad/acknowledge"), "");
  EXPECT_EQ(settings.at("pad/emergency"), "leftstick");
  EXPECT_EQ(settings.at("pad/power_axis"), "-lefty");
  EXPECT_EQ(settings.size(), static_cast<size_t>(2 * kActions + 2));
  EXPECT_EQ(fromSettings(settings), b);
  EXPECT_EQ(fromSettings(toSettings(Bindings::defaults())), Bindings::defaults());
}

TEST(Bindings, nothing_saved_reads_as_the_defaults) {
  EXPECT_EQ(fromSettings({}), Bindings::defaults());
}

TEST(Bindings, entries_that_name_nothing_keep_the_defaults) {
  const Bindings b = fromSettings({{"pad/horn", "triangle"},
                                   {"pad/power_axis", "+wheel"},
                                   {"pad/brake_axis", "-lefttrigger"},
                                   {"keys/unknown_action", "K"},
                                   {"pad/doors", ""}});
  Bindings expected = Bindings::defaults();
  bindButton(expected, Action::Doors, std::nullopt);
  EXPECT_EQ(b, expected);
}

TEST(Bindings, a_key_or_button_given_twice_in_the_file_stays_with_the_first) {
  const Bindings b = fromSettings({{"keys/forward", "K"},
                                   {"keys/horn", "K"},
                                   {"pad/forward", "a"},  // the horn's default button
                                   {"pad/brake_axis", "+righttrigger"}});
  EXPECT_EQ(b.key(Action::Forward), "K");
  EXPECT_EQ(b.key(Action::Horn), "");
  EXPECT_EQ(b.button(Action::Forward), PadButton::A);
  EXPECT_EQ(b.button(Action::Horn), std::nullopt);
  EXPECT_EQ(routeKey(b, "K").key.ch, 'f');
  // Power and brake on one half-axis: the brake keeps it.
  EXPECT_EQ(b.brakeAxis, (AxisBinding{PadAxis::RightTrigger, 1}));
  EXPECT_EQ(b.powerAxis, AxisBinding{});
}

}  // namespace
}  // namespace velmoria::controls
