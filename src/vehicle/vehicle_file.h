#pragma once
// The vehicle file reader. Called once by the start-up (run/creation.h) on the UI thread,
// after the controller codes and before the route file. Pictures named by [StopLine] and the
// three indicator lists are loaded at once through `images` and appended to `lists`; every other
// picture and sound is only named here and loaded later by the panel and the sound bank.
#include <string>
#include <string_view>

#include "frame/data_folder.h"
#include "frame/image_lists.h"
#include "frame/section_walker.h"
#include "media/image_loader.h"
#include "vehicle/vehicle.h"

namespace velmoria {

// Throws StartupError: "車両ファイルに誤りがあります" followed by the section label for a file
// that cannot be opened, a value that does not convert, a picture that cannot be loaded or a
// list longer than its table; the traction checks' own messages at the end of [Notch] and
// [Engine].
Vehicle readVehicleFile(const DataFolder& folder, std::string_view name, ReaderContext& context,
                        ImageLoader& images, ImageLists& lists);

// The vehicle file's message for a fault in its basic settings ([Brake], [BrakeRate] ...).
std::string basicSettingsError();

}  // namespace velmoria
