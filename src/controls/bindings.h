#pragma once
// What the driver's keys and pad buttons stand for: each action is one key of the cab's
// handlers (a character for AsciiDown or Enter for keydowns), bound to one keyboard key and at
// most one pad button; two pad axes work the power and brake handles. Keyboard keys are named
// as the shell names them (Qt's portable key text: "H", "3", "Space", "Return", ","), pad
// buttons and axes with SDL's game-controller names ("a", "leftshoulder", "righttrigger").
// Plain data, no Qt, no SDL; the shell keeps one table for the program and saves it.
#include <array>
#include <map>
#include <optional>
#include <string>

#include "input/keys.h"
#include "media/gamepad.h"

namespace velmoria::controls {

enum class Action {
  Forward,
  Backward,
  ReverserNeutral,  // f b n
  PowerStep,
  BrakeStep,  // 8 2
  HandleNeutral,
  Emergency,  // 5 0
  MasterUp,
  MasterDown,
  MasterEmergency,  // z a q
  BrakeRelease,
  BrakeApply,
  BrakeEmergency,  // , . /
  Horn,
  Horn2,
  Buzzer1,
  Buzzer2,  // 3 6 4 1
  PreviousAnnouncement,
  Doors,  // - 7
  Reset,
  Acknowledge,  // r space
  GearUp,
  GearDown,  // s x
  CallOut,   // Enter
};
constexpr int kActions = 24;

struct ActionInfo {
  Action action;
  const char* id;  // the name in the settings file
  PostedKey key;   // the key of the cab's handlers it stands for
  const char* defaultKey;
  std::optional<PadButton> defaultButton;
};

// Every action, in the order the Controls dialog and the help window list them.
const std::array<ActionInfo, kActions>& actions();
const ActionInfo& info(Action a);

// One half of a pad axis: a trigger pulled, or a stick pushed one way (sign -1: up or left).
struct AxisBinding {
  std::optional<PadAxis> axis;
  int sign = 1;
  bool operator==(const AxisBinding&) const = default;
};

struct Bindings {
  std::array<std::string, kActions> keys;  // "" is no key
  std::array<std::optional<PadButton>, kActions> buttons;
  AxisBinding powerAxis, brakeAxis;

  // Every key as it always was; the right trigger for power, the left one for the brake.
  static Bindings defaults();
  const std::string& key(Action a) const { return keys[static_cast<size_t>(a)]; }
  std::optional<PadButton> button(Action a) const { return buttons[static_cast<size_t>(a)]; }
  // No key moved from the one it always had.
  bool keysAsAlways() const;
  bool operator==(const Bindings&) const = default;
};

// Gives the action the key (or pad button), taking it from whichever action had it, so that a
// key always stands for one action. An empty name or nullopt leaves the action without one.
void bindKey(Bindings& b, Action a, const std::string& keyName);
void bindButton(Bindings& b, Action a, std::optional<PadButton> button);

// What a key the driver pressed goes to the cab as.
struct KeyRoute {
  enum class Kind {
    AsAlways,  // as the key always went, untouched
    Replaced,  // as `key`
    Dropped,   // a key whose action has moved to another key: nothing
  };
  Kind kind = Kind::AsAlways;
  PostedKey key;
};
KeyRoute routeKey(const Bindings& b, const std::string& keyName);

// The table as settings text, "keys/<id>" and "pad/<id>" for the actions, "pad/power_axis" and
// "pad/brake_axis" ("+righttrigger", "-lefty", "" for none), and back. Reading starts from the
// defaults: a missing entry or one that names no button or axis keeps the default; a key or
// button already taken by an earlier action in the list is left out.
std::map<std::string, std::string> toSettings(const Bindings& b);
Bindings fromSettings(const std::map<std::string, std::string>& settings);

const char* buttonName(PadButton b);
std::optional<PadButton> buttonFromName(const std::string& name);
const char* axisName(PadAxis a);
std::string axisBindingName(const AxisBinding& a);
std::optional<AxisBinding> axisBindingFromName(const std::string& name);

}  // namespace velmoria::controls
