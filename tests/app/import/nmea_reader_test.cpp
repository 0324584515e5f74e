#include <gtest/gtest.h>

#include <cstdio>

#include "track_readers.h"

namespace velmoria::import {
namespace {

// A sentence with its checksum and CR LF.
std::string nmea(const std::string& body) {
  unsigned x = 0;
  for (char c : body) x ^= static_cast<unsigned char>(c);
  char sum[4];
  std::snprintf(sum, sizeof sum, "%02X", x);
  return "$" + body + "*" + sum + "\r\n";
}

TEST(NmeaReader, merges_rmc_and_gga_of_one_second_with_date_speed_and_altitude) {
  const std::string log =
      nmea("GPGGA,003000.00,3458.2720,N,13824.7680,E,1,08,0.9,21.5,M,39.0,M,,") +
      nmea("GPRMC,003000.00,A,3458.2720,N,13824.7680,E,19.44,45.0,180524,,,A") +
      nmea("GPGSV,3,1,11,01,02,03,04") +
      nmea("GNRMC,003001.00,A,3458.2800,N,13824.7800,E,20.00,45.0,180524,,,A") +
      nmea("GNGGA,003001.00,3458.2800,N,13824.7800,E,1,08,0.9,21.9,M,39.0,M,,");
  const Track t = readNmea(log, "ride.nmea");
  ASSERT_EQ(t.points.size(), 2u);
  EXPECT_DOUBLE_EQ(t.points[0].time, 1715992200);
  EXPECT_NEAR(t.points[0].lat, 34 + 58.272 / 60, 1e-12);
  EXPECT_NEAR(t.points[0].lon, 138 + 24.768 / 60, 1e-12);
  ASSERT_TRUE(t.points[0].speed && t.points[0].elevation);
  EXPECT_NEAR(*t.points[0].speed, 19.44 * 1852 / 3600, 1e-9);
  EXPECT_DOUBLE_EQ(*t.points[0].elevation, 21.5);
  EXPECT_DOUBLE_EQ(*t.points[1].elevation, 21.9);
  EXPECT_TRUE(t.dated);
}

TEST(NmeaReader, broken_lines_void_fixes_and_bad_checksums_are_skipped) {
  std::string bad = nmea("GPRMC,003002.00,A,3458.2900,N,13824.7900,E,20.0,45.0,180524,,,A");
  bad[bad.size() - 4] = bad[bad.size() - 4] == '0' ? '1' : '0';  // a wrong checksum
  const std::string log = nmea("GPRMC,003000.00,A,3458.2720,S,13824.7680,W,0.0,0.0,180524,,,A") +
                          bad + nmea("GPRMC,003003.00,V,,,,,,,180524,,,N") + "$GPRMC,00300\r\n" +
                          "garbage line\r\n" +
                          nmea("GPGGA,003004.00,3458.2720,N,13824.7680,E,0,00,,,M,,M,,") +
                          nmea("GPRMC,003005.00,A,3458.2720,N,13824.7680,E,,,180524,,,A");
  const Track t = readNmea(log, "ride.nmea");
  ASSERT_EQ(t.points.size(), 2u);
  EXPECT_LT(t.points[0].lat, 0);  // south
  EXPECT_LT(t.points[0].lon, 0);  // west
  EXPECT_FALSE(t.points[1].speed);
  EXPECT_EQ(t.skipped, 4);  // the wrong checksum, the void fix, the cut line, the GGA without fix
}

TEST(NmeaReader, gga_before_the_first_rmc_takes_its_date_and_midnight_moves_it_on) {
  const std::string log =
      nmea("GPGGA,235959.00,3458.2720,N,13824.7680,E,1,08,0.9,21.5,M,39.0,M,,") +
      nmea("GPRMC,235959.50,A,3458.2720,N,13824.7680,E,0.0,0.0,170524,,,A") +
      nmea("GPGGA,000000.50,3458.2720,N,13824.7680,E,1,08,0.9,21.5,M,39.0,M,,");
  const Track t = readNmea(log, "ride.nmea");
  ASSERT_EQ(t.points.size(), 3u);
  EXPECT_DOUBLE_EQ(t.points[0].time, 1715990400 - 1);
  EXPECT_DOUBLE_EQ(t.points[2].time, 1715990400 + 0.5);
}

TEST(NmeaReader, a_log_of_gga_alone_has_times_of_day_but_no_date) {
  const std::string log =
      nmea("GPGGA,003000.00,3458.2720,N,13824.7680,E,1,08,0.9,21.5,M,39.0,M,,") +
      nmea("GPGGA,003001.00,3458.2800,N,13824.7800,E,1,08,0.9,21.5,M,39.0,M,,");
  const Track t = readNmea(log, "ride.nmea");
  EXPECT_FALSE(t.dated);
  EXPECT_DOUBLE_EQ(t.points[1].time - t.points[0].time, 1);
}

TEST(NmeaReader, sentences_without_times_are_refused_as_a_track_without_times) {
  const std::string log = nmea("GPGGA,,3458.2720,N,13824.7680,E,1,08,0.9,21.5,M,39.0,M,,") +
                          nmea("GPRMC,,A,3458.2720,N,13824.7680,E,0.0,0.0,180524,,,A");
  try {
    readNmea(log, "ride.nmea");
    ADD_FAILURE() << "read";
  } catch (const TrackError& e) {
    EXPECT_NE(std::string(e.what()).find("have no times"), std::string::npos) << e.what();
  }
  EXPECT_THROW(readNmea(nmea("GPGSV,3,1,11"), "ride.nmea"), TrackError);
}

}  // namespace
}  // namespace velmoria::import
