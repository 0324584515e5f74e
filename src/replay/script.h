#pragma once
// The timed input of velmoria-drive, and the desktop program's record of a run's inputs: one
// command a line, "TIME_MS COMMAND [ARGS]", '#' starts a comment. Parsed once before the run;
// the drive loop hands each command to the run when its time comes. Times never go backwards
// within a script.
#include <array>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "input/keys.h"

namespace velmoria::replay {

enum class CommandKind { Start, Key, VKey, Wheel, Serial, Usb, Station, Voice, Quit };

struct ScriptCommand {
  int64_t timeMs = 0;
  CommandKind kind = CommandKind::Start;
  int line = 0;                         // 1-based line in the script, for messages
  char key = 0;                         // Key
  VirtualKey vkey = VirtualKey::Enter;  // VKey
  bool shift = false;                   // VKey
  bool wheelUp = false;                 // Wheel: up turns the wheel away from the driver (WheelU)
  std::string text;                     // Serial: the chunk, escapes resolved
  int usbKind = 0;                      // Usb: controller kind 0, 1 or 2
  int32_t x = 0, y = 0;                 // Usb: raw axes
  std::array<bool, 16> buttons{};
  int station = 0;  // Station: the index in "Sta<index>"
};

struct ScriptError {
  int line = 0;
  std::string message;
};

struct Script {
  std::vector<ScriptCommand> commands;  // in time order
};

struct ScriptResult {
  std::optional<Script> script;
  std::optional<ScriptError> error;
};

ScriptResult parseScript(std::istream& in);
// The command as a script line ("1200 key space"); parseScriptLine reads it back unchanged.
std::string formatScriptCommand(const ScriptCommand& c);
// One line; nullopt for a blank or comment line. Throws nothing; errors come back in `error`.
std::optional<ScriptCommand> parseScriptLine(const std::string& line, int lineNumber,
                                             std::optional<ScriptError>& error);

}  // namespace velmoria::replay
