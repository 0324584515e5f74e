#pragma once
// The distance the train has run along the line at any time of a GPS track.
//
// The track is split where it has no fix for a while (tunnels). In each stretch the line is
// drawn from the fixes taken while moving (smoothed in time, then along its own length, so that
// the noise neither shortens curves nor lengthens the line with zig-zags), and every fix,
// standing ones too, is measured along it. Those distances are smoothed in time by local
// quadratics (exact for a steady acceleration, so starting and braking keep their shape) and
// made never to decrease. A gap is bridged by the arc that the headings at its two ends and
// the chord between them describe. Between fixes the distance follows monotone cubic pieces.
// Pure computation; any thread.
#include <vector>

#include "track.h"

namespace velmoria::import {

struct RideProfile {
  std::vector<double> time;   // s since 1970 UTC, ascending: the fixes' times
  std::vector<double> dist;   // m from the first fix, never decreasing
  std::vector<double> slope;  // m/s at each fix, keeping the pieces between monotone
  std::vector<int> gaps;      // indices i where no fix covers [time[i], time[i + 1]]

  double start() const { return time.front(); }
  double end() const { return time.back(); }
  // Distance at t; before the first fix the first distance, after the last the last.
  double at(double t) const;
  // Speed (m/s) at t, from the same pieces.
  double speedAt(double t) const;
};

struct RideOptions {
  double timeSigma = 1.5;    // s: smoothing of positions before the line is drawn
  double lineSigma = 6;      // m: smoothing of the line along its length, at least
  double spacingSigma = 1;   // times the usual distance between two fixes
  double smoothWindow = 5;   // s: half-width of the local quadratics over the distances
  double movingSpeed = 0.5;  // m/s over a few seconds: slower fixes do not draw the line
  double gapSeconds = 3;     // no fix for longer than this (and 4 intervals) is a gap
};

// Throws TrackError for a track with fewer than two fixes.
RideProfile rideProfile(const Track& track, const RideOptions& options = {});

}  // namespace velmoria::import
