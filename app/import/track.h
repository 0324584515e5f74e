#pragma once
// A GPS track as velmoria-import reads it from GPX, NMEA or CSV: fixes in time order, each with
// its time (seconds since 1970-01-01 UTC), position (degrees, WGS 84) and, where the file has
// them, elevation (metres) and ground speed (m/s, the receiver's own measure).
// Plain data; the readers fill it, the distance along the ride is computed from it.
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmoria::import {

struct TrackPoint {
  double time = 0;
  double lat = 0, lon = 0;
  std::optional<double> elevation;
  std::optional<double> speed;
};

struct Track {
  std::vector<TrackPoint> points;  // ascending times, no two at the same time
  // False for an NMEA log without RMC sentences: the times are times of day on 1970-01-01,
  // which only --offset can place against the video.
  bool dated = true;
  int skipped = 0;      // lines or points that could not be read, or had no time
  std::string warning;  // what the reader noticed but read past (a file cut short ...)
  bool hasElevation() const;
  double start() const { return points.front().time; }
  double end() const { return points.back().time; }
};

// A track that cannot be used: what() is the message for the user.
class TrackError : public std::runtime_error {
 public:
  explicit TrackError(const std::string& message) : std::runtime_error(message) {}
};

// What every reader does last: drops fixes outside the globe, sorts by time, keeps the first of
// fixes at the same time. Throws TrackError when fewer than two fixes remain.
void finishTrack(Track& track, const std::string& file);

}  // namespace velmoria::import
