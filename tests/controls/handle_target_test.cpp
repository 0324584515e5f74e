#include "controls/handle_target.h"

#include <gtest/gtest.h>

namespace velmoria::controls {
namespace {

GamepadState padWith(PadAxis axis, int16_t value) {
  GamepadState pad;
  pad.connected = true;
  pad.axes[static_cast<size_t>(axis)] = value;
  return pad;
}

struct Travel {
  AxisBinding binding;
  PadAxis moved;
  int16_t value;
  double travel;
};
class AxisTravel : public ::testing::TestWithParam<Travel> {};

TEST_P(AxisTravel, is_the_part_of_the_bound_half_pulled) {
  const Travel& c = GetParam();
  EXPECT_DOUBLE_EQ(axisTravel(padWith(c.moved, c.value), c.binding), c.travel);
}

constexpr AxisBinding kRightTrigger{PadAxis::RightTrigger, 1};
constexpr AxisBinding kStickUp{PadAxis::LeftY, -1};
INSTANTIATE_TEST_SUITE_P(
    Pads, AxisTravel,
    ::testing::Values(Travel{kRightTrigger, PadAxis::RightTrigger, 0, 0.0},
                      Travel{kRightTrigger, PadAxis::RightTrigger, 32767, 1.0},
                      Travel{kRightTrigger, PadAxis::RightTrigger, -5, 0.0},
                      Travel{kRightTrigger, PadAxis::LeftTrigger, 32767, 0.0},  // the other one
                      Travel{kStickUp, PadAxis::LeftY, -32768, 1.0},
                      Travel{kStickUp, PadAxis::LeftY, -16384, 0.5},
                      Travel{kStickUp, PadAxis::LeftY, 16384, 0.0},  // pushed down
                      Travel{AxisBinding{}, PadAxis::LeftY, -32768, 0.0}));

// Travel at which the part past the dead zone, in bands, is p: p = (travel - 0.08) / 0.92 * n.
double travelFor(double p, int levels) {
  return kDeadZone + p / levels * (1 - kDeadZone);
}

struct Level {
  double p;  // in bands of a 4-position handle
  int previous;
  int level;
};
class HandleLevel : public ::testing::TestWithParam<Level> {};

TEST_P(HandleLevel, follows_the_bands_with_some_hysteresis) {
  const Level& c = GetParam();
  EXPECT_EQ(handleLevel(travelFor(c.p, 4), 4, c.previous), c.level) << c.p << " " << c.previous;
}

INSTANTIATE_TEST_SUITE_P(
    Pads, HandleLevel,
    ::testing::Values(
        // Seen for the first time: the band alone.
        Level{0.0, -1, 0}, Level{0.05, -1, 1}, Level{0.9, -1, 1}, Level{1.1, -1, 2},
        Level{2.5, -1, 3}, Level{3.99, -1, 4}, Level{4.0, -1, 4},
        // Up: a quarter band past the edge.
        Level{0.2, 0, 0}, Level{0.3, 0, 1}, Level{1.2, 1, 1}, Level{1.3, 1, 2}, Level{3.5, 1, 4},
        // Down: a quarter band below the edge; rest only in the dead zone.
        Level{1.8, 3, 3}, Level{1.7, 3, 2}, Level{0.8, 2, 2}, Level{0.7, 2, 1}, Level{0.05, 1, 1},
        Level{0.0, 1, 0}, Level{0.0, 4, 0}, Level{1.5, 4, 2},
        // A previous position the handle does not have counts as none.
        Level{1.2, 7, 2}));

TEST(HandleLevel, a_handle_without_positions_stays_at_rest) {
  EXPECT_EQ(handleLevel(1.0, 0, -1), 0);
  EXPECT_EQ(handleLevel(1.0, -3, 2), 0);
}

TEST(HandleLevel, the_dead_zone_and_full_travel) {
  EXPECT_EQ(handleLevel(kDeadZone, 8, -1), 0);
  EXPECT_EQ(handleLevel(0.0, 8, 5), 0);
  EXPECT_EQ(handleLevel(1.0, 8, 0), 8);
  EXPECT_EQ(handleLevel(1.0, 5, -1), 5);
}

TEST(HandleIndex, walks_the_positions_as_the_one_handle_keys_do) {
  EXPECT_EQ(handleIndex(HandleView{3, 0, false, 8, false}), 6);
  EXPECT_EQ(handleIndex(HandleView{0, 0, false, 8, false}), 0);
  EXPECT_EQ(handleIndex(HandleView{0, 0, true, 8, false}), -1);
  EXPECT_EQ(handleIndex(HandleView{0, -3, false, 8, false}), -6);
  EXPECT_EQ(handleIndex(HandleView{0, -8, false, 8, false}), -16);
  EXPECT_EQ(targetIndex(3, 0), 6);
  EXPECT_EQ(targetIndex(3, 2), -4);  // the brake wins
  EXPECT_EQ(targetIndex(0, 0), 0);
  EXPECT_EQ(targetIndex(0, 8), -16);
}

struct Step {
  HandleView h;
  int target;
  std::optional<char> key;
};
class StepToward : public ::testing::TestWithParam<Step> {};

TEST_P(StepToward, presses_the_key_a_driver_would) {
  const Step& c = GetParam();
  EXPECT_EQ(stepToward(c.h, c.target), c.key);
}

INSTANTIATE_TEST_SUITE_P(
    Pads, StepToward,
    ::testing::Values(Step{HandleView{0, 0, false, 8, false}, 0, std::nullopt},
                      Step{HandleView{0, 0, false, 8, false}, 4, '8'},
                      Step{HandleView{2, 0, false, 8, false}, -6, '2'},
                      Step{HandleView{0, -3, false, 8, false}, 0, '8'},
                      Step{HandleView{0, 0, true, 8, false}, 0, '8'},  // out of hold
                      Step{HandleView{0, 0, false, 8, false}, -16, '0'},
                      Step{HandleView{0, -7, false, 8, false}, -16, '0'},
                      Step{HandleView{0, -8, false, 8, false}, -16, std::nullopt},
                      Step{HandleView{0, -8, false, 8, false}, -14, '8'},
                      Step{HandleView{0, -4, false, 4, false}, -8, std::nullopt},
                      // Scroll Lock exchanges the keys in the run: press the other one.
                      Step{HandleView{0, 0, false, 8, true}, 4, '2'},
                      Step{HandleView{0, 0, false, 8, true}, -4, '8'},
                      Step{HandleView{0, 0, false, 8, true}, -16, '0'}));

}  // namespace
}  // namespace velmoria::controls
