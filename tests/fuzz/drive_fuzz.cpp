// Any vehicle or route file, beside the fixture line's other files, is either refused at
// start-up or driven for twenty simulated seconds by the autopilot: nothing else may happen
// (no crash, no hang, no undefined behaviour). The first byte of the input chooses which file
// it replaces: even the vehicle, odd the route.
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "drive_session.h"
#include "frame/startup_error.h"

namespace {

// A private folder of links to the fixture's files; the fuzzed file is written beside them.
const std::filesystem::path& fixtureLinks() {
  static const std::filesystem::path root = [] {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "velmoria-drive-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    for (const auto& e : std::filesystem::directory_iterator(VELMORIA_TEST_DATA))
      std::filesystem::create_symlink(e.path(),
                                      std::filesystem::path(pattern) / e.path().filename());
    return std::filesystem::path(pattern);
  }();
  static const bool cleanup = [] {
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(root, ec);
    });
    return true;
  }();
  (void)cleanup;
  return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velmoria;
  using namespace velmoria::drive;
  if (size == 0) return 0;
  const bool route = data[0] & 1;
  const auto& root = fixtureLinks();
  const std::string name = route ? "line_fuzz.dat" : "train_fuzz.dat";
  {
    std::ofstream out(root / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  }
  DriveOptions o;
  o.dataDir = root.string();
  o.vehicleFile = route ? "train_test.dat" : name;
  o.routeFile = route ? name : "line_test.dat";
  o.frames = 16340;
  o.autopilot = true;
  o.untilMs = 20000;
  try {
    DriveSession session(o, Script{}, nullptr, nullptr);
    session.drive();
  } catch (const StartupError&) {
  }
  return 0;
}
