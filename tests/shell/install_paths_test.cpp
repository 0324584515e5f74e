#include "desktop/install_paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "support/line_folders.h"

namespace velmoria {
namespace {

namespace fs = std::filesystem;

void writeProgram(const fs::path& file, bool executable) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "#!/bin/sh\n";
  ::chmod(file.c_str(), executable ? 0755 : 0644);
}

TEST(DemoGenerator, is_found_beside_an_installed_program_in_any_prefix) {
  test::LineHome dir;
  const fs::path prefix = dir.root() / "opt/velmoria";
  writeProgram(prefix / "libexec/velmoria/velmoria-demo-gen", true);
  EXPECT_EQ(findDemoGenerator(prefix / "bin"), prefix / "libexec/velmoria/velmoria-demo-gen");
}

TEST(DemoGenerator, is_found_in_the_build_tree_only_for_a_program_in_a_build_tree) {
  test::LineHome dir;
  const fs::path build = dir.root() / "build/asan";
  writeProgram(build / "tools/demo/velmoria-demo-gen", true);
  EXPECT_EQ(findDemoGenerator(build / "app/desktop"), std::nullopt) << "no CMakeCache.txt there";
  std::ofstream(build / "CMakeCache.txt") << "# cache\n";
  EXPECT_EQ(findDemoGenerator(build / "app/desktop"), build / "tools/demo/velmoria-demo-gen");
  EXPECT_EQ(demoGeneratorCandidates(build / "app/desktop").size(), 2u);
}

TEST(DemoGenerator, a_file_that_is_not_executable_is_not_a_generator) {
  test::LineHome dir;
  const fs::path prefix = dir.root() / "usr";
  writeProgram(prefix / "libexec/velmoria/velmoria-demo-gen", false);
  EXPECT_EQ(findDemoGenerator(prefix / "bin"), std::nullopt);
  EXPECT_EQ(demoGeneratorCandidates(prefix / "bin"),
            std::vector<fs::path>{prefix / "libexec/velmoria/velmoria-demo-gen"});
}

}  // namespace
}  // namespace velmoria
