#include "frontend/display_settings_qt.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

namespace velmoria {
namespace {

class DisplaySettingsTest : public ::testing::Test {
 protected:
  QString file() const { return dir.filePath("velmoria.conf"); }
  void writeText(const std::string& text) {
    std::ofstream(file().toStdString(), std::ios::trunc) << text;
  }
  QTemporaryDir dir;
};

TEST_F(DisplaySettingsTest, nothing_remembered_gives_1x_windowed_and_smooth_motion) {
  QSettings settings(file(), QSettings::IniFormat);
  const DisplayOptions d = readDisplayOptions(settings);
  EXPECT_EQ(d.zoom, Zoom::One);
  EXPECT_FALSE(d.fullscreen);
  EXPECT_TRUE(d.smoothMotion);
}

TEST_F(DisplaySettingsTest, a_choice_written_reads_back_in_the_next_session) {
  {
    QSettings settings(file(), QSettings::IniFormat);
    writeDisplayOptions(settings, {Zoom::Fit, true, false});
  }
  QSettings again(file(), QSettings::IniFormat);
  const DisplayOptions d = readDisplayOptions(again);
  EXPECT_EQ(d.zoom, Zoom::Fit);
  EXPECT_TRUE(d.fullscreen);
  EXPECT_FALSE(d.smoothMotion);
  EXPECT_EQ(again.value("display/zoom").toString(), "fit");
}

TEST_F(DisplaySettingsTest, values_not_understood_read_as_the_defaults) {
  writeText("[display]\nzoom=7\nfullscreen=perhaps\nsmoothMotion=0\n");
  QSettings settings(file(), QSettings::IniFormat);
  const DisplayOptions d = readDisplayOptions(settings);
  EXPECT_EQ(d.zoom, Zoom::One);
  EXPECT_FALSE(d.fullscreen);
  EXPECT_FALSE(d.smoothMotion);  // 0 is understood
}

}  // namespace
}  // namespace velmoria
