#include "run/run_observation.h"

#include <gtest/gtest.h>

#include "support/steps.h"
#include "support/test_run.h"

namespace velmoria {
namespace {

using test::TestRun;

// The flat test route is recorded at 60 km/h: at 20 km/h each 33 ms step covers a third of
// the way to the next frame, and the third step moves the frame.
TEST(RunObservation, tells_how_far_the_train_is_towards_the_next_frame) {
  TestRun t;
  velmoria::Run& run = t.makeUnlocked();
  poke(run).pos.frame = 500;
  poke(run).train.speed = Fixed::fromInt(20);
  test::positionStep(run);
  EXPECT_EQ(run.observe().recordedSpeed, 60);
  EXPECT_EQ(run.observe().frameAccumulator, 20);
  EXPECT_EQ(run.observe().frame, 500);
  test::positionStep(run);
  EXPECT_EQ(run.observe().frameAccumulator, 40);
  test::positionStep(run);
  EXPECT_EQ(run.observe().frame, 501);
  EXPECT_EQ(run.observe().frameAccumulator, 0);
}

TEST(RunObservation, the_recorded_speed_follows_the_segment_of_the_frame) {
  TestRun t;
  // 40 km/h at frame 0 rising to 80 km/h at frame 1000: 60 km/h half way.
  t.data.route.SpeedUnitTable = {{0, 1000, 40, 80, 0}};
  velmoria::Run& run = t.makeUnlocked();
  poke(run).pos.frame = 500;
  poke(run).train.speed = Fixed::fromInt(7);
  test::positionStep(run);
  EXPECT_EQ(run.observe().recordedSpeed, 60);
  EXPECT_EQ(run.observe().frameAccumulator, 7);
}

}  // namespace
}  // namespace velmoria
