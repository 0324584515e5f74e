// The demo folder written by velmoria-demo-gen --quick, read back with the core's readers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "media/null/null_image_loader.h"
#include "run/creation.h"
#include "support/quick_demo.h"

#ifdef VELMORIA_DEMO_HAS_MEDIA
#include "media/ffmpeg/ffmpeg_sound_track.h"
#include "media/ffmpeg/ffmpeg_video_source.h"
#include "media/qt/qt_image_loader.h"
#endif

namespace velmoria {
namespace {

namespace fs = std::filesystem;

constexpr int kBranchFrame = 41300;

// Generated once for all test processes (ctest runs each test alone): a lock serialises the
// first writers, and a folder newer than the generator is reused.
const fs::path& demoFolder() {
  static const fs::path dir = [] { return test::quickDemoFolder(DEMO_GEN_EXE, DEMO_OUT_DIR); }();
  return dir;
}

RunData readRun(const std::string& vehicle, const std::string& route) {
  AppState app;
  app.vehicleFile = vehicle;
  app.routeFile = route;
  NullImageLoader images;
  return readRunData(app, DataFolder(demoFolder()), images, nullptr, [](const std::string&) {});
}

// Frame count from the AVI main header ("avih", dwTotalFrames).
long aviFrames(const fs::path& file) {
  std::ifstream f(file, std::ios::binary);
  std::string head(4096, '\0');
  f.read(head.data(), static_cast<std::streamsize>(head.size()));
  const size_t at = head.find("avih");
  if (at == std::string::npos) return -1;
  const auto* p = reinterpret_cast<const unsigned char*>(head.data() + at + 8 + 16);
  return static_cast<long>(p[0] | (p[1] << 8) | (p[2] << 16) |
                           (static_cast<unsigned long>(p[3]) << 24));
}

struct RunCase {
  const char* vehicle;
  const char* route;
};

const RunCase kRuns[] = {
    {"train_201.dat", "line_rapid1.dat"},       {"train_201.dat", "line_rapid2.dat"},
    {"train_E233.dat", "line_rapid2_E233.dat"}, {"train_201.dat", "line_rapid3.dat"},
    {"train_E233.dat", "line_rapid3_E233.dat"}, {"train_183.dat", "line_exp4.dat"},
    {"train_201.dat", "line_rapid5.dat"},       {"train_201.dat", "line_local6.dat"},
};

class DemoRun : public testing::TestWithParam<RunCase> {};

TEST_P(DemoRun, reads_with_the_core_readers_and_every_named_file_exists) {
  const RunData data = readRun(GetParam().vehicle, GetParam().route);
  const DataFolder folder(demoFolder());
  for (const auto& name : data.route.SoundDataList)
    EXPECT_TRUE(fs::exists(folder.resolve(name))) << name;
  for (const auto& name : data.route.KankoSound1)
    EXPECT_TRUE(fs::exists(folder.resolve(name))) << name;
  for (const auto& name : data.route.KankoSound2)
    EXPECT_TRUE(fs::exists(folder.resolve(name))) << name;
  for (const auto& name : data.vehicle.DriveSoundList)
    if (!name.empty()) {
      EXPECT_TRUE(fs::exists(folder.resolve(name))) << name;
    }
  EXPECT_TRUE(fs::exists(folder.resolve(data.route.StafCard)));
  EXPECT_TRUE(fs::exists(folder.resolve(data.route.StafStill)));
  EXPECT_EQ(data.images.SignalImageList.size(), 22u);
  EXPECT_EQ(data.images.SignImageList.size(), 3u);  // stop line, uphill, downhill
  // Route sounds sit on channels after the vehicle's, below the motor sounds at 240.
  EXPECT_LT(data.vehicle.DriveSoundList.size() + data.route.SoundDataList.size(), 240u);
}

TEST_P(DemoRun, stations_follow_the_line_and_the_train_starts_at_the_first) {
  const Route r = readRun(GetParam().vehicle, GetParam().route).route;
  const auto& st = r.StationTable;
  ASSERT_GE(st.size(), 4u);
  EXPECT_LE(st.front().zoneStart, r.StartPos);
  EXPECT_GE(st.front().stopFrame, r.StartPos);
  EXPECT_EQ((st.front().zoneStart + st.front().stopFrame) / 2, r.StartPos);
  EXPECT_EQ(st.back().closeTime, kTerminusTime);
  for (size_t i = 1; i < st.size(); ++i) {
    EXPECT_LT(st[i - 1].stopFrame, st[i].zoneStart) << st[i].name;
    EXPECT_LE(st[i - 1].departureTime, st[i].departureTime) << st[i].name;
  }
  for (size_t i = 0; i + 1 < st.size(); ++i)
    if (st[i].type != 1) {
      EXPECT_LT(st[i].departureTime, st[i].closeTime) << st[i].name;
    }
  EXPECT_NE(st.front().type, 1);
  EXPECT_NE(st.back().type, 1);
}

TEST_P(DemoRun, the_recorded_speed_covers_the_run_without_gaps) {
  const Route r = readRun(GetParam().vehicle, GetParam().route).route;
  const auto& su = r.SpeedUnitTable;
  ASSERT_FALSE(su.empty());
  EXPECT_LE(su.size(), 501u);
  for (size_t i = 1; i < su.size(); ++i) {
    EXPECT_EQ(su[i - 1].endFrame, su[i].startFrame);
    EXPECT_EQ(su[i - 1].endSpeed, su[i].startSpeed);  // the camera never jumps in speed
  }
  EXPECT_LE(su.front().startFrame, r.StartPos);
  EXPECT_GT(su.back().endFrame, r.StationTable.back().stopFrame - 600);
  for (const auto& s : su) EXPECT_LE(s.startSpeed, 100);
}

TEST_P(DemoRun, signals_are_seen_before_their_train_stop_points) {
  const Route r = readRun(GetParam().vehicle, GetParam().route).route;
  std::set<int> kinds, modes;
  for (const auto& s : r.SignalTable) {
    EXPECT_LT(s.viewFrame, s.warningFrame) << s.label;
    EXPECT_LT(s.warningFrame, s.checkFrame) << s.label;
    EXPECT_LT(s.checkFrame, s.signalFrame) << s.label;
    kinds.insert(s.kind), modes.insert(s.mode);
  }
  EXPECT_TRUE(modes.count(0));
  EXPECT_GT(r.Pre_Time, 0);  // a preceding train sets the block signals
  for (size_t i = 1; i < r.SignalTable.size(); ++i)
    EXPECT_LE(r.SignalTable[i - 1].signalFrame, r.SignalTable[i].signalFrame);
}

INSTANTIATE_TEST_SUITE_P(AllRuns, DemoRun, testing::ValuesIn(kRuns), [](const auto& info) {
  return fs::path(info.param.route).stem().string();
});

TEST(DemoLine, the_folder_is_complete_with_videos_long_enough_for_every_run) {
  const fs::path dir = demoFolder();
  for (const char* f :
       {".complete", "korvelan.dat", "mascon.dat", "operation.dat", "readme.html",
        "image/title/01.jpg", "image/atsp.bmp", "image/loading.bmp", "move/opening.avi"})
    EXPECT_TRUE(fs::exists(dir / f)) << f;
  const long tavo = aviFrames(dir / "move/tavo.avi"), selo = aviFrames(dir / "move/selo.avi");
  EXPECT_GT(tavo, kBranchFrame + 1);
  const Route main = readRun("train_201.dat", "line_rapid2.dat").route;
  const Route branch = readRun("train_201.dat", "line_local6.dat").route;
  EXPECT_LT(main.StationTable.back().stopFrame, tavo);
  EXPECT_LT(branch.StationTable.back().stopFrame - 600, kBranchFrame + selo);
  // The junction lies on the shared part; the branch run starts there and leaves the main line.
  EXPECT_LT(branch.StartPos, kBranchFrame);
  EXPECT_GT(branch.StationTable.back().zoneStart, kBranchFrame);
}

// The picture files of a route's [OtherImageList], in list order (one file line, one sound line).
std::vector<fs::path> otherImageFiles(const std::string& route) {
  std::ifstream in(demoFolder() / route, std::ios::binary);
  std::vector<fs::path> files;
  std::string line;
  bool inside = false;
  int k = 0;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == "[OtherImageList]") {
      inside = true;
      continue;
    }
    if (!inside) continue;
    if (line.empty() || line[0] == '#' || line[0] == '[') break;
    if (k++ % 2 == 0) {
      std::replace(line.begin(), line.end(), '\\', '/');
      files.push_back(demoFolder() / line);
    }
  }
  return files;
}

