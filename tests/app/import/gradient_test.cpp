#include "gradient.h"

#include <gtest/gtest.h>

#include "synthetic_track.h"

namespace velmoria::import {
namespace {

using test::SyntheticRide;

double gradeAt(const std::vector<GradeSection>& g, double s) {
  for (const auto& x : g)
    if (s >= x.from && s < x.to) return x.permille;
  return 1e9;
}

TEST(Gradient, level_climb_level_fall_from_noisy_heights) {
  SyntheticRide r;
  r.distance = [](double t) { return 20.0 * t; };
  r.seconds = 400;  // 8 km
  // Level to 2 km, 10 per mille up to 4 km, level to 6 km, 5 per mille down.
  r.height = [](double s) {
    if (s < 2000) return 50.0;
    if (s < 4000) return 50 + (s - 2000) * 0.010;
    if (s < 6000) return 70.0;
    return 70 - (s - 6000) * 0.005;
  };
  r.white = 0.4;  // heights get twice that
  const Track t = test::makeTrack(r);
  const auto g = gradeSections(t, rideProfile(t));
  ASSERT_FALSE(g.empty());
  EXPECT_NEAR(gradeAt(g, 1000), 0, 1.5);
  EXPECT_NEAR(gradeAt(g, 3000), 10, 1.5);
  EXPECT_NEAR(gradeAt(g, 5000), 0, 1.5);
  EXPECT_NEAR(gradeAt(g, 7000), -5, 1.5);
  EXPECT_LT(g.size(), 12u);  // pieces, not every wobble of the heights
  for (const auto& x : g) {
    EXPECT_GE(x.to - x.from, 290) << x.from;
    EXPECT_EQ(x.permille * 2, std::round(x.permille * 2));
  }
  EXPECT_LE(g.front().from, 0);
  EXPECT_GE(g.back().to, 7990);
}

TEST(Gradient, a_track_without_heights_has_none) {
  SyntheticRide r;
  r.seconds = 100;
  const Track t = test::makeTrack(r);
  EXPECT_TRUE(gradeSections(t, rideProfile(t)).empty());
}

}  // namespace
}  // namespace velmoria::import
