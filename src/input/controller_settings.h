#pragma once
// The serial controller's code table (mascon.dat) and the USB button map (registry or INI).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmoria {

constexpr size_t kControllerCodes = 26;

// Codes in file order, at most 26; entry 0 is line 1 (P1).
using ControllerCodeTable = std::vector<std::string>;

// P0..P5, B0..B8, EB: the PlayStation controller's code for each handle position.
struct ButtonMap {
  std::array<int32_t, 16> values{};
  static constexpr std::array<const char*, 16> kNames = {"P0", "P1", "P2", "P3", "P4", "P5",
                                                          "B0", "B1", "B2", "B3", "B4", "B5",
                                                          "B6", "B7", "B8", "EB"};
};

}  // namespace velmoria
