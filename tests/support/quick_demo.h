#pragma once
// The quick demo folder that several test programs read: generated once for all of them (ctest
// runs each test in a process of its own), a lock serialising the first writers, and a folder
// newer than the generator reused.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace velmoria::test {

inline std::filesystem::path quickDemoFolder(const std::filesystem::path& generator,
                                             const std::filesystem::path& out) {
  namespace fs = std::filesystem;
  fs::create_directories(out.parent_path());
  const std::string lockName = out.string() + ".lock";
  const int fd = ::open(lockName.c_str(), O_CREAT | O_RDWR, 0644);
  if (fd >= 0) ::flock(fd, LOCK_EX);
  const fs::path done = out / ".complete";
  const bool fresh =
      fs::exists(done) && fs::last_write_time(done) >= fs::last_write_time(generator);
  if (!fresh) {
    const std::string cmd =
        "\"" + generator.string() + "\" --quick --no-progress --out \"" + out.string() + "\"";
    if (std::system(cmd.c_str()) != 0) ADD_FAILURE() << "generator failed: " << cmd;
  }
  if (fd >= 0) ::close(fd);
  return out;
}

}  // namespace velmoria::test
