#pragma once
// The route file reader. Called once by the start-up (run/creation.h) on the UI thread, right
// after the vehicle file, whose [StopLine] picture is already picture 0 of the sign list. The
// pictures of [SignImageList], [OtherImageList] and [SignalImageList] are loaded at once through
// `images` and appended to `lists`; sounds are only named. The station jump entries
// (Route::stationMenu) are built right after the file is read.
#include <string_view>

#include "frame/data_folder.h"
#include "frame/image_lists.h"
#include "frame/section_walker.h"
#include "media/image_loader.h"
#include "route/route.h"

namespace velmoria {

// Throws StartupError: "路線ファイルに誤りがあります。", the section label, ":" and the current
// line, for a file that cannot be opened, a field that does not convert or is missing, a picture
// that cannot be loaded, or a list longer than its table.
Route readRouteFile(const DataFolder& folder, std::string_view name, ReaderContext& context,
                    ImageLoader& images, ImageLists& lists);

// Jump entries: the index of every station of kind 0 or 2 except the last, in station order.
std::vector<int> buildStationMenu(const std::vector<StationEntry>& stations);

}  // namespace velmoria
