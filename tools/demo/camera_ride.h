#pragma once
// The camera train's ride as its own camera and GPS logger kept it, for the import tool's
// tests: the main line's pictures with the train standing kDwellFrames at each intermediate
// stop (the track video leaves a station the instant it stops, which no recorded ride does),
// the GPS log running from a minute before the first picture to half a minute after the last.
// Frame j of the ride is taken at kRideStartUtc + j / 30 s. Read-only after construction.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "line.h"

namespace demo {

constexpr int kDwellFrames = 600;               // 20 s at each stop between the two ends
constexpr int64_t kRideStartUtc = 1715992200;   // 2024-05-18T00:30:00Z, the first picture
constexpr int kLogBefore = 60, kLogAfter = 30;  // seconds of GPS log around the pictures

class CameraRide {
 public:
  explicit CameraRide(const Path& path);

  int frames() const;                  // pictures of the ride
  int copiesOf(int trackFrame) const;  // how often the ride shows a frame of the track video
  // The track-video frame the ride shows at ride frame x (fractional), standing still while it
  // holds a stop.
  double trackFrameAt(double x) const;
  // The ride's recorded speed, in the form of the route's [SpeedUnit] table: the track video's
  // segments with a standing segment at every hold.
  std::vector<SpeedSeg> speedTable() const;

 private:
  const Path& m_path;
  std::vector<int> m_holds;  // track-video frames held, ascending
};

// Writes the GPS log of the ride as GPX 1.1: one fix a second with time and elevation, on a
// line laid out from the path's curves near the coast of Suruga Bay, with a receiver's noise
// and no fix inside a tunnel or for the seconds it takes to find the satellites again.
void writeGpsTrack(const std::filesystem::path& file, const Path& path, const CameraRide& ride);

}  // namespace demo
