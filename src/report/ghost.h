#pragma once
// The ghost: where the best stored run of the same vehicle and route was at the same time of
// day, from its report's samples. The caption in the cab shows how far ahead of it or behind
// it the train is. Plain data; UI thread.
#include <optional>
#include <vector>

#include "report/run_report.h"

namespace velmoria::report {

class Ghost {
 public:
  explicit Ghost(const std::vector<ChartSample>& samples);
  bool empty() const { return m_points.empty(); }
  // Metres along the line at that time of day, between samples in a straight line; before its
  // start and after its end the ghost stands where it started or ended.
  std::optional<double> distanceAt(double clockS) const;

 private:
  struct Point {
    double clockS, distanceM;
  };
  std::vector<Point> m_points;  // in time order
};

}  // namespace velmoria::report
