#pragma once
// The pictures the cab panel loads from the vehicle and route files, in the order the panel
// loads them. The desktop program stops at the first one it cannot load with
// "<file>が見つかりません"; velmoria-drive checks the same list with the same loader rules so that
// a route author sees that message before a driver does. Called during start-up, after the readers.
#include <string>
#include <vector>

#include "frame/data_folder.h"
#include "media/image_loader.h"
#include "route/route.h"
#include "vehicle/vehicle.h"
#include "view/cab_display.h"

namespace velmoria {

// Panel, Panel2, the lamps, the needles, the [Others] pictures and the timetable card; entries
// the files leave empty are not loaded and not listed.
std::vector<std::string> panelPictureFiles(const Vehicle& vehicle, const Route& route);

// The message the panel shows for a picture it cannot load.
std::string missingPictureMessage(const std::string& file);

// Loads every picture of panelPictureFiles; throws StartupError with missingPictureMessage for
// the first one that fails. Returns the timetable card's size.
CardSize checkPanelPictures(const Vehicle& vehicle, const Route& route, const DataFolder& folder,
                            ImageLoader& images);

}  // namespace velmoria
