#include <gtest/gtest.h>

#include <fstream>

#include "support/data_files.h"
#include "track_readers.h"

namespace velmoria::import {
namespace {

TEST(TrackFile, tells_the_format_from_the_first_characters_not_the_name) {
  velmoria::test::TempDataFolder dir;
  dir.writeBytes("a.txt",
                 "  <gpx><trk><trkseg><trkpt lat=\"35\" lon=\"139\"><time>2024-05-18T00:00:01Z"
                 "</time></trkpt><trkpt lat=\"35.1\" lon=\"139\"><time>2024-05-18T00:00:02Z</time>"
                 "</trkpt></trkseg></trk></gpx>");
  dir.writeBytes("b.gpx",
                 "$GPRMC,003000,A,3458.2720,N,13824.7680,E,0,0,180524,,\n"
                 "$GPRMC,003001,A,3458.2730,N,13824.7680,E,0,0,180524,,\n");
  dir.writeBytes("c.log", "1715992200,35,139\n1715992201,35.0001,139\n");
  EXPECT_EQ(readTrackFile(dir.root() / "a.txt").points.size(), 2u);
  EXPECT_EQ(readTrackFile(dir.root() / "b.gpx").points.front().time, 1715992200);
  EXPECT_EQ(readTrackFile(dir.root() / "c.log").points.back().lat, 35.0001);
}

TEST(TrackFile, a_missing_file_or_a_folder_is_a_track_error) {
  velmoria::test::TempDataFolder dir;
  EXPECT_THROW(readTrackFile(dir.root() / "none.gpx"), TrackError);
  EXPECT_THROW(readTrackFile(dir.root()), TrackError);
}

}  // namespace
}  // namespace velmoria::import
