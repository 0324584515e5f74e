#include "run/creation.h"

#include "frame/section_walker.h"
#include "frame/strings_reader.h"
#include "input/controller_settings_reader.h"
#include "route/route_file.h"
#include "run/track_video.h"
#include "sound/sound_bank.h"
#include "vehicle/vehicle_file.h"

namespace velmoria {

RunData readRunData(AppState& app, const DataFolder& folder, ImageLoader& images,
                    const KeyValueStore* settings, const StatusCallback& status) {
  readButtonMap(settings, app.buttonMap);

  if (status) status("設定ファイルを読み込んでいます");
  RunData data;
  ReaderContext context;  // one label and current line for all readers of this start-up
  data.codes = readControllerCodes(folder, kControllerCodesFileName);
  data.vehicle = readVehicleFile(folder, app.vehicleFile, context, images, data.images);
  data.route = readRouteFile(folder, app.routeFile, context, images, data.images);
  data.strings = readStringsFile(folder, kStringsFileName, context);
  return data;
}

std::unique_ptr<Run> createRun(AppState& app, const DataFolder& folder, RunCreation& c,
                               RunServices services) {
  // Phases 1 to 3: the button map and the settings files.
  RunData data = readRunData(app, folder, c.images, c.settings, c.status);

  // Phase 4: the cab panel.
  if (c.status) c.status("運転台を描画しています");
  if (c.panel) data.card = c.panel(data);

  // Phase 5: the track video (its AVI name, or an MP4, MKV or WebM of that name).
  const auto videoFile = trackVideoFile(folder, data.strings.Path + data.route.DataName + ".avi");
  c.video.open(videoFile);
  if (c.videoOpened) c.videoOpened(videoFile);

  // Phases 6 and 7: the sound bank (it announces both of its phases).
  std::string lastStatus;
  data.sounds = loadSoundBank(c.sound, data.vehicle, data.route, folder, [&](const std::string& t) {
    lastStatus = t;
    if (c.status) c.status(t);
  });

  // Phase 8: the environment.
  const std::string setup = "環境をセットアップしています";
  if (c.status && lastStatus != setup) c.status(setup);
  services.sound = &c.sound;
  services.video = &c.video;
  services.folder = &folder;
  services.videoFile = videoFile;
  return std::make_unique<Run>(app, std::move(data), std::move(services));
}

}  // namespace velmoria
