#pragma once
// Where the import copies the vehicles, panel, pictures and sounds from when --vehicle-from is
// not given: the demo line, wherever it is. A developer has it in ./demo (or names it in
// $VELMORIA_DEMO); an installed program's user has it among the installed lines, where the
// desktop program generated it on its first start.
#include <filesystem>

#include "frame/line_search.h"

namespace velmoria::import {

// $VELMORIA_DEMO when set; else `current`/demo when it is a data folder; else the first line
// named demo (or demo-2 ...) in the XDG line folders; else `current`/demo, which the caller
// then reports as no data folder.
std::filesystem::path defaultVehicleSource(const EnvironmentLookup& env,
                                           const std::filesystem::path& current);

}  // namespace velmoria::import
