#include "options.h"

#include <gtest/gtest.h>

namespace velmoria::import {
namespace {

std::vector<std::string> full() {
  return {"--video", "v.mp4", "--track", "t.gpx", "--name", "line", "--out", "out"};
}

TEST(ImportOptions, the_required_ones_and_the_rest) {
  auto args = full();
  args.insert(args.end(),
              {"--offset", "-12.5", "--vehicle-from", "demo", "--no-reencode", "--copy-video"});
  const auto r = parseOptions(args);
  ASSERT_TRUE(r.options) << r.error;
  EXPECT_EQ(r.options->video, "v.mp4");
  EXPECT_EQ(r.options->track, "t.gpx");
  EXPECT_EQ(r.options->name, "line");
  EXPECT_EQ(r.options->out, "out");
  EXPECT_EQ(r.options->vehicleFrom, "demo");
  EXPECT_DOUBLE_EQ(*r.options->offset, -12.5);
  EXPECT_EQ(r.options->reencode, std::optional<bool>(false));
  EXPECT_TRUE(r.options->copyVideo);
  EXPECT_FALSE(parseOptions(full()).options->reencode.has_value());
}

struct Bad {
  const char* name;
  std::vector<std::string> args;
  const char* error;
};

class ImportBadOptions : public ::testing::TestWithParam<Bad> {};

TEST_P(ImportBadOptions, say_what_is_wrong) {
  const auto r = parseOptions(GetParam().args);
  EXPECT_FALSE(r.options);
  EXPECT_NE(r.error.find(GetParam().error), std::string::npos) << r.error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportBadOptions,
    ::testing::Values(Bad{"no_video", {"--track", "t", "--name", "n", "--out", "o"}, "--video"},
                      Bad{"no_track", {"--video", "v", "--name", "n", "--out", "o"}, "--track"},
                      Bad{"no_name", {"--video", "v", "--track", "t", "--out", "o"}, "--name"},
                      Bad{"no_out", {"--video", "v", "--track", "t", "--name", "n"}, "--out"},
                      Bad{"a_value_missing", {"--video"}, "needs a value"},
                      Bad{"offset_not_a_number",
                          {"--video", "v", "--track", "t", "--name", "n", "--out", "o", "--offset",
                           "5s"},
                          "--offset"},
                      Bad{"a_path_as_the_name",
                          {"--video", "v", "--track", "t", "--name", "a/b", "--out", "o"},
                          "plain file name"},
                      Bad{"unknown", {"--frobnicate"}, "unknown argument"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ImportOptions, help_needs_nothing_else) {
  const auto r = parseOptions({"--help"});
  ASSERT_TRUE(r.options);
  EXPECT_TRUE(r.options->help);
  EXPECT_NE(helpText().find("Exit status"), std::string::npos);
}

}  // namespace
}  // namespace velmoria::import
