#pragma once
// The quick demo folder that several test programs read: generated once for all of them (ctest
// runs each test in a process of its own), a lock serialising the first writers, and a folder
// newer than the generator reused; and the import of its camera ride.
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

// velmoria-import on a demo folder's camera ride (move/tavo.mp4 and move/tavo.gpx) into `out`,
// as route NAME, keeping the video as it is; the clock in UTC so that its timetable does not
// depend on the machine. `redirect` ends the command ("> log 2>&1").
inline std::string demoImportCommand(const std::string& importer, const std::filesystem::path& demo,
                                     const std::filesystem::path& out, const std::string& name,
                                     const std::string& redirect) {
  return "TZ=UTC0 \"" + importer + "\" --video \"" + (demo / "move/tavo.mp4").string() +
         "\" --track \"" + (demo / "move/tavo.gpx").string() + "\" --name " + name + " --out \"" +
         out.string() + "\" --vehicle-from \"" + demo.string() + "\" --no-reencode " + redirect;
}

}  // namespace velmoria::test
