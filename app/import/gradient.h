#pragma once
// Gradients from the track's elevations: the heights (the median of the fixes in each 10 m of
// the line, so that a stop's many fixes count once) smoothed along the line, then cut into
// straight pieces that keep within a few decimetres of them, neighbours closer than 1 per
// mille joined. GPS heights are poor, so pieces are at least 300 m long. Pure; any thread.
#include <vector>

#include "ride_distance.h"
#include "track.h"

namespace velmoria::import {

struct GradeSection {
  double from = 0, to = 0;  // m along the ride
  double permille = 0;      // uphill positive, rounded to 0.5
};

// Empty when the track has no elevations.
std::vector<GradeSection> gradeSections(const Track& track, const RideProfile& ride);

}  // namespace velmoria::import
