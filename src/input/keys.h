#pragma once
// The keys of the cab's handlers: the virtual keys `keydowns` takes, and the keys the serial
// and USB controllers post for the character and key handlers to run after them.

namespace velmoria {

enum class VirtualKey { ScrollLock, Enter, F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12 };

struct PostedKey {
  bool isVirtual = false;
  char ch = 0;
  VirtualKey key = VirtualKey::Enter;
  bool shift = false;
};

}  // namespace velmoria
