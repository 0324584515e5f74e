// Where the import takes the vehicles from without --vehicle-from: a developer's ./demo, an
// installed user's generated demo line, or what $VELMORIA_DEMO names.
#include "vehicle_source.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include <unistd.h>

namespace velmoria::import {
namespace {

namespace fs = std::filesystem;

class VehicleSource : public ::testing::Test {
 protected:
  VehicleSource() {
    root = fs::temp_directory_path() / ("velmoria-vehicle-source-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "cwd");
    vars["HOME"] = (root / "home").string();
    vars["XDG_DATA_HOME"] = (root / "data").string();
    vars["XDG_DATA_DIRS"] = (root / "system").string();
  }
  ~VehicleSource() override { fs::remove_all(root); }
  fs::path line(const fs::path& folder) {
    fs::create_directories(folder);
    std::ofstream(folder / "korvelan.dat") << "x\n";
    return folder;
  }
  fs::path chosen() {
    const EnvironmentLookup env = [this](const char* name) -> std::optional<std::string> {
      const auto it = vars.find(name);
      if (it == vars.end()) return std::nullopt;
      return it->second;
    };
    return defaultVehicleSource(env, root / "cwd");
  }
  fs::path root;
  std::map<std::string, std::string> vars;
};

TEST_F(VehicleSource, takes_the_installed_demo_line_when_there_is_no_local_one) {
  line(root / "data/velmoria/lines/other");
  const fs::path demo = line(root / "data/velmoria/lines/demo");
  EXPECT_EQ(chosen(), demo);
}

TEST_F(VehicleSource, a_second_generated_demo_line_counts_and_the_system_lines_are_searched) {
  const fs::path demo = line(root / "system/velmoria/lines/demo-2");
  EXPECT_EQ(chosen(), demo);
}

TEST_F(VehicleSource, prefers_the_local_demo_folder_and_then_the_environment) {
  line(root / "data/velmoria/lines/demo");
  const fs::path local = line(root / "cwd/demo");
  EXPECT_EQ(chosen(), local);
  vars["VELMORIA_DEMO"] = "/somewhere/else";
  EXPECT_EQ(chosen(), "/somewhere/else");
}

TEST_F(VehicleSource, without_any_demo_line_names_the_local_folder_for_the_message) {
  line(root / "data/velmoria/lines/other");
  EXPECT_EQ(chosen(), root / "cwd/demo");
}

}  // namespace
}  // namespace velmoria::import
