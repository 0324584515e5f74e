#include <gtest/gtest.h>

#include "track_readers.h"

namespace velmoria::import {
namespace {

TEST(CsvReader, reads_time_lat_lon_and_speed_without_a_header) {
  const Track t = readCsv(
      "2024-05-18T00:30:00Z,34.97,138.41,12.5\n"
      "2024-05-18T00:30:01Z, 34.9701 ,138.4101\r\n"
      "1715992202,34.9702,138.4102,13\n",
      "ride.csv");
  ASSERT_EQ(t.points.size(), 3u);
  EXPECT_DOUBLE_EQ(t.points[0].time, 1715992200);
  EXPECT_DOUBLE_EQ(*t.points[0].speed, 12.5);
  EXPECT_DOUBLE_EQ(t.points[1].lat, 34.9701);
  EXPECT_FALSE(t.points[1].speed);
  EXPECT_DOUBLE_EQ(t.points[2].time, 1715992202);
  EXPECT_FALSE(t.hasElevation());
}

TEST(CsvReader, a_header_names_the_columns_in_any_order_with_speed_in_km_h) {
  const Track t = readCsv(
      "\xEF\xBB\xBFlatitude,longitude,altitude,speed_kmh,timestamp\n"
      "34.97,138.41,20.5,36,2024-05-18T00:30:00Z\n"
      "34.9701,138.4101,21.0,72,2024-05-18T00:30:01Z\n",
      "ride.csv");
  ASSERT_EQ(t.points.size(), 2u);
  EXPECT_DOUBLE_EQ(*t.points[0].speed, 10);
  EXPECT_DOUBLE_EQ(*t.points[1].elevation, 21.0);
  EXPECT_DOUBLE_EQ(t.points[1].lon, 138.4101);
}

TEST(CsvReader, broken_lines_and_rows_without_a_time_are_skipped_and_counted) {
  const Track t = readCsv(
      "time,lat,lon\n"
      "2024-05-18T00:30:00Z,34.97,138.41\n"
      ",34.97,138.41\n"
      "2024-05-18T00:30:01Z,north,138.41\n"
      "2024-05-18T00:30:02Z,34.97\n"
      "# a comment\n"
      "\n"
      "2024-05-18T00:30:03Z,34.9703,138.4103\n",
      "ride.csv");
  EXPECT_EQ(t.points.size(), 2u);
  EXPECT_EQ(t.skipped, 3);
}

TEST(CsvReader, rows_that_all_lack_a_time_are_a_track_without_times) {
  try {
    readCsv("time,lat,lon\n,34.97,138.41\n,34.98,138.42\n", "ride.csv");
    ADD_FAILURE() << "read";
  } catch (const TrackError& e) {
    EXPECT_NE(std::string(e.what()).find("have no times"), std::string::npos) << e.what();
  }
  EXPECT_THROW(readCsv("time,lat,lon\n", "ride.csv"), TrackError);
}

}  // namespace
}  // namespace velmoria::import
