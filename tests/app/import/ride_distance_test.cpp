#include "ride_distance.h"

#include <gtest/gtest.h>

#include "synthetic_track.h"

namespace velmoria::import {
namespace {

using test::Piece;
using test::SyntheticRide;

// The largest difference between the ride's distance and the truth over the ride, every 0.1 s,
// as a share of what is allowed there.
double worstShare(const RideProfile& ride, const SyntheticRide& r, double bound, double perKm) {
  double worst = 0;
  const double origin = r.distance(0);
  for (double t = 0; t <= r.seconds; t += 0.1) {
    const double truth = r.distance(t) - origin;
    worst =
        std::max(worst, std::fabs(ride.at(r.start + t) - truth) / (bound + perKm * truth / 1000));
  }
  return worst;
}

bool neverBack(const RideProfile& ride) {
  double last = -1;
  for (double t = ride.start(); t <= ride.end(); t += 0.05) {
    const double d = ride.at(t);
    if (d < last - 1e-9) return false;
    last = d;
  }
  return true;
}

struct RideCase {
  const char* name;
  SyntheticRide ride;
  double bound;      // m
  double perKm = 0;  // m more for every km of the ride so far
};

class RideDistance : public ::testing::TestWithParam<RideCase> {};

TEST_P(RideDistance, follows_the_truth_and_never_runs_back) {
  const RideCase& c = GetParam();
  const RideProfile ride = rideProfile(test::makeTrack(c.ride));
  EXPECT_LT(worstShare(ride, c.ride, c.bound, c.perKm), 1.0);
  EXPECT_TRUE(neverBack(ride));
}

SyntheticRide curves(double white, double wander) {
  SyntheticRide r;
  // Straight, a 400 m radius curve of 600 m, straight, a reverse curve of 300 m radius.
  r.line = {{800}, {600, 1.0 / 400}, {500}, {400, -1.0 / 300}, {400, 1.0 / 300}, {20000}};
  r.distance = test::stopAndGo(2800, 25, 0.7, 0.8, 30);
  r.seconds = 600;
  r.white = white, r.wander = wander;
  return r;
}

// 770 m without a fix, out of a 400 m curve into a straight (the curves across the gap guess
// that worst), at a steady speed (which the speeds at its ends then tell well).
SyntheticRide tunnelOutOfACurve() {
  SyntheticRide r = curves(0.5, 0.3);
  r.distance = [](double t) { return 22.0 * t; };
  r.gaps = {{40, 75}};
  r.seconds = 200;
  return r;
}

// 530 m without a fix on a 1 km curve while the train speeds up from 15 to 25 m/s: the curve
// across the gap within about 1 % of its length.
SyntheticRide tunnelWhileSpeedingUp() {
  SyntheticRide r;
  r.line = {{500}, {3000, 1.0 / 1000}, {5000}};
  r.distance = [](double t) {
    if (t < 30) return 15 * t;
    if (t < 60) return 450 + 15 * (t - 30) + (t - 30) * (t - 30) / 6;
    return 450 + 450 + 150 + 25 * (t - 60);
  };
  r.gaps = {{32, 58}};
  r.seconds = 150;
  r.white = 0.5, r.wander = 0.3;
  return r;
}

SyntheticRide tenHertz() {
  SyntheticRide r = curves(1.5, 0.5);
  r.interval = 0.1;
  r.seconds = 400;
  return r;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RideDistance,
    ::testing::Values(RideCase{"exact_fixes_on_curves_starting_and_stopping", curves(0, 0), 0.5},
                      RideCase{"a_good_receiver", curves(0.5, 0.3), 1.2, 0.2},
                      RideCase{"a_poor_receiver", curves(2.5, 1.5), 6, 1.5},
                      RideCase{"ten_fixes_a_second_with_noise", tenHertz(), 2},
                      RideCase{"a_tunnel_out_of_a_curve", tunnelOutOfACurve(), 8},
                      RideCase{"a_tunnel_while_speeding_up", tunnelWhileSpeedingUp(), 6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RideDistance, standing_for_ten_minutes_with_a_noisy_receiver_goes_nowhere) {
  SyntheticRide r;
  r.distance = [](double) { return 500.0; };
  r.seconds = 600;
  r.white = 2, r.wander = 1;
  const RideProfile ride = rideProfile(test::makeTrack(r));
  // Without the standing fixes' noise laid end to end as a line (some 1.5 km of zig-zags).
  EXPECT_LT(ride.dist.back(), 3);
}

TEST(RideDistance, curves_keep_their_length_at_speed) {
  // 10 km of 500 m radius curves at 30 m/s with exact fixes: smoothing in time must not cut
  // the corner (a straight-line smoother would lose about 2 m per km here).
  SyntheticRide r;
  r.line = {{10000, 1.0 / 500}, {2000}};
  r.distance = [](double t) { return 30.0 * t; };
  r.seconds = 330;
  const RideProfile ride = rideProfile(test::makeTrack(r));
  EXPECT_NEAR(ride.at(r.start + 330), 9900, 2);
}

TEST(RideDistance, the_speed_between_fixes_follows_the_pieces) {
  SyntheticRide r;
  r.distance = [](double t) { return 15.0 * t; };
  r.seconds = 100;
  const RideProfile ride = rideProfile(test::makeTrack(r));
  EXPECT_NEAR(ride.speedAt(r.start + 50.5), 15, 0.05);
  EXPECT_EQ(ride.speedAt(r.start - 1), 0);
  EXPECT_EQ(ride.at(r.start - 10), ride.dist.front());
  EXPECT_EQ(ride.at(r.start + 1000), ride.dist.back());
  EXPECT_TRUE(ride.gaps.empty());
}

TEST(RideDistance, a_track_of_one_fix_is_refused) {
  Track t;
  t.points.push_back({});
  EXPECT_THROW(rideProfile(t), TrackError);
}

}  // namespace
}  // namespace velmoria::import
