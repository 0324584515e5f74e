#include "options.h"

#include <gtest/gtest.h>

namespace velmoria::drive {
namespace {

OptionsResult parse(std::vector<std::string> args) {
  return parseOptions(args);
}

TEST(DriveOptions, full_command_line_is_read) {
  const auto r = parse({"--data", "/d", "--vehicle", "train_201.dat", "--route", "line.dat",
                        "--script", "s.txt", "--autopilot", "--trace", "t.csv", "--until", "90.5",
                        "--until-terminus", "--frames", "1234"});
  ASSERT_TRUE(r.options) << r.error;
  const auto& o = *r.options;
  EXPECT_EQ(o.dataDir, "/d");
  EXPECT_EQ(o.vehicleFile, "train_201.dat");
  EXPECT_EQ(o.routeFile, "line.dat");
  EXPECT_EQ(o.scriptFile, "s.txt");
  EXPECT_TRUE(o.autopilot);
  EXPECT_EQ(o.traceFile, "t.csv");
  EXPECT_EQ(o.untilMs, 90500);
  EXPECT_TRUE(o.untilTerminus);
  EXPECT_EQ(o.frames, 1234);
}

TEST(DriveOptions, defaults_and_equals_form) {
  const auto r = parse({"--vehicle=v.dat", "--route=r.dat"});
  ASSERT_TRUE(r.options) << r.error;
  EXPECT_EQ(r.options->dataDir, ".");
  EXPECT_FALSE(r.options->scriptFile);
  EXPECT_FALSE(r.options->autopilot);
  EXPECT_FALSE(r.options->untilMs);
  EXPECT_FALSE(r.options->frames);
}

TEST(DriveOptions, help_needs_no_files) {
  const auto r = parse({"--help"});
  ASSERT_TRUE(r.options);
  EXPECT_TRUE(r.options->help);
  EXPECT_NE(helpText().find("Exit status"), std::string::npos);
  EXPECT_NE(helpText().find(usageLine()), std::string::npos);
}

struct BadArgs {
  std::vector<std::string> args;
  const char* errorPart;
};

class DriveOptionsBad : public testing::TestWithParam<BadArgs> {};

TEST_P(DriveOptionsBad, is_refused_with_a_reason) {
  const auto r = parseOptions(GetParam().args);
  EXPECT_FALSE(r.options);
  EXPECT_NE(r.error.find(GetParam().errorPart), std::string::npos) << r.error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DriveOptionsBad,
    testing::Values(BadArgs{{"--route", "r"}, "--vehicle is missing"},
                    BadArgs{{"--vehicle", "v"}, "--route is missing"},
                    BadArgs{{"--vehicle", "v", "--route"}, "--route needs a value"},
                    BadArgs{{"--vehicle", "v", "--route", "r", "--bogus"}, "unknown argument"},
                    BadArgs{{"--vehicle", "v", "--route", "r", "extra"}, "unknown argument"},
                    BadArgs{{"--vehicle", "v", "--route", "r", "--until", "-3"}, "--until"},
                    BadArgs{{"--vehicle", "v", "--route", "r", "--until", "1.2345"}, "--until"},
                    BadArgs{{"--vehicle", "v", "--route", "r", "--frames", "12x"}, "--frames"},
                    BadArgs{{"--vehicle", "v", "--route", "r", "--frames", "-1"}, "--frames"},
                    BadArgs{{"--vehicle", "v", "--route", "r", "--autopilot=1"}, "no value"}));

TEST(DriveOptions, seconds_become_whole_milliseconds) {
  EXPECT_EQ(parseSecondsToMs("0"), 0);
  EXPECT_EQ(parseSecondsToMs("3600"), 3600000);
  EXPECT_EQ(parseSecondsToMs("0.1"), 100);
  EXPECT_EQ(parseSecondsToMs("1.05"), 1050);
  EXPECT_EQ(parseSecondsToMs("2.007"), 2007);
  EXPECT_EQ(parseSecondsToMs(".5"), 500);
  EXPECT_FALSE(parseSecondsToMs("1."));
  EXPECT_FALSE(parseSecondsToMs(""));
  EXPECT_FALSE(parseSecondsToMs("1e3"));
  EXPECT_FALSE(parseSecondsToMs("0.0001"));
}

}  // namespace
}  // namespace velmoria::drive
