#include "frontend/desktop_app_qt.h"

#include <gtest/gtest.h>
#include <QKeyEvent>
#include <QSignalSpy>

#include "support/desktop_fixture.h"

namespace velmoria {
namespace {

using testing::DesktopFixture;
using testing::processEvents;

class DesktopAppTest : public DesktopFixture {
 protected:
  void pressF5(QWidget* target) {
    QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &f5);
  }
};

struct QuitCase {
  const char* name;
  std::function<void(TitleWindow&)> quit;
};

class DesktopQuit : public DesktopAppTest, public ::testing::WithParamInterface<QuitCase> {};

TEST_P(DesktopQuit, ends_the_program_with_every_window) {
  choose();
  pressF5(&cab());
  cab().menu_d1Click();
  cab().BackClick();
  processEvents(20);
  ASSERT_TRUE(app->title().isVisible());
  ASSERT_TRUE(app->values().isVisible());
  ASSERT_TRUE(app->help().isVisible());
  QSignalSpy ended(app.get(), &DesktopApp::ended);
  GetParam().quit(app->title());
  EXPECT_EQ(ended.count(), 1);
  EXPECT_FALSE(app->title().isVisible());
  EXPECT_FALSE(app->values().isVisible());
  EXPECT_FALSE(app->help().isVisible());
  EXPECT_EQ(app->cab(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, DesktopQuit,
    ::testing::Values(QuitCase{"quit_button", [](TitleWindow& t) { t.QuitClick(); }},
                      QuitCase{"window_closed", [](TitleWindow& t) { t.close(); }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmoria
