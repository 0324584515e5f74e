// The set-up over the shipped test data: the distances the data folder's own notes give, worked
// out there from the recorded speeds independently of this program.
#include <gtest/gtest.h>

#include "media/clock.h"
#include "media/null/null_image_loader.h"
#include "media/null/null_sound_device.h"
#include "run/creation.h"
#include "support/data_files.h"
#include "support/steps.h"

namespace velmoria {
namespace {

struct FixtureRun {
  ManualClock clock;
  NullSoundDevice sound{clock};
  AppState app;
  std::unique_ptr<Run> run;
  explicit FixtureRun(const char* vehicleFile) {
    app.vehicleFile = vehicleFile;
    app.routeFile = "line_test.dat";
    NullImageLoader images;
    RunData data = readRunData(app, test::fixtureFolder(), images, nullptr, {});
    RunServices services;
    services.sound = &sound;
    services.clock = &clock;
    run = std::make_unique<Run>(app, std::move(data), std::move(services));
  }
};

TEST(FixtureSetup, stopping_points_lie_where_the_line_notes_put_them) {
  FixtureRun f("train_test.dat");
  const auto& stations = f.run->route().StationTable;
  ASSERT_EQ(stations.size(), 5u);
  const double metres[] = {9.3, 2008.6, 0, 5296.8, 8074.5};  // the passed station has none
  for (size_t i = 0; i < 5; ++i)
    EXPECT_NEAR(static_cast<double>(stations[i].distance) / 100, metres[i], 0.06) << i;
}

TEST(FixtureSetup, the_emu_starts_braked_at_its_start_frame) {
  FixtureRun f("train_test.dat");
  velmoria::Run& run = *f.run;
  EXPECT_EQ(poke(run).pos.frame, 200);
  EXPECT_EQ(poke(run).pos.clockTicks, 10 * 108000);
  EXPECT_EQ(poke(run).pos.precedingFrame, 200 + 5400);
  EXPECT_EQ(poke(run).air.bc, Fixed::fromInt(440));
  EXPECT_EQ(poke(run).handle.brakeStep, -8);
  EXPECT_FALSE(poke(run).index.patternTargetList.empty());
}

TEST(FixtureSetup, the_diesel_has_four_named_brake_positions_and_a_hold) {
  FixtureRun f("train_diesel.dat");
  velmoria::Run& run = *f.run;
  EXPECT_EQ(run.vehicle().Brake, 4);
  EXPECT_EQ(poke(run).handle.brakeStep, -4);
  poke(run).handle.inputLock = false;
  poke(run).handle.brakeStep = 0;
  run.WheelU();
  EXPECT_TRUE(poke(run).handle.hold);
  run.WheelU();
  EXPECT_EQ(poke(run).handle.brakeStep, -1);
}

}  // namespace
}  // namespace velmoria
