#include "frontend/window_placement_qt.h"

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const QPoint& p, std::ostream* os) {
  *os << "(" << p.x() << ", " << p.y() << ")";
}

namespace velmoria {
namespace {

struct PlaceCase {
  const char* name;
  QRect anchor;
  QSize frame;
  QRect screen;
  Align align;
  QPoint expected;
};

class PlaceBeside : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceBeside, keeps_the_window_beside_the_anchor_and_on_the_screen) {
  const PlaceCase& c = GetParam();
  EXPECT_EQ(placeBeside(c.anchor, c.frame, c.screen, c.align), c.expected);
}

const QRect kWide(0, 0, 1920, 1080);
const QRect kSmall(0, 0, 1024, 768);

INSTANTIATE_TEST_SUITE_P(
    Cases, PlaceBeside,
    ::testing::Values(
        PlaceCase{
            "right_of_the_anchor", {100, 100, 640, 480}, {300, 200}, kWide, Align::Top, {740, 100}},
        PlaceCase{"lined_up_with_its_bottom",
                  {100, 100, 640, 480},
                  {300, 200},
                  kWide,
                  Align::Bottom,
                  {740, 380}},
        PlaceCase{"exactly_filling_the_right",
                  {100, 100, 640, 480},
                  {1180, 200},
                  kWide,
                  Align::Top,
                  {740, 100}},
        PlaceCase{"left_when_the_right_is_full",
                  {1000, 100, 640, 480},
                  {300, 200},
                  kWide,
                  Align::Top,
                  {700, 100}},
        // The value display beside a centred cab on a small screen, with no room around it:
        // moved back onto the screen, over the lower panel rather than the menu and the video.
        PlaceCase{"neither_side_has_room",
                  {192, 152, 640, 463},
                  {604, 188},
                  kSmall,
                  Align::Bottom,
                  {420, 427}},
        PlaceCase{"below_when_neither_side_has_room",
                  {321, 300, 640, 463},
                  {604, 188},
                  {0, 0, 1280, 1024},
                  Align::Bottom,
                  {321, 763}},
        PlaceCase{"above_when_below_is_full",
                  {321, 600, 640, 400},
                  {604, 188},
                  {0, 0, 1280, 1024},
                  Align::Bottom,
                  {321, 412}},
        PlaceCase{"below_moved_onto_the_screen",
                  {500, 100, 480, 400},
                  {604, 188},
                  {0, 0, 1000, 1024},
                  Align::Top,
                  {396, 500}},
        PlaceCase{"taller_than_the_screen",
                  {100, 100, 400, 300},
                  {300, 900},
                  kSmall,
                  Align::Top,
                  {500, 0}},
        PlaceCase{"wider_than_the_screen",
                  {100, 100, 640, 480},
                  {1200, 200},
                  kSmall,
                  Align::Top,
                  {0, 100}},
        PlaceCase{"anchor_below_the_screen",
                  {100, 500, 400, 480},
                  {300, 200},
                  kSmall,
                  Align::Bottom,
                  {500, 568}},
        PlaceCase{"anchor_above_the_screen",
                  {100, -50, 400, 480},
                  {300, 200},
                  kSmall,
                  Align::Top,
                  {500, 0}},
        PlaceCase{"second_screen",
                  {2000, 100, 640, 480},
                  {300, 200},
                  {1920, 0, 1280, 1024},
                  Align::Top,
                  {2640, 100}},
        PlaceCase{"left_on_the_second_screen",
                  {2500, 100, 640, 480},
                  {300, 200},
                  {1920, 0, 1280, 1024},
                  Align::Top,
                  {2200, 100}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmoria
