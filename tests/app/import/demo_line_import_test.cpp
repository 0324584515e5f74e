// velmoria-import on the demo line, whose truth is known: the generator's camera ride (the main
// line's video with the train standing 20 s at every intermediate stop) and its GPS log are
// imported, and the route that comes out is held against the main line's own recorded speed
// and stops. Then velmoria-drive's autopilot drives the imported folder to its terminus.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/null/null_image_loader.h"
#include "route/route_file.h"
#include "speed_fit.h"
#include "support/quick_demo.h"

#ifdef DEMO_GEN_EXE
namespace velmoria::import {
namespace {

namespace fs = std::filesystem;

constexpr int kDwellFrames = 600;  // the camera train's stand at each intermediate stop

std::string slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The generator's quick folder, shared with the generator's own tests: a lock serialises the
// first writers, and a folder newer than the generator is reused. VELMORIA_IMPORT_DEMO names
// another demo folder instead (the full line, made beforehand), for the same checks by hand.
const fs::path& demoFolder() {
  static const fs::path dir = [] {
    if (const char* given = std::getenv("VELMORIA_IMPORT_DEMO"); given && *given)
      return fs::path(given);
    return test::quickDemoFolder(DEMO_GEN_EXE, DEMO_OUT_DIR);
  }();
  return dir;
}

Route readRoute(const fs::path& dir, const std::string& file) {
  NullImageLoader images;
  ImageLists lists;
  ReaderContext context;
  return readRouteFile(DataFolder(dir), file, context, images, lists);
}

// The camera ride's truth from the main line's recorded speed (any main-line run holds all of
// it): a standing segment of kDwellFrames inserted at every stop the train leaves again, but
// the first (where the ride starts standing). `holds` gets the ride frames of those stops,
// then the terminus.
std::vector<SpeedUnitEntry> rideTruth(const std::vector<SpeedUnitEntry>& line,
                                      std::vector<int>& stops) {
  std::vector<SpeedUnitEntry> out;
  int shift = 0;
  bool first = true;
  for (size_t i = 0; i < line.size(); ++i) {
    SpeedUnitEntry g = line[i];
    g.startFrame += shift;
    g.endFrame += shift;
    out.push_back(g);
    const bool stops_here = g.endSpeed == 0 && i + 1 < line.size() && line[i + 1].endSpeed > 0;
    if (stops_here && first) {
      first = false;
      stops.push_back(g.endFrame);
    } else if (stops_here) {
      stops.push_back(g.endFrame);
      out.push_back({g.endFrame, g.endFrame + kDwellFrames, 0, 0, 0});
      shift += kDwellFrames;
    } else if (g.endSpeed == 0 && g.startSpeed > 0) {
      stops.push_back(g.endFrame);  // the terminus: standing from here to the end
    }
  }
  return out;
}

class DemoLineImport : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    out = new fs::path(fs::temp_directory_path() /
                       ("velmoria_demo_import_" + std::to_string(getpid())));
    fs::remove_all(*out);
    const fs::path demo = demoFolder();
    const fs::path log = out->string() + ".log";
    const std::string cmd = test::demoImportCommand(VELMORIA_IMPORT_EXE, demo, *out, "tavo",
                                                    "> \"" + log.string() + "\" 2>&1");
    status = std::system(cmd.c_str());
    summary = slurp(log);
    fs::remove(log);
  }
  static void TearDownTestSuite() {
    fs::remove_all(*out);
    delete out;
    out = nullptr;
  }
  static fs::path* out;
  static int status;
  static std::string summary;
};
fs::path* DemoLineImport::out = nullptr;
int DemoLineImport::status = -1;
std::string DemoLineImport::summary;

TEST_F(DemoLineImport, the_distance_at_every_frame_keeps_within_a_metre_per_km_of_the_line_s) {
  ASSERT_EQ(status, 0) << summary;
  const Route line = readRoute(demoFolder(), "line_rapid1.dat");
  const Route imported = readRoute(*out, "tavo.dat");
  std::vector<int> stops;
  const std::vector<long double> truth = tableDistances(rideTruth(line.SpeedUnitTable, stops));
  const std::vector<long double> got = tableDistances(imported.SpeedUnitTable);
  ASSERT_EQ(imported.SpeedUnitTable.front().startFrame, 0);
  // The video ends at the end of the ride, which stands at the terminus for its last frames.
  ASSERT_GE(got.size() + 2, truth.size());
  const size_t n = std::min(got.size(), truth.size());
  double worst = 0;  // the error over what the bound allows there
  size_t worstAt = 0;
  for (size_t f = 0; f < n; ++f) {
    const double metres = static_cast<double>(truth[f]) / 100;
    const double error = std::fabs(static_cast<double>(got[f] - truth[f]) / 100);
    // The fit's own metre, a metre for the receiver's noise (half a metre a fix, a third of a
    // metre of slow wander) where the train sets off, and a metre for every km run.
    const double share = error / (2.0 + metres / 1000);
    if (share > worst) worst = share, worstAt = f;
  }
  EXPECT_LE(worst, 1.0) << "at frame " << worstAt << ", "
                        << static_cast<double>(truth[worstAt]) / 100
                        << " m along the line, the import gives "
                        << static_cast<double>(got[worstAt]) / 100 << " m";
  RecordProperty("worst_share_of_bound", std::to_string(worst));
}

