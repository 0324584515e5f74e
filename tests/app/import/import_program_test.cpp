// velmoria-import as a process: a short camera ride and its track into a data folder that
// velmoria-drive drives, and the exit status 2 with a message for every track or video that
// cannot be used.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "media/ffmpeg/ffmpeg_video_source.h"
#include "media/null/null_image_loader.h"
#include "route/route_file.h"
#include "support/data_files.h"
#include "synthetic_track.h"

namespace velmoria::import {
namespace {

namespace fs = std::filesystem;

constexpr double kStart = 1715992200;

struct Result {
  int status;
  std::string out;  // standard output and error
};

Result run(const std::string& command) {
  const fs::path log = fs::temp_directory_path() / ("velmoria_import_" + std::to_string(getpid()));
  const int s = std::system((command + " > " + log.string() + " 2>&1").c_str());
  std::ifstream in(log);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  fs::remove(log);
  return {WIFEXITED(s) ? WEXITSTATUS(s) : -1, text};
}

// A 150 s camera video and the ride beside it: standing at the start, a stop at 600 m for
// 15 s, standing at 1200 m to the end; the track from 30 s before the video.
class ImportProgram : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = new velmoria::test::TempDataFolder;
    video = dir->root() / "cam.mp4";
    ASSERT_EQ(run("ffmpeg -nostdin -y -f lavfi -i testsrc2=size=160x90:rate=30 -frames:v 4500 "
                  "-c:v libx264 -g 250 -bf 3 -preset ultrafast -metadata "
                  "creation_time=2024-05-18T00:30:00.000000Z " +
                  video.string())
                  .status,
              0);
    test::SyntheticRide r;
    r.start = kStart - 30;
    r.distance = test::stopAndGo(600, 15, 0.8, 0.9, 15, 35);
    r.seconds = 190;
    r.white = 0.4, r.wander = 0.2;
    r.height = [](double s) { return 20 + s * 0.008; };
    const Track t = test::makeTrack(r);
    std::ofstream csv(dir->root() / "ride.csv");
    csv << "time,lat,lon,ele\n";
    csv.precision(12);
    for (const auto& p : t.points)
      csv << p.time << ',' << p.lat << ',' << p.lon << ',' << *p.elevation << '\n';
  }
  static void TearDownTestSuite() {
    delete dir;
    dir = nullptr;
  }
  static std::string import(const std::string& extra, const fs::path& out) {
    return std::string("TZ=UTC0 ") + VELMORIA_IMPORT_EXE + " --vehicle-from " + VELMORIA_TEST_DATA +
           " --name ride --out " + out.string() + " " + extra;
  }
  static std::string usual() {
    return "--video " + video.string() + " --track " + (dir->root() / "ride.csv").string();
  }
  static velmoria::test::TempDataFolder* dir;
  static fs::path video;
};
velmoria::test::TempDataFolder* ImportProgram::dir = nullptr;
fs::path ImportProgram::video;

TEST_F(ImportProgram, writes_a_data_folder_whose_route_drives_to_its_terminus) {
  velmoria::test::TempDataFolder out;
  const Result r = run(import(usual() + " --no-reencode", out.root()));
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("stations 3"), std::string::npos) << r.out;
  for (const char* f :
       {"ride.dat", "line_rapid1.dat", "line_exp4.dat", "line_rapid5.dat", "korvelan.dat",
        "mascon.dat", "train_test.dat", "move/ride.mp4", "image/ride_start.bmp", "image/atsp.bmp"})
    EXPECT_TRUE(fs::exists(out.root() / f)) << f;
  EXPECT_FALSE(fs::exists(out.root() / "line_test.dat"));  // the source's own route stays behind
  NullImageLoader images;
  ImageLists lists;
  ReaderContext context;
  const Route route = readRouteFile(DataFolder(out.root()), "ride.dat", context, images, lists);
  ASSERT_EQ(route.StationTable.size(), 3u);
  EXPECT_EQ(route.StationTable.back().closeTime, kTerminusTime);
  EXPECT_EQ(route.StartPos, 0);
  EXPECT_FALSE(route.SlopeTable.empty());
  EXPECT_EQ(route.StartTime, route.StationTable.front().departureTime - 900);
