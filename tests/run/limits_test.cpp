#include "run/limits.h"

#include <gtest/gtest.h>

#include "support/run_ticks.h"
#include "support/steps.h"

namespace velmoria {
namespace {

using test::TestRun;
using test::tick;

struct LimitRun : TestRun {
  LimitRun() {
    data.images.SignImageList.resize(3);   // stop line, uphill, downhill
    data.images.OtherImageList.resize(8);  // boards
  }
};

// --- Speed-limit boards ----------------------------------------------------------------

SpeedLimitEntry limit(int32_t kmh, int32_t picture, int32_t start, int32_t end,
                      long double distance) {
  SpeedLimitEntry e;
  e.limit = kmh;
  e.picture = picture;
  e.startFrame = start;
  e.endFrame = end;
  e.distance = distance;
  return e;
}

// [BrakeRate] 4 km/h/s: the board warns at 0.6 x 4 = 2.4 km/h/s. At 90 km/h towards 60 km/h:
// b = 30 / 2.4 x (150 / 7.2) = 260.4 m, so the warning starts below 360.4 m to go.
TEST(SpeedLimits, warns_inside_the_braking_distance_and_shows_steady_inside) {
  LimitRun t;
  t.data.route.SpeedLimitTable = {limit(60, 5, 2000, 3000, 50000)};
  auto& r = t.makeUnlocked();
  const long double at = r.route().SpeedLimitTable[0].distance;  // measured at set-up
  poke(r).train.speed = Fixed::fromInt(90);
  poke(r).pos.distance = at - 36100;
  r.tickStep(TickStep::SpeedLimits);
  EXPECT_FALSE(poke(r).limits.blink);
  EXPECT_EQ(poke(r).display.SpeedLimitImage.picture, -1);
  poke(r).pos.distance = at - 36000;
  r.tickStep(TickStep::SpeedLimits);
  EXPECT_TRUE(poke(r).limits.blink);
  EXPECT_EQ(poke(r).display.SpeedLimitImage.picture, 5);
  EXPECT_EQ(poke(r).limits.calloutPicture, 5);
  poke(r).pos.frame = 2001;
  poke(r).pos.distance = at + 100;
  poke(r).display.SpeedLimitImage.visible = false;  // caught in a blink
  r.tickStep(TickStep::SpeedLimits);
  EXPECT_FALSE(poke(r).limits.blink);
  EXPECT_TRUE(poke(r).display.SpeedLimitImage.visible);
  EXPECT_EQ(poke(r).display.SpeedLimitImage.picture, 5);
  EXPECT_EQ(poke(r).limits.lastDrawnLimit, 60);
  poke(r).pos.frame = 3001;
  r.tickStep(TickStep::SpeedLimits);
  EXPECT_EQ(poke(r).display.SpeedLimitImage.picture, -1);
  EXPECT_EQ(poke(r).limits.lastDrawnLimit, 0);
}

TEST(SpeedLimits, a_slow_train_is_warned_100_frames_before_the_start) {
  LimitRun t;
  t.data.route.SpeedLimitTable = {limit(60, 5, 2000, 3000, 50000)};
  auto& r = t.makeUnlocked();
  poke(r).train.speed = Fixed::fromInt(30);
  poke(r).pos.distance = r.route().SpeedLimitTable[0].distance - 20000;  // 200 m to go, slow enough
  poke(r).pos.frame = 1900;
  r.tickStep(TickStep::SpeedLimits);
  EXPECT_FALSE(poke(r).limits.blink);
  poke(r).pos.frame = 1901;
  r.tickStep(TickStep::SpeedLimits);
  EXPECT_TRUE(poke(r).limits.blink);
}

TEST(SpeedLimits, a_picture_outside_the_list_is_not_drawn) {
  LimitRun t;
  t.data.route.SpeedLimitTable = {limit(60, 42, 2000, 3000, 50000)};
  auto& r = t.makeUnlocked();
  poke(r).pos.frame = 2500;
  r.tickStep(TickStep::SpeedLimits);
  EXPECT_EQ(poke(r).display.SpeedLimitImage.picture, -1);
  EXPECT_EQ(poke(r).limits.lastDrawnLimit, 60);
}

struct BlinkCase {
  int32_t tick;
  bool before, after;
};
class BlinkPhaseTest : public ::testing::TestWithParam<BlinkCase> {};

TEST_P(BlinkPhaseTest, hides_on_fives_and_shows_on_tens) {
  LimitRun t;
  auto& r = t.makeUnlocked();
  poke(r).limits.blink = true;
  poke(r).tickCount = GetParam().tick;
  poke(r).display.SpeedLimitImage.visible = GetParam().before;
  r.tickStep(TickStep::SpeedLimitBlink);
  EXPECT_EQ(poke(r).display.SpeedLimitImage.visible, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Phases, BlinkPhaseTest,
                         ::testing::Values(BlinkCase{5, true, false}, BlinkCase{10, false, true},
                                           BlinkCase{15, true, false}, BlinkCase{7, true, true},
                                           BlinkCase{7, false, false}, BlinkCase{20, false, true},
                                           BlinkCase{0, false, true}));

TEST(SpeedLimits, blinking_follows_the_tick_count_through_the_loop) {
  LimitRun t;
  auto& r = t.makeUnlocked();
  poke(r).limits.blink = true;  // a board far ahead keeps nothing else in play
  t.data.route.SpeedLimitTable.clear();
  tick(t, 5);  // tick 5
  EXPECT_FALSE(poke(r).display.SpeedLimitImage.visible);
  tick(t, 4);  // tick 9
  EXPECT_FALSE(poke(r).display.SpeedLimitImage.visible);
  tick(t);  // tick 10
  EXPECT_TRUE(poke(r).display.SpeedLimitImage.visible);
}

// --- Gradient board ------------------------------------------------------------------------

TEST(SlopeDisplay, boards_follow_the_gradient_and_clear_in_gaps) {
  LimitRun t;
  t.data.route.SlopeTable = {
      {Fixed::fromInt(10), 100, 200}, {Fixed::from(-2.5L), 200, 300}, {Fixed{}, 400, 500}};
  auto& r = t.makeUnlocked();
  const auto at = [&](int32_t frame) {
    poke(r).pos.frame = frame;
    r.tickStep(TickStep::SlopeDisplay);
  };
  at(150);
  EXPECT_EQ(poke(r).display.SlopeImage.picture, 1);
  EXPECT_EQ(poke(r).display.SlopeText.text, "10.0");
  EXPECT_EQ(poke(r).limits.currentGradient, Fixed::fromInt(10));
  at(200);  // the boundary frame belongs to neither entry and the two are adjacent
  EXPECT_EQ(poke(r).display.SlopeImage.picture, 1);
  at(250);
  EXPECT_EQ(poke(r).display.SlopeImage.picture, 2);
  EXPECT_EQ(poke(r).display.SlopeText.text, "-2.5");
  at(350);  // a gap
  EXPECT_EQ(poke(r).display.SlopeImage.picture, -1);
  EXPECT_EQ(poke(r).display.SlopeText.text, "");
  EXPECT_EQ(poke(r).limits.currentGradient, Fixed{});
  at(250);
  at(450);  // level: 0.0, the board stays
  EXPECT_EQ(poke(r).display.SlopeText.text, "0.0");
  EXPECT_EQ(poke(r).display.SlopeImage.picture, 2);
  EXPECT_EQ(poke(r).limits.currentGradient, Fixed{});
  at(600);  // beyond the last entry
  EXPECT_EQ(poke(r).display.SlopeImage.picture, -1);
  EXPECT_EQ(poke(r).display.SlopeText.text, "");
}

TEST(SlopeDisplay, the_same_gradient_again_does_not_redraw) {
  LimitRun t;
  t.data.route.SlopeTable = {{Fixed::fromInt(5), 100, 200}};
  auto& r = t.makeUnlocked();
  poke(r).pos.frame = 150;
  r.tickStep(TickStep::SlopeDisplay);
  poke(r).display.SlopeImage.picture = 7;  // what the shell would keep
  r.tickStep(TickStep::SlopeDisplay);
  EXPECT_EQ(poke(r).display.SlopeImage.picture, 7);
}

TEST(GradientText, rounds_to_one_decimal_half_away_from_zero) {
  EXPECT_EQ(gradientText(Fixed::fromInt(10)), "10.0");
  EXPECT_EQ(gradientText(Fixed::fromRaw(25500)), "2.6");
  EXPECT_EQ(gradientText(Fixed::fromRaw(-25500)), "-2.6");
  EXPECT_EQ(gradientText(Fixed::fromRaw(-400)), "0.0");
  EXPECT_EQ(gradientText(Fixed{}), "0.0");
}

TEST(GradientText, the_largest_gradients_a_file_can_hold) {
  // 922337203685477.5807 per mille: tenths (9223372036854775807 + 500) div 1000.
  EXPECT_EQ(gradientText(Fixed::fromRaw(INT64_MAX)), "922337203685477.6");
  EXPECT_EQ(gradientText(Fixed::fromRaw(INT64_MIN)), "-922337203685477.6");
}

// --- Tunnels, speed checks, signs ------------------------------------------------------------

TEST(Tunnels, the_second_panel_shows_strictly_inside) {
  LimitRun t;
  t.data.route.TunnelTable = {{100, 200}};
  auto& r = t.makeUnlocked();
  for (auto [frame, inside] : {std::pair{100, false}, {101, true}, {199, true}, {200, false}}) {
    poke(r).pos.frame = frame;
    r.tickStep(TickStep::Tunnels);
    EXPECT_EQ(poke(r).display.Panel2, inside) << frame;
  }
}

TEST(SpeedChecks, ring_only_above_the_check_speed_within_nine_frames) {
  LimitRun t;
  t.data.route.SpeedCheckTable = {{45, 1000}};
  auto& r = t.makeUnlocked();
  poke(r).train.speed = Fixed::fromInt(45);
  poke(r).pos.frame = 1005;
  r.tickStep(TickStep::SpeedChecks);
  EXPECT_FALSE(poke(r).signals.alarm);
  poke(r).train.speed = Fixed::from(45.0001L);
  poke(r).pos.frame = 1010;
  r.tickStep(TickStep::SpeedChecks);
  EXPECT_FALSE(poke(r).signals.alarm);
  poke(r).pos.frame = 1009;
  poke(r).signals.acknowledged = true;
  r.tickStep(TickStep::SpeedChecks);
  EXPECT_TRUE(poke(r).signals.alarm);
  EXPECT_FALSE(poke(r).signals.acknowledged);
}

TEST(WaysideSigns, the_first_sign_stays_until_nothing_matches) {
  LimitRun t;
  t.data.route.SignTable = {{3, 100, 300}, {4, 200, 400}};
  auto& r = t.makeUnlocked();
  poke(r).pos.frame = 100;
  r.tickStep(TickStep::WaysideSigns);
  EXPECT_EQ(poke(r).display.OtherImage.picture, 3);
  EXPECT_EQ(poke(r).limits.signTarget, 3);
  poke(r).pos.frame = 350;
  r.tickStep(TickStep::WaysideSigns);
  EXPECT_EQ(poke(r).display.OtherImage.picture, 3);
  poke(r).pos.frame = 400;
  r.tickStep(TickStep::WaysideSigns);
  EXPECT_EQ(poke(r).display.OtherImage.picture, -1);
  EXPECT_EQ(poke(r).limits.signTarget, 999);
}

TEST(WaysideSigns, a_timetable_board_needs_speed_and_distance_to_the_stop) {
  LimitRun t;
  t.data.route.TimeEventTable = {{1, 100, 300, 36000}};
  auto& r = t.makeUnlocked();
  poke(r).pos.frame = 200;
  poke(r).pos.remaining = 20000;
  poke(r).train.speed = Fixed::fromInt(1);
  r.tickStep(TickStep::WaysideSigns);
  EXPECT_EQ(poke(r).limits.signTarget, 999);
  poke(r).train.speed = Fixed::fromInt(30);
  poke(r).pos.remaining = 10000;
  r.tickStep(TickStep::WaysideSigns);
  EXPECT_EQ(poke(r).limits.signTarget, 999);
  poke(r).pos.remaining = 10001;
  r.tickStep(TickStep::WaysideSigns);
  EXPECT_EQ(poke(r).limits.signTarget, 901);
  EXPECT_EQ(poke(r).display.OtherImage.picture, 0);
}

}  // namespace
}  // namespace velmoria
