#include "frontend/desktop_app_qt.h"

#include <gtest/gtest.h>
#include <QKeyEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include "frontend/window_placement_qt.h"
#include "support/desktop_fixture.h"
#include "support/steps.h"

namespace velmoria {
namespace {

using test::DesktopFixture;
using test::processEvents;

class DesktopAppTest : public DesktopFixture {
 protected:
  void pressF5(QWidget* target) {
    QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &f5);
  }
  QRect screen() const { return QGuiApplication::primaryScreen()->availableGeometry(); }
};

TEST_F(DesktopAppTest, the_cab_window_opens_centred_on_the_screen) {
  choose();
  // Its frame is not known before it is shown: centred to within the frame's width.
  const QPoint off = cab().frameGeometry().center() - screen().center();
  EXPECT_LE(std::abs(off.x()), 4) << off.x();
  EXPECT_LE(std::abs(off.y()), 4) << off.y();
}

TEST_F(DesktopAppTest, the_value_display_opens_beside_the_cab_as_its_transient) {
  choose();
  pressF5(&cab());
  ValueDisplayWindow& values = app->values();
  ASSERT_TRUE(values.isVisible());
  ASSERT_NE(values.windowHandle(), nullptr);
  EXPECT_EQ(values.windowHandle()->transientParent(), cab().windowHandle());
  EXPECT_EQ(values.pos(),
            placeBeside(cab().frameGeometry(), values.frameSize(), screen(), Align::Bottom));
  EXPECT_TRUE(screen().contains(values.frameGeometry()));
}

TEST_F(DesktopAppTest, the_help_window_opens_beside_the_cab_as_its_transient) {
  choose();
  cab().menu_d1Click();
  HelpWindow& help = app->help();
  ASSERT_TRUE(help.isVisible());
  EXPECT_EQ(help.windowHandle()->transientParent(), cab().windowHandle());
  EXPECT_EQ(help.pos(), placeBeside(cab().frameGeometry(), help.frameSize(), screen(), Align::Top));
  EXPECT_TRUE(screen().contains(help.frameGeometry()));
}

TEST_F(DesktopAppTest, a_shown_help_window_stays_where_the_driver_put_it) {
  choose();
  cab().menu_d1Click();
  app->help().move(5, 7);
  cab().menu_d1Click();
  EXPECT_EQ(app->help().pos(), QPoint(5, 7));
  EXPECT_TRUE(app->help().isVisible());
}

// The cab window is application-modal: keys that arrive from the window system at the value
// display or the help window must still reach them (and through them the cab).
TEST_F(DesktopAppTest, window_system_keys_reach_the_value_display_while_the_cab_is_modal) {
  choose();
  ASSERT_EQ(cab().windowModality(), Qt::ApplicationModal);
  pressF5(&cab());
  ASSERT_TRUE(app->values().isVisible());
  QTest::keyClick(app->values().windowHandle(), Qt::Key_F5);
  EXPECT_FALSE(app->values().isVisible()) << "F5 typed into the value display hides it";
}

TEST_F(DesktopAppTest, window_system_keys_reach_the_help_window_while_the_cab_is_modal) {
  choose();
  cab().start1Click();
  cab().menu_d1Click();
  const int before = poke(run()).handle.brakeStep;
  app->help().memo()->setFocus();
  QTest::keyClick(app->help().windowHandle(), Qt::Key_8, Qt::NoModifier);
  EXPECT_EQ(poke(run()).handle.brakeStep, before + 1);
}

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
