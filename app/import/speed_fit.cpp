#include "speed_fit.h"

#include <algorithm>
#include <cmath>

#include "frame/fixed.h"
#include "vehicle/route_distances.h"

namespace velmoria::import {

namespace {

// The route's own arithmetic for a segment of length L from frame 0 at whole speeds v0, v1:
// the distance (cm) u frames in.
long double stepCm(int v0, int v1, int L, int u) {
  const long double slope = static_cast<long double>(v1 - v0) / L;
  return roundEven((slope * u + 2.0L * v0) / 7.2L * (static_cast<long double>(u) / 30) * 100);
}

// The route's cumulative distance at a segment's end, as the set-up places it (the frames of
// the next segment count from it).
long double endCm(int v0, int v1, int L) {
  return roundEven((static_cast<long double>(v0) + v1) * static_cast<long double>(L) / 2.16L);
}

class Fitter {
 public:
  Fitter(const std::vector<double>& metres, double tolerance)
      : m_target(metres.size()), m_tol(tolerance * 100 - 1e-6), m_kink(metres.size(), 0) {
    for (size_t k = 0; k < metres.size(); ++k) m_target[k] = (metres[k] - metres[0]) * 100;
    // Where the acceleration changes: the change of the half-second mean acceleration over a
    // second.
    constexpr size_t w = 15;
    std::vector<long double> accel(metres.size(), 0);
    for (size_t k = w; k + w < metres.size(); ++k)
      accel[k] = (m_target[k + w] - 2 * m_target[k] + m_target[k - w]) / (w * w);
    for (size_t k = 2 * w; k + 2 * w < metres.size(); ++k)
      m_kink[k] = std::fabs(accel[k + w] - accel[k - w]);
    // Bends: the sharpest change of acceleration within a second either side, of at least
    // 0.1 m/s2 (0.011 cm a frame squared).
    for (size_t k = 2 * w; k + 2 * w < metres.size(); ++k) {
      if (m_kink[k] < 0.011L) continue;
      bool peak = true;
      for (size_t j = k - w; j <= k + w && peak; ++j)
        peak = m_kink[j] < m_kink[k] || (m_kink[j] == m_kink[k] && j >= k);
      if (peak) m_bends.push_back(static_cast<int>(k));
    }
  }

  std::vector<SpeedUnitEntry> run(int32_t first, size_t capacity,
                                  const std::function<void(double)>& progress) {
    std::vector<SpeedUnitEntry> out;
    const int last = static_cast<int>(m_target.size()) - 1;
    int i = 0, previousEnd = -1;
    long double cum = 0;  // cm the route gives at frame i
    while (i < last) {
      Choice best = next(i, cum, last - i, previousEnd);
      out.push_back({first + i, first + i + best.length, best.v0, best.v1, 0});
      cum += endCm(best.v0, best.v1, best.length);
      previousEnd = best.v1;
      i += best.length;
      if (progress) progress(static_cast<double>(i) / last);
      if (out.size() > capacity) break;
    }
    return out;
  }

 private:
  struct Choice {
    int length = 0, v0 = 0, v1 = 0;
    long double endError = 0;
  };

  // Every frame within the tolerance, and the end within `endLimit`: a segment that ends at the
  // edge of the tolerance leaves the next one no room, and whole speeds over a long segment
  // move its end only in steps of L / 2.16 cm.
  bool holds(int i, long double cum, int L, int v0, int v1, long double endLimit,
             long double& endError) const {
    const long double end = cum + stepCm(v0, v1, L, L) - m_target[static_cast<size_t>(i + L)];
    if (std::fabs(end) > endLimit) return false;
    for (int u = 1; u < L; ++u) {
      const long double e = cum + stepCm(v0, v1, L, u) - m_target[static_cast<size_t>(i + u)];
      if (std::fabs(e) > m_tol) return false;
    }
    endError = end;
    return true;
  }