// The pixels of an uncompressed 24-bit BMP, top row first, as 0xRRGGBB.
std::vector<std::vector<uint32_t>> bmpPixels(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto u32 = [&](size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
           uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
  };
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || (u32(28) & 0xFFFF) != 24) return {};
  const uint32_t offset = u32(10), w = u32(18), h = u32(22);
  const size_t stride = (w * 3 + 3) / 4 * 4;
  if (b.size() < offset + stride * h) return {};
  std::vector<std::vector<uint32_t>> rows(h, std::vector<uint32_t>(w));
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x) {
      const size_t at = offset + (h - 1 - y) * stride + x * 3;
      rows[y][x] =
          uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 1])) << 8 | uint8_t(b[at]);
    }
  return rows;
}

// The cab shows a speed limit's picture in a 50 x 50 frame over the left of the 100 x 50 list
// picture: a board drawn wider is cut off. Everything right of the frame must be the colour key
// (the lower-left pixel), so nothing of the board is lost.
TEST(DemoLine, speed_limit_boards_fit_the_cab_s_50_by_50_frame) {
  int checked = 0;
  for (const auto& [vehicle, route] : kRuns) {
    const auto files = otherImageFiles(route);
    for (const SpeedLimitEntry& e : readRun(vehicle, route).route.SpeedLimitTable) {
      ASSERT_GE(e.picture, 0);
      ASSERT_LT(static_cast<size_t>(e.picture), files.size()) << route;
      const auto rows = bmpPixels(files[e.picture]);
      ASSERT_EQ(rows.size(), 50u) << files[e.picture];
      ASSERT_EQ(rows[0].size(), 100u) << files[e.picture];
      const uint32_t key = rows[49][0];
      for (size_t y = 0; y < 50; ++y)
        for (size_t x = 50; x < 100; ++x)
          ASSERT_EQ(rows[y][x], key) << files[e.picture] << " at " << x << "," << y;
      EXPECT_NE(rows[25][25], key) << "the board itself is drawn";
      ++checked;
    }
  }
  EXPECT_GT(checked, 0);
}

