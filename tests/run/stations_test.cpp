#include "run/stations.h"

#include <gtest/gtest.h>

#include "support/run_ticks.h"
#include "support/steps.h"

namespace velmoria {
namespace {

using test::attachWave;
using test::TestRun;
using test::tick;

constexpr int kDoorOpen = 4, kDoorClose = 5, kStopAlert = 10, kDepSign = 19;
constexpr int kArrival = 20, kMelody = 21;  // route sounds 0 and 1
constexpr int32_t kDeparture = 36000, kClose = 36300;

// Distances are measured from the frames at set-up.
StationEntry station(const std::string& name, int type, int32_t zone, int32_t closeTime = kClose) {
  StationEntry s;
  s.name = name;
  s.type = type;
  s.zoneStart = zone;
  s.stopFrame = zone + 100;
  s.arrivalSound = 0;
  s.departureSound = 1;
  s.departureTime = kDeparture;
  s.closeTime = closeTime;
  return s;
}

// A stopping station A, a stopping station B, a passing station P and the terminus C.
struct StationRun : TestRun {
  StationRun() {
    data.vehicle.DepSign = kDepSign;
    data.route.SoundDataList = {"arrive.wav", "melody.wav"};
    data.route.StationTable = {station("A", 0, 0), station("B", 0, 1000), station("P", 1, 2000),
                               station("C", 0, 3000, kTerminusTime)};
    data.strings.Stop = "停車";
    data.strings.Pass = "通過";
    data.strings.Stop2 = "停車2";
    data.images.SignImageList.resize(1);
  }
  Run& start() {
    Run& r = makeUnlocked();
    attachWave(*this, kArrival, 2000);
    attachWave(*this, kMelody, 3000);
    poke(r).handle.doorOpen = false;
    poke(r).handle.doorSoundOpening = false;
    return r;
  }
};

TEST(Stations, a_stop_from_announcement_to_the_next_station) {
  StationRun t;
  auto& r = t.start();
  poke(r).pos.frame = 500;  // between A and B
  tick(t);
  EXPECT_EQ(poke(r).display.Label4.text, "B停車");

  poke(r).pos.frame = 1050;  // in B's zone, standing
  poke(r).pos.clockTicks = kDeparture - 300;
  tick(t);
  EXPECT_EQ(poke(r).display.stop.picture, 0);
  EXPECT_EQ(poke(r).display.Label4.text, "B");
  EXPECT_TRUE(poke(r).handle.doorOpen);
  EXPECT_TRUE(t.sound.isPlaying(kDoorOpen));
  EXPECT_TRUE(t.sound.isPlaying(kArrival));
  EXPECT_EQ(t.sound.playCount(kArrival), 1);
  EXPECT_TRUE(poke(r).display.Lamp_Door);  // the pilot lamp goes out on the next tick (step 5)
  tick(t, 5);
  EXPECT_FALSE(poke(r).display.Lamp_Door);
  EXPECT_EQ(t.sound.playCount(kArrival), 1);  // the doors are open: no second arrival

  poke(r).pos.clockTicks = kDeparture + 1;
  tick(t);
  EXPECT_TRUE(t.sound.isPlaying(kMelody));
  // The passing station is skipped: the terminus is next.
  EXPECT_EQ(poke(r).pos.nextStopDistance, r.route().StationTable[3].distance);

  poke(r).pos.clockTicks = kClose + 1;
  tick(t, 29);  // the 3 s melody still plays: the doors wait
  EXPECT_EQ(t.sound.playCount(kDoorClose), 0);
  tick(t);
  EXPECT_FALSE(t.sound.isPlaying(kMelody));
  EXPECT_EQ(t.sound.playCount(kDoorClose), 1);
  EXPECT_TRUE(poke(r).stations.doorsClosedMark[1]);
  EXPECT_TRUE(poke(r).handle.doorOpen);  // until the closing sound has ended
  EXPECT_FALSE(poke(r).display.Lamp_Door);

  const int before = poke(r).stations.current;
  tick(t, 10);  // the 1 s closing sound ends
  EXPECT_FALSE(poke(r).handle.doorOpen);
  EXPECT_TRUE(poke(r).display.Lamp_Door);
  EXPECT_EQ(t.sound.playCount(kDepSign), 1);
  EXPECT_EQ(poke(r).stations.current, before + 1);

  poke(r).pos.frame = 1500;  // between B and P: the passing station is announced
  tick(t);
  EXPECT_EQ(poke(r).display.Label4.text, "P通過");
  EXPECT_EQ(poke(r).display.stop.picture, -1);
  poke(r).pos.frame = 2500;  // between P and C
  tick(t);
  EXPECT_EQ(poke(r).display.Label4.text, "C停車");
}

TEST(Stations, the_mr_loses_30_kpa_at_the_arrival) {
  StationRun t;
  auto& r = t.start();
  poke(r).air.mr = Fixed::fromInt(800);
  poke(r).pos.frame = 1050;
  r.tickStep(TickStep::StationStops);
  EXPECT_EQ(poke(r).air.mr, Fixed::fromInt(770));
}

TEST(Stations, with_one_man_operation_the_arrival_repeats_until_the_driver_opens) {
  StationRun t;
  t.data.route.OneMan = 1;
  auto& r = t.start();
  poke(r).air.mr = Fixed::fromInt(800);
  poke(r).pos.frame = 1050;
  for (int i = 0; i < 3; ++i) r.tickStep(TickStep::StationStops);
  EXPECT_FALSE(poke(r).handle.doorOpen);
  EXPECT_EQ(t.sound.playCount(kArrival), 3);
  EXPECT_EQ(poke(r).air.mr, Fixed::fromInt(710));
}

TEST(Stations, a_type_two_station_plays_its_melody_with_the_doors_shut) {
  StationRun t;
  t.data.route.StationTable[1].type = 2;
  auto& r = t.start();
  poke(r).pos.frame = 1050;
  poke(r).pos.clockTicks = kClose + 1;
  tick(t);
  EXPECT_FALSE(poke(r).handle.doorOpen);
  EXPECT_TRUE(t.sound.isPlaying(kMelody));
  tick(t, 40);
  EXPECT_EQ(t.sound.playCount(kDoorClose), 0);
  EXPECT_FALSE(poke(r).stations.doorsClosedMark[1]);
}

TEST(Stations, at_the_terminus_the_caption_says_so_and_the_next_stop_stays) {
  StationRun t;
  auto& r = t.start();
  poke(r).pos.nextStopDistance = 1;
  poke(r).pos.frame = 3050;  // the terminus, a time before the run: the melody fires at once
  poke(r).pos.clockTicks = kDeparture + 1;
  tick(t);
  EXPECT_TRUE(poke(r).handle.doorOpen);
  EXPECT_TRUE(t.sound.isPlaying(kMelody));
  EXPECT_EQ(poke(r).pos.nextStopDistance, 1);
  EXPECT_NE(poke(r).display.caption, "終点に到着しました。Backボタンで戻ってください。");
  tick(t, 30);  // the melody ends; the terminus never closes its doors
  EXPECT_EQ(poke(r).display.caption, "終点に到着しました。Backボタンで戻ってください。");
  EXPECT_TRUE(poke(r).handle.doorOpen);
  tick(t, 10);
  EXPECT_EQ(poke(r).display.caption, "終点に到着しました。Backボタンで戻ってください。");
}

TEST(Stations, the_last_station_has_no_next_to_announce) {
  StationRun t;
  auto& r = t.start();
  poke(r).display.Label4.text = "before";
  poke(r).pos.frame = 9000;  // beyond the terminus
  tick(t);
  EXPECT_EQ(poke(r).display.Label4.text, "before");
}

TEST(Stations, marks_cover_every_station_of_a_long_table) {
  StationRun t;
  auto& table = t.data.route.StationTable;
  table.clear();
  for (int i = 0; i < 150; ++i) table.push_back(station("S" + std::to_string(i), 0, i * 1000));
  auto& r = t.start();
  poke(r).pos.frame = 120 * 1000 + 50;
  tick(t);
  EXPECT_EQ(poke(r).stations.atStation.size(), 150u);
  EXPECT_TRUE(poke(r).stations.atStation[120]);
  EXPECT_EQ(poke(r).display.Label4.text, "S120");
  EXPECT_TRUE(poke(r).handle.doorOpen);
}

// --- Stop-position indicator -------------------------------------------------------------

struct MarkerCase {
  long double remaining;  // cm
  int top;
  const char* digits;
};
class StopMarkerTest : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(StopMarkerTest, places_the_marker_and_the_digits) {
  StationRun t;
  auto& r = t.start();
  poke(r).display.stoplineTop = 1234;
  poke(r).pos.remaining = GetParam().remaining;
  r.tickStep(TickStep::StopPositionIndicator);
  EXPECT_EQ(poke(r).display.stoplineTop, GetParam().top);
  EXPECT_EQ(poke(r).display.remainTop, GetParam().top + 16);
  EXPECT_EQ(poke(r).display.remain.text, GetParam().digits);
}

INSTANTIATE_TEST_SUITE_P(Remaining, StopMarkerTest,
                         ::testing::Values(MarkerCase{0, 232, "0"}, MarkerCase{19900, -7, "199"},
                                           MarkerCase{19999, -8, "200"}, MarkerCase{20000, -20, ""},
                                           MarkerCase{5000, 172, "50"},
                                           MarkerCase{-4999, 292, "-50"},
                                           MarkerCase{-5000, 292, ""}, MarkerCase{-10000, 1234, ""},
                                           MarkerCase{-10001, 366, ""}));

// --- Clock --------------------------------------------------------------------------------

TEST(Clock, the_label_changes_only_on_every_tenth_tick) {
  StationRun t;
  auto& r = t.start();
  poke(r).pos.clockTicks = 30 * 3600 * 10 + 30 * 61;  // 10:01:01
  tick(t, 9);
  EXPECT_EQ(poke(r).display.Label3.text, "00:00:00");
  tick(t);
  EXPECT_EQ(poke(r).display.Label3.text, "10:01:01");
}

TEST(Clock, hours_are_not_wrapped_and_single_digits_get_a_zero) {
  EXPECT_EQ(clockText(30 * 3600 * 25), "25:00:00");
  EXPECT_EQ(clockText(30 * (3600 * 7 + 60 * 5 + 9) + 29), "07:05:09");
}

TEST(Clock, the_hands_point_by_hour_minute_and_second) {
  StationRun t;
  t.data.vehicle.Clock = {100, 100, 20};
  auto& r = t.start();
  poke(r).stations_.timecalc(30 * (3 * 3600 + 15));  // 3:00:15
  // hour hand 12 long at 90 degrees, minute 20 long at 1.5 degrees, second 20 at 90 degrees
  EXPECT_TRUE(poke(r).display.clock.drawn);
  EXPECT_EQ(poke(r).display.clock.hourX, 37);
  EXPECT_EQ(poke(r).display.clock.hourY, 25);
  EXPECT_EQ(poke(r).display.clock.minuteX, 26);  // 20 sin 1.5 = 0.52
  EXPECT_EQ(poke(r).display.clock.minuteY, 5);
  EXPECT_EQ(poke(r).display.clock.secondX, 45);
  EXPECT_EQ(poke(r).display.clock.secondY, 25);
}

TEST(Clock, no_hands_without_a_clock_position) {
  StationRun t;
  t.data.vehicle.Clock = {0, 100, 20};
  auto& r = t.start();
  poke(r).stations_.timecalc(30 * 3600);
  EXPECT_FALSE(poke(r).display.clock.drawn);
}

// --- Timetable card, stopping-point alert, overrun -------------------------------------------

TEST(TimetableCard, slides_30_pixels_a_tick_and_stops_at_its_edges) {
  StationRun t;
  auto& r = t.start();
  poke(r).display.cardWidth = 100;
  poke(r).display.cardShown = true;
  r.tickStep(TickStep::TimetableCardSlide);
  EXPECT_EQ(poke(r).display.cardLeft, 610);
  r.tickStep(TickStep::TimetableCardSlide);
  r.tickStep(TickStep::TimetableCardSlide);
  r.tickStep(TickStep::TimetableCardSlide);  // 520 is below 540
  EXPECT_EQ(poke(r).display.cardLeft, 540);
  poke(r).display.cardShown = false;
  r.tickStep(TickStep::TimetableCardSlide);
  EXPECT_EQ(poke(r).display.cardLeft, 570);
  r.tickStep(TickStep::TimetableCardSlide);
  r.tickStep(TickStep::TimetableCardSlide);
  EXPECT_EQ(poke(r).display.cardLeft, 630);
  r.tickStep(TickStep::TimetableCardSlide);
  EXPECT_EQ(poke(r).display.cardLeft, 640);
}

TEST(StoppingPointAlert, rings_inside_the_braking_distance_and_blinks) {
  StationRun t;
  auto& r = t.start();
  poke(r).train.speed = Fixed::fromInt(60);  // 60^2 / 18 = 200 m: rings below 325 m to go
  poke(r).pos.remaining = 32600;
  poke(r).tickCount = 9;
  r.tickStep(TickStep::StoppingPointAlert);
  EXPECT_FALSE(t.sound.isPlaying(kStopAlert));
  poke(r).pos.remaining = 32400;
  poke(r).tickCount = 10;
  r.tickStep(TickStep::StoppingPointAlert);
  EXPECT_TRUE(t.sound.isLooping(kStopAlert));
  EXPECT_TRUE(poke(r).display.Lamp_stopalert);
  poke(r).tickCount = 15;
  r.tickStep(TickStep::StoppingPointAlert);
  EXPECT_FALSE(poke(r).display.Lamp_stopalert);
  poke(r).tickCount = 20;
  r.tickStep(TickStep::StoppingPointAlert);
  EXPECT_TRUE(poke(r).display.Lamp_stopalert);
  // Standing with the doors open silences it and restores its volume.
  t.sound.setVolume(kStopAlert, -800);
  poke(r).train.speed = Fixed::from(0.5L);
  poke(r).pos.remaining = 100000;
  poke(r).handle.doorOpen = true;
  r.tickStep(TickStep::StoppingPointAlert);
  EXPECT_FALSE(t.sound.isPlaying(kStopAlert));
  EXPECT_FALSE(poke(r).display.Lamp_stopalert);
  EXPECT_EQ(t.sound.volume(kStopAlert), 0);
}

TEST(OverrunAnnouncement, plays_once_per_station_after_an_overrun) {
  StationRun t;
  t.data.route.AnnounceTable = {{1, 0}};
  auto& r = t.start();
  poke(r).pos.frame = 1500;  // past B's zone: no station mark is set
  poke(r).pos.remaining = -500;
  r.tickStep(TickStep::OverrunAnnouncement);
  r.tickStep(TickStep::OverrunAnnouncement);
  EXPECT_EQ(t.sound.playCount(kMelody), 1);
  poke(r).stations.current = 2;
  r.tickStep(TickStep::OverrunAnnouncement);
  EXPECT_EQ(t.sound.playCount(kMelody), 2);
}

// --- Station jump ------------------------------------------------------------------------------

TEST(StationClick, puts_the_train_at_the_stopping_point_five_seconds_before_departure) {
  StationRun t;
  t.data.route.StartPos = 0;
  t.data.route.StartTime = 35000;
  t.data.route.Pre_Time = 60;
  t.data.route.FrameRate = 15;  // one frame every 2 clock ticks
  t.data.route.LineName = "本線";
  t.data.route.AnnounceTable.resize(6);
  auto& r = t.start();
  poke(r).stations.atStation[0] = 1;
  poke(r).handle.brakeStep = 0;
  poke(r).handle.powerNotch = 3;
  poke(r).train.speed = Fixed::fromInt(40);
  t.sound.playLooped(3);
  r.StationClick("Sta1");
  EXPECT_EQ(poke(r).pos.frame, 1050);
  EXPECT_EQ(poke(r).pos.clockTicks, kDeparture - 150);
  // 60 frames of head start plus (35850 - 35000) / 2 frames since the start.
  EXPECT_EQ(poke(r).pos.precedingFrame, 60 + 425);
  EXPECT_EQ(poke(r).display.Label4.text, "B");
  EXPECT_EQ(poke(r).display.caption, "本線");
  EXPECT_EQ(poke(r).train.speed, Fixed{});
  EXPECT_EQ(poke(r).handle.brakeStep, -8);
  EXPECT_EQ(poke(r).handle.effectiveBrake, -8);
  EXPECT_EQ(poke(r).handle.powerNotch, 0);
  EXPECT_FALSE(poke(r).handle.doorOpen);
  EXPECT_TRUE(poke(r).display.Lamp_Door);
  EXPECT_EQ(poke(r).pos.distance, r.route().StationTable[1].distance);
  EXPECT_EQ(poke(r).pos.nextStopDistance, r.route().StationTable[1].distance);
  EXPECT_EQ(poke(r).pos.remaining, 0);
  EXPECT_EQ(poke(r).pos.currentSegment, -1);
  EXPECT_EQ(poke(r).sounds.announceIndex, 2);  // one stopping station before B
  EXPECT_EQ(poke(r).stations.current, 1);
  EXPECT_FALSE(poke(r).stations.atStation[0]);
  EXPECT_FALSE(t.sound.isPlaying(3));
  EXPECT_EQ(poke(r).signals.shownIndex, 999);
  EXPECT_EQ(poke(r).signals.lastDrawnIndex, 999);
}

TEST(StationClick, an_unknown_entry_name_jumps_to_the_first_station) {
  StationRun t;
  auto& r = t.start();
  r.StationClick("Sta99");
  EXPECT_EQ(poke(r).pos.frame, 50);
  EXPECT_EQ(poke(r).stations.current, 0);
}

TEST(StationClick, inside_a_signal_range_the_signal_display_stays) {
  StationRun t;
  SignalEntry s;
  s.viewFrame = 900;
  s.signalFrame = 1200;
  t.data.route.SignalTable = {s};
  auto& r = t.start();
  poke(r).signals.shownIndex = 4;
  r.StationClick(1);
  EXPECT_EQ(poke(r).signals.shownIndex, 4);
  EXPECT_EQ(poke(r).signals.lastDrawnIndex, 1000);  // redrawn on the next tick
}

}  // namespace
}  // namespace velmoria
