#include "vehicle/route_distances.h"

#include <cstdint>

namespace velmoria {

namespace {
// Frames and speeds are whatever the route file says: sums and differences of two of them are
// taken in long double, where no value of the file can overflow.
long double wide(int32_t v) {
  return v;
}
}  // namespace

long double distanceInSegment(const std::vector<SpeedUnitEntry>& segs, size_t i, long double f) {
  const SpeedUnitEntry& s = segs[i];
  const long double before = i == 0 ? 0 : segs[i - 1].endDistance;
  const long double d = f - s.startFrame;
  const long double slope = (wide(s.endSpeed) - s.startSpeed) / (wide(s.endFrame) - s.startFrame);
  return before + roundEven((slope * d + 2 * static_cast<long double>(s.startSpeed)) / 7.2L *
                            (d / 30) * 100);
}

std::vector<PatternTarget> placeRouteDistances(Route& r) {
  auto& segs = r.SpeedUnitTable;
  long double cumulative = 0;
  for (auto& s : segs) {
    cumulative +=
        roundEven((wide(s.startSpeed) + s.endSpeed) * (wide(s.endFrame) - s.startFrame) / 2.16L);
    s.endDistance = cumulative;
  }

  // A segment with no frames has no speed profile to integrate; it matches nothing.
  const auto usable = [&](size_t i) { return segs[i].endFrame > segs[i].startFrame; };

  std::vector<PatternTarget> targets;
  for (size_t i = 0; i < segs.size(); ++i) {
    if (!usable(i)) continue;
    for (size_t k = 0; k < r.SignalTable.size(); ++k) {
      // Pattern control must stop the train before the train stop's check point, which stands
      // ahead of the signal itself.
      const int32_t f = r.SignalTable[k].checkFrame;
      if (segs[i].startFrame < f && f < segs[i].endFrame)
        targets.push_back({distanceInSegment(segs, i, f), 0, static_cast<int>(k)});
    }
  }
  for (size_t i = 0; i < segs.size(); ++i) {
    if (!usable(i)) continue;
    for (auto& limit : r.SpeedLimitTable) {
      const int32_t f = limit.startFrame;
      if (segs[i].startFrame <= f && f <= segs[i].endFrame) {
        limit.distance = distanceInSegment(segs, i, f);
        targets.push_back({limit.distance, limit.limit, -1});
      }
    }
  }
  for (auto& st : r.StationTable) {
    if (st.type == 1) continue;
    const long double mid = (static_cast<long double>(st.zoneStart) + st.stopFrame) / 2;
    for (size_t i = 0; i < segs.size(); ++i)
      if (usable(i) && segs[i].startFrame < mid && mid <= segs[i].endFrame)
        st.distance = distanceInSegment(segs, i, mid);
  }
  for (auto& d : r.DopplerTable) {
    for (size_t i = 0; i < segs.size(); ++i)
      if (usable(i) && segs[i].startFrame < d.frame && d.frame <= segs[i].endFrame)
        d.distance = distanceInSegment(segs, i, d.frame);
  }
  return targets;
}

}  // namespace velmoria