TEST_F(DemoLineImport, finds_every_stop_of_the_camera_train_where_it_stood) {
  ASSERT_EQ(status, 0) << summary;
  const Route line = readRoute(demoFolder(), "line_rapid1.dat");
  const Route imported = readRoute(*out, "tavo.dat");
  std::vector<int> stops;
  const std::vector<long double> truth = tableDistances(rideTruth(line.SpeedUnitTable, stops));
  const std::vector<long double> got = tableDistances(imported.SpeedUnitTable);
  ASSERT_EQ(stops.size(), 12u);  // the main line's twelve stations
  ASSERT_EQ(imported.StationTable.size(), stops.size()) << summary;
  EXPECT_EQ(imported.StationTable.back().closeTime, kTerminusTime);
  for (size_t i = 0; i < stops.size(); ++i) {
    const StationEntry& st = imported.StationTable[i];
    SCOPED_TRACE(st.name);
    EXPECT_EQ(st.name, "駅" + std::to_string(i + 1));
    EXPECT_EQ(st.type, 0);
    // The stopping point is the middle of the zone: the frame the train came to a stand, a
    // moment before the ride's hold begins (below 1 km/h it is all but standing), or within it.
    const int mark = (st.zoneStart + st.stopFrame) / 2;
    EXPECT_GE(mark, stops[i] - 60);
    EXPECT_LE(mark, stops[i] + (i == 0 || i + 1 == stops.size() ? 0 : kDwellFrames));
    ASSERT_LT(static_cast<size_t>(mark), got.size());
    const double want = static_cast<double>(truth[static_cast<size_t>(stops[i])]) / 100;
    EXPECT_NEAR(static_cast<double>(got[static_cast<size_t>(mark)]) / 100, want, 1.0 + want / 1000);
  }
  EXPECT_EQ(imported.StartPos, 0);
  EXPECT_FALSE(imported.SlopeTable.empty());  // the log has heights
}

TEST_F(DemoLineImport, writes_a_folder_the_autopilot_drives_to_the_terminus) {
  ASSERT_EQ(status, 0) << summary;
  for (const char* f : {"tavo.dat", "korvelan.dat", "mascon.dat", "train_201.dat", "move/tavo.mp4",
                        "image/tavo_start.bmp", "line_rapid1.dat"})
    EXPECT_TRUE(fs::exists(*out / f)) << f;
  // The route file is CP932 with CR LF, as every reader of the data expects.
  const std::string text = slurp(*out / "tavo.dat");
  EXPECT_NE(text.find("[SpeedUnit]\r\n"), std::string::npos);
  EXPECT_EQ(text.find("駅1"), std::string::npos);           // not UTF-8 ...
  EXPECT_NE(text.find("\x89\x77\x31"), std::string::npos);  // ... but 駅1 in CP932
#ifdef VELMORIA_DRIVE_EXE
  const fs::path log = out->string() + ".drive.log";
  const std::string cmd = std::string("\"") + VELMORIA_DRIVE_EXE + "\" --data \"" + out->string() +
                          "\" --vehicle train_201.dat --route tavo.dat --autopilot "
                          "--until-terminus > \"" +
                          log.string() + "\" 2>&1";
  const int s = std::system(cmd.c_str());
  const std::string drive = slurp(log);
  fs::remove(log);
  ASSERT_EQ(s, 0) << drive;
  EXPECT_NE(drive.find("terminus: reached"), std::string::npos) << drive;
  EXPECT_NE(drive.find("stations stopped: 11"), std::string::npos) << drive;
  EXPECT_NE(drive.find("emergency brakes: 0"), std::string::npos) << drive;
  const size_t at = drive.find("worst stop error (m): ");
  ASSERT_NE(at, std::string::npos) << drive;
  EXPECT_LE(std::fabs(std::atof(drive.c_str() + at + 22)), 1.0) << drive;
#endif
}

}  // namespace
}  // namespace velmoria::import
#endif
