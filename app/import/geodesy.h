#pragma once
// Positions of a track in metres: each fix placed from the one before it on the WGS 84
// ellipsoid (the meridian and normal radii at their mean latitude), so that the distance
// between neighbouring fixes is right to millimetres over any length of track, while far-apart
// fixes keep only their local geometry. Pure functions.
#include <vector>

#include "track.h"

namespace velmoria::import {

struct Planar {
  double x = 0, y = 0;  // metres east and north of the first fix
};

std::vector<Planar> develop(const std::vector<TrackPoint>& points);

// Metres from one fix to the next on the ellipsoid, as develop() places them.
double stepMetres(const TrackPoint& a, const TrackPoint& b);

}  // namespace velmoria::import
