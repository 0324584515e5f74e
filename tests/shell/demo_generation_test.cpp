#include "frontend/demo_generation_qt.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <fstream>

#include "support/line_folders.h"

namespace velmoria {
namespace {

namespace fs = std::filesystem;

class RemoveAbandoned : public ::testing::Test {
 protected:
  fs::path partial(const std::string& name, bool withLock) {
    const fs::path folder = lines / name;
    fs::create_directories(folder / "move");
    std::ofstream(folder / "korvelan.dat") << "[Path]\r\n";
    if (withLock) std::ofstream(folder.string() + ".lock") << "";
    return folder;
  }
  test::LineHome home;
  fs::path lines = home.userLines();
};

TEST_F(RemoveAbandoned, removes_hidden_folders_whose_lock_nobody_holds) {
  const fs::path left = partial(".demo-aaaaaa", true);
  EXPECT_EQ(DemoGeneration::removeAbandoned(lines), 1);
  EXPECT_FALSE(fs::exists(left));
  EXPECT_FALSE(fs::exists(left.string() + ".lock"));
}

TEST_F(RemoveAbandoned, keeps_a_folder_whose_generation_holds_its_lock) {
  const fs::path running = partial(".demo-bbbbbb", true);
  const int fd = ::open((running.string() + ".lock").c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  EXPECT_EQ(DemoGeneration::removeAbandoned(lines), 0);
  EXPECT_TRUE(fs::exists(running / "korvelan.dat"));
  ::close(fd);
  EXPECT_EQ(DemoGeneration::removeAbandoned(lines), 1) << "once its holder is gone";
}

TEST_F(RemoveAbandoned, keeps_an_unlocked_folder_until_it_is_old) {
  const fs::path fresh = partial(".demo-cccccc", false);
  EXPECT_EQ(DemoGeneration::removeAbandoned(lines), 0) << "it may be locked an instant later";
  fs::last_write_time(fresh, fs::file_time_type::clock::now() - std::chrono::hours(1));
  EXPECT_EQ(DemoGeneration::removeAbandoned(lines), 1);
  EXPECT_FALSE(fs::exists(fresh));
}

TEST_F(RemoveAbandoned, never_touches_anything_else) {
  const fs::path line = partial("demo", true);
  const fs::path other = partial(".demo-too-long-name", true);
  const fs::path hidden = partial(".mine", true);
  fs::create_directories(home.root() / "target");
  fs::create_directory_symlink(home.root() / "target", lines / ".demo-dddddd");
  std::ofstream(lines / ".demo-dddddd.lock") << "";
  EXPECT_EQ(DemoGeneration::removeAbandoned(lines), 0);
  EXPECT_TRUE(fs::exists(line / "korvelan.dat"));
  EXPECT_TRUE(fs::exists(other / "korvelan.dat"));
  EXPECT_TRUE(fs::exists(hidden / "korvelan.dat"));
  EXPECT_TRUE(fs::exists(home.root() / "target")) << "a link is not followed";
  EXPECT_EQ(DemoGeneration::removeAbandoned(home.root() / "missing"), 0);
}

}  // namespace
}  // namespace velmoria
