#pragma once
// One route file, written section by section in the order of the route reader's table.
#include <filesystem>
#include <vector>

#include "line.h"
#include "route_media.h"
#include "route_runs.h"

namespace demo {

// What the section writers of one route file share.
struct RouteRun {
  const Run& run;
  int index;  // in runs(): picks the welcome announcement
  const Line& line;
  const Path& path;
  std::vector<RouteStation> stations;  // timetable(run, path, ...)
  const RouteLists& lists;

  int frameAt(double s) const { return path.profile.frameAt(s); }
  // Wayside features from just before the first stop to just after the last.
  bool inRange(double s) const {
    return s >= stations.front().s - 50 && s <= stations.back().s + 50;
  }
};

void writeRouteFile(const std::filesystem::path& file, const RouteRun& r);

}  // namespace demo
