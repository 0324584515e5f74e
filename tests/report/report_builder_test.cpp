// The run report of scripted drives of the fixture line (tests/data), built as velmoria-drive
// and the desktop program build it: the record driven on a headless run, the builder fed
// after every tick.
#include "report/report_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "app/drive/fixture_copy.h"
#include "replay/count_only_video.h"
#include "report/record_replay.h"
#include "report/report_json.h"
#include "report/score.h"
#include "support/json_check.h"

namespace velmoria::report {
namespace {

replay::Script scriptOf(const std::string& text) {
  std::istringstream in(text);
  auto parsed = replay::parseScript(in);
  EXPECT_TRUE(parsed.script) << (parsed.error ? parsed.error->message : "");
  return parsed.script.value_or(replay::Script{});
}

RunReport driveOn(const std::string& dataDir, const std::string& script) {
  return replayRecord(dataDir, "train_test.dat", "line_test.dat",
                      std::make_unique<replay::CountOnlyVideo>(16340), nullptr, scriptOf(script),
                      nullptr)
      .report;
}

std::vector<EventKind> kinds(const RunReport& r) {
  std::vector<EventKind> out;
  for (const auto& e : r.events) out.push_back(e.kind);
  return out;
}

// Jumped to 東雲, the train runs at the filmed speed (Shift+F1), 45 km/h through frames
// 12665..13565. The limit there becomes 35 km/h over 150 frames, five seconds at that speed;
// the block signal's warning point is moved into its view, where it shows clear, so that the
// train stop has nothing to say.
TEST(RunReportDrive, ten_kmh_over_a_limit_for_five_seconds_is_that_overspeed_and_costs_it) {
  const drive::FixtureCopy copy("line_test.dat");
  copy.edit("line_test.dat", "45,2,0,12665,13565", "35,2,0,12665,12815");
  copy.edit("line_test.dat", ",12040,12540,11940,12520,", ",12040,12540,12100,12520,");
  const RunReport r = driveOn(copy.dir().string(),
                              "0 start\n100 station 3\n200 key 5\n"
                              "6200 vkey F1 shift\n105000 quit\n");
  ASSERT_EQ(kinds(r), std::vector<EventKind>{EventKind::Overspeed});
  const RunEvent& e = r.events[0];
  EXPECT_EQ(e.limitKmh, 35);
  EXPECT_EQ(e.limit, LimitSource::SpeedLimit);
  EXPECT_NEAR(e.excessKmh, 10, 0.2);
  EXPECT_NEAR(e.durationS, 5, 0.2);
  // Where it began: the start of the section, within the tick that entered it.
  const auto section = std::find_if(r.chart.limit.begin(), r.chart.limit.end(),
                                    [](const ChartPoint& p) { return p.kmh == 35; });
  ASSERT_NE(section, r.chart.limit.end());
  EXPECT_NEAR(e.distanceM, section->distanceM + 0.7, 0.7);
  EXPECT_TRUE(r.stations.empty());
  EXPECT_TRUE(r.missed.empty());

  const auto item = std::find_if(r.breakdown.begin(), r.breakdown.end(),
                                 [](const ScoreItem& i) { return i.rule == "overspeed"; });
  ASSERT_NE(item, r.breakdown.end());
  EXPECT_NEAR(item->points, points::kOverspeed + points::kOverspeedPerKmhS * 10 * 5, 1);
  double total = 0;
  for (const auto& i : r.breakdown) total += i.points;
  EXPECT_NEAR(r.score, 100 - total, 0.05);
  EXPECT_LT(r.score, 100 - item->points + 0.05);
}

// 東雲's starting signal shows stop until 10:08:13; the jump puts the clock 5 s before that
// and Shift+F9 takes it back 30 s more. The train sets off under full power and Shift+F12
// gives it 50 km/h: more than it can stop from before the signal.
TEST(RunReportDrive, a_drive_past_a_signal_at_stop_lists_the_alarm_and_the_emergency_brake) {
  const RunReport r = driveOn(VELMORIA_TEST_DATA,
                              "0 start\n100 station 3\n200 vkey F9 shift\n300 key 5\n"
                              "400 key 8\n500 key 8\n600 key 8\n700 key 8\n"
                              "3000 vkey F12 shift\n3000 vkey F12 shift\n3000 vkey F12 shift\n"
                              "3000 vkey F12 shift\n3000 vkey F12 shift\n40000 quit\n");
  // The warning's alarm, not answered; the signal passed; the emergency brake five seconds
  // after the bell began, as the train stop's [ATS_Time] says.
  ASSERT_EQ(kinds(r),
            (std::vector<EventKind>{EventKind::TrainStopAlarm, EventKind::SignalPassedAtStop,
                                    EventKind::ProtectionEmergency}));
  EXPECT_EQ(r.events[0].cause, AlarmCause::Warning);
  EXPECT_EQ(r.events[1].signal, "東雲 出発");
  EXPECT_FALSE(r.events[2].serviceBrake);
  EXPECT_NEAR(r.events[2].clockTicks - r.events[0].clockTicks, 5 * 30, 10);
  EXPECT_EQ(r.trainStopWarnings, 0);
  double lost = 0;
  for (const auto& i : r.breakdown)
    if (i.rule == "train_stop_alarm" || i.rule == "protection_emergency" ||
        i.rule == "signal_passed_at_stop")
      lost += i.points;
  EXPECT_DOUBLE_EQ(
      lost, points::kTrainStopAlarm + points::kProtectionEmergency + points::kSignalPassedAtStop);
}

TEST(RunReportDrive, a_warning_acknowledged_in_time_is_counted_but_is_no_event) {
  // The same start, slower: the driver brakes and acknowledges as the bell rings, and stops.
  const RunReport r = driveOn(VELMORIA_TEST_DATA,
                              "0 start\n100 station 3\n200 vkey F9 shift\n300 key 5\n"
                              "400 key 8\n500 key 8\n600 key 8\n700 key 8\n"
                              "3000 vkey F12 shift\n3000 vkey F12 shift\n"
                              "6000 key 5\n6100 key 2\n6200 key 2\n6300 key 2\n6400 key 2\n"
                              "6500 key 2\n6600 key 2\n6700 key 2\n7000 key space\n"
                              "7500 key space\n40000 quit\n");
  EXPECT_TRUE(r.events.empty()) << eventKindName(r.events.front().kind);
  EXPECT_EQ(r.trainStopWarnings, 1);
}

TEST(RunReportDrive, a_drive_that_ends_before_the_first_station_is_well_formed) {
  // The doors shut once the clock passes 10:00:40; the train runs for half a minute.
  const RunReport r =
      driveOn(VELMORIA_TEST_DATA,
              "0 start\n100 vkey F10 shift\n200 vkey F10 shift\n3000 key 5\n3100 key 8\n"
              "3200 key 8\n33000 key 0\n40000 quit\n");
  EXPECT_FALSE(r.terminus);
  EXPECT_TRUE(r.stations.empty());
  EXPECT_TRUE(r.missed.empty());
  EXPECT_GT(r.endM, r.startM + 50);
  EXPECT_LT(r.endM, 2000);
  EXPECT_FALSE(r.samples.empty());
  const std::string json = reportJson(r);
  test::JsonCheck check(json);
  EXPECT_TRUE(check.ok()) << check.error;
  for (const char* key : {"\"score\": ", "\"stations\": []", "\"events\": [", "\"terminus\": false",
                          "\"score_breakdown\": [", "\"chart\": {", "\"samples\": {"})
    EXPECT_NE(json.find(key), std::string::npos) << key;
}

TEST(RunReportDrive, a_drive_that_never_moves_is_well_formed_too) {
  const RunReport r = driveOn(VELMORIA_TEST_DATA, "0 start\n2000 quit\n");
  EXPECT_TRUE(r.stations.empty());
  EXPECT_TRUE(r.events.empty());
  EXPECT_EQ(r.score, 100);
  test::JsonCheck check(reportJson(r));
  EXPECT_TRUE(check.ok()) << check.error;
}

TEST(RunReportDrive, a_jump_before_the_train_moved_starts_the_drive_at_that_station) {
  // Two seconds standing at 北野, then the Move menu puts the train at 東雲 and it stands there.
  const RunReport r = driveOn(VELMORIA_TEST_DATA, "0 start\n2000 station 3\n6000 quit\n");
  const ChartLine& c = r.chart;
  ASSERT_EQ(c.stations.size(), 5u);
  EXPECT_NEAR(r.startM, c.stations[3].distanceM, 50);
  EXPECT_NEAR(r.startClock, r.endClock, 5 * 30);
  ASSERT_FALSE(r.samples.empty());
  EXPECT_NEAR(r.samples.front().distanceM, r.startM, 1);
}

TEST(RunReportDrive, a_jump_after_the_train_moved_keeps_the_start) {
  const RunReport r = driveOn(VELMORIA_TEST_DATA,
                              "0 start\n100 vkey F10 shift\n200 vkey F10 shift\n3000 key 5\n"
                              "3100 key 8\n3200 key 8\n20000 station 3\n24000 quit\n");
  EXPECT_LT(r.startM, 20);
  EXPECT_LT(r.samples.front().distanceM, 20);
  EXPECT_GT(r.endM, r.chart.stations[3].distanceM - 50);
}

TEST(RunReportChart, the_line_holds_its_limits_stations_signals_and_filmed_speed) {
  const auto run = replayRecord(VELMORIA_TEST_DATA, "train_test.dat", "line_test.dat",
                                std::make_unique<replay::CountOnlyVideo>(16340), nullptr,
                                scriptOf("0 quit\n"), nullptr);
  const ChartLine& c = run.report.chart;
  ASSERT_EQ(c.stations.size(), 5u);
  EXPECT_EQ(c.stations[1].label, "南台");
  EXPECT_NEAR(c.stations[1].distanceM, 2008.6, 0.1);
  EXPECT_EQ(c.signals.size(), 10u);
  // The vehicle's 100 km/h, the 65 and the 45 km/h sections and back to 100 each time.
  std::vector<double> steps;
  for (const auto& p : c.limit) steps.push_back(p.kmh);
  EXPECT_EQ(steps, (std::vector<double>{100, 65, 100, 45, 100, 100}));
  EXPECT_DOUBLE_EQ(c.limit.front().distanceM, 0);
  EXPECT_NEAR(c.limit.back().distanceM, 8074.5 + 600 * 5 / 3.6 / 30, 1);
  EXPECT_EQ(c.recorded.front().kmh, 5);
  EXPECT_EQ(c.brakeSteps, 8);
  EXPECT_EQ(c.powerNotches, 4);
}

TEST(RunReportSamples, stay_bounded_on_a_long_drive) {
  // Standing for an hour: the samples thin out instead of growing without end.
  const RunReport r = driveOn(VELMORIA_TEST_DATA, "0 start\n3600000 quit\n");
  EXPECT_LT(r.samples.size(), kMaxSamples);
  EXPECT_GT(r.samples.size(), kMaxSamples / 2);
  EXPECT_EQ(r.sampleTicks, 8);
  EXPECT_NEAR(r.samples.back().clockS - r.samples.front().clockS,
              (r.endClock - r.startClock) / 30.0, 1.0);
}

}  // namespace
}  // namespace velmoria::report
