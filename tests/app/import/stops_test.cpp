#include "stops.h"

#include <gtest/gtest.h>

#include "synthetic_track.h"

namespace velmoria::import {
namespace {

using test::SyntheticRide;

// Stands `before` s, then three legs of 1 km at 20 m/s (74 s each) with `dwell` s stands
// between them, and stands again.
std::vector<Stop> stopsOf(double dwell, double white, double before = 30) {
  SyntheticRide r;
  // Three legs, then standing at 3 km to the end of the track.
  const auto legs = test::stopAndGo(1000, 20, 0.8, 0.9, dwell, before);
  r.distance = [legs](double t) { return std::min(legs(t), 3000.0); };
  r.seconds = before + 3 * 74 + 2 * dwell + 25;
  r.white = white, r.wander = white / 2;
  return findStops(rideProfile(test::makeTrack(r)));
}

TEST(Stops, every_stand_of_ten_seconds_or_more_and_where_it_was) {
  const auto stops = stopsOf(20, 0.5);
  // The stand at the start, two between the legs, the one at the end (the track's end).
  ASSERT_EQ(stops.size(), 4u);
  EXPECT_NEAR(stops[0].arrive - 1715992200, 0, 0.01);
  EXPECT_NEAR(stops[1].distance, 1000, 1.5);
  EXPECT_NEAR(stops[2].distance, 2000, 1.5);
  for (size_t i = 1; i < 3; ++i) EXPECT_NEAR(stops[i].depart - stops[i].arrive, 20, 2.5) << i;
}

TEST(Stops, a_stand_shorter_than_ten_seconds_is_no_stop) {
  const auto stops = stopsOf(7, 0.3);
  ASSERT_EQ(stops.size(), 2u);  // only the two ends
  EXPECT_LT(stops[0].distance, 1);
  EXPECT_GT(stops[1].distance, 2900);
}

TEST(Stops, creeping_at_two_kilometres_an_hour_is_no_stop) {
  SyntheticRide r;
  r.distance = [](double t) { return t < 100 ? 20 * t : 2000 + (t - 100) * (2 / 3.6); };
  r.seconds = 200;
  r.white = 0.3;
  EXPECT_TRUE(findStops(rideProfile(test::makeTrack(r))).empty());
}

TEST(Stops, the_speed_limit_and_the_time_can_be_set) {
  SyntheticRide r;
  r.distance = [](double t) { return t < 100 ? 20 * t : 2000 + (t - 100) * (2 / 3.6); };
  r.seconds = 200;
  const auto stops = findStops(rideProfile(test::makeTrack(r)), 3.0, 10);
  ASSERT_EQ(stops.size(), 1u);
  EXPECT_NEAR(stops[0].arrive - 1715992200, 100, 3);
}

}  // namespace
}  // namespace velmoria::import
