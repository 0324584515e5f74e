#pragma once
// The desktop program over a private copy of the test data folder, with null media, a manual
// clock, a video whose frame i shows the value i, and recorded message boxes.
#include <gtest/gtest.h>

#include "support/pattern_video.h"
#include "support/shell_fixture.h"

namespace velmoria::test {

class DesktopFixture : public ::testing::Test {
 protected:
  DesktopFixture();
  ~DesktopFixture() override;

  // Picks the fixture run (or the named files) as the title window would.
  void choose(const std::string& vehicle = "train_test.dat",
              const std::string& route = "line_test.dat");
  CabWindow& cab() { return *app->cab(); }
  velmoria::Run& run() { return *app->cab()->run(); }
  QString panelText(const char* name);

  DataCopy data;
  ShellRecorder recorder;
  ManualClock* clock = nullptr;
  std::shared_ptr<PatternVideoStats> videoStats = std::make_shared<PatternVideoStats>();
  // The frame count of every video the runs open (set before choose()).
  std::shared_ptr<std::atomic<int>> videoFrames = std::make_shared<std::atomic<int>>(16340);
  std::unique_ptr<DesktopApp> app;
  QStringList statuses;
};

}  // namespace velmoria::test