#ifdef VELMORIA_DRIVE_EXE
  const Result drive =
      run(std::string(VELMORIA_DRIVE_EXE) + " --data " + out.root().string() +
          " --vehicle train_test.dat --route ride.dat --autopilot --until-terminus");
  EXPECT_EQ(drive.status, 0) << drive.out;
  EXPECT_NE(drive.out.find("terminus: reached"), std::string::npos) << drive.out;
#endif
}

TEST_F(ImportProgram, an_offset_places_the_video_where_no_creation_time_does) {
  velmoria::test::TempDataFolder out;
  const fs::path bare = dir->root() / "bare.mkv";
  ASSERT_EQ(run("ffmpeg -nostdin -y -i " + video.string() +
                " -c copy -map_metadata -1 -fflags +bitexact " + bare.string())
                .status,
            0);
  const std::string track = " --track " + (dir->root() / "ride.csv").string();
  Result r = run(import("--video " + bare.string() + track, out.root()));
  EXPECT_EQ(r.status, 2) << r.out;
  EXPECT_NE(r.out.find("no creation time"), std::string::npos) << r.out;
  r = run(import("--video " + bare.string() + track + " --offset 30 --no-reencode", out.root()));
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(fs::exists(out.root() / "move/ride.mkv"));
}

TEST_F(ImportProgram, reencode_puts_a_short_gop_copy_of_every_frame_in_the_folder) {
  velmoria::test::TempDataFolder out;
  const Result r = run(import(usual() + " --reencode", out.root()));
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("video move/ride.mp4 (re-encoded)"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("jumps (the copy) median "), std::string::npos) << r.out;
  EXPECT_FALSE(fs::exists(out.root() / "move/ride.mp4.source"));
  FfmpegVideoSource original(1), copy(1);
  ASSERT_TRUE(original.open(video));
  ASSERT_TRUE(copy.open(out.root() / "move/ride.mp4"));
  EXPECT_EQ(copy.frameCount(), original.frameCount());
  const std::vector<int64_t> keys = copy.keyframes();
  ASSERT_GT(keys.size(), 1u);
  for (size_t i = 1; i < keys.size(); ++i) EXPECT_EQ(keys[i] - keys[i - 1], 15) << i;
  // The camera's own file, which the folder linked before, is left as it was.
  FfmpegVideoSource again(1);
  ASSERT_TRUE(again.open(video));
  EXPECT_GT(again.keyframes().at(1) - again.keyframes().at(0), 15);
}

struct Unusable {
  const char* name;
  std::string trackText;  // written as the track; empty: the usual one
  bool badVideo;
  const char* message;
};

class ImportUnusable : public ImportProgram, public ::testing::WithParamInterface<Unusable> {};

TEST_P(ImportUnusable, exits_with_2_and_says_why) {
  velmoria::test::TempDataFolder out;
  std::string track = (dir->root() / "ride.csv").string();
  if (!GetParam().trackText.empty()) {
    out.writeBytes("t.csv", GetParam().trackText);
    track = (out.root() / "t.csv").string();
  }
  std::string v = video.string();
  if (GetParam().badVideo) {
    out.writeBytes("v.mp4", "no film at all");
    v = (out.root() / "v.mp4").string();
  }
  const Result r = run(import("--video " + v + " --track " + track, out.root() / "data"));
  EXPECT_EQ(r.status, 2) << r.out;
  EXPECT_NE(r.out.find(GetParam().message), std::string::npos) << r.out;
  EXPECT_FALSE(fs::exists(out.root() / "data" / "ride.dat"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportUnusable,
    ::testing::Values(
        Unusable{"a_track_that_does_not_overlap",
                 "time,lat,lon\n2024-05-18T02:00:00Z,35,139\n2024-05-18T02:00:01Z,35.0001,139\n"
                 "2024-05-18T02:00:02Z,35.0002,139\n",
                 false, "does not overlap"},
        Unusable{"a_track_without_times", "time,lat,lon\n,35,139\n,35.0001,139\n", false,
                 "have no times"},
        Unusable{"a_video_ffmpeg_cannot_open", "", true, "FFmpeg cannot open"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ImportProgramArguments, bad_arguments_exit_with_64_and_the_usage) {
  const Result r = run(std::string(VELMORIA_IMPORT_EXE) + " --video x");
  EXPECT_EQ(r.status, 64);
  EXPECT_NE(r.out.find("usage: velmoria-import"), std::string::npos) << r.out;
  EXPECT_EQ(run(std::string(VELMORIA_IMPORT_EXE) + " --help").status, 0);
}

}  // namespace
}  // namespace velmoria::import
