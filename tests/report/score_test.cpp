#include "report/score.h"

#include <gtest/gtest.h>

#include <functional>

namespace velmoria::report {
namespace {

StationStopReport stop(double errorCm, double lateS = -30, int moves = 3) {
  StationStopReport s;
  s.name = "南台";
  s.stopErrorCm = errorCm;
  s.arrivalLateS = lateS;
  s.brakeMovements = moves;
  return s;
}

RunEvent event(EventKind kind) {
  RunEvent e;
  e.kind = kind;
  e.distanceM = 1200;
  return e;
}

RunEvent overspeed(double excess, double seconds) {
  RunEvent e = event(EventKind::Overspeed);
  e.excessKmh = excess;
  e.durationS = seconds;
  e.limitKmh = 65;
  return e;
}

struct ScoreCase {
  const char* what;
  std::function<void(RunReport&)> drive;
  double points;  // what the drive costs
  const char* rule;
};

class Score : public testing::TestWithParam<ScoreCase> {};

TEST_P(Score, costs_what_the_rule_says) {
  RunReport r;
  GetParam().drive(r);
  scoreReport(r);
  EXPECT_NEAR(r.score, 100 - GetParam().points, 1e-9);
  double sum = 0;
  for (const auto& i : r.breakdown) {
    sum += i.points;
    EXPECT_EQ(i.rule, GetParam().rule) << i.what;
  }
  EXPECT_NEAR(sum, GetParam().points, 1e-9);
  EXPECT_EQ(r.breakdown.empty(), GetParam().points == 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, Score,
    testing::Values(
        ScoreCase{"nothing", [](RunReport&) {}, 0, ""},
        ScoreCase{"on the mark", [](RunReport& r) { r.stations.push_back(stop(-50)); }, 0, ""},
        ScoreCase{"1.5 m over", [](RunReport& r) { r.stations.push_back(stop(150)); }, 2, "stop"},
        ScoreCase{"20 m short", [](RunReport& r) { r.stations.push_back(stop(-2000)); }, 10,
                  "stop"},
        ScoreCase{"30 s late", [](RunReport& r) { r.stations.push_back(stop(0, 30)); }, 3, "late"},
        ScoreCase{"early", [](RunReport& r) { r.stations.push_back(stop(0, -200)); }, 0, ""},
        ScoreCase{"very late", [](RunReport& r) { r.stations.push_back(stop(0, 900)); }, 5, "late"},
        ScoreCase{"fidgety stop", [](RunReport& r) { r.stations.push_back(stop(0, -5, 8)); }, 1,
                  "brake_handle"},
        ScoreCase{"very fidgety", [](RunReport& r) { r.stations.push_back(stop(0, -5, 30)); }, 2,
                  "brake_handle"},
        ScoreCase{"missed stop",
                  [](RunReport& r) {
                    r.missed.push_back(MissedStop{3, "東雲", 5296.8});
                  },
                  15, "missed_stop"},
        ScoreCase{"10 km/h over for 5 s",
                  [](RunReport& r) { r.events.push_back(overspeed(10, 5)); }, 12, "overspeed"},
        ScoreCase{"far over for long", [](RunReport& r) { r.events.push_back(overspeed(30, 60)); },
                  20, "overspeed"},
        ScoreCase{"alarm",
                  [](RunReport& r) { r.events.push_back(event(EventKind::TrainStopAlarm)); }, 5,
                  "train_stop_alarm"},
        ScoreCase{"protection emergency",
                  [](RunReport& r) { r.events.push_back(event(EventKind::ProtectionEmergency)); },
                  15, "protection_emergency"},
        ScoreCase{"protection brake",
                  [](RunReport& r) {
                    RunEvent e = event(EventKind::ProtectionEmergency);
                    e.serviceBrake = true;
                    r.events.push_back(e);
                  },
                  10, "protection_emergency"},
        ScoreCase{"driver emergency",
                  [](RunReport& r) { r.events.push_back(event(EventKind::DriverEmergency)); }, 5,
                  "driver_emergency"},
        ScoreCase{"signal passed at stop",
                  [](RunReport& r) { r.events.push_back(event(EventKind::SignalPassedAtStop)); },
                  25, "signal_passed_at_stop"},
        ScoreCase{"smooth", [](RunReport& r) { r.comfort.maxJerk = 1.5; }, 0, ""},
        ScoreCase{"jerky", [](RunReport& r) { r.comfort.maxJerk = 2.5; }, 2, "jerk"},
        ScoreCase{"very jerky", [](RunReport& r) { r.comfort.maxJerk = 40; }, 5, "jerk"},
        ScoreCase{"warnings answered", [](RunReport& r) { r.trainStopWarnings = 6; }, 0, ""}),
    [](const testing::TestParamInfo<ScoreCase>& info) {
      std::string name = info.param.what;
      for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

TEST(Score, adds_up_its_items_and_never_goes_below_zero) {
  RunReport r;
  r.stations.push_back(stop(150, 30));
  r.events.push_back(overspeed(10, 5));
  scoreReport(r);
  EXPECT_NEAR(r.score, 100 - 2 - 3 - 12, 1e-9);
  ASSERT_EQ(r.breakdown.size(), 3u);
  for (int i = 0; i < 8; ++i) r.events.push_back(event(EventKind::SignalPassedAtStop));
  scoreReport(r);
  EXPECT_EQ(r.score, 0);
}

TEST(Score, is_rounded_to_one_decimal) {
  RunReport r;
  r.stations.push_back(stop(61.3));  // 0.113 m beyond the free half metre: 0.226 points
  scoreReport(r);
  EXPECT_DOUBLE_EQ(r.score, 99.8);
  EXPECT_NEAR(r.breakdown.at(0).points, 0.226, 1e-9);
}

// Each item says which station, missed stop or event it costs, so that the window can word it;
// an entry that costs nothing leaves no gap in the counting.
TEST(Score, each_item_points_at_what_it_was_applied_to) {
  RunReport r;
  r.stations.push_back(stop(10));  // within the free half metre: no item
  r.stations.push_back(stop(-200, 20));
  r.missed.push_back({});
  r.missed.push_back({});
  r.events.push_back(event(EventKind::DriverEmergency));
  r.events.push_back(event(EventKind::TrainStopAlarm));
  r.comfort.maxJerk = 4;
  scoreReport(r);
  std::vector<std::pair<std::string, int>> got;
  for (const auto& i : r.breakdown) got.emplace_back(i.rule, i.of);
  EXPECT_EQ(got, (std::vector<std::pair<std::string, int>>{{"stop", 1},
                                                           {"late", 1},
                                                           {"missed_stop", 0},
                                                           {"missed_stop", 1},
                                                           {"driver_emergency", 0},
                                                           {"train_stop_alarm", 1},
                                                           {"jerk", -1}}));
}

}  // namespace
}  // namespace velmoria::report
