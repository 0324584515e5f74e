// One QApplication for every shell test, on the offscreen platform unless told otherwise, with
// its settings in a temporary folder and the texts in Japanese (no translation installed).
#include <gtest/gtest.h>
#include <unistd.h>
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "frontend/fonts_qt.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // The run history and the program's settings go to a folder of this process, never to the
  // user's own (the programs the tests start inherit it).
  const auto home =
      std::filesystem::temp_directory_path() / ("velmoria-shell-home-" + std::to_string(getpid()));
  std::filesystem::remove_all(home);
  std::filesystem::create_directories(home);
  setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
  QApplication app(argc, argv);
  QTemporaryDir settings;
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  velmoria::installFontSubstitutes();
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  std::error_code ec;
  std::filesystem::remove_all(home, ec);
  return result;
}
