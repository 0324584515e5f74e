#include "route_knowledge.h"

#include <gtest/gtest.h>

#include <cmath>

#include "autopilot.h"
#include "ini_settings.h"
#include "vehicle/route_distances.h"

namespace velmoria::drive {
namespace {

Route line() {
  Route r;
  r.SpeedUnitTable = {{0, 200, 5, 5}, {200, 1175, 5, 70}, {1175, 3215, 70, 70}};
  r.SpeedLimitTable.push_back(SpeedLimitEntry{65, 1, 0, 1175, 2000});
  StationEntry a;
  a.name = "A";
  a.zoneStart = 100;
  a.stopFrame = 300;
  StationEntry pass = a;
  pass.type = 1;
  StationEntry b = a;
  b.type = 2;
  b.zoneStart = 3000;
  b.stopFrame = 3200;
  r.StationTable = {a, pass, b};
  SignalEntry s1;
  s1.viewFrame = 0;
  s1.signalFrame = 600;
  SignalEntry s2;
  s2.viewFrame = 500;
  s2.signalFrame = 900;
  r.SignalTable = {s1, s2};
  return r;
}

// The line as the run's set-up leaves it, with its distances placed.
Route placedLine() {
  Route r = line();
  placeRouteDistances(r);
  return r;
}

TEST(RouteDistances, trapezoid_of_the_recorded_speed) {
  const Route r = placedLine();
  const RouteDistances d(r);
  EXPECT_EQ(d.at(0), 0);
  // 5 km/h for 100 frames: round(10 / 7.2 x 100/30 x 100) = round(462.96).
  EXPECT_EQ(d.at(100), 463);
  // The end of the first segment: round((5 + 5) x 200 / 2.16) = round(925.93).
  EXPECT_EQ(d.at(200), 926);
  // From 5 to 70 km/h over 975 frames: round(75 x 975 / 2.16) = 33854 more.
  EXPECT_EQ(d.at(1175), 926 + 33854);
  // Halfway through it: ((65/975) x 487 + 10) / 7.2 x (487/30) x 100.
  const long double half = (65.0L / 975 * 487 + 10) / 7.2L * (487.0L / 30) * 100;
  EXPECT_EQ(d.at(687), 926 + roundEven(half));
  // Beyond the table: the end of the last segment.
  EXPECT_EQ(d.at(99999), d.at(3215));
}

TEST(RouteKnowledge, stops_limits_and_signals) {
  const Route r = placedLine();
  const RouteKnowledge k(r);
  EXPECT_EQ(k.stops(), (std::vector<int>{0, 2}));
  ASSERT_EQ(k.limits().size(), 1u);
  EXPECT_EQ(k.limits()[0].speed, 65);
  EXPECT_EQ(k.limits()[0].startCm, 926 + 33854);
  // The mark is the middle of the zone: frame 200.
  EXPECT_EQ(k.stopMarkCm(0), 926);
  EXPECT_EQ(k.signalInView(550), 1);  // the later entry wins, as the run draws it
  EXPECT_EQ(k.signalInView(700), 1);
  EXPECT_EQ(k.signalInView(100), 0);
  EXPECT_EQ(k.signalInView(900), -1);
}

TEST(SignalAspects, display_index_groups) {
  const std::pair<int, Aspect> cases[] = {
      {0, Aspect::R},  {3, Aspect::R},    {17, Aspect::R},     {14, Aspect::YY},  {18, Aspect::YY},
      {4, Aspect::Y},  {19, Aspect::Y},   {11, Aspect::YG},    {20, Aspect::YG},  {2, Aspect::G},
      {21, Aspect::G}, {1, Aspect::None}, {999, Aspect::None}, {-1, Aspect::None}};
  for (const auto& [index, aspect] : cases) EXPECT_EQ(aspectOf(index), aspect) << index;
}

TEST(IniSettings, general_keys_and_sections) {
  const auto ini =
      IniSettings::fromText("[General]\nP0=12\r\nP1 = -5\nB0=\"7\"\nEB=x\n; note\n[Other]\nP2=3\n");
  EXPECT_EQ(ini.readInt("P0"), 12);
  EXPECT_EQ(ini.readInt("P1"), -5);
  EXPECT_EQ(ini.readInt("B0"), 7);
  EXPECT_FALSE(ini.readInt("EB"));  // not an integer
  EXPECT_FALSE(ini.readInt("P2"));  // another section
  EXPECT_EQ(ini.readInt("Other/P2"), 3);
  EXPECT_FALSE(IniSettings::fromFile("/nonexistent/dgcontroller.conf").readInt("P0"));
}

}  // namespace
}  // namespace velmoria::drive