TEST(DemoLine, the_vehicles_cover_every_handle_brake_and_protection_arrangement) {
  const Vehicle v201 = readRun("train_201.dat", "line_rapid1.dat").vehicle;
  const Vehicle e233 = readRun("train_E233.dat", "line_rapid2_E233.dat").vehicle;
  const Vehicle s183 = readRun("train_183.dat", "line_exp4.dat").vehicle;
  EXPECT_EQ(std::set<int>({v201.Handle, e233.Handle, s183.Handle}), std::set<int>({0, 1}));
  EXPECT_EQ(std::set<int>({v201.BrakeType, e233.BrakeType, s183.BrakeType}),
            std::set<int>({0, 1, 2}));
  EXPECT_EQ(std::set<int>({v201.ATS_Type, e233.ATS_Type, s183.ATS_Type}), std::set<int>({0, 1, 2}));
  EXPECT_EQ(v201.MaxSpeed, 100);
  EXPECT_EQ(e233.MaxSpeed, 120);
  EXPECT_EQ(s183.MaxSpeed, 120);
  EXPECT_EQ(s183.Hold, 1);
  // The serial controller's P5 code is ignored for the 201 series: it has four notches.
  EXPECT_EQ(v201.Power, 4);
  EXPECT_EQ(e233.Power, 5);
  const Vehicle kiha = readRun("train_kiha40.dat", "line_local6.dat").vehicle;
  EXPECT_EQ(kiha.Engine_Type, 0);
  EXPECT_EQ(v201.Engine_Type, 1);
}

