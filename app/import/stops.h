#pragma once
// Where the train stood: every stretch of the ride at below 1 km/h for 10 s or more, found on
// the GPS track's own time line (a stop that began before the video started still counts).
// Pure; any thread.
#include <vector>

#include "ride_distance.h"

namespace velmoria::import {

struct Stop {
  double arrive = 0, depart = 0;  // s since 1970 UTC: the speed fell below and rose above
  double distance = 0;            // m along the ride where the train stood
};

// The speed is the distance run in one second about each tenth of a second of the track.
std::vector<Stop> findStops(const RideProfile& ride, double belowKmh = 1.0,
                            double forSeconds = 10.0);

}  // namespace velmoria::import
