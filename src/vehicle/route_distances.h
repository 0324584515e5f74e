#pragma once
// Distances along the line, in centimetres, from the recorded speeds of the route's
// [SpeedUnit] segments: the trapezoid of the speed over the frames. The set-up places the
// route's events with it once; the autopilot measures the line with the same function.
#include <cstddef>
#include <vector>

#include "route/route.h"
#include "route/route_index.h"

namespace velmoria {

// Distance from the start of the line to frame f inside segment i: the segments before it
// (their end distances must be placed), then the trapezoid from the segment's start to f.
long double distanceInSegment(const std::vector<SpeedUnitEntry>& segs, size_t i, long double f);

// The set-up: each segment's cumulative end distance, then the distances of the speed
// limits, the stations' stopping zones and the Doppler sources, written into the route's
// tables. Returns the targets of the pattern control: each signal's check point and each
// speed limit's start.
std::vector<PatternTarget> placeRouteDistances(Route& route);

}  // namespace velmoria
