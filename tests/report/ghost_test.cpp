#include "report/ghost.h"

#include <gtest/gtest.h>

namespace velmoria::report {
namespace {

ChartSample at(double clockS, double metres) {
  ChartSample s;
  s.clockS = clockS;
  s.distanceM = metres;
  return s;
}

TEST(Ghost, is_between_its_samples_in_a_straight_line) {
  const Ghost g({at(100, 0), at(110, 50), at(120, 250)});
  EXPECT_DOUBLE_EQ(*g.distanceAt(105), 25);
  EXPECT_DOUBLE_EQ(*g.distanceAt(110), 50);
  EXPECT_DOUBLE_EQ(*g.distanceAt(115), 150);
}

TEST(Ghost, stands_where_it_started_and_where_it_ended) {
  const Ghost g({at(100, 10), at(110, 50)});
  EXPECT_DOUBLE_EQ(*g.distanceAt(50), 10);
  EXPECT_DOUBLE_EQ(*g.distanceAt(500), 50);
}

TEST(Ghost, skips_a_clock_moved_back) {
  // Shift+F9 put the clock back 30 s: the ghost keeps to the times that run on.
  const Ghost g({at(100, 0), at(110, 100), at(80, 120), at(120, 200)});
  EXPECT_DOUBLE_EQ(*g.distanceAt(115), 150);
}

TEST(Ghost, without_samples_is_nowhere) {
  const Ghost g({});
  EXPECT_TRUE(g.empty());
  EXPECT_FALSE(g.distanceAt(100));
}

}  // namespace
}  // namespace velmoria::report
