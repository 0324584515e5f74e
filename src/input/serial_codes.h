#pragma once
// The serial "TS" master controller's codes: a received chunk is compared by its first five
// characters with the entries of mascon.dat. Pure functions; the run applies what they find.
#include <string>
#include <vector>

#include "input/controller_settings.h"

namespace velmoria {

enum class SerialAction { Handle, Reverser, Acknowledge, Horn, CallOut };

struct SerialMatch {
  SerialAction action = SerialAction::Handle;
  int power = 0, brake = 0;  // Handle: the position as the controller knows it (-9 is EB)
  bool emergency = false;    // Handle: the EB entry
  int reverser = 0;          // Reverser: 1, 0 or -1
};

// Every entry 1..22 of the table that the chunk's first five characters equal, in table order.
// `skipFifthNotch` ignores entries 5 and 6 (the 201's controller reports a fifth notch the
// train does not have). An empty chunk matches nothing.
std::vector<SerialMatch> matchSerialCodes(const std::string& chunk,
                                          const ControllerCodeTable& codes, bool skipFifthNotch);

}  // namespace velmoria
