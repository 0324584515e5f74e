#include "run/signals.h"

#include <gtest/gtest.h>

#include "support/run_ticks.h"
#include "support/steps.h"

namespace velmoria {
namespace {

using test::TestRun;
using test::tick;

constexpr int kBell = 15, kChime = 16, kAtc = 17, kEmergency = 18;

SignalEntry blockSignal(int32_t view, int32_t frame, int32_t kind = 1) {
  SignalEntry s;
  s.kind = kind;
  s.viewFrame = view;
  s.signalFrame = frame;
  s.warningFrame = frame - 100;
  s.checkFrame = frame - 10;
  s.number = static_cast<int32_t>(frame / 1000);
  s.label = "S" + std::to_string(frame);
  return s;
}

// A train-stop vehicle and a line of block signals every 1000 frames from 1000 to 6000.
struct SignalRun : TestRun {
  explicit SignalRun(int atsType = 0) {
    data.vehicle.ATS_Type = atsType;
    data.vehicle.ATS_Alert = 0;
    data.vehicle.ATS_Time = 5;
    data.vehicle.Sound_Ats1 = kBell;
    data.vehicle.Sound_Ats2 = kChime;
    data.vehicle.Sound_Atc = kAtc;
    data.vehicle.Sound_EB = kEmergency;
    data.route.Speed_YY = 25;
    data.route.Speed_Y = 45;
    data.route.Speed_YG = 65;
    data.route.Speed_G = 100;
    for (int32_t f = 1000; f <= 6000; f += 1000)
      data.route.SignalTable.push_back(blockSignal(f - 600, f));
    data.images.SignalImageList.resize(22);
  }
  Run& start() {
    Run& r = makeUnlocked();
    poke(r).pos.precedingFrame = 0;
    poke(r).handle.doorOpen = false;
    return r;
  }
};

// --- Display index table -------------------------------------------------------------------

struct IndexCase {
  int kind, level, index;
  ColourGroup group;
};
class DisplayIndexTest : public ::testing::TestWithParam<IndexCase> {};

TEST_P(DisplayIndexTest, kind_and_level_pick_the_picture_and_its_group) {
  const auto& c = GetParam();
  EXPECT_EQ(displayIndexFor(c.kind, c.level), c.index);
  EXPECT_EQ(colourGroup(c.index), c.group);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DisplayIndexTest,
    ::testing::Values(IndexCase{0, 0, 0, ColourGroup::R}, IndexCase{0, 2, 1, ColourGroup::None},
                      IndexCase{0, 4, 2, ColourGroup::G}, IndexCase{1, 1, 3, ColourGroup::R},
                      IndexCase{1, 2, 4, ColourGroup::Y}, IndexCase{2, 4, 8, ColourGroup::G},
                      IndexCase{3, 3, 11, ColourGroup::YG}, IndexCase{3, 4, 12, ColourGroup::G},
                      IndexCase{4, 1, 14, ColourGroup::YY}, IndexCase{4, 3, 15, ColourGroup::Y},
                      IndexCase{5, 0, 17, ColourGroup::R}, IndexCase{5, 3, 20, ColourGroup::YG},
                      IndexCase{9, 4, 21, ColourGroup::G}, IndexCase{5, 1, 18, ColourGroup::YY}));

TEST(ColourGroup, index_five_is_clear_and_out_of_table_values_belong_to_no_group) {
  EXPECT_EQ(colourGroup(5), ColourGroup::G);
  EXPECT_EQ(colourGroup(999), ColourGroup::None);
  EXPECT_EQ(colourGroup(22), ColourGroup::None);
}

// --- Block and fixed aspects ---------------------------------------------------------------

TEST(BlockAspects, signals_behind_the_preceding_train_count_up_from_stop) {
  SignalRun t;
  // A kind-0 signal among the block signals is never counted.
  t.data.route.SignalTable.insert(t.data.route.SignalTable.begin() + 3, blockSignal(3000, 3500, 0));
  auto& r = t.start();
  poke(r).pos.precedingFrame = 5500;  // between the signals at 5000 and 6000
  r.tickStep(TickStep::BlockAspects);
  // Table: 1000 2000 3000 3500(kind 0) 4000 5000 6000
  EXPECT_EQ(poke(r).signals.level, (std::vector<int32_t>{4, 3, 2, 4, 1, 0, 4}));
}

TEST(BlockAspects, the_fourth_signal_behind_shows_four) {
  SignalRun t;
  t.data.route.SignalTable.push_back(blockSignal(6400, 7000));
  auto& r = t.start();
  poke(r).pos.precedingFrame = 6999;  // between 6000 and 7000
  r.tickStep(TickStep::BlockAspects);
  EXPECT_EQ(poke(r).signals.level, (std::vector<int32_t>{4, 4, 3, 2, 1, 0, 4}));
}

TEST(BlockAspects, without_a_preceding_train_every_signal_is_clear) {
  SignalRun t;
  auto& r = t.start();
  poke(r).signals.level.assign(6, 0);
  r.tickStep(TickStep::BlockAspects);
  EXPECT_EQ(poke(r).signals.level, std::vector<int32_t>(6, 4));
}

TEST(BlockAspects, a_train_beyond_the_last_block_signal_occupies_its_block) {
  SignalRun t;
  auto& r = t.start();
  poke(r).pos.precedingFrame = 8000;
  r.tickStep(TickStep::BlockAspects);
  EXPECT_EQ(poke(r).signals.level, (std::vector<int32_t>{4, 4, 3, 2, 1, 0}));
}

TEST(FixedAspects, a_mode_one_signal_holds_its_level_until_its_time) {
  SignalRun t;
  t.data.route.SignalTable[1].mode = 1;
  t.data.route.SignalTable[1].fixedLevel = 0;
  t.data.route.SignalTable[1].fixedUntil = 1000;
  t.data.route.SignalTable[2].mode = 2;
  t.data.route.SignalTable[2].fixedLevel = 2;
  auto& r = t.start();
  poke(r).pos.clockTicks = 999;
  tick(t);
  EXPECT_EQ(poke(r).signals.level[1], 0);
  EXPECT_EQ(poke(r).signals.level[2], 2);
  poke(r).pos.clockTicks = 1000;
  tick(t);
  EXPECT_EQ(poke(r).signals.level[1], 4);
  EXPECT_EQ(poke(r).signals.level[2], 2);
}

// --- Signal display --------------------------------------------------------------------------

TEST(SignalDisplay, shows_the_signal_in_view_and_clears_it_after_passing) {
  SignalRun t;
  auto& r = t.start();
  poke(r).pos.precedingFrame = 3500;  // the signal at 3000 shows stop, 1000 two blocks clear
  poke(r).pos.frame = 500;
  tick(t);
  EXPECT_EQ(poke(r).signals.shownIndex, 4);  // kind 1, level 2
  EXPECT_EQ(poke(r).display.SignalImage.picture, 4);
  EXPECT_EQ(poke(r).display.SignalLabel.text, "S1000");
  EXPECT_EQ(poke(r).signals.shownNumber, 1);
  EXPECT_EQ(poke(r).signals.inView, 0);
  poke(r).pos.frame = 995;  // check point window: the aspect is caution, the train stop stands down
  tick(t);
  EXPECT_EQ(poke(r).signals.checkSpeed, 999);
  EXPECT_EQ(poke(r).signals.shownIndex, 999);
  poke(r).pos.frame = 1005;  // passed
  tick(t);
  EXPECT_EQ(poke(r).display.SignalImage.picture, -1);
  EXPECT_EQ(poke(r).display.SignalLabel.text, "");
  EXPECT_EQ(poke(r).signals.inView, 999);
}

TEST(SignalDisplay, a_signal_of_kind_six_sets_the_state_but_shows_no_picture) {
  SignalRun t;
  t.data.route.SignalTable[0].kind = 6;
  auto& r = t.start();
  poke(r).pos.frame = 500;
  tick(t);
  EXPECT_EQ(poke(r).signals.shownIndex, 21);
  EXPECT_EQ(poke(r).display.SignalImage.picture, -1);
  EXPECT_EQ(poke(r).display.SignalLabel.text, "S1000");
}

TEST(SignalDisplay, a_picture_beyond_the_image_list_is_skipped) {
  SignalRun t;
  t.data.images.SignalImageList.resize(3);
  auto& r = t.start();
  poke(r).pos.frame = 500;  // kind 1 level 4: picture 4, but the list holds 3
  tick(t);
  EXPECT_EQ(poke(r).signals.shownIndex, 4);
  EXPECT_EQ(poke(r).display.SignalImage.picture, -1);
}

TEST(SignalDisplay, a_warning_point_is_missed_when_passed_ten_frames_in_a_tick) {
  SignalRun t;
  auto& r = t.start();
  poke(r).pos.precedingFrame = 1500;  // the signal at 1000 shows stop
  poke(r).pos.frame = 500;
  tick(t);
  poke(r).pos.frame = 910;  // warning frame 900 + 10
  tick(t);
  EXPECT_EQ(poke(r).signals.checkSpeed, 999);
  poke(r).pos.frame = 909;
  tick(t);
  EXPECT_EQ(poke(r).signals.checkSpeed, 998);
}

// --- Alarm-and-acknowledge train stop --------------------------------------------------------

// Brings the train to the warning point of a stop signal with the brake released.
Run& ringing(SignalRun& t) {
  auto& r = t.start();
  poke(r).pos.precedingFrame = 1500;
  poke(r).handle.brakeStep = poke(r).handle.effectiveBrake = 0;
  poke(r).pos.frame = 500;
  tick(t);
  poke(r).pos.frame = 905;
  tick(t);
  return r;
}

TEST(AlarmTrainStop, the_bell_rings_at_a_warning_point_of_a_stop_signal) {
  SignalRun t;
  auto& r = ringing(t);
  EXPECT_TRUE(poke(r).signals.alarm);
  EXPECT_EQ(poke(r).signals.checkSpeed, 998);
  EXPECT_TRUE(t.sound.isPlaying(kBell));
  EXPECT_TRUE(t.sound.isLooping(kBell));
  EXPECT_TRUE(poke(r).display.Lamp_Ats);
  EXPECT_EQ(poke(r).signals.alarmCounter, 1);
}

TEST(AlarmTrainStop, ringing_reaches_the_emergency_after_ten_times_ats_time_plus_one_ticks) {
  SignalRun t;
  auto& r = ringing(t);  // the first tick of ringing
  tick(t, 49);           // 50 ticks of ringing
  EXPECT_FALSE(poke(r).handle.atsEmergency);
  EXPECT_EQ(t.sound.playCount(kEmergency), 0);
  tick(t);  // the 51st
  EXPECT_TRUE(poke(r).handle.atsEmergency);
  EXPECT_EQ(t.sound.playCount(kEmergency), 1);  // [Sound_EB] once
  EXPECT_EQ(poke(r).signals.alarmCounter, 0);
}

TEST(AlarmTrainStop, acknowledging_without_brake_or_in_emergency_is_refused) {
  SignalRun t;
  auto& r = ringing(t);
  test::acknowledge(r);
  EXPECT_TRUE(poke(r).signals.alarm);
  EXPECT_FALSE(poke(r).signals.acknowledged);
  poke(r).handle.brakeStep = -2;
  poke(r).handle.atsEmergency = true;
  test::acknowledge(r);
  EXPECT_TRUE(poke(r).signals.alarm);
  EXPECT_FALSE(poke(r).signals.confirmation);
}

TEST(AlarmTrainStop, acknowledging_with_the_brake_stops_the_bell_and_rings_the_chime) {
  SignalRun t;
  t.data.vehicle.ATS_Cnt = 0;
  auto& r = ringing(t);
  poke(r).handle.brakeStep = -2;
  test::acknowledge(r);
  EXPECT_FALSE(poke(r).signals.alarm);
  EXPECT_TRUE(poke(r).signals.acknowledged);
  EXPECT_TRUE(poke(r).signals.confirmation);
  tick(t);
  EXPECT_FALSE(t.sound.isPlaying(kBell));
  EXPECT_TRUE(t.sound.isPlaying(kChime));
  EXPECT_TRUE(t.sound.isLooping(kChime));
  EXPECT_FALSE(poke(r).display.Lamp_Ats);
  EXPECT_FALSE(poke(r).signals.alarm);  // the confirmation keeps the warning from ringing again
  // At a standstill in front of the stop signal the next press silences the chime.
  test::acknowledge(r);
  EXPECT_FALSE(t.sound.isPlaying(kChime));
}

TEST(AlarmTrainStop, with_ats_cnt_one_the_chime_rings_once) {
  SignalRun t;
  t.data.vehicle.ATS_Cnt = 1;
  auto& r = ringing(t);
  poke(r).handle.brakeStep = -2;
  test::acknowledge(r);
  tick(t);
  EXPECT_TRUE(t.sound.isPlaying(kChime));
  EXPECT_FALSE(t.sound.isLooping(kChime));
  tick(t, 10);  // the 1 s chime has ended and is not restarted
  EXPECT_FALSE(t.sound.isPlaying(kChime));
  EXPECT_EQ(t.sound.playCount(kChime), 1);
}

TEST(AlarmTrainStop, passing_the_check_point_of_a_stop_signal_applies_the_emergency) {
  SignalRun t;
  auto& r = t.start();
  poke(r).pos.precedingFrame = 1500;
  poke(r).handle.brakeStep = poke(r).handle.effectiveBrake = 0;
  poke(r).pos.frame = 500;
  tick(t);
  poke(r).pos.frame = 995;  // check point 990 + 5, shown index 3 (stop)
  tick(t);
  EXPECT_EQ(poke(r).signals.checkSpeed, 0);
  EXPECT_TRUE(poke(r).handle.atsEmergency);
}

TEST(ResetOperation, needs_the_emergency_position_and_a_standstill) {
  SignalRun t;
  auto& r = ringing(t);
  tick(t, 50);
  ASSERT_TRUE(poke(r).handle.atsEmergency);
  poke(r).handle.gearPosition = 2;
  poke(r).handle.brakeStep = -7;
  test::resetOperation(r);
  EXPECT_TRUE(poke(r).handle.atsEmergency);
  poke(r).handle.brakeStep = -8;
  poke(r).train.speed = Fixed::from(0.6L);  // rounds to 1
  test::resetOperation(r);
  EXPECT_TRUE(poke(r).handle.atsEmergency);
  poke(r).train.speed = Fixed::from(0.4L);
  test::resetOperation(r);
  EXPECT_FALSE(poke(r).handle.atsEmergency);
  EXPECT_FALSE(poke(r).signals.alarm);
  EXPECT_TRUE(poke(r).signals.confirmation);
  EXPECT_EQ(poke(r).handle.gearPosition, 0);
  EXPECT_FALSE(t.sound.isPlaying(kBell));
}

// --- Pattern control -----------------------------------------------------------------------

struct PatternRun : SignalRun {
  PatternRun() : SignalRun(1) {}  // [BrakeRate] 4: the pattern brakes at 3.2 km/h/s
};

struct PatternCase {
  double speed;
  int state;
};
class PatternStopTest : public ::testing::TestWithParam<PatternCase> {};

// A stop signal 500 m ahead: d1 = v^2 / 23.04 against 490 m, d2 = (v + 5)^2 / 23.04 against
// 450 m; so 2 above 106.25 km/h, 1 above 96.82 km/h.
TEST_P(PatternStopTest, the_state_follows_the_braking_distance) {
  PatternRun t;
  auto& r = t.start();
  poke(r).pos.precedingFrame = 1500;
  r.tickStep(TickStep::BlockAspects);
  poke(r).index.patternTargetList = {{50000, 0, 0}};
  poke(r).train.speed = Fixed::from(GetParam().speed);
  r.tickStep(TickStep::PatternControl);
  EXPECT_EQ(poke(r).signals.patternState, GetParam().state);
  EXPECT_EQ(poke(r).signals.targetSpeed, 0);
  EXPECT_EQ(poke(r).handle.protectionBrake, GetParam().state == 2);
}

INSTANTIATE_TEST_SUITE_P(Speeds, PatternStopTest,
                         ::testing::Values(PatternCase{90, 0}, PatternCase{96.8, 0},
                                           PatternCase{96.9, 1}, PatternCase{106.2, 1},
                                           PatternCase{106.3, 2}, PatternCase{110, 2}));

TEST(PatternControl, a_stop_target_applies_only_while_its_signal_shows_stop) {
  PatternRun t;
  auto& r = t.start();
  poke(r).index.patternTargetList = {{50000, 0, 0}};
  poke(r).train.speed = Fixed::fromInt(110);
  r.tickStep(TickStep::PatternControl);  // no preceding train: the signal is clear
  EXPECT_EQ(poke(r).signals.patternState, 0);
  EXPECT_EQ(poke(r).signals.targetSpeed, 999);
}

TEST(PatternControl, brakes_against_a_stop_signal_and_releases_when_it_clears) {
  PatternRun t;
  auto& r = t.start();
  poke(r).handle.brakeStep = poke(r).handle.effectiveBrake = 0;
  poke(r).pos.precedingFrame = 1500;
  poke(r).index.patternTargetList = {{50000, 0, 0}};
  poke(r).train.speed = Fixed::fromInt(110);
  tick(t);
  EXPECT_EQ(poke(r).signals.patternState, 2);
  EXPECT_TRUE(poke(r).handle.protectionBrake);
  EXPECT_TRUE(poke(r).display.Lamp_Atsp1);
  EXPECT_TRUE(poke(r).display.Lamp_Atsp2);
  EXPECT_EQ(t.sound.playCount(kAtc), 1);
  poke(r).train.speed = Fixed::fromInt(80);  // slow enough now, but the braking holds
  tick(t);
  EXPECT_EQ(poke(r).signals.patternState, 2);
  poke(r).pos.precedingFrame = 2500;  // the signal clears
  tick(t);
  EXPECT_EQ(poke(r).signals.patternState, 0);
  EXPECT_FALSE(poke(r).handle.protectionBrake);
  EXPECT_FALSE(poke(r).display.Lamp_Atsp1);
  EXPECT_FALSE(poke(r).display.Lamp_Atsp2);
  EXPECT_EQ(t.sound.playCount(kAtc), 2);
}

// A 60 km/h limit 300 m ahead is a 65 km/h target: at 100 km/h d2 = 295.1 m > 250 m (state 1),
// at 110 km/h d1 = 341.8 m > 290 m (state 2); below 65 km/h it releases.
TEST(PatternControl, brakes_for_a_speed_limit_and_releases_below_it) {
  PatternRun t;
  auto& r = t.start();
  poke(r).handle.brakeStep = poke(r).handle.effectiveBrake = 0;
  poke(r).index.patternTargetList = {{30000, 60, -1}};
  poke(r).train.speed = Fixed::fromInt(100);
  tick(t);
  EXPECT_EQ(poke(r).signals.patternState, 1);
  EXPECT_TRUE(poke(r).display.Lamp_Atsp1);
  EXPECT_FALSE(poke(r).display.Lamp_Atsp2);
  EXPECT_FALSE(poke(r).handle.protectionBrake);
  poke(r).train.speed = Fixed::fromInt(110);
  tick(t);
  EXPECT_EQ(poke(r).signals.patternState, 2);
  EXPECT_TRUE(poke(r).handle.protectionBrake);
  poke(r).train.speed = Fixed::fromInt(62);
  tick(t);
  EXPECT_EQ(poke(r).signals.patternState, 0);
  EXPECT_FALSE(poke(r).handle.protectionBrake);
}

TEST(PatternControl, targets_behind_or_600_m_ahead_are_out_of_range) {
  PatternRun t;
  auto& r = t.start();
  poke(r).pos.distance = 10000;
  poke(r).index.patternTargetList = {{10000, 30, -1}, {70000, 30, -1}};
  poke(r).train.speed = Fixed::fromInt(110);
  r.tickStep(TickStep::PatternControl);
  EXPECT_EQ(poke(r).signals.patternState, 0);
  EXPECT_EQ(poke(r).signals.targetSpeed, 999);
}

// --- Cab signalling --------------------------------------------------------------------------

TEST(CabSignalBrake, over_the_aspect_speed_applies_and_below_it_releases) {
  SignalRun t(2);
  t.data.route.SignalTable[0].kind = 2;
  auto& r = t.start();
  poke(r).handle.brakeStep = poke(r).handle.effectiveBrake = 0;
  poke(r).pos.precedingFrame = 2500;  // first signal: kind 2, level 1 -> index 6 (stop)
  poke(r).pos.frame = 500;
  poke(r).train.speed = Fixed::fromInt(50);
  tick(t);
  EXPECT_EQ(poke(r).signals.shownIndex, 6);
  EXPECT_TRUE(poke(r).display.Lamp_R);
  EXPECT_TRUE(poke(r).handle.protectionBrake);  // a stop aspect brakes at any speed
  poke(r).pos.precedingFrame = 3500;            // level 2: caution (index 7), 45 km/h
  tick(t);
  EXPECT_EQ(poke(r).signals.shownIndex, 7);
  EXPECT_TRUE(poke(r).display.Lamp_Y);
  EXPECT_FALSE(poke(r).display.Lamp_R);
  EXPECT_TRUE(poke(r).handle.protectionBrake);
  poke(r).train.speed = Fixed::fromInt(40);
  tick(t);
  EXPECT_FALSE(poke(r).handle.protectionBrake);
  EXPECT_FALSE(poke(r).signals.cabSignalBrake);
  EXPECT_GE(t.sound.playCount(kAtc), 2);
}

TEST(CabSignalBrake, a_strong_service_brake_is_left_to_the_driver) {
  SignalRun t(2);
  auto& r = t.start();
  poke(r).handle.brakeStep = -7;  // 1 - [Brake]
  poke(r).train.speed = Fixed::fromInt(120);
  r.tickStep(TickStep::CabSignalBrake);
  EXPECT_FALSE(poke(r).handle.protectionBrake);
  poke(r).handle.brakeStep = -6;
  r.tickStep(TickStep::CabSignalBrake);
  EXPECT_TRUE(poke(r).handle.protectionBrake);
}

// --- Vigilance device -------------------------------------------------------------------------

TEST(VigilanceDevice, rings_after_601_ticks_and_brakes_50_ticks_later) {
  SignalRun t;
  t.data.vehicle.EB = 1;
  auto& r = t.start();
  poke(r).train.speed = Fixed::fromInt(50);
  for (int i = 0; i < 600; ++i) r.tickStep(TickStep::VigilanceDevice);
  EXPECT_FALSE(poke(r).display.Lamp_EB);
  r.tickStep(TickStep::VigilanceDevice);
  EXPECT_TRUE(poke(r).display.Lamp_EB);
  EXPECT_TRUE(t.sound.isPlaying(6));
  for (int i = 0; i < 49; ++i) r.tickStep(TickStep::VigilanceDevice);
  EXPECT_FALSE(poke(r).handle.atsEmergency);
  r.tickStep(TickStep::VigilanceDevice);
  EXPECT_TRUE(poke(r).handle.atsEmergency);
  EXPECT_FALSE(t.sound.isPlaying(6));
  EXPECT_EQ(poke(r).vigilance.counter, 0);
}

TEST(VigilanceDevice, follow_mode_switches_it_off_for_the_run) {
  SignalRun t;
  t.data.vehicle.EB = 1;
  auto& r = t.start();
  poke(r).train.speed = Fixed::fromInt(50);
  t.app.followMode = true;
  r.tickStep(TickStep::VigilanceDevice);
  t.app.followMode = false;
  for (int i = 0; i < 700; ++i) r.tickStep(TickStep::VigilanceDevice);
  EXPECT_EQ(poke(r).vigilance.counter, 0);
  EXPECT_FALSE(poke(r).handle.atsEmergency);
}

}  // namespace
}  // namespace velmoria
