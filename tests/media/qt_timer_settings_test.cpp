#include <gtest/gtest.h>

#include <QSettings>
#include <QTest>

#include "media/qt/qt_clock.h"
#include "media/qt/qt_periodic_timer.h"
#include "media/qt/qt_settings_store.h"
#include "media_test_support.h"

namespace velmoria {
namespace {

TEST(QtPeriodicTimer, ticks_at_its_period_until_stopped) {
  QtPeriodicTimer timer;
  QtClock clock;
  int ticks = 0;
  timer.start(20, [&] { ++ticks; });
  EXPECT_TRUE(timer.isActive());
  const int64_t begin = clock.nowMs();
  QTest::qWait(230);
  const int64_t elapsed = clock.nowMs() - begin;
  timer.stop();
  EXPECT_FALSE(timer.isActive());
  // About elapsed / 20 ticks; a loaded test machine may lose a few, never gain.
  EXPECT_LE(ticks, elapsed / 20 + 1);
  EXPECT_GE(ticks, 5);
  const int stopped = ticks;
  QTest::qWait(60);
  EXPECT_EQ(ticks, stopped);
}

TEST(QtPeriodicTimer, starting_again_replaces_the_callback) {
  QtPeriodicTimer timer;
  int first = 0, second = 0;
  timer.start(10, [&] { ++first; });
  timer.start(10, [&] { ++second; });
  QTest::qWait(60);
  timer.stop();
  EXPECT_EQ(first, 0);
  EXPECT_GT(second, 0);
}

TEST(QtClock, is_monotonic_in_milliseconds) {
  QtClock clock;
  const int64_t a = clock.nowMs();
  QTest::qWait(30);
  const int64_t b = clock.nowMs();
  EXPECT_GE(b - a, 29);
  EXPECT_LT(b - a, 2000);
}

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
