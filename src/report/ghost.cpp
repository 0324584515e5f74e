#include "report/ghost.h"

#include <algorithm>

namespace velmoria::report {

Ghost::Ghost(const std::vector<ChartSample>& samples) {
  for (const auto& s : samples) {
    // The clock only runs on, except where the driver moved it (Shift+F9) or jumped: keep a
    // time line that does, so that the search below holds.
    if (!m_points.empty() && s.clockS <= m_points.back().clockS) continue;
    m_points.push_back({s.clockS, s.distanceM});
  }
}

std::optional<double> Ghost::distanceAt(double clockS) const {
  if (m_points.empty()) return std::nullopt;
  if (clockS <= m_points.front().clockS) return m_points.front().distanceM;
  if (clockS >= m_points.back().clockS) return m_points.back().distanceM;
  const auto after = std::upper_bound(m_points.begin(), m_points.end(), clockS,
                                      [](double c, const Point& p) { return c < p.clockS; });
  const Point& b = *after;
  const Point& a = *(after - 1);
  return a.distanceM + (b.distanceM - a.distanceM) * (clockS - a.clockS) / (b.clockS - a.clockS);
}

}  // namespace velmoria::report
