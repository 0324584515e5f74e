#include "speed_fit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace velmoria::import {
namespace {

double worst(const SpeedFit& fit, const std::vector<double>& m) {
  const auto got = tableDistances(fit.segments);
  double w = 0;
  for (size_t k = 0; k < m.size(); ++k)
    w = std::max(w, std::fabs(double(got[k] / 100) - (m[k] - m[0])));
  return w;
}

std::vector<double> fromTable(const std::vector<SpeedUnitEntry>& table) {
  std::vector<double> m;
  for (long double cm : tableDistances(table)) m.push_back(double(cm / 100));
  return m;
}

TEST(SpeedFit, a_steady_speed_is_one_segment) {
  std::vector<double> m;
  for (int f = 0; f <= 9000; ++f) m.push_back(f * 72.0 / 3.6 / 30);  // 72 km/h for 5 min
  const SpeedFit fit = fitSpeedTable(m, 100);
  ASSERT_EQ(fit.segments.size(), 1u);
  EXPECT_EQ(fit.segments[0].startFrame, 100);
  EXPECT_EQ(fit.segments[0].endFrame, 9100);
  EXPECT_EQ(fit.segments[0].startSpeed, 72);
  EXPECT_EQ(fit.segments[0].endSpeed, 72);
  EXPECT_LT(fit.maxError, 0.01);
}

TEST(SpeedFit, a_table_of_whole_speeds_comes_back_with_no_more_segments) {
  const std::vector<SpeedUnitEntry> table = {{0, 30, 0, 0, 0},        {30, 900, 0, 60, 0},
                                             {900, 4000, 60, 60, 0},  {4000, 4500, 60, 85, 0},
                                             {4500, 9000, 85, 85, 0}, {9000, 10200, 85, 0, 0},
                                             {10200, 10800, 0, 0, 0}};
  const SpeedFit fit = fitSpeedTable(fromTable(table), 0);
  EXPECT_LE(fit.segments.size(), table.size());
  EXPECT_LT(fit.maxError, 1.0);
}

TEST(SpeedFit, keeps_every_frame_within_a_metre_of_a_noisy_ride) {
  // A ride whose speed wanders and whose distance carries a few centimetres of jitter.
  std::mt19937 rng(4);
  std::normal_distribution<double> g;
  std::vector<double> m{0};
  double v = 0;
  for (int f = 1; f <= 60000; ++f) {
    const double target = 20 + 8 * std::sin(f / 3000.0) + 3 * std::sin(f / 170.0);
    v += (target - v) * 0.01;
    m.push_back(m.back() + std::max(0.0, v) / 30);
  }
  for (auto& x : m) x += 0.03 * g(rng);
  for (size_t k = 1; k < m.size(); ++k) m[k] = std::max(m[k], m[k - 1]);
  std::vector<double> shares;  // the progress, one a segment
  const SpeedFit fit =
      fitSpeedTable(m, 0, 1.0, kRouteTableCapacity, [&](double f) { shares.push_back(f); });
  ASSERT_EQ(shares.size(), fit.segments.size());
  EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
  EXPECT_DOUBLE_EQ(shares.back(), 1.0);
  EXPECT_DOUBLE_EQ(fit.tolerance, 1.0);
  EXPECT_LT(fit.maxError, 1.0);
  EXPECT_LT(worst(fit, m), 1.0);
  EXPECT_LE(fit.segments.size(), kRouteTableCapacity);
  // Contiguous from the first frame to the last, speeds never negative.
  for (size_t i = 0; i < fit.segments.size(); ++i) {
    EXPECT_GE(fit.segments[i].startSpeed, 0);
    EXPECT_GE(fit.segments[i].endSpeed, 0);
    if (i > 0) {
      EXPECT_EQ(fit.segments[i].startFrame, fit.segments[i - 1].endFrame);
    }
  }
  EXPECT_EQ(fit.segments.back().endFrame, 60000);
}

TEST(SpeedFit, a_ride_beyond_the_table_raises_the_bound_until_it_fits) {
  std::vector<double> m{0};
  double v = 20;
  std::mt19937 rng(8);
  std::uniform_real_distribution<double> jolt(-1, 1);
  for (int f = 1; f <= 20000; ++f) {
    if (f % 40 == 0) v = std::clamp(v + 3 * jolt(rng), 5.0, 35.0);
    m.push_back(m.back() + v / 30);
  }
  const SpeedFit tight = fitSpeedTable(m, 0, 1.0, 100000);
  ASSERT_GT(tight.segments.size(), 60u);
  const SpeedFit fit = fitSpeedTable(m, 0, 1.0, 60);
  EXPECT_LE(fit.segments.size(), 60u);
  EXPECT_GT(fit.tolerance, 1.0);
  EXPECT_LT(fit.maxError, fit.tolerance);
}

TEST(SpeedFit, standing_still_is_a_segment_at_zero) {
  std::vector<double> m(3000, 0.0);
  for (int f = 1500; f < 3000; ++f) m[f] = (f - 1500) * (f - 1500) * 0.5 * 0.6 / 900;  // 0.6 m/s2
  const SpeedFit fit = fitSpeedTable(m, 0);
  ASSERT_GE(fit.segments.size(), 2u);
  EXPECT_EQ(fit.segments[0].startSpeed, 0);
  EXPECT_EQ(fit.segments[0].endSpeed, 0);
  EXPECT_GE(fit.segments[0].endFrame, 1450);
  EXPECT_LT(fit.maxError, 1.0);
}

}  // namespace
}  // namespace velmoria::import
