#pragma once
// The creation of a run, phase by phase, as the cab window creates it, shared by the desktop
// program and velmoria-drive. Called on the UI thread when a run is chosen. Each phase is
// announced through the status callback (the title window's status line) before it runs; the
// front end builds its panel in phase 4. A data error throws StartupError with the message of
// the first file that fails; nothing after it is read.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "frame/data_folder.h"
#include "media/image_loader.h"
#include "media/key_value_store.h"
#include "media/sound_device.h"
#include "media/video_source.h"
#include "run/app_state.h"
#include "run/run.h"
#include "run/run_data.h"

namespace velmoria {

using StatusCallback = std::function<void(const std::string&)>;

// Phases 1 to 3: the button map from `settings` into app.buttonMap (read failures ignored;
// null reads none); status "設定ファイルを読み込んでいます"; mascon.dat, the vehicle file
// app.vehicleFile, the route file app.routeFile (with its station jump entries), korvelan.dat.
// Returns vehicle, route, strings, images and codes filled; the sound bank is left empty.
RunData readRunData(AppState& app, const DataFolder& folder, ImageLoader& images,
                    const KeyValueStore* settings, const StatusCallback& status);

// What a front end brings to the creation.
struct RunCreation {
  ImageLoader& images;            // the readers' pictures
  SoundDevice& sound;             // the sound bank's waves
  VideoSource& video;             // opened on the track video in phase 5
  const KeyValueStore* settings;  // the button map; may be null
  StatusCallback status;          // may be empty
  // Phase 4, the cab panel: builds it (or checks its pictures) from the data read, and gives
  // the size of the timetable card it shows. Throws StartupError for a picture it lacks.
  std::function<CardSize(const RunData&)> panel;
  // Phase 5, told the track video's file once `video` has opened it.
  std::function<void(const std::filesystem::path&)> videoOpened;
};

// All eight phases: reads the data, builds the panel, opens the video, loads the sound bank
// and sets up the environment. `services` gets the sound device, the video and the folder
// filled in from the creation; the rest (clock, joystick, host, hook) the caller sets.
std::unique_ptr<Run> createRun(AppState& app, const DataFolder& folder, RunCreation& creation,
                               RunServices services);

}  // namespace velmoria
