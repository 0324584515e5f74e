#include "media/video_source.h"

#include <gtest/gtest.h>

namespace velmoria {
namespace {

struct CropCase {
  const char* name;
  int width, height, areaWidth, areaHeight;
  CropRect expected;
};

class CoverCrop : public ::testing::TestWithParam<CropCase> {};

TEST_P(CoverCrop, keeps_the_middle_that_has_the_areas_shape) {
  const CropCase& c = GetParam();
  EXPECT_EQ(coverCrop(c.width, c.height, c.areaWidth, c.areaHeight), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, CoverCrop,
    ::testing::Values(
        CropCase{"same_shape_smaller", 480, 240, 960, 480, {0, 0, 480, 240}},
        CropCase{"same_size", 480, 240, 480, 240, {0, 0, 480, 240}},
        // 1920 x 1080 into 2:1: 1920 x 960, 60 rows cut above and below.
        CropCase{"full_hd_into_the_video_area", 1920, 1080, 960, 480, {0, 60, 1920, 960}},
        // 4:3 into 2:1: 640 x 320 of 640 x 480.
        CropCase{"four_by_three", 640, 480, 480, 240, {0, 80, 640, 320}},
        // Wider than 2:1: the sides go. 1000 x 240 into 480 x 240 keeps 480 x 240 from x 260.
        CropCase{"wider", 1000, 240, 480, 240, {260, 0, 480, 240}},
        CropCase{"one_column_too_many", 481, 240, 480, 240, {0, 0, 480, 240}},
        CropCase{"three_wide", 3, 1, 2, 1, {0, 0, 2, 1}},
        CropCase{"at_least_one_pixel", 1000, 1, 1, 1000, {499, 0, 1, 1}},
        CropCase{"empty_picture", 0, 240, 480, 240, {}}, CropCase{"empty_area", 480, 240, 0, 0, {}},
        // Products beyond 32 bits compare right.
        CropCase{"huge", 100000, 50000, 60000, 30000, {0, 0, 100000, 50000}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmoria
