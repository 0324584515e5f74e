#include <gtest/gtest.h>

#include "track_readers.h"

namespace velmoria::import {
namespace {

std::string gpx(const std::string& points) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<gpx version=\"1.1\" creator=\"t\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
         "xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v2\">\n"
         "<metadata><time>2000-01-01T00:00:00Z</time></metadata><trk><trkseg>\n" +
         points + "</trkseg></trk></gpx>\n";
}

std::string pt(const char* lat, const char* lon, const char* time, const char* extra = "") {
  return std::string("<trkpt lat=\"") + lat + "\" lon=\"" + lon + "\">" + extra +
         (time ? std::string("<time>") + time + "</time>" : "") + "</trkpt>\n";
}

TEST(GpxReader, reads_positions_times_elevations_and_speeds_in_time_order) {
  const Track t =
      readGpx(gpx(pt("35.1", "139.2", "2024-05-18T00:00:02Z", "<ele>12.5</ele>") +
                  pt("35.0", "139.0", "2024-05-18T00:00:01Z",
                     "<extensions><gpxtpx:TrackPointExtension><gpxtpx:speed>4.5</gpxtpx:speed>"
                     "</gpxtpx:TrackPointExtension></extensions>") +
                  pt("35.2", "139.4", "2024-05-18T09:00:03+09:00")),
              "t.gpx");
  ASSERT_EQ(t.points.size(), 3u);
  EXPECT_DOUBLE_EQ(t.points[0].lat, 35.0);
  EXPECT_DOUBLE_EQ(t.points[0].time, 1715990401);
  ASSERT_TRUE(t.points[0].speed);
  EXPECT_DOUBLE_EQ(*t.points[0].speed, 4.5);
  EXPECT_FALSE(t.points[0].elevation);
  ASSERT_TRUE(t.points[1].elevation);
  EXPECT_DOUBLE_EQ(*t.points[1].elevation, 12.5);
  EXPECT_DOUBLE_EQ(t.points[2].lon, 139.4);
  EXPECT_DOUBLE_EQ(t.points[2].time, 1715990403);
  EXPECT_TRUE(t.hasElevation());
  EXPECT_EQ(t.skipped, 0);
  EXPECT_TRUE(t.dated);
}

TEST(GpxReader, points_without_a_time_or_a_position_are_skipped_and_counted) {
  const Track t =
      readGpx(gpx(pt("35.0", "139.0", "2024-05-18T00:00:01Z") + pt("35.0", "139.0", nullptr) +
                  pt("x", "139.0", "2024-05-18T00:00:02Z") + pt("35.0", "139.0", "not a time") +
                  pt("35.0", "139.1", "2024-05-18T00:00:03Z") +
                  pt("95.0", "139.1", "2024-05-18T00:00:04Z")),
              "t.gpx");
  EXPECT_EQ(t.points.size(), 2u);
  EXPECT_EQ(t.skipped, 4);
}

TEST(GpxReader, a_file_cut_short_keeps_the_points_before_the_cut) {
  std::string text = gpx(pt("35.0", "139.0", "2024-05-18T00:00:01Z") +
                         pt("35.0", "139.1", "2024-05-18T00:00:02Z") +
                         pt("35.0", "139.2", "2024-05-18T00:00:03Z"));
  text.resize(text.find("139.2") + 3);
  const Track t = readGpx(text, "t.gpx");
  EXPECT_EQ(t.points.size(), 2u);
  EXPECT_NE(t.warning.find("ends early"), std::string::npos) << t.warning;
}

TEST(GpxReader, broken_xml_keeps_the_points_before_it) {
  const Track t =
      readGpx(gpx(pt("35.0", "139.0", "2024-05-18T00:00:01Z") +
                  pt("35.0", "139.1", "2024-05-18T00:00:02Z") + "<trkpt lat=\"1\" <<>>"),
              "t.gpx");
  EXPECT_EQ(t.points.size(), 2u);
  EXPECT_NE(t.warning.find("broken"), std::string::npos) << t.warning;
}

TEST(GpxReader, the_same_time_twice_keeps_the_first_fix) {
  const Track t = readGpx(gpx(pt("35.0", "139.0", "2024-05-18T00:00:01Z") +
                              pt("36.0", "139.0", "2024-05-18T00:00:01Z") +
                              pt("35.0", "139.1", "2024-05-18T00:00:02Z")),
                          "t.gpx");
  ASSERT_EQ(t.points.size(), 2u);
  EXPECT_DOUBLE_EQ(t.points[0].lat, 35.0);
}

struct Refusal {
  const char* name;
  std::string text;
  const char* message;
};

class GpxRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(GpxRefusal, names_what_is_missing) {
  try {
    readGpx(GetParam().text, "ride.gpx");
    ADD_FAILURE() << "read";
  } catch (const TrackError& e) {
    EXPECT_NE(std::string(e.what()).find(GetParam().message), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("ride.gpx"), std::string::npos) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GpxRefusal,
    ::testing::Values(
        Refusal{"no_times", gpx(pt("35", "139", nullptr) + pt("35.1", "139", nullptr)),
                "have no times"},
        Refusal{"no_points", gpx(""), "no track points"},
        Refusal{"route_points_only",
                "<gpx><rte><rtept lat=\"35\" lon=\"139\"><time>2024-05-18T00:00:01Z"
                "</time></rtept></rte></gpx>",
                "no track points"},
        Refusal{"one_fix", gpx(pt("35", "139", "2024-05-18T00:00:01Z")), "fewer than two"},
        Refusal{"not_xml", "hello", "no track points"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmoria::import
