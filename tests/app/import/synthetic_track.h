#pragma once
// Tracks made in code for the import's tests: a line laid out in metres (straights and
// circular curves), a train running along it by a speed plan, fixes once a second (or as
// asked) with a receiver's white noise and a slow wander, none inside given gaps. Placed on
// the globe near 35 N, 139 E. Deterministic for a seed.
#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "track.h"

namespace velmoria::import::test {

struct Piece {
  double length;         // m
  double curvature = 0;  // 1/m, positive to the left
};

struct SyntheticRide {
  std::vector<Piece> line = {{100000}};
  // Distance (m) along the line at t seconds after the first fix.
  std::function<double(double)> distance = [](double t) { return 20.0 * t; };
  std::function<double(double)> height;  // metres at a distance; empty: no elevations
  double seconds = 600;
  double interval = 1;
  double white = 0;                             // m, each axis
  double wander = 0;                            // m, each axis, forgetting in 120 s
  std::vector<std::pair<double, double>> gaps;  // [t0, t1) without fixes
  double start = 1715992200;                    // UTC of the first fix
  unsigned seed = 1;
};

inline Track makeTrack(const SyntheticRide& r) {
  constexpr double kLat = 35.0, kLon = 139.0, kRad = 3.14159265358979323846 / 180;
  constexpr double kA = 6378137.0, kE2 = 6.69437999014e-3;
  // The line every half metre, on the ellipsoid step by step.
  std::vector<double> lat{kLat * kRad}, lon{kLon * kRad};
  double heading = 0.3;
  for (const Piece& p : r.line)
    for (double s = 0; s < p.length; s += 0.5) {
      heading += p.curvature * 0.5;
      const double la = lat.back(), sn = std::sin(la), w = 1 - kE2 * sn * sn;
      const double m = kA * (1 - kE2) / (w * std::sqrt(w)), n = kA / std::sqrt(w);
      lat.push_back(la + 0.5 * std::sin(heading) / m);
      lon.push_back(lon.back() + 0.5 * std::cos(heading) / (n * std::cos(la)));
    }
  std::mt19937 rng(r.seed);
  std::normal_distribution<double> gauss;
  const double keep = std::exp(-r.interval / 120), fresh = std::sqrt(1 - keep * keep);
  double bn = 0, be = 0;
  Track track;
  for (double t = 0; t <= r.seconds + 1e-9; t += r.interval) {
    bn = keep * bn + r.wander * fresh * gauss(rng);
    be = keep * be + r.wander * fresh * gauss(rng);
    const double en = r.white * gauss(rng), ee = r.white * gauss(rng), eh = gauss(rng);
    bool hidden = false;
    for (const auto& g : r.gaps) hidden = hidden || (t >= g.first && t < g.second);
    if (hidden) continue;
    const double s = std::clamp(r.distance(t), 0.0, (lat.size() - 2) * 0.5);
    const size_t i = static_cast<size_t>(s / 0.5);
    const double f = s / 0.5 - i;
    TrackPoint p;
    p.time = r.start + t;
    const double la = lat[i] + (lat[i + 1] - lat[i]) * f, lo = lon[i] + (lon[i + 1] - lon[i]) * f;
    const double sn = std::sin(la), w = 1 - kE2 * sn * sn;
    p.lat = (la + (bn + en) / (kA * (1 - kE2) / (w * std::sqrt(w)))) / kRad;
    p.lon = (lo + (be + ee) / (kA / std::sqrt(w) * std::cos(la))) / kRad;
    if (r.height) p.elevation = r.height(s) + r.white * 2 * eh;
    track.points.push_back(p);
  }
  return track;
}

// A ride that starts standing, accelerates at a, runs at v, brakes at b to a stand at L m,
// stands `dwell` seconds, and does it again: distance over time.
inline std::function<double(double)> stopAndGo(double L, double v, double a, double b, double dwell,
                                               double before = 20) {
  const double tA = v / a, tB = v / b;
  const double dA = v * tA / 2, dB = v * tB / 2;
  const double tRun = (L - dA - dB) / v;
  const double leg = tA + tRun + tB;
  return [=](double t) {
    if (t < before) return 0.0;
    t -= before;
    const double cycle = leg + dwell;
    const double k = std::floor(t / cycle);
    double u = t - k * cycle;
    double s = k * L;
    if (u < tA) return s + a * u * u / 2;
    s += dA, u -= tA;
    if (u < tRun) return s + v * u;
    s += v * tRun, u -= tRun;
    if (u < tB) return s + v * u - b * u * u / 2;
    return s + dB;
  };
}

}  // namespace velmoria::import::test