  // The pair of whole speeds that carries [i, i + L], if any: looked for around the
  // least-squares speeds that bring the route onto the measured distance, and around those
  // that only keep the error where it is (which never ask for a negative speed).
  bool carry(int i, long double cum, int L, int previousEnd, long double endLimit,
             Choice& out) const {
    long double saa = 0, sab = 0, sbb = 0, sar = 0, sbr = 0, sak = 0, sbk = 0;
    const long double start = m_target[static_cast<size_t>(i)];
    for (int u = 1; u <= L; ++u) {
      const long double k = 100.0L / 216 * u;
      const long double a = k * (2 - static_cast<long double>(u) / L),
                        b = k * static_cast<long double>(u) / L;
      const long double r = m_target[static_cast<size_t>(i + u)] - cum;
      const long double keep = m_target[static_cast<size_t>(i + u)] - start;
      saa += a * a, sab += a * b, sbb += b * b, sar += a * r, sbr += b * r;
      sak += a * keep, sbk += b * keep;
    }
    const long double det = saa * sbb - sab * sab;
    const bool two = L >= 3 && std::fabs(det) > 1e-9L * saa * sbb;
    const auto solve = [&](long double ra, long double rb, long double& v0, long double& v1) {
      if (two) {
        v0 = (ra * sbb - rb * sab) / det;
        v1 = (saa * rb - sab * ra) / det;
      } else {
        v0 = v1 = (ra + rb) / (saa + 2 * sab + sbb);
      }
    };
    long double v0, v1, k0, k1;
    solve(sar, sbr, v0, v1);
    solve(sak, sbk, k0, k1);
    std::vector<int> c0, c1;
    for (long double x : {v0, k0})
      for (int d = -1; d <= 2; ++d)
        c0.push_back(static_cast<int>(std::floor(std::max<long double>(x, 0))) + d);
    for (long double x : {v1, k1})
      for (int d = -1; d <= 2; ++d)
        c1.push_back(static_cast<int>(std::floor(std::max<long double>(x, 0))) + d);
    if (previousEnd >= 0) c0.push_back(previousEnd);
    std::sort(c0.begin(), c0.end());
    c0.erase(std::unique(c0.begin(), c0.end()), c0.end());
    std::sort(c1.begin(), c1.end());
    c1.erase(std::unique(c1.begin(), c1.end()), c1.end());
    bool found = false;
    for (int a : c0)
      for (int b : c1) {
        if (a < 0 || b < 0) continue;
        long double e = 0;
        if (!holds(i, cum, L, a, b, endLimit, e)) continue;
        const bool better = !found || std::fabs(e) < std::fabs(out.endError) - 1e-9L ||
                            (std::fabs(e) <= std::fabs(out.endError) + 1e-9L && a == previousEnd);
        if (better) out = {L, a, b, e}, found = true;
      }
    return found;
  }

  Choice longest(int i, long double cum, int remaining, int previousEnd) const {
    // A segment ending near the measured distance first; where none does, one that merely
    // stays within the tolerance.
    for (long double endLimit : {m_tol / 2, m_tol}) {
      Choice best;
      int good = 0, bad = remaining + 1;
      // Gallop up, then halve the interval between the longest that held and the first that
      // did not.
      for (int L = std::min(8, remaining);; L = std::min(L * 2, remaining)) {
        Choice c;
        if (!carry(i, cum, L, previousEnd, endLimit, c)) {
          bad = L;
          break;
        }
        best = c, good = L;
        if (L == remaining) break;
      }
      while (bad - good > 1) {
        const int mid = (good + bad) / 2;
        Choice c;
        if (carry(i, cum, mid, previousEnd, endLimit, c))
          best = c, good = mid;
        else
          bad = mid;
      }
      // Whole speeds carry a ramp only to where its end falls on a whole speed, so a segment
      // too long to hold may still hold to the next bend of the speed: the bends beyond the
      // longest one found are tried as ends too.
      if (good > 0) {
        auto k = std::upper_bound(m_bends.begin(), m_bends.end(), i + good);
        for (int tries = 0; k != m_bends.end() && *k - i <= remaining + 2 && tries < 8;
             ++k, ++tries)
          for (int d = 2; d >= -2; --d) {
            const int len = *k - i + d;
            Choice c;
            if (len > good && len <= remaining && carry(i, cum, len, previousEnd, endLimit, c)) {
              best = c, good = len;
              break;
            }
          }
        return best;
      }
    }
    // Not even one frame: the nearest whole sum of speeds (only where the measured distance
    // itself jumps).
    const long double want = m_target[static_cast<size_t>(i + 1)] - cum;
    const int sum = std::max(0, static_cast<int>(std::lround(want * 2.16L)));
    return {1, sum / 2, sum - sum / 2, 0};
  }

