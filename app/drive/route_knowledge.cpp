#include "route_knowledge.h"

#include <algorithm>
#include <cmath>

#include "frame/fixed.h"
#include "route/signal_colours.h"
#include "vehicle/route_distances.h"

namespace velmoria::drive {

Aspect aspectOf(int displayIndex) {
  // The driver reads the same aspect groups the train protection uses.
  return static_cast<Aspect>(colourGroup(displayIndex));
}

RouteDistances::RouteDistances(const Route& route) : m_segments(route.SpeedUnitTable) {}

long double RouteDistances::at(int32_t frame) const {
  if (m_segments.empty()) return 0;
  // The last segment that starts at or before the frame; a frame beyond its ends takes the
  // nearest end.
  size_t i = 0;
  for (size_t k = 0; k < m_segments.size(); ++k)
    if (m_segments[k].startFrame <= frame) i = k;
  const SpeedUnitEntry& seg = m_segments[i];
  const long double before = i == 0 ? 0 : m_segments[i - 1].endDistance;
  const long double length = static_cast<long double>(seg.endFrame) - seg.startFrame;
  if (length <= 0) return before;
  const long double f =
      std::clamp<long double>(static_cast<long double>(frame) - seg.startFrame, 0, length);
  return distanceInSegment(m_segments, i, seg.startFrame + f);
}

RouteKnowledge::RouteKnowledge(const Route& route) : m_route(route), m_distances(route) {
  for (const auto& e : route.SpeedLimitTable) {
    if (e.limit <= 0) continue;
    m_limits.push_back(
        Restriction{m_distances.at(e.startFrame), e.startFrame, e.endFrame, e.limit});
  }
  for (size_t j = 0; j < route.StationTable.size(); ++j)
    if (route.StationTable[j].type != 1) m_stops.push_back(static_cast<int>(j));
}

long double RouteKnowledge::stopMarkCm(int station) const {
  const auto& st = m_route.StationTable.at(static_cast<size_t>(station));
  // The run's own figure when it has one; the same trapezoid otherwise.
  if (st.distance > 0) return st.distance;
  return m_distances.at(
      static_cast<int32_t>(roundEven((static_cast<long double>(st.zoneStart) + st.stopFrame) / 2)));
}

int RouteKnowledge::signalInView(int32_t frame) const {
  int found = -1;
  for (size_t j = 0; j < m_route.SignalTable.size(); ++j) {
    const auto& s = m_route.SignalTable[j];
    if (s.viewFrame <= frame && frame < s.signalFrame) found = static_cast<int>(j);
  }
  return found;
}

}  // namespace velmoria::drive
