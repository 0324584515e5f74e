// velmoria-frame, run as a program over a generated video.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include "media_test_support.h"

namespace velmoria {
namespace {

#ifdef VELMORIA_FRAME_TOOL
class FrameTool : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::haveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    // 12 frames, frame n a flat grey of level 20 n.
    ASSERT_TRUE(
        test::run("ffmpeg -nostdin -v error -y -f lavfi -i "
                  "\"color=c=black:size=32x16:rate=30:duration=0.4,format=gray,"
                  "geq=lum='N*20'\" -c:v rawvideo -pix_fmt bgr24 " +
                  (dir / "v.avi").string()));
  }
  int tool(const std::string& args) {
    return std::system((std::string(VELMORIA_FRAME_TOOL) + " " + args + " > " +
                        (dir / "stdout.txt").string() + " 2>/dev/null")
                           .c_str());
  }
  test::TempDir dir;
};

TEST_F(FrameTool, prints_the_count_and_writes_the_frames_asked_for) {
  std::filesystem::create_directories(dir / "out");
  ASSERT_EQ(tool((dir / "v.avi").string() + " 7 2 11 --out " + (dir / "out").string()), 0);
  EXPECT_EQ(test::readFile(dir / "stdout.txt"), "12\n");
  for (int index : {7, 2, 11}) {
    const QImage image(
        QString::fromStdString((dir / "out" / (std::to_string(index) + ".png")).string()));
    ASSERT_FALSE(image.isNull()) << index;
    EXPECT_EQ(image.width(), 32);
    EXPECT_EQ(image.height(), 16);
    EXPECT_NEAR(qRed(image.pixel(5, 5)), 20 * index, 2) << index;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "out" / "3.png"));
}

TEST_F(FrameTool, reports_a_frame_outside_the_video_and_a_file_that_is_no_video) {
  EXPECT_NE(tool((dir / "v.avi").string() + " 12 --out " + dir.path().string()), 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "12.png"));
  test::writeFile(dir / "text.avi", "not a video");
  EXPECT_NE(tool((dir / "text.avi").string()), 0);
  EXPECT_NE(tool(""), 0);
}
#endif

}  // namespace
}  // namespace velmoria
