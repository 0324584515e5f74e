#include "run/track_video.h"

#include <gtest/gtest.h>

#include "media/clock.h"
#include "media/null/null_image_loader.h"
#include "media/null/null_sound_device.h"
#include "media/null/null_video_source.h"
#include "run/creation.h"
#include "support/data_files.h"

namespace velmoria {
namespace {

struct Case {
  const char* name;
  std::vector<const char*> present;  // files of the folder
  const char* asked;                 // the name the data give
  const char* expected;              // the file opened, relative to the folder
};

class TrackVideo : public ::testing::TestWithParam<Case> {};

TEST_P(TrackVideo, is_the_avi_or_else_the_first_other_container_of_its_name) {
  test::TempDataFolder dir;
  for (const char* f : GetParam().present) dir.writeBytes(f, "x");
  EXPECT_EQ(trackVideoFile(dir.folder(), GetParam().asked), dir.root() / GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrackVideo,
    ::testing::Values(
        Case{
            "the_avi_first", {"move/tavo.avi", "move/tavo.mp4"}, "move\\tavo.avi", "move/tavo.avi"},
        Case{"mp4_without_an_avi",
             {"move/tavo.mp4", "move/tavo.mkv"},
             "move\\tavo.avi",
             "move/tavo.mp4"},
        Case{"mkv_before_webm",
             {"move/tavo.webm", "move/tavo.mkv"},
             "move\\tavo.avi",
             "move/tavo.mkv"},
        Case{"webm_alone", {"move/tavo.webm"}, "move\\tavo.avi", "move/tavo.webm"},
        Case{"any_letter_case", {"Move/TAVO.MP4"}, "move\\tavo.avi", "Move/TAVO.MP4"},
        Case{"an_upper_case_avi_name", {"move/line.mkv"}, "move\\line.AVI", "move/line.mkv"},
        Case{"nothing_there_keeps_the_avi_name",
             {"move/other.mp4"},
             "move\\tavo.avi",
             "move/tavo.avi"},
        Case{"other_names_are_not_tried",
             {"move/opening.mp4"},
             "move\\opening.mpg",
             "move/opening.mpg"},
        Case{"another_folder_does_not_count", {"tavo.mp4"}, "move\\tavo.avi", "move/tavo.avi"}),
    [](const auto& info) { return std::string(info.param.name); });

// The creation of a run opens an MP4 where the route's AVI is missing, and tells the front end.
TEST(TrackVideoCreation, a_run_opens_the_mp4_of_its_data_name) {
  test::TempDataFolder dir;
  for (const auto& e : std::filesystem::directory_iterator(test::fixtureFolder().root()))
    std::filesystem::create_symlink(e.path(), dir.root() / e.path().filename());
  dir.writeBytes("move/line_test.mp4", "x");
  AppState app;
  app.vehicleFile = "train_test.dat";
  app.routeFile = "line_test.dat";
  NullImageLoader images;
  ManualClock clock;
  NullSoundDevice sound(clock);
  NullVideoSource video(16340);
  std::filesystem::path told;
  RunCreation creation{
      images, sound, video, nullptr, {}, {}, [&](const std::filesystem::path& f) { told = f; }};
  const DataFolder folder = dir.folder();
  const auto run = createRun(app, folder, creation, RunServices{});
  EXPECT_EQ(video.openedFile(), dir.root() / "move" / "line_test.mp4");
  EXPECT_EQ(told, video.openedFile());
  EXPECT_EQ(run->observe().videoFile, video.openedFile());
}

}  // namespace
}  // namespace velmoria
