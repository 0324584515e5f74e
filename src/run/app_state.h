#pragma once
// Program-wide state: lives from program start to its end and survives from run to run.
#include <cstdint>
#include <string>

#include "input/controller_settings.h"

namespace velmoria {

struct AppState {
  std::string vehicleFile;  // chosen on the title window
  std::string routeFile;
  bool e233 = false;        // Shift held on the title window
  int controllerKind = 0;   // 0 standard/TS, 1 Windows controller, 2 PlayStation controller
  bool keySwap = false;     // Scroll Lock: '2' and '8' exchanged
  bool followMode = false;  // Shift+F1/F2: speed follows the recorded speed
  ButtonMap buttonMap;      // values a creation cannot read keep what they held
  int32_t lastUsbSignature = 0;
  int usbChangeCounter = 0;
};

}  // namespace velmoria