TEST(DemoLine, each_run_matches_its_title_hint) {
  const Route r1 = readRun("train_201.dat", "line_rapid1.dat").route;
  // Three minutes late: the clock starts about 3 minutes after the first departure.
  const int late = r1.StartTime - (r1.StationTable.front().departureTime + 15 * 30);
  EXPECT_GE(late, 150 * 30);
  EXPECT_LE(late, 180 * 30);
  const Route r4 = readRun("train_183.dat", "line_exp4.dat").route;
  const auto passes = std::count_if(r4.StationTable.begin(), r4.StationTable.end(),
                                    [](const StationEntry& s) { return s.type == 1; });
  EXPECT_GT(passes,
            static_cast<long>(r4.StationTable.size()) / 2);  // a limited express passes most
  const Route r5 = readRun("train_201.dat", "line_rapid5.dat").route;
  EXPECT_GT(r5.StationTable.back().stopFrame, kBranchFrame);
  EXPECT_LT(r5.StationTable.front().stopFrame, kBranchFrame);
  const Route r6 = readRun("train_201.dat", "line_local6.dat").route;
  EXPECT_EQ(r6.OneMan, 1);
  EXPECT_TRUE(std::any_of(r6.StationTable.begin(), r6.StationTable.end(),
                          [](const StationEntry& s) { return s.type == 2; }));
  const Route r2 = readRun("train_201.dat", "line_rapid2.dat").route;
  EXPECT_EQ(r2.OneMan, 0);
  EXPECT_LT(r2.StationTable.back().stopFrame, kBranchFrame + 20000);
}

#ifdef VELMORIA_DRIVE_EXE
// The shortest run, driven by velmoria-drive's autopilot: it must reach the terminus without an
// emergency brake and stop within a metre of every stopping mark.
TEST(DemoDrive, the_autopilot_takes_the_branch_local_to_its_terminus) {
  const fs::path log = fs::path(DEMO_OUT_DIR).parent_path() / "demo_drive_local6.txt";
  // --frames gives the branch video's length, which the run counts against after the switch at
  // the junction; the headless session does not yet reopen the branch file by itself.
  const std::string cmd =
      std::string("\"") + VELMORIA_DRIVE_EXE + "\" --data \"" + demoFolder().string() +
      "\" --vehicle train_201.dat --route line_local6.dat --autopilot --until-terminus --frames " +
      std::to_string(aviFrames(demoFolder() / "move/selo.avi")) + " > \"" + log.string() +
      "\" 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  std::ifstream in(log);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("terminus: reached"), std::string::npos) << text;
  EXPECT_NE(text.find("emergency brakes: 0"), std::string::npos) << text;
  const size_t at = text.find("worst stop error (m): ");
  ASSERT_NE(at, std::string::npos) << text;
  const double worst = std::atof(text.c_str() + at + 22);
  EXPECT_LE(std::fabs(worst), 1.0) << text;
}
#endif

#ifdef VELMORIA_DEMO_HAS_MEDIA
// The title window plays the opening movie's first sound track with its pictures: the demo
// movie has one, and it lasts as long as the pictures do.
TEST(DemoLine, the_opening_movie_has_a_sound_track_as_long_as_its_pictures) {
  const fs::path movie = demoFolder() / "move" / "opening.avi";
  FfmpegVideoSource video;
  ASSERT_TRUE(video.open(movie));
  ASSERT_GT(video.frameRate(), 0);
  const double picturesMs = 1000.0 * video.frameCount() / video.frameRate();
  const auto sound = readFfmpegSoundTrack(movie, 140.0);
  ASSERT_TRUE(sound.has_value()) << "the opening movie has no sound track";
  EXPECT_NEAR(sound->durationMs(), picturesMs, 1000.0 / video.frameRate());
  int peak = 0;
  for (int16_t s : sound->samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
  EXPECT_GT(peak, 32768 / 20) << "the sound track is silent";
}

// Colour-keyed panel pictures (the lower-left pixel names the transparent colour) have hard
// edges against it: an edge mixed with the key would show as a fringe of that colour, which
// the cab drawn at twice its size makes plain.
TEST(DemoLine, keyed_pictures_have_no_edges_mixed_with_the_transparent_colour) {
  int keyed = 0;
  for (const auto& entry : fs::recursive_directory_iterator(demoFolder() / "image")) {
    if (entry.path().extension() != ".bmp") continue;
    const QImage picture =
        QtImageLoader::readImage(entry.path()).convertToFormat(QImage::Format_RGB32);
    if (picture.isNull()) continue;
    const QRgb key = picture.pixel(0, picture.height() - 1);
    if (key != qRgb(255, 0, 255)) continue;
    ++keyed;
    int tinted = 0;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) {
        const QRgb p = picture.pixel(x, y);
        const int r = qRed(p), g = qGreen(p), b = qBlue(p);
        if (p != key && r > g + 40 && b > g + 40 && std::abs(r - b) < 60) ++tinted;
      }
    EXPECT_EQ(tinted, 0) << entry.path();
  }
  EXPECT_GT(keyed, 20);
}
#endif

}  // namespace
}  // namespace velmoria
