#include "track.h"

#include <algorithm>
#include <cmath>

namespace velmoria::import {

bool Track::hasElevation() const {
  return std::any_of(points.begin(), points.end(),
                     [](const TrackPoint& p) { return p.elevation.has_value(); });
}

void finishTrack(Track& track, const std::string& file) {
  auto& p = track.points;
  const auto bad = [](const TrackPoint& q) {
    return !std::isfinite(q.time) || !std::isfinite(q.lat) || !std::isfinite(q.lon) ||
           std::fabs(q.lat) > 90 || std::fabs(q.lon) > 180 ||
           (q.elevation && !std::isfinite(*q.elevation)) || (q.speed && !std::isfinite(*q.speed));
  };
  const auto before = p.size();
  p.erase(std::remove_if(p.begin(), p.end(), bad), p.end());
  track.skipped += static_cast<int>(before - p.size());
  std::stable_sort(p.begin(), p.end(),
                   [](const TrackPoint& a, const TrackPoint& b) { return a.time < b.time; });
  p.erase(std::unique(p.begin(), p.end(),
                      [](const TrackPoint& a, const TrackPoint& b) { return a.time == b.time; }),
          p.end());
  if (p.size() < 2)
    throw TrackError(file + ": fewer than two usable fixes with a time and a position");
}

}  // namespace velmoria::import
