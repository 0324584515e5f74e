#include "route_builder.h"

#include <gtest/gtest.h>

#include "route_writer/route_writer.h"

namespace velmoria::import {
namespace {

constexpr double kStart = 1715992200;  // 00:30:00 UTC

// 6000 frames (200 s) at 30 fps: standing to 10 s, running, standing 100-130 s, running,
// standing from 180 s.
RideOnVideo ride() {
  RideOnVideo r;
  r.videoStart = kStart;
  r.fps = 30;
  r.firstFrame = 0;
  r.lastFrame = 5999;
  r.utcOffset = 9 * 3600;
  double d = 0;
  for (int f = 0; f <= 5999; ++f) {
    const double t = f / 30.0;
    const bool moving = (t > 10 && t < 100) || (t > 130 && t < 180);
    r.metres.push_back(d);
    if (moving) d += 20.0 / 30;
  }
  return r;
}

Route templ() {
  Route t;
  t.SoundDataList = {"over.wav", "arrive.wav", "melody.wav"};
  t.AnnounceTable = {{0, 0}, {2, 500}};
  StationEntry pass{"通過", 1, 0, 0, 0, 0, 0, 0, 0};
  StationEntry stop{"停車", 0, 0, 0, 1, 2, 0, 0, 0};
  t.StationTable = {pass, stop};
  t.SignImageFiles = {"image\\up.bmp", "image\\down.bmp"};
  t.Speed_G = 100;
  return t;
}

TEST(RouteBuilder, a_station_at_every_stop_with_its_mark_where_the_train_stood) {
  const RideOnVideo r = ride();
  const SpeedFit fit = fitSpeedTable(r.metres, 0);
  const std::vector<Stop> stops = {{kStart - 60, kStart + 10, 0},
                                   {kStart + 100, kStart + 130, 1800},
                                   {kStart + 180, kStart + 230, 2800}};
  const BuiltRoute b = buildRoute("ride", templ(), r, fit, stops,
                                  {{0, 1000, 3.5}, {1000, 2800, 0.2}}, "image\\ride_start.bmp");
  const Route& route = b.route;
  ASSERT_EQ(route.StationTable.size(), 3u);
  EXPECT_EQ(b.stopFrames, (std::vector<int>{0, 3000, 5400}));
  EXPECT_TRUE(b.hasTerminus);
  // Zones: the stopping point (the middle of fields 3 and 4) at the mark, never past the ends.
  for (size_t i = 0; i < 3; ++i) {
    const auto& st = route.StationTable[i];
    EXPECT_EQ(st.zoneStart + st.stopFrame, 2 * b.stopFrames[i]) << i;
    EXPECT_GE(st.zoneStart, 0);
    EXPECT_LE(st.stopFrame, 5999);
    EXPECT_EQ(st.type, 0);
    EXPECT_EQ(st.arrivalSound, 1);  // the template's first stopping station's sounds
    EXPECT_EQ(st.departureSound, 2);
    EXPECT_EQ(st.name, "駅" + std::to_string(i + 1));
  }
  EXPECT_EQ(route.StationTable[1].stopFrame - route.StationTable[1].zoneStart, 2 * kZoneHalf);
  // The clock: local (UTC+9) time; doors close 5 s and the melody 15 s before the recorded
  // departure, the terminus never closes.
  const int32_t at0930 = (9 * 3600 + 30 * 60) * 30;
  EXPECT_EQ(route.StationTable[1].closeTime, at0930 + 125 * 30);
  EXPECT_EQ(route.StationTable[1].departureTime, at0930 + 115 * 30);
  EXPECT_EQ(route.StationTable[2].closeTime, kTerminusTime);
  EXPECT_EQ(route.StationTable[2].departureTime, at0930 + 240 * 30);
  // Starting standing at the first station, half a minute before its melody.
  EXPECT_EQ(route.StartPos, 0);
  EXPECT_EQ(route.StartTime, route.StationTable[0].departureTime - 30 * 30);
  // Only gradients of half a per mille or more, placed by distance.
  ASSERT_EQ(route.SlopeTable.size(), 1u);
  EXPECT_EQ(route.SlopeTable[0].gradient, Fixed::from(3.5));
  EXPECT_EQ(route.SlopeTable[0].startFrame, 0);
  EXPECT_EQ(route.SlopeTable[0].endFrame, r.frameAtMetres(1000));
  // The template's lists, its overrun announcement alone, no signals.
  EXPECT_EQ(route.SoundDataList, templ().SoundDataList);
  ASSERT_EQ(route.AnnounceTable.size(), 1u);
  EXPECT_EQ(route.AnnounceTable[0].frame, 0);
  EXPECT_EQ(route.SignImageFiles, templ().SignImageFiles);
  EXPECT_TRUE(route.SignalTable.empty());
  EXPECT_EQ(route.StafStill, "image\\ride_start.bmp");
  EXPECT_EQ(route.DataName, "ride");
  EXPECT_EQ(route.SpeedUnitTable.size(), fit.segments.size());
  EXPECT_NO_THROW(routeFileBytes(route));
}

TEST(RouteBuilder, a_ride_that_starts_moving_starts_at_its_first_frame_without_a_station) {
  RideOnVideo r = ride();
  r.firstFrame = 600;  // the track begins 20 s into the video
  r.metres.erase(r.metres.begin(), r.metres.begin() + 600);
  const double origin = r.metres.front();
  for (double& m : r.metres) m -= origin;
  const SpeedFit fit = fitSpeedTable(r.metres, 600);
  const BuiltRoute b =
      buildRoute("ride", Route{}, r, fit,
                 {{kStart - 60, kStart + 10, 0}, {kStart + 100, kStart + 130, 1800}}, {}, "s.bmp");
  EXPECT_EQ(b.route.StartPos, 600);
  ASSERT_EQ(b.route.StationTable.size(), 1u);  // the stop before the track is not on the ride
  EXPECT_FALSE(b.hasTerminus);
  EXPECT_EQ(b.route.StartTime, (9 * 3600 + 30 * 60 + 20) * 30);
}

TEST(RouteBuilder, close_stops_get_zones_that_do_not_overlap) {
  const RideOnVideo r = ride();
  const SpeedFit fit = fitSpeedTable(r.metres, 0);
  const BuiltRoute b = buildRoute("ride", Route{}, r, fit,
                                  {{kStart + 100, kStart + 110, 0},
                                   {kStart + 120, kStart + 130, 0},
                                   {kStart + 160, kStart + 170, 0}},
                                  {}, "s.bmp");
  const auto& st = b.route.StationTable;
  ASSERT_EQ(st.size(), 3u);
  for (size_t i = 1; i < st.size(); ++i) EXPECT_LT(st[i - 1].stopFrame, st[i].zoneStart);
}

}  // namespace
}  // namespace velmoria::import
