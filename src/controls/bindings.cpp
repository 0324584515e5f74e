#include "controls/bindings.h"

#include <algorithm>

namespace velmoria::controls {

namespace {

constexpr PostedKey ch(char c) {
  return PostedKey{false, c, VirtualKey::Enter, false};
}
constexpr PostedKey enter() {
  return PostedKey{true, 0, VirtualKey::Enter, false};
}

using B = PadButton;
// The pad's defaults: both triggers work the handles (below); the shoulders step it as the
// wheel would; the face buttons are the ones a driver reaches for while driving.
const std::array<ActionInfo, kActions> kActionTable{{
    {Action::Forward, "forward", ch('f'), "F", B::DpadUp},
    {Action::Backward, "backward", ch('b'), "B", B::DpadDown},
    {Action::ReverserNeutral, "reverser_neutral", ch('n'), "N", B::DpadLeft},
    {Action::PowerStep, "power_step", ch('8'), "8", B::RightShoulder},
    {Action::BrakeStep, "brake_step", ch('2'), "2", B::LeftShoulder},
    {Action::HandleNeutral, "handle_neutral", ch('5'), "5", std::nullopt},
    {Action::Emergency, "emergency", ch('0'), "0", std::nullopt},
    {Action::MasterUp, "master_up", ch('z'), "Z", std::nullopt},
    {Action::MasterDown, "master_down", ch('a'), "A", std::nullopt},
    {Action::MasterEmergency, "master_emergency", ch('q'), "Q", std::nullopt},
    {Action::BrakeRelease, "brake_release", ch(','), ",", std::nullopt},
    {Action::BrakeApply, "brake_apply", ch('.'), ".", std::nullopt},
    {Action::BrakeEmergency, "brake_emergency", ch('/'), "/", std::nullopt},
    {Action::Horn, "horn", ch('3'), "3", B::A},
    {Action::Horn2, "horn2", ch('6'), "6", std::nullopt},
    {Action::Buzzer1, "buzzer1", ch('4'), "4", B::Y},
    {Action::Buzzer2, "buzzer2", ch('1'), "1", B::DpadRight},
    {Action::PreviousAnnouncement, "previous_announcement", ch('-'), "-", std::nullopt},
    {Action::Doors, "doors", ch('7'), "7", B::X},
    {Action::Reset, "reset", ch('r'), "R", B::Back},
    {Action::Acknowledge, "acknowledge", ch(' '), "Space", B::B},
    {Action::GearUp, "gear_up", ch('s'), "S", std::nullopt},
    {Action::GearDown, "gear_down", ch('x'), "X", std::nullopt},
    {Action::CallOut, "call_out", enter(), "Return", B::Start},
}};

constexpr std::array<const char*, kPadButtons> kButtonNames{"a",
                                                            "b",
                                                            "x",
                                                            "y",
                                                            "back",
                                                            "guide",
                                                            "start",
                                                            "leftstick",
                                                            "rightstick",
                                                            "leftshoulder",
                                                            "rightshoulder",
                                                            "dpup",
                                                            "dpdown",
                                                            "dpleft",
                                                            "dpright",
                                                            "misc1",
                                                            "paddle1",
                                                            "paddle2",
                                                            "paddle3",
                                                            "paddle4",
                                                            "touchpad"};
constexpr std::array<const char*, kPadAxes> kAxisNames{"leftx",  "lefty",       "rightx",
                                                       "righty", "lefttrigger", "righttrigger"};

size_t at(Action a) {
  return static_cast<size_t>(a);
}

}  // namespace

const std::array<ActionInfo, kActions>& actions() {
  return kActionTable;
}

const ActionInfo& info(Action a) {
  return kActionTable[at(a)];
}

Bindings Bindings::defaults() {
  Bindings b;
  for (const ActionInfo& a : kActionTable) {
    b.keys[at(a.action)] = a.defaultKey;
    b.buttons[at(a.action)] = a.defaultButton;
  }
  b.powerAxis = AxisBinding{PadAxis::RightTrigger, 1};
  b.brakeAxis = AxisBinding{PadAxis::LeftTrigger, 1};
  return b;
}

bool Bindings::keysAsAlways() const {
  for (const ActionInfo& a : kActionTable)
    if (keys[at(a.action)] != a.defaultKey) return false;
  return true;
}

void bindKey(Bindings& b, Action a, const std::string& keyName) {
  if (!keyName.empty())
    for (std::string& k : b.keys)
      if (k == keyName) k.clear();
  b.keys[at(a)] = keyName;
}

void bindButton(Bindings& b, Action a, std::optional<PadButton> button) {
  if (button)
    for (auto& other : b.buttons)
      if (other == button) other.reset();
  b.buttons[at(a)] = button;
}

KeyRoute routeKey(const Bindings& b, const std::string& keyName) {
  if (keyName.empty()) return {};
  for (const ActionInfo& a : kActionTable) {
    if (b.keys[at(a.action)] != keyName) continue;
    // A key that still has its own action goes the way it always went, with whatever Shift
    // or the keypad made of it.
    if (keyName == a.defaultKey) return {};
    return KeyRoute{KeyRoute::Kind::Replaced, a.key};
  }
  for (const ActionInfo& a : kActionTable)
    if (keyName == a.defaultKey) return KeyRoute{KeyRoute::Kind::Dropped, {}};
  return {};
}

const char* buttonName(PadButton b) {
  return kButtonNames[static_cast<size_t>(b)];
}

std::optional<PadButton> buttonFromName(const std::string& name) {
  for (size_t i = 0; i < kButtonNames.size(); ++i)
    if (name == kButtonNames[i]) return static_cast<PadButton>(i);
  return std::nullopt;
}

const char* axisName(PadAxis a) {
  return kAxisNames[static_cast<size_t>(a)];
}

std::string axisBindingName(const AxisBinding& a) {
  if (!a.axis) return "";
  return std::string(a.sign < 0 ? "-" : "+") + axisName(*a.axis);
}

std::optional<AxisBinding> axisBindingFromName(const std::string& name) {
  if (name.empty()) return AxisBinding{};
  if (name.size() < 2 || (name[0] != '+' && name[0] != '-')) return std::nullopt;
  const std::string axis = name.substr(1);
  for (size_t i = 0; i < kAxisNames.size(); ++i) {
    if (axis != kAxisNames[i]) continue;
    const auto a = static_cast<PadAxis>(i);
    // A trigger only travels one way.
    const bool trigger = a == PadAxis::LeftTrigger || a == PadAxis::RightTrigger;
    if (trigger && name[0] == '-') return std::nullopt;
    return AxisBinding{a, name[0] == '-' ? -1 : 1};
  }
  return std::nullopt;
}

std::map<std::string, std::string> toSettings(const Bindings& b) {
  std::map<std::string, std::string> out;
  for (const ActionInfo& a : kActionTable) {
    out[std::string("keys/") + a.id] = b.keys[at(a.action)];
    const auto button = b.buttons[at(a.action)];
    out[std::string("pad/") + a.id] = button ? buttonName(*button) : "";
  }
  out["pad/power_axis"] = axisBindingName(b.powerAxis);
  out["pad/brake_axis"] = axisBindingName(b.brakeAxis);
  return out;
}

Bindings fromSettings(const std::map<std::string, std::string>& settings) {
  const auto find = [&](const std::string& name) -> const std::string* {
    const auto it = settings.find(name);
    return it == settings.end() ? nullptr : &it->second;
  };
  Bindings b = Bindings::defaults();
  for (const ActionInfo& a : kActionTable) {
    if (const std::string* key = find(std::string("keys/") + a.id)) b.keys[at(a.action)] = *key;
    if (const std::string* button = find(std::string("pad/") + a.id)) {
      if (button->empty())
        b.buttons[at(a.action)].reset();
      else if (const auto named = buttonFromName(*button))
        b.buttons[at(a.action)] = named;
    }
  }
  // A file edited by hand may give one key to two actions: the first keeps it.
  for (size_t i = 0; i < b.keys.size(); ++i) {
    for (size_t j = 0; j < i; ++j) {
      if (!b.keys[i].empty() && b.keys[i] == b.keys[j]) b.keys[i].clear();
      if (b.buttons[i] && b.buttons[i] == b.buttons[j]) b.buttons[i].reset();
    }
  }
  if (const std::string* axis = find("pad/power_axis"))
    if (const auto named = axisBindingFromName(*axis)) b.powerAxis = *named;
  if (const std::string* axis = find("pad/brake_axis"))
    if (const auto named = axisBindingFromName(*axis)) b.brakeAxis = *named;
  // One half-axis cannot work both handles: the brake keeps it.
  if (b.powerAxis.axis && b.powerAxis == b.brakeAxis) b.powerAxis = AxisBinding{};
  return b;
}

}  // namespace velmoria::controls
