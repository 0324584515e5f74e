#pragma once
// Readers of the controller settings: the serial controller's code table (mascon.dat) and the
// USB button map (a KeyValueStore: QSettings in the desktop program). Called once by the
// start-up on the UI thread, the button map first.
#include <string_view>

#include "frame/data_folder.h"
#include "input/controller_settings.h"
#include "media/key_value_store.h"

namespace velmoria {

constexpr std::string_view kControllerCodesFileName = "mascon.dat";

// Lines from the start of the file up to its end or the first line beginning with '#', at most
// 26 (further lines are ignored). Throws StartupError "<name>が見つかりません" when the file
// cannot be opened: the serial controller cannot work without it.
ControllerCodeTable readControllerCodes(const DataFolder& folder, std::string_view name);

// P0..P5, B0..B8, EB in this order. The first value that is missing or not an integer ends the
// reading silently; it and all later values keep what they held. A null store reads nothing.
void readButtonMap(const KeyValueStore* store, ButtonMap& map);

}  // namespace velmoria
