#include "stops.h"

#include <cmath>

namespace velmoria::import {

std::vector<Stop> findStops(const RideProfile& ride, double belowKmh, double forSeconds) {
  std::vector<Stop> out;
  const double limit = belowKmh / 3.6;
  constexpr double kStep = 0.1;
  const long samples = static_cast<long>(std::floor((ride.end() - ride.start()) / kStep));
  long runStart = -1;
  const auto close = [&](long endSample) {
    const double a = ride.start() + runStart * kStep, d = ride.start() + endSample * kStep;
    if (d - a >= forSeconds - 1e-9) out.push_back({a, d, ride.at((a + d) / 2)});
    runStart = -1;
  };
  for (long k = 0; k <= samples; ++k) {
    const double t = ride.start() + k * kStep;
    const double v = ride.at(t + 0.5) - ride.at(t - 0.5);
    if (v < limit) {
      if (runStart < 0) runStart = k;
    } else if (runStart >= 0) {
      close(k);
    }
  }
  if (runStart >= 0) close(samples);
  return out;
}

}  // namespace velmoria::import
