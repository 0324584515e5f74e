#include "run/creation.h"

#include <gtest/gtest.h>

#include "media/null/null_image_loader.h"
#include "support/data_files.h"
#include "support/map_key_value_store.h"

namespace velmoria {
namespace {

RunData readFixtures(AppState& app, std::vector<std::string>* statuses = nullptr,
                     const KeyValueStore* settings = nullptr) {
  NullImageLoader images;
  return readRunData(app, test::fixtureFolder(), images, settings, [&](const std::string& s) {
    if (statuses) statuses->push_back(s);
  });
}

AppState emuRun() {
  AppState app;
  app.vehicleFile = "train_test.dat";
  app.routeFile = "line_test.dat";
  return app;
}

TEST(StartupTest, reads_every_settings_file_of_the_fixture_run) {
  AppState app = emuRun();
  std::vector<std::string> statuses;
  const RunData data = readFixtures(app, &statuses);
  EXPECT_EQ(statuses, (std::vector<std::string>{"設定ファイルを読み込んでいます"}));
  EXPECT_EQ(data.codes.size(), 26u);
  EXPECT_EQ(data.codes.front(), "VMP01");
  EXPECT_EQ(data.vehicle.fileName, "train_test.dat");
  EXPECT_EQ(data.route.fileName, "line_test.dat");
  EXPECT_EQ(data.vehicle.Brake, 8);
  EXPECT_EQ(data.route.StationTable.size(), 5u);
  EXPECT_EQ(data.strings.Path, "move\\");
}

TEST(StartupTest, the_sign_list_starts_with_the_vehicles_stop_line) {
  AppState app = emuRun();
  const RunData data = readFixtures(app);
  // [StopLine] and the route's two slope marks, all 50 x 50.
  ASSERT_EQ(data.images.SignImageList.size(), 3u);
  for (const auto& image : data.images.SignImageList) {
    EXPECT_EQ(image.width, 50);
    EXPECT_EQ(image.height, 50);
  }
  EXPECT_LT(data.images.SignImageList[0].id, data.images.SignImageList[1].id);
  EXPECT_EQ(data.images.SignalImageList.size(), 22u);
  EXPECT_EQ(data.images.OtherImageList.size(), 6u);
  EXPECT_EQ(data.images.NotchImageP.images.size(), 5u);
  EXPECT_EQ(data.images.NotchImageB.images.size(), 9u);
}

TEST(StartupTest, the_button_map_is_read_first_and_its_gaps_are_silent) {
  AppState app = emuRun();
  app.buttonMap.values.fill(-1);
  test::MapKeyValueStore store;
  store.values = {{"P0", "5"}, {"P1", "6"}};
  readFixtures(app, nullptr, &store);
  EXPECT_EQ(app.buttonMap.values[0], 5);
  EXPECT_EQ(app.buttonMap.values[1], 6);
  EXPECT_EQ(app.buttonMap.values[2], -1);
}

TEST(StartupTest, a_missing_vehicle_file_stops_before_the_route_is_read) {
  AppState app = emuRun();
  app.vehicleFile = "train_missing.dat";
  EXPECT_STARTUP_ERROR(readFixtures(app), "車両ファイルに誤りがあります");
}

TEST(StartupTest, a_missing_route_file_names_what_the_vehicle_file_left_behind) {
  AppState app = emuRun();
  app.routeFile = "line_missing.dat";
  // The label and line are those of the vehicle file's last pass: its final '#' line.
  EXPECT_STARTUP_ERROR(readFixtures(app), "路線ファイルに誤りがあります。[Others]:#");
}

TEST(StartupTest, a_missing_controller_code_table_names_the_file) {
  test::TempDataFolder dir;
  AppState app = emuRun();
  NullImageLoader images;
  EXPECT_STARTUP_ERROR(readRunData(app, dir.folder(), images, nullptr, {}),
                       "mascon.datが見つかりません");
}

TEST(StartupTest, the_diesel_fixture_reads_as_well) {
  AppState app = emuRun();
  app.vehicleFile = "train_diesel.dat";
  const RunData data = readFixtures(app);
  EXPECT_EQ(data.vehicle.Engine_Type, 0);
  EXPECT_EQ(data.vehicle.GearTable.size(), 3u);
  EXPECT_EQ(data.images.GearImageList.images.size(), 3u);
}

}  // namespace
}  // namespace velmoria
