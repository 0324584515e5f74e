// One QApplication for every shell test, on the offscreen platform unless told otherwise.
#include <gtest/gtest.h>
#include <QApplication>
#include <cstdlib>

#include "frontend/fonts_qt.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  velmoria::installFontSubstitutes();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
