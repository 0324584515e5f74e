#include <gtest/gtest.h>

#include "support/steps.h"
#include "support/test_run.h"

namespace velmoria {
namespace {

class PositionStep : public ::testing::Test {
 protected:
  test::TestRun t;
  velmoria::Run& make() { return t.make(); }
  static void steps(velmoria::Run& run, int n) {
    for (int i = 0; i < n; ++i) test::positionStep(run);
  }
};

TEST_F(PositionStep, starts_at_the_start_position_and_time) {
  t.data.route.SpeedUnitTable = {{1000, 2000, 40, 80, 0}};
  t.data.route.StartPos = 1234;
  t.data.route.StartTime = 108000;
  t.data.route.Pre_Time = 60;  // two seconds, held as 60 frames
  velmoria::Run& run = make();
  EXPECT_EQ(poke(run).pos.frame, 1234);
  EXPECT_EQ(poke(run).pos.clockTicks, 108000);
  EXPECT_EQ(poke(run).pos.currentSegment, 0);
  EXPECT_EQ(poke(run).pos.precedingFrame, 1294);
  EXPECT_EQ(poke(run).pos.recordedSpeed, 49);  // 40 + 40 / 1000 x 234 = 49.36
  EXPECT_EQ(poke(run).pos.distance, 0);
}

TEST_F(PositionStep, counters_started_at_the_end_of_int32_wrap_round) {
  // [StartTime] and [StartPos] of 2147483647: the clock and the frame go on from INT32_MIN.
  // No segment holds frame 2147483647 (ends are exclusive), so with no recorded speed yet
  // each km/h is a frame: 60 frames on.
  t.data.route.SpeedUnitTable = {{INT32_MIN, INT32_MAX, 60, 60, 0}};
  t.data.route.StartTime = INT32_MAX;
  t.data.route.StartPos = INT32_MAX;
  velmoria::Run& run = make();
  poke(run).train.speed = Fixed::fromInt(60);
  test::positionStep(run);
  EXPECT_EQ(poke(run).pos.clockTicks, INT32_MIN);
  EXPECT_EQ(poke(run).pos.frame, INT32_MIN + 59);
}

TEST_F(PositionStep, segments_at_the_ends_of_int32_keep_exact_distances) {
  // Speeds and frames whose sums and differences leave int32. The first segment's end:
  // round((2147483647 + 2147483647) x 2147483647 / 2.16) cm; a frame halfway through the
  // second, where the speed falls from 2147483647 to 1, shows their mean.
  t.data.route.SpeedUnitTable = {{0, INT32_MAX, INT32_MAX, INT32_MAX, 0},
                                 {INT32_MIN, 0, INT32_MAX, 1, 0}};
  t.data.route.StartPos = -1073741824;  // the middle of the second segment
  velmoria::Run& run = make();
  const long double m = INT32_MAX;
  EXPECT_EQ(run.route().SpeedUnitTable[0].endDistance, roundEven(2 * m * m / 2.16L));
  EXPECT_EQ(poke(run).pos.recordedSpeed, 1073741824);  // 2147483647 - 2147483646 / 2, to even
}

TEST_F(PositionStep, one_frame_per_step_at_the_recorded_speed) {
  velmoria::Run& run = make();  // recorded at 60 km/h
  poke(run).train.speed = Fixed::fromInt(60);
  steps(run, 10);
  EXPECT_EQ(poke(run).pos.frame, 10);
  EXPECT_EQ(poke(run).pos.recordedSpeed, 60);
}

TEST_F(PositionStep, one_frame_every_second_step_at_half_the_recorded_speed) {
  velmoria::Run& run = make();
  poke(run).train.speed = Fixed::fromInt(30);
  const int32_t expected[] = {0, 1, 1, 2, 2, 3};
  for (int32_t frame : expected) {
    test::positionStep(run);
    EXPECT_EQ(poke(run).pos.frame, frame);
  }
  steps(run, 18);
  EXPECT_EQ(poke(run).pos.frame, 12);
}

TEST_F(PositionStep, running_backwards_moves_the_frame_down) {
  t.data.route.StartPos = 500;
  velmoria::Run& run = make();
  poke(run).pos.recordedSpeed = 60;
  poke(run).train.speed = Fixed::fromInt(-60);
  steps(run, 5);
  EXPECT_EQ(poke(run).pos.frame, 495);
}

TEST_F(PositionStep, a_standing_train_keeps_its_distance) {
  velmoria::Run& run = make();
  steps(run, 30);
  EXPECT_EQ(poke(run).pos.distance, 0);
  EXPECT_EQ(poke(run).pos.frame, 0);
  EXPECT_EQ(poke(run).pos.clockTicks, 30);
}

TEST_F(PositionStep, distance_per_step_is_speed_over_3_6_times_3_3333) {
  velmoria::Run& run = make();
  poke(run).pos.nextStopDistance = 1000;
  poke(run).train.speed = Fixed::fromInt(36);
  test::positionStep(run);
  // 36 km/h = 10 m/s: 10 x 3.3333 = 33.333 cm in one step.
  EXPECT_NEAR(static_cast<double>(poke(run).pos.distanceStep), 33.333, 1e-9);
  EXPECT_NEAR(static_cast<double>(poke(run).pos.remaining), 1000 - 33.333, 1e-9);
}

TEST_F(PositionStep, recorded_speed_is_interpolated_and_rounded) {
  t.data.route.SpeedUnitTable = {{0, 100, 40, 80, 0}};
  t.data.route.StartPos = 25;
  velmoria::Run& run = make();
  test::positionStep(run);
  EXPECT_EQ(poke(run).pos.recordedSpeed, 50);  // 40 + 40/100 x 25
  poke(run).pos.frame = 31;                    // 52.4
  test::positionStep(run);
  EXPECT_EQ(poke(run).pos.recordedSpeed, 52);
}

TEST_F(PositionStep, segment_distances_accumulate_and_resynchronise) {
  t.data.route.SpeedUnitTable = {{0, 100, 60, 60, 0}, {100, 200, 60, 60, 0}};
  t.data.route.StartPos = 99;
  velmoria::Run& run = make();
  // (60 + 60) x 100 / 2.16 = 5555.56 -> 5556 per segment.
  EXPECT_EQ(run.route().SpeedUnitTable[0].endDistance, 5556);
  EXPECT_EQ(run.route().SpeedUnitTable[1].endDistance, 11112);
  poke(run).pos.distance = 5000;  // out of step with the video
  poke(run).train.speed = Fixed::fromInt(60);
  test::positionStep(run);  // frame 100
  ASSERT_EQ(poke(run).pos.currentSegment, 1);
  // Set back to the start of segment 1, then this step's distance added.
  EXPECT_NEAR(static_cast<double>(poke(run).pos.distance), 5556 + 60 / 3.6 * 3.3333, 1e-6);
}

TEST_F(PositionStep, overlapping_segments_take_the_last_match_and_resync_every_step) {
  t.data.route.SpeedUnitTable = {{0, 200, 60, 60, 0}, {100, 300, 90, 90, 0}};
  t.data.route.StartPos = 150;
  velmoria::Run& run = make();
  EXPECT_FALSE(poke(run).pos.segmentsDisjoint);
  poke(run).pos.currentSegment = 1;
  poke(run).pos.distance = 5;
  test::positionStep(run);
  EXPECT_EQ(poke(run).pos.recordedSpeed, 90);
  EXPECT_EQ(poke(run).pos.currentSegment, 1);
  // Segment 0 matched first and moved the segment away from 1: 1 then re-synchronised to the
  // end of 0, 120 x 200 / 2.16 = 11 111.1 -> 11 111.
  EXPECT_EQ(poke(run).pos.distance, 11111);
}

TEST_F(PositionStep, unknown_segment_takes_the_new_one_without_resync) {
  velmoria::Run& run = make();
  poke(run).pos.currentSegment = -1;
  poke(run).pos.distance = 777;
  test::positionStep(run);
  EXPECT_EQ(poke(run).pos.currentSegment, 0);
  EXPECT_EQ(poke(run).pos.distance, 777);
}

TEST_F(PositionStep, follow_mode_sets_the_speed_to_the_recorded_speed) {
  // The 33 ms step ends with it, after the position step.
  velmoria::Run& run = make();
  t.app.followMode = true;
  run.MMTimer1Timer();
  EXPECT_EQ(poke(run).train.speed, Fixed::fromInt(60));
}

TEST_F(PositionStep, route_events_get_their_distances) {
  Route& r = t.data.route;
  r.SpeedUnitTable = {{0, 100, 60, 60, 0}, {100, 200, 60, 60, 0}};
  // Pattern control targets the train stop's check point, not the signal itself.
  SignalEntry signal;
  signal.checkFrame = 50;
  signal.signalFrame = 70;
  SignalEntry onBoundary;
  onBoundary.checkFrame = 100;
  onBoundary.signalFrame = 130;
  r.SignalTable = {signal, onBoundary};
  SpeedLimitEntry limit;
  limit.limit = 45;
  limit.startFrame = 100;
  r.SpeedLimitTable = {limit};
  StationEntry stop;
  stop.zoneStart = 140;
  stop.stopFrame = 160;
  StationEntry pass = stop;
  pass.type = 1;
  r.StationTable = {stop, pass};
  DopplerEntry source;
  source.frame = 30;
  r.DopplerTable = {source};
  velmoria::Run& run = make();

  // Check point at 50: (0 + 120) / 7.2 x (50 / 30) x 100 = 2777.8 -> 2778. The one at 100 lies on
  // the boundary and matches neither segment (strict bounds).
  const auto& targets = poke(run).index.patternTargetList;
  ASSERT_EQ(targets.size(), 3u);
  EXPECT_EQ(targets[0].distance, 2778);
  EXPECT_EQ(targets[0].speed, 0);
  EXPECT_EQ(targets[0].signal, 0);
  // The limit at 100 matches both segments (inclusive bounds): end of 0 and start of 1.
  EXPECT_EQ(targets[1].distance, 5556);
  EXPECT_EQ(targets[1].speed, 45);
  EXPECT_EQ(targets[2].distance, 5556);
  EXPECT_EQ(run.route().SpeedLimitTable[0].distance, 5556);
  // Station midpoint 150: 5556 + 120 / 7.2 x (50 / 30) x 100 = 5556 + 2778.
  EXPECT_EQ(run.route().StationTable[0].distance, 8334);
  EXPECT_EQ(run.route().StationTable[1].distance, 0);
  // Doppler at 30: 120 / 7.2 x 1 x 100 = 1666.7 -> 1667.
  EXPECT_EQ(run.route().DopplerTable[0].distance, 1667);
}

TEST_F(PositionStep, trapezoid_follows_a_changing_recorded_speed) {
  t.data.route.SpeedUnitTable = {{0, 60, 30, 90, 0}};
  DopplerEntry source;
  source.frame = 30;
  t.data.route.DopplerTable = {source};
  velmoria::Run& run = make();
  // (1 x 30 + 60) / 7.2 x 1 x 100 = 1250; the whole segment (30 + 90) x 60 / 2.16 = 3333.3.
  EXPECT_EQ(run.route().DopplerTable[0].distance, 1250);
  EXPECT_EQ(run.route().SpeedUnitTable[0].endDistance, 3333);
}

class PrecedingTrain : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(PrecedingTrain, advances_every_30_div_framerate_ticks) {
  test::TestRun t;
  t.data.route.FrameRate = GetParam().first;
  t.data.route.Pre_Time = 300;
  velmoria::Run& run = t.make();
  for (int i = 0; i < 60; ++i) test::positionStep(run);
  EXPECT_EQ(poke(run).pos.precedingFrame, 300 + GetParam().second);
}
// 15: every second tick; 20: 30 div 20 = 1, every tick; 30 every tick; 0 and 45 would divide by
// zero: every tick.
INSTANTIATE_TEST_SUITE_P(Rates, PrecedingTrain,
                         ::testing::Values(std::pair{15, 30}, std::pair{20, 60}, std::pair{30, 60},
                                           std::pair{10, 20}, std::pair{0, 60}, std::pair{45, 60}));

TEST(PrecedingTrainEnd, leaves_the_line_past_the_last_frame) {
  test::TestRun t;
  t.data.route.Pre_Time = 300;
  t.video.setFrameCount(301);
  velmoria::Run& run = t.make();
  test::positionStep(run);
  EXPECT_EQ(poke(run).pos.precedingFrame, 301);
  test::positionStep(run);
  EXPECT_EQ(poke(run).pos.precedingFrame, 0);
  test::positionStep(run);
  EXPECT_EQ(poke(run).pos.precedingFrame, 0);
}

}  // namespace
}  // namespace velmoria
