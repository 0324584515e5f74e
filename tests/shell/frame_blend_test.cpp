#include "view/frame_blend_qt.h"

#include <gtest/gtest.h>

namespace velmoria {
namespace {

struct WeightCase {
  const char* name;
  BlendPosition position;
  double weight;
};

class BlendWeight : public ::testing::TestWithParam<WeightCase> {};

TEST_P(BlendWeight, is_the_share_of_the_way_to_the_next_frame) {
  EXPECT_NEAR(blendWeight(GetParam().position), GetParam().weight, 1e-12);
}

// Worked out by hand. A line filmed at 80 km/h: a frame is 80 units of the position step's
// accumulator (whole km/h per 33 ms step), 0.741 m of track (80 / 3.6 m/s over 1/30 s).
INSTANTIATE_TEST_SUITE_P(
    ByHand, BlendWeight,
    ::testing::Values(
        // At 20 km/h, just after the step that brought the accumulator to 20: 20 / 80.
        WeightCase{"a_quarter_of_the_way", {20, 20, 80, 0.0}, 0.25},
        // Half a step later (16.7 ms) the train has gone on by 20 x 0.5 = 10 units: 30 / 80.
        WeightCase{"half_a_step_later", {20, 20, 80, 50.0 / 3.0}, 0.375},
        // A whole step later: 40 / 80, where the next step will put the accumulator.
        WeightCase{"a_step_later", {20, 20, 80, 100.0 / 3.0}, 0.5},
        // A late step carries it no further than one step's way: still 40 / 80.
        WeightCase{"a_late_step", {20, 20, 80, 90.0}, 0.5},
        // 5 km/h at 79 units: 79 / 80, and at most the next frame itself.
        WeightCase{"nearly_there", {5, 79, 80, 0.0}, 79.0 / 80.0},
        WeightCase{"never_past_the_next_frame", {5, 79, 80, 100.0 / 3.0}, 1.0},
        // Backwards the way is counted the same: 12 units at -30 km/h over 60.
        WeightCase{"backwards", {-30, 12, 60, 0.0}, 0.2},
        // The recorded speed falls below the accumulator in a new segment: the next frame.
        WeightCase{"segment_slower_than_the_way_covered", {10, 70, 50, 0.0}, 1.0},
        // Standing: the exact frame, whatever the accumulator keeps.
        WeightCase{"standing_still", {0, 40, 80, 20.0}, 0.0},
        // At and above the recorded speed each step moves a frame: the exact frame.
        WeightCase{"at_the_recorded_speed", {80, 0, 80, 10.0}, 0.0},
        WeightCase{"above_the_recorded_speed", {95, 30, 80, 10.0}, 0.0},
        // A recorded speed of 0 or less counts as 1 (as the position step counts frames).
        WeightCase{"no_recorded_speed", {1, 0, 0, 0.0}, 0.0},
        WeightCase{"clock_behind_the_step", {20, 20, 80, -5.0}, 0.25}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BlendLevel, is_the_weight_in_the_painters_256ths) {
  EXPECT_EQ(blendLevel(0.0), 0);
  EXPECT_EQ(blendLevel(0.25), 64);
  EXPECT_EQ(blendLevel(0.375), 96);
  EXPECT_EQ(blendLevel(1.0), 256);
  EXPECT_EQ(blendLevel(1.5), 256);
  EXPECT_EQ(blendLevel(-1.0), 0);
}

}  // namespace
}  // namespace velmoria
