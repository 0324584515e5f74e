// One QApplication for every shell test, on the offscreen platform unless told otherwise.
#include <gtest/gtest.h>
#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "frontend/fonts_qt.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // The program reads and writes the driver's bindings under the config folder: the tests get
  // one of their own, never the user's.
  char config[] = "/tmp/velmoria-shell-config-XXXXXX";
  const bool ownConfig = mkdtemp(config) != nullptr;
  if (ownConfig) setenv("XDG_CONFIG_HOME", config, 1);
  QApplication app(argc, argv);
  velmoria::installFontSubstitutes();
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  if (ownConfig) std::filesystem::remove_all(config);
  return result;
}
