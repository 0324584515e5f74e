#include "gradient.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace velmoria::import {

namespace {

constexpr double kBin = 10;          // m
constexpr double kSigma = 100;       // m of smoothing along the line
constexpr double kMinPiece = 300;    // m
constexpr double kFitMetres = 0.5;   // a piece keeps within this of the smoothed heights
constexpr double kJoinPermille = 1;  // neighbours closer than this become one piece

struct Height {
  double s, h;
};

double median(std::vector<double> v) {
  std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
  return v[v.size() / 2];
}

// Least-squares line through heights [a, b): slope and the largest distance from it.
void lineFit(const std::vector<Height>& v, size_t a, size_t b, double& slope, double& worst) {
  double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (size_t i = a; i < b; ++i) {
    n += 1, sx += v[i].s, sy += v[i].h, sxx += v[i].s * v[i].s, sxy += v[i].s * v[i].h;
  }
  const double d = n * sxx - sx * sx;
  slope = d > 0 ? (n * sxy - sx * sy) / d : 0;
  const double icept = (sy - slope * sx) / n;
  worst = 0;
  for (size_t i = a; i < b; ++i)
    worst = std::max(worst, std::fabs(v[i].h - icept - slope * v[i].s));
}

}  // namespace

std::vector<GradeSection> gradeSections(const Track& track, const RideProfile& ride) {
  std::map<long, std::vector<double>> bins;
  for (size_t i = 0; i < track.points.size(); ++i)
    if (track.points[i].elevation)
      bins[static_cast<long>(std::floor(ride.dist[i] / kBin))].push_back(
          *track.points[i].elevation);
  std::vector<Height> raw;
  for (auto& [k, hs] : bins) raw.push_back({(k + 0.5) * kBin, median(hs)});
  if (raw.size() < 2) return {};

  // Local lines with Gaussian weights along the line.
  std::vector<Height> smooth(raw.size());
  size_t lo = 0, hi = 0;
  for (size_t i = 0; i < raw.size(); ++i) {
    while (raw[i].s - raw[lo].s > 3 * kSigma) ++lo;
    while (hi < raw.size() && raw[hi].s - raw[i].s <= 3 * kSigma) ++hi;
    double sw = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t j = lo; j < hi; ++j) {
      const double x = raw[j].s - raw[i].s;
      const double w = std::exp(-0.5 * x * x / (kSigma * kSigma));
      sw += w, sx += w * x, sy += w * raw[j].h, sxx += w * x * x, sxy += w * x * raw[j].h;
    }
    const double d = sw * sxx - sx * sx;
    smooth[i] = {raw[i].s, d > 1e-9 ? (sy * sxx - sx * sxy) / d : sy / sw};
  }

  // Greedy straight pieces, then neighbours of nearly one gradient joined.
  std::vector<GradeSection> pieces;
  size_t a = 0;
  while (a + 1 < smooth.size()) {
    size_t b = a + 2;
    double slope = 0, worst = 0;
    lineFit(smooth, a, b, slope, worst);
    while (b < smooth.size()) {
      double s2 = 0, w2 = 0;
      lineFit(smooth, a, b + 1, s2, w2);
      if (w2 > kFitMetres && smooth[b].s - smooth[a].s >= kMinPiece) break;
      slope = s2, ++b;
    }
    pieces.push_back({smooth[a].s, smooth[b - 1].s, slope * 1000});
    a = b - 1;
  }
  std::vector<GradeSection> joined;
  for (const auto& p : pieces) {
    if (!joined.empty() && std::fabs(joined.back().permille - p.permille) < kJoinPermille) {
      auto& j = joined.back();
      const double lj = j.to - j.from, lp = p.to - p.from;
      j.permille = (j.permille * lj + p.permille * lp) / std::max(lj + lp, 1e-9);
      j.to = p.to;
    } else {
      joined.push_back(p);
    }
  }
  for (auto& j : joined) j.permille = std::round(j.permille * 2) / 2;
  // The first piece begins where the ride does, the last ends where it ends.
  joined.front().from = std::min(joined.front().from, 0.0);
  joined.back().to = std::max(joined.back().to, ride.dist.back());
  return joined;
}

}  // namespace velmoria::import
