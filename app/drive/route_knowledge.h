#pragma once
// What a driver knows of the line before setting off: where along it (in centimetres) each
// frame of the recorded ride lies, where the speed limits begin and end, which stations the
// train stops at. Built once from the route tables; used by the autopilot on the drive loop's
// thread.
#include <cstdint>
#include <vector>

#include "route/route.h"

namespace velmoria::drive {

// Distance (cm) of a frame along the line, measured as the run itself measures route
// positions (distanceInSegment). Frames outside every segment take the nearest end.
class RouteDistances {
 public:
  // The route's segment distances must be placed (the run's set-up has done it).
  explicit RouteDistances(const Route& route);
  long double at(int32_t frame) const;

 private:
  std::vector<SpeedUnitEntry> m_segments;
};

// The aspect groups of the signal pictures (and of the cab-signal lamps).
// In the order of ColourGroup, which aspectOf converts from.
enum class Aspect { None, R, YY, Y, YG, G };
// The group of a signal display index (the picture number in SignalImageList).
Aspect aspectOf(int displayIndex);

struct Restriction {
  long double startCm = 0;  // where the train must be down to the speed
  int32_t startFrame = 0;
  int32_t endFrame = 0;  // where it ends (the head of the train leaves it)
  int32_t speed = 0;     // km/h
};

class RouteKnowledge {
 public:
  explicit RouteKnowledge(const Route& route);

  const RouteDistances& distances() const { return m_distances; }
  const std::vector<Restriction>& limits() const { return m_limits; }
  // Stations where the train stops (kinds 0 and 2), in route order, as station-table indices.
  const std::vector<int>& stops() const { return m_stops; }
  long double stopMarkCm(int station) const;
  // The last signal of the table whose sighting range holds the frame, or -1.
  int signalInView(int32_t frame) const;

 private:
  const Route& m_route;
  RouteDistances m_distances;
  std::vector<Restriction> m_limits;
  std::vector<int> m_stops;
};

}  // namespace velmoria::drive
