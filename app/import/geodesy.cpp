#include "geodesy.h"

#include <cmath>

namespace velmoria::import {

namespace {

constexpr double kA = 6378137.0, kE2 = 6.69437999014e-3;  // WGS 84
constexpr double kRad = 3.14159265358979323846 / 180;

void step(const TrackPoint& a, const TrackPoint& b, double& east, double& north) {
  const double mid = (a.lat + b.lat) / 2 * kRad;
  const double s = std::sin(mid);
  const double w = 1 - kE2 * s * s;
  const double meridian = kA * (1 - kE2) / (w * std::sqrt(w));
  const double normal = kA / std::sqrt(w);
  double dlon = b.lon - a.lon;
  if (dlon > 180) dlon -= 360;
  if (dlon < -180) dlon += 360;
  north = (b.lat - a.lat) * kRad * meridian;
  east = dlon * kRad * normal * std::cos(mid);
}

}  // namespace

std::vector<Planar> develop(const std::vector<TrackPoint>& points) {
  std::vector<Planar> out(points.size());
  for (size_t i = 1; i < points.size(); ++i) {
    double e = 0, n = 0;
    step(points[i - 1], points[i], e, n);
    out[i] = {out[i - 1].x + e, out[i - 1].y + n};
  }
  return out;
}

double stepMetres(const TrackPoint& a, const TrackPoint& b) {
  double e = 0, n = 0;
  step(a, b, e, n);
  return std::hypot(e, n);
}

}  // namespace velmoria::import
