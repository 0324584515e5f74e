#include "route_knowledge.h"

#include <cmath>

#include "frame/fixed.h"
#include "run/signals.h"

namespace velmoria::drive {

Aspect aspectOf(int displayIndex) {
  // The driver reads the same aspect groups the train protection uses.
  return static_cast<Aspect>(aspectGroup(displayIndex));
}

RouteDistances::RouteDistances(const Route& route) {
  long double cumulative = 0;
  for (const auto& e : route.SpeedUnitTable) {
    Segment s{e.startFrame, e.endFrame, e.startSpeed, e.endSpeed, cumulative};
    cumulative += roundEven((static_cast<long double>(e.startSpeed) + e.endSpeed) *
                            (e.endFrame - e.startFrame) / 2.16L);
    m_segments.push_back(s);
  }
}

long double RouteDistances::at(int32_t frame) const {
  if (m_segments.empty()) return 0;
  const Segment* seg = &m_segments.front();
  for (const auto& s : m_segments)
    if (s.start <= frame) seg = &s;
  const int32_t length = seg->end - seg->start;
  long double f = static_cast<long double>(frame - seg->start);
  if (f < 0) f = 0;
  if (length > 0 && f > length) f = length;
  if (length <= 0) return seg->before;
  const long double slope = static_cast<long double>(seg->vEnd - seg->vStart) / length;
  return seg->before + std::round((slope * f + 2.0L * seg->vStart) / 7.2L * (f / 30) * 100);
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
