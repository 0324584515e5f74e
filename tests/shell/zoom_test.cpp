#include "view/zoom_qt.h"

#include <gtest/gtest.h>

namespace velmoria {
namespace {

TEST(Zoom, names_and_parses_the_four_levels) {
  for (Zoom z : {Zoom::One, Zoom::Two, Zoom::Three, Zoom::Fit})
    EXPECT_EQ(parseZoom(zoomName(z)), z) << zoomName(z);
  EXPECT_EQ(zoomName(Zoom::Two), "2");
  EXPECT_EQ(zoomName(Zoom::Fit), "fit");
  for (const char* bad : {"", "0", "4", "2x", "Fit", " 1", "1.5"})
    EXPECT_FALSE(parseZoom(bad).has_value()) << bad;
}

struct FitCase {
  const char* name;
  QSize area;
  double scale;
  QRect cab;
};

class Letterbox : public ::testing::TestWithParam<FitCase> {};

TEST_P(Letterbox, centres_the_largest_cab_of_its_shape) {
  const FitCase& c = GetParam();
  EXPECT_DOUBLE_EQ(fitScale(c.area, kCabDesign), c.scale);
  EXPECT_EQ(letterbox(c.area, kCabDesign), c.cab);
}

INSTANTIATE_TEST_SUITE_P(
    Areas, Letterbox,
    ::testing::Values(FitCase{"design", {640, 440}, 1.0, {0, 0, 640, 440}},
                      FitCase{"twice", {1280, 880}, 2.0, {0, 0, 1280, 880}},
                      FitCase{"three_times", {1920, 1320}, 3.0, {0, 0, 1920, 1320}},
                      // A 1920 x 1080 screen: 1080 / 440 = 2.4545..., 1571 wide, bars of 174.
                      FitCase{"full_hd", {1920, 1080}, 1080.0 / 440.0, {174, 0, 1571, 1080}},
                      // Wider than tall: bars above and below.
                      FitCase{"tall", {800, 1000}, 1.25, {0, 225, 800, 550}},
                      FitCase{"smaller", {320, 220}, 0.5, {0, 0, 320, 220}},
                      FitCase{"empty", {0, 0}, 0.0, {0, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Zoom, a_level_asks_for_that_multiple_of_the_design) {
  EXPECT_EQ(zoomedSize(Zoom::One, kCabDesign), QSize(640, 440));
  EXPECT_EQ(zoomedSize(Zoom::Two, kCabDesign), QSize(1280, 880));
  EXPECT_EQ(zoomedSize(Zoom::Three, kCabDesign), QSize(1920, 1320));
}

TEST(Zoom, in_and_out_step_through_the_whole_levels) {
  EXPECT_EQ(zoomIn(1.0), Zoom::Two);
  EXPECT_EQ(zoomIn(2.0), Zoom::Three);
  EXPECT_EQ(zoomIn(3.0), Zoom::Three);
  EXPECT_EQ(zoomIn(1.99), Zoom::Three);  // the window manager took a pixel off 2x
  EXPECT_EQ(zoomIn(2.45), Zoom::Three);  // from a fitted 1920 x 1080
  EXPECT_EQ(zoomOut(3.0), Zoom::Two);
  EXPECT_EQ(zoomOut(2.45), Zoom::Two);
  EXPECT_EQ(zoomOut(2.0), Zoom::One);
  EXPECT_EQ(zoomOut(1.0), Zoom::One);
  EXPECT_EQ(zoomOut(0.6), Zoom::One);
}

}  // namespace
}  // namespace velmoria
