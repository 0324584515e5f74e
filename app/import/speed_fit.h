#pragma once
// The route's [SpeedUnit] table fitted to the distance the train ran at every frame: a speed
// that runs linearly between whole km/h at the ends of each segment, as few segments as keep
// the distance the route computes from them (vehicle/route_distances.h, to the centimetre) within
// the tolerance of the measured one at every frame. Greedy: each segment is made as long as a
// pair of whole speeds can carry it, and of those pairs the one that leaves the smallest error
// at its end is kept, so that the next segment starts with the most room. Pure; any thread.
#include <cstdint>
#include <functional>
#include <vector>

#include "route/route.h"

namespace velmoria::import {

struct SpeedFit {
  std::vector<SpeedUnitEntry> segments;  // from firstFrame to the last frame
  double tolerance = 0;  // metres: the bound kept (raised when the table would overflow)
  double maxError = 0;   // metres: the largest difference found at any frame
};

// metres[k] is the distance (m) at frame firstFrame + k, never decreasing; the table starts at
// 0 there. When the tolerance needs more segments than `capacity`, it is raised by a quarter
// until it does not. `progress`, when given, gets the share of the frames fitted (0..1) after
// each segment.
SpeedFit fitSpeedTable(const std::vector<double>& metres, int32_t firstFrame,
                       double tolerance = 1.0, size_t capacity = kRouteTableCapacity,
                       const std::function<void(double)>& progress = {});

// Distance (cm) the route gives every frame from the table's first frame to its last (frames
// outside every segment keep the last distance).
std::vector<long double> tableDistances(const std::vector<SpeedUnitEntry>& segments);

}  // namespace velmoria::import
