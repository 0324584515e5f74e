#pragma once
// The strings-and-keys file korvelan.dat: the cab's handle and station texts, the main menu's
// captions and the video folder. A section the file lacks leaves its text empty.
#include <array>
#include <optional>
#include <string>

namespace velmoria {

struct Strings {
  std::string Path;  // video folder, joined directly to [DataName] and ".avi"
  std::string Forward, Neutral, Reverse;
  std::string Stop, Pass, Stop2;
  std::string Neut, Neut2, Apply, Maintain, Hold, Hold2, EB;
  // Menu captions; nullopt keeps the window's own caption.
  std::optional<std::string> Start, Move, Control;
  std::optional<std::array<std::string, 3>> Display;
};

}  // namespace velmoria
