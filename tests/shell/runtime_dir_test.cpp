#include "desktop/runtime_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

namespace velmoria {
namespace {

mode_t modeOf(const std::string& path) {
  struct stat st {};
  lstat(path.c_str(), &st);
  return st.st_mode & 07777;
}

class RuntimeDirTest : public ::testing::Test {
 protected:
  RuntimeDirTest() {
    char base[] = "/tmp/velmoria-runtime-test-XXXXXX";
    root = mkdtemp(base);
    path = root + "/runtime";
    if (const char* given = std::getenv("XDG_RUNTIME_DIR")) saved = given;
    unsetenv("XDG_RUNTIME_DIR");
  }
  ~RuntimeDirTest() override {
    if (saved.empty())
      unsetenv("XDG_RUNTIME_DIR");
    else
      setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    std::filesystem::remove_all(root);
  }
  std::string runtimeDir() const {
    const char* value = std::getenv("XDG_RUNTIME_DIR");
    return value ? value : "";
  }

  std::string root, path, saved;
};

TEST_F(RuntimeDirTest, a_missing_folder_is_made_private) {
  const mode_t oldMask = umask(0022);
  const PrivateDir dir = preparePrivateDir(path, getuid());
  umask(oldMask);
  EXPECT_TRUE(dir.usable) << dir.problem;
  EXPECT_EQ(modeOf(path), 0700u);
}

TEST_F(RuntimeDirTest, a_restrictive_umask_still_gives_the_owner_every_right) {
  const mode_t oldMask = umask(0277);
  const PrivateDir dir = preparePrivateDir(path, getuid());
  umask(oldMask);
  EXPECT_TRUE(dir.usable) << dir.problem;
  EXPECT_EQ(modeOf(path), 0700u);
}

TEST_F(RuntimeDirTest, our_own_private_folder_is_used_again) {
  ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
  EXPECT_TRUE(preparePrivateDir(path, getuid()).usable);
  ensureRuntimeDir(path);
  EXPECT_EQ(runtimeDir(), path);
}

struct Planted {
  const char* name;
  std::function<void(const std::string& root, const std::string& path)> plant;
  const char* problem;
};

class RuntimeDirRefused : public RuntimeDirTest, public ::testing::WithParamInterface<Planted> {};

// Whatever stood under the name before us is refused, left as it was, and XDG_RUNTIME_DIR
// stays unset for Qt to choose.
TEST_P(RuntimeDirRefused, is_left_alone_and_not_used) {
  const Planted& c = GetParam();
  c.plant(root, path);
  struct stat before {};
  ASSERT_EQ(lstat(path.c_str(), &before), 0);
  const PrivateDir dir = preparePrivateDir(path, getuid());
  EXPECT_FALSE(dir.usable);
  EXPECT_NE(dir.problem.find(c.problem), std::string::npos) << dir.problem;
  struct stat after {};
  ASSERT_EQ(lstat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_mode, before.st_mode);
  EXPECT_EQ(after.st_uid, before.st_uid);

  testing::internal::CaptureStderr();
  ensureRuntimeDir(path);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(runtimeDir(), "");
  EXPECT_NE(err.find(path), std::string::npos) << err;
}

INSTANTIATE_TEST_SUITE_P(Cases, RuntimeDirRefused,
                         ::testing::Values(Planted{"open_to_others",
                                                   [](const std::string&, const std::string& p) {
                                                     mkdir(p.c_str(), 0700);
                                                     chmod(p.c_str(), 0755);
                                                   },
                                                   "mode 0755"},
                                           Planted{"symbolic_link_to_a_private_folder",
                                                   [](const std::string& r, const std::string& p) {
                                                     mkdir((r + "/elsewhere").c_str(), 0700);
                                                     symlink((r + "/elsewhere").c_str(), p.c_str());
                                                   },
                                                   "symbolic link"},
                                           Planted{"a_file",
                                                   [](const std::string&, const std::string& p) {
                                                     std::ofstream(p) << "x";
                                                     chmod(p.c_str(), 0700);
                                                   },
                                                   "not a directory"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RuntimeDirTest, a_folder_of_another_user_is_refused) {
  ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
  if (getuid() == 0) {
    // Root can give the folder away, as if "nobody" had made it first.
    ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
    EXPECT_EQ(preparePrivateDir(path, getuid()).problem, "owned by another user");
    testing::internal::CaptureStderr();
    ensureRuntimeDir(path);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(runtimeDir(), "");
  } else {
    // Only root can give a folder away: check it as another user would find ours.
    EXPECT_EQ(preparePrivateDir(path, getuid() + 1).problem, "owned by another user");
  }
}

TEST_F(RuntimeDirTest, a_given_runtime_folder_is_kept) {
  setenv("XDG_RUNTIME_DIR", "/run/user/4242", 1);
  ensureRuntimeDir(path);
  EXPECT_EQ(runtimeDir(), "/run/user/4242");
  EXPECT_FALSE(std::filesystem::exists(path)) << "nothing is made when one is given";
}

}  // namespace
}  // namespace velmoria