  // The segment from i: of the longest one and a few shorter ones (ending at the sharpest
  // change of acceleration within it, or at a half, a quarter or three quarters of it), the one
  // whose successor reaches farthest. A segment that runs on past a bend of the speed profile
  // leaves the next one misplaced.
  Choice next(int i, long double cum, int remaining, int previousEnd) const {
    const Choice longestOne = longest(i, cum, remaining, previousEnd);
    const int L = longestOne.length;
    if (L < 16 || L == remaining) return longestOne;
    std::vector<int> lengths;
    int kink = 0;
    long double sharpest = 0;
    for (int k = 8; k < L - 4; ++k)
      if (m_kink[static_cast<size_t>(i + k)] > sharpest)
        sharpest = m_kink[static_cast<size_t>(i + k)], kink = k;
    // The score peaks within a frame or two of the bend itself.
    if (kink > 0)
      for (int d = -2; d <= 2; ++d) lengths.push_back(kink + d);
    for (int q = 1; q <= 3; ++q) lengths.push_back(L * q / 4);
    const auto reach = [&](const Choice& c) {
      const long double after = cum + endCm(c.v0, c.v1, c.length);
      return c.length + longest(i + c.length, after, remaining - c.length, c.v1).length;
    };
    Choice best = longestOne;
    int bestReach = reach(longestOne);
    for (int len : lengths) {
      Choice c;
      if (len < 1 || !carry(i, cum, len, previousEnd, m_tol / 2, c)) continue;
      const int r = reach(c);
      if (r > bestReach) best = c, bestReach = r;
    }
    return best;
  }

  std::vector<long double> m_target;  // cm from the first frame
  long double m_tol;
  std::vector<long double> m_kink;  // size of the change of acceleration about each frame
  std::vector<int> m_bends;         // frames where the acceleration changes, ascending
};

}  // namespace

std::vector<long double> tableDistances(const std::vector<SpeedUnitEntry>& segments) {
  std::vector<long double> out;
  if (segments.empty()) return out;
  Route r;
  r.SpeedUnitTable = segments;
  placeRouteDistances(r);
  const auto& s = r.SpeedUnitTable;
  out.push_back(0);
  for (size_t i = 0; i < s.size(); ++i)
    for (int32_t f = s[i].startFrame + 1; f <= s[i].endFrame; ++f)
      out.push_back(distanceInSegment(s, i, f));
  return out;
}

SpeedFit fitSpeedTable(const std::vector<double>& metres, int32_t firstFrame, double tolerance,
                       size_t capacity, const std::function<void(double)>& progress) {
  SpeedFit fit;
  if (metres.size() < 2) return fit;
  for (double tol = tolerance;; tol *= 1.25) {
    fit.segments = Fitter(metres, tol).run(firstFrame, capacity, progress);
    fit.tolerance = tol;
    if (fit.segments.size() <= capacity) break;
  }
  const std::vector<long double> got = tableDistances(fit.segments);
  for (size_t k = 0; k < got.size() && k < metres.size(); ++k)
    fit.maxError = std::max(fit.maxError,
                            static_cast<double>(std::fabs(got[k] / 100 - (metres[k] - metres[0]))));
  return fit;
}

}  // namespace velmoria::import
