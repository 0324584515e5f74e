#pragma once
// Reading a run's data files, shared by the desktop program and velmoria-drive. Called on the
// UI thread when a run is chosen, before the Run is built. It performs the button map phase and
// the settings-file phase of the cab window's creation; the panel, video and sounds come after,
// in the front end. Distances along the line are the Run's business, not computed here.
#include <functional>
#include <string>

#include "frame/data_folder.h"
#include "media/image_loader.h"
#include "media/key_value_store.h"
#include "run/app_state.h"
#include "run/run.h"

namespace velmoria {

using StatusCallback = std::function<void(const std::string&)>;

// 1. The button map from `settings` into app.buttonMap (read failures ignored; null reads none).
// 3. Status "設定ファイルを読み込んでいます"; mascon.dat, the vehicle file app.vehicleFile, the
//    route file app.routeFile (with its station jump entries), korvelan.dat.
// Returns vehicle, route, strings, images and codes filled; the sound bank is left empty.
// Throws StartupError with the message of the first file that fails; nothing after it is read.
RunData readRunData(AppState& app, const DataFolder& folder, ImageLoader& images,
                    const KeyValueStore* settings, const StatusCallback& status);

}  // namespace velmoria
