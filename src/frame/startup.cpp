#include "frame/startup.h"

#include "frame/section_walker.h"
#include "frame/strings_reader.h"
#include "input/controller_settings_reader.h"
#include "route/route_file.h"
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

}  // namespace velmoria
