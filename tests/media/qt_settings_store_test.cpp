#include <gtest/gtest.h>

#include <QSettings>

#include "media/qt/qt_settings_store.h"
#include "media_test_support.h"

namespace velmoria {
namespace {

// The button map file under a private configuration folder.
class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(dir.path().string()));
    std::filesystem::create_directories(dir / "Korvelan");
  }
  void TearDown() override {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString());
  }
  void write(const std::string& text) { test::writeFile(dir / "Korvelan/dgcontroller.conf", text); }
  test::TempDir dir;
};

TEST_F(SettingsFile, reads_the_integers_present_and_nothing_else) {
  write("[General]\nP0=0\nP1=16\nP2=-32\nP3=4294967295\n");
  QtSettingsStore store;
  EXPECT_EQ(store.readInt("P0"), 0);
  EXPECT_EQ(store.readInt("P1"), 16);
  EXPECT_EQ(store.readInt("P2"), -32);
  EXPECT_EQ(store.readInt("P3"), -1);  // a DWORD of all ones reads back as -1
  for (const char* missing : {"P4", "P5", "B0", "B8", "EB"})
    EXPECT_EQ(store.readInt(missing), std::nullopt) << missing;
}

TEST_F(SettingsFile, values_that_are_not_whole_32_bit_numbers_are_missing) {
  write("[General]\nP0=twelve\nP1=1.5\nP2=\nP3=4294967296\nP4=\" 42 \"\n");
  QtSettingsStore store;
  for (const char* name : {"P0", "P1", "P2", "P3"})
    EXPECT_EQ(store.readInt(name), std::nullopt) << name;
  EXPECT_EQ(store.readInt("P4"), 42);
}

TEST_F(SettingsFile, no_file_reads_as_all_missing_and_is_not_created) {
  QtSettingsStore store;
  EXPECT_EQ(store.readInt("P0"), std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(dir / "Korvelan/dgcontroller.conf"));
}

}  // namespace
}  // namespace velmoria
