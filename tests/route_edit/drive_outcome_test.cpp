#include "route_edit/drive_outcome.h"

#include <gtest/gtest.h>

namespace velmoria::edit {
namespace {

constexpr const char* kSummary =
    "simulated time: 612.300 s\n"
    "terminus: reached\n"
    "stations stopped: 3\n"
    "stop errors (m): 南台 +0.12 東雲 -0.30 港町 +0.05\n"
    "worst stop error (m): 0.30\n"
    "emergency brakes: 1 (train stop or vigilance: 0)\n"
    "train stop alarms: 2\n"
    "overspeeds: 4 (worst 3 km/h over)\n";

TEST(DriveOutcome, reads_the_summary_of_velmoria_drive) {
  const DriveOutcome o = readDriveOutcome(kSummary, "", 0);
  EXPECT_TRUE(o.summaryRead);
  EXPECT_TRUE(o.terminus);
  EXPECT_DOUBLE_EQ(o.simulatedSeconds, 612.3);
  EXPECT_EQ(o.stationsStopped, 3);
  ASSERT_EQ(o.stops.size(), 3u);
  EXPECT_EQ(o.stops[1].station, "東雲");
  EXPECT_DOUBLE_EQ(o.stops[1].errorM, -0.30);
  EXPECT_EQ(o.emergencyBrakes, 1);
  EXPECT_EQ(o.alarms, 2);
  EXPECT_EQ(o.overspeeds, 4);
}

TEST(DriveOutcome, a_drive_that_gave_up_says_so_with_its_message) {
  std::string out = kSummary;
  out.replace(out.find("reached"), 7, "not reached");
  const DriveOutcome o =
      readDriveOutcome(out,
                       "velmoria-drive: the autopilot cannot bring the train to its next "
                       "stop; it gave up\n",
                       3);
  EXPECT_TRUE(o.summaryRead);
  EXPECT_FALSE(o.terminus);
  EXPECT_EQ(o.exitCode, 3);
  EXPECT_NE(o.message.find("it gave up"), std::string::npos) << o.message;
}

TEST(DriveOutcome, a_refused_route_has_no_summary_and_shows_the_readers_message) {
  const DriveOutcome o = readDriveOutcome("", "路線ファイルに誤りがあります。[Signal]:1,2\n", 2);
  EXPECT_FALSE(o.summaryRead);
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_EQ(o.message, "路線ファイルに誤りがあります。[Signal]:1,2");  // trimmed
}

}  // namespace
}  // namespace velmoria::edit
