#pragma once
// Qt key and wheel events in the terms of the cab's handlers: a key press is a virtual key for
// `keydowns` (with "exactly Shift") and, for a printable key, a character for `AsciiDown`, as a
// Windows key-down message is followed by its character message. Auto-repeated presses count
// like fresh ones, as Windows repeats both messages. Wheel steps are whole notches of 120.
#include <optional>

#include "input/keys.h"

class QKeyEvent;
class QWheelEvent;

namespace velmoria {

struct TranslatedKey {
  std::optional<VirtualKey> key;  // for keydowns
  bool shiftOnly = false;         // the shift state is exactly Shift
  std::optional<char> character;  // for AsciiDown
};

TranslatedKey translateKey(const QKeyEvent& event);

// Turns wheel deltas into handle steps: negative results are notches toward the user (WheelD),
// positive ones away from the user (WheelU). Keeps the remainder of high-resolution wheels.
class WheelSteps {
 public:
  int add(const QWheelEvent& event);

 private:
  int m_remainder = 0;
};

}  // namespace velmoria
