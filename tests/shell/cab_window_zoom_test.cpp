#include <gtest/gtest.h>
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "support/desktop_fixture.h"
#include "support/steps.h"
#include "view/cab_window_qt.h"

namespace velmoria {
namespace {

using test::processEvents;

// Remembers which widget a mouse press reached.
class PressWatch : public QObject {
 public:
  QString pressed;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType() && pressed.isEmpty())
      pressed = watched->objectName();
    return false;
  }
};

class CabZoomTest : public test::DesktopFixture {
 protected:
  // Gives the window the size whose cab area is `area` (the menu bar above it).
  void resizeCabArea(QSize area) {
    const int menu = cab().height() - cab().centralWidget()->height();
    cab().resize(area.width(), area.height() + menu);
    processEvents(10);
    ASSERT_EQ(cab().centralWidget()->size(), area);
  }
  QRect screen() const { return QGuiApplication::primaryScreen()->availableGeometry(); }
  // The component a click at a point of the layout reaches at the scale shown now.
  QString hitAt(QPoint design) {
    QWidget* w = cab().componentAt(design);
    return w ? w->objectName() : QString("<none>");
  }
  // A click as the window system delivers it, at a point of the cab area (the central
  // widget): Qt finds the component under it. Returns the widget that got the press.
  QString click(QPoint inCabArea) {
    PressWatch watch;
    qApp->installEventFilter(&watch);
    const QPoint at = cab().centralWidget()->mapTo(&cab(), inCabArea);
    QTest::mouseClick(cab().windowHandle(), Qt::LeftButton, {}, at);
    processEvents(10);
    qApp->removeEventFilter(&watch);
    return watch.pressed;
  }
  void activate() {
    cab().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&cab()));
  }
};

TEST_F(CabZoomTest, each_level_asks_for_its_multiple_of_the_layout_within_the_screen) {
  choose();
  EXPECT_EQ(cab().centralWidget()->size(), QSize(640, 440));
  EXPECT_DOUBLE_EQ(cab().scale(), 1.0);
  EXPECT_TRUE(cab().action("zoom1")->isChecked());
  const int menu = cab().menuBar()->height();
  for (Zoom zoom : {Zoom::Two, Zoom::Three, Zoom::One}) {
    cab().setZoom(zoom);
    processEvents(10);
    const int level = static_cast<int>(zoom);
    EXPECT_EQ(cab().centralWidget()->sizeHint(), QSize(640, 440) * level);
    // As much of it as the screen holds; the cab then fits what the window got.
    const QSize wanted(640 * level, 440 * level + menu);
    const QSize frame = cab().frameGeometry().size() - cab().geometry().size();
    EXPECT_EQ(cab().size(), wanted.boundedTo(screen().size() - frame));
    EXPECT_DOUBLE_EQ(cab().scale(), fitScale(cab().centralWidget()->size(), kCabDesign));
    EXPECT_TRUE(screen().contains(cab().geometry()));
  }
  EXPECT_EQ(cab().size(), QSize(640, 440 + menu));
  EXPECT_TRUE(cab().action("zoom1")->isChecked());
  EXPECT_FALSE(cab().action("zoom2")->isChecked());
}

TEST_F(CabZoomTest, at_twice_the_size_every_component_stands_at_twice_its_place) {
  choose();
  resizeCabArea({1280, 880});
  EXPECT_DOUBLE_EQ(cab().scale(), 2.0);
  EXPECT_EQ(cab().surface()->geometry(), QRect(0, 0, 1280, 880));
  const auto at = [&](const char* name) { return cab().panel().component(name)->geometry(); };
  EXPECT_EQ(at("unten"), QRect(0, 0, 960, 480));
  EXPECT_EQ(at("Panel").topLeft(), QPoint(0, 480));
  EXPECT_EQ(at("clock"), QRect(1150, 750, 100, 100));
  EXPECT_EQ(at("Lamp_stopalert"), QRect(516, 582, 70, 34));
  EXPECT_EQ(at("SignalImage"), QRect(1000, 20, 100, 200));
  EXPECT_EQ(at("Label4"), QRect(992, 674, 274, 38));
  EXPECT_EQ(at("back"), QRect(1236, 834, 40, 40));
  EXPECT_EQ(at("timetable").topLeft(), QPoint(1280, 0));
  EXPECT_EQ(at("PowerLabel").topLeft(), QPoint(1088, 626));
  // Every scaled component: its design rectangle times two.
  int checked = 0;
  for (QObject* child : cab().surface()->children()) {
    auto* scaled = dynamic_cast<Scaled*>(child);
    auto* label = dynamic_cast<PanelLabel*>(child);
    if (!scaled || (label && label->autoSize())) continue;
    EXPECT_EQ(qobject_cast<QWidget*>(child)->geometry(),
              LayoutScale{2}.toScreen(scaled->designGeometry()))
        << child->objectName().toStdString();
    ++checked;
  }
  EXPECT_GT(checked, 30);
  // Fonts at twice the design's pixel size.
  EXPECT_EQ(static_cast<QLabel*>(cab().panel().component("Label4"))->font().pixelSize(), 32);
}

TEST_F(CabZoomTest, a_window_of_another_shape_shows_the_cab_centred_on_black) {
  choose();
  resizeCabArea({1600, 880});
  EXPECT_DOUBLE_EQ(cab().scale(), 2.0);
  EXPECT_EQ(cab().surface()->geometry(), QRect(160, 0, 1280, 880));
  const QImage drawn = cab().centralWidget()->grab().toImage();
  EXPECT_EQ(drawn.pixelColor(80, 400), QColor(Qt::black));
  EXPECT_EQ(drawn.pixelColor(1520, 400), QColor(Qt::black));
  resizeCabArea({700, 700});  // taller: bars above and below, the cab 700 wide
  EXPECT_EQ(cab().surface()->geometry(), QRect(0, 109, 700, 481));
}

TEST_F(CabZoomTest, a_click_finds_the_same_component_at_every_scale) {
  choose();
  // At the design's size, where each component is hit, on a grid over the layout and at the
  // middle of each component.
  std::vector<QPoint> points;
  for (int y = 1; y < 440; y += 6)
    for (int x = 1; x < 640; x += 6) points.emplace_back(x, y);
  for (QObject* child : cab().surface()->children())
    if (auto* w = qobject_cast<QWidget*>(child); w && w->isVisible())
      points.push_back(w->geometry().center());
  std::vector<QString> atOne;
  for (QPoint p : points) atOne.push_back(hitAt(p));
  const auto autoSized = [&](const QString& name) {
    auto* label = dynamic_cast<PanelLabel*>(cab().panel().component(name));
    return label && label->autoSize();
  };
  for (QSize area : {QSize(1280, 880), QSize(1571, 1080), QSize(1920, 1320)}) {
    resizeCabArea(area);
    int compared = 0;
    for (size_t i = 0; i < points.size(); ++i) {
      const QString now = hitAt(points[i]);
      // An auto-sized label measures its text at the scale, a little more or less than the
      // design times the scale: near its edge the two may differ.
      if ((autoSized(now) || autoSized(atOne[i])) && now != atOne[i]) continue;
      EXPECT_EQ(now.toStdString(), atOne[i].toStdString())
          << "at (" << points[i].x() << ", " << points[i].y() << ") scale " << cab().scale();
      ++compared;
    }
    EXPECT_GT(compared, static_cast<int>(points.size()) * 95 / 100);
  }
}

TEST_F(CabZoomTest, real_clicks_reach_the_same_components_at_twice_the_size) {
  choose();
  const std::vector<QPoint> points = {{100, 100}, {525, 60},  {560, 330}, {628, 427},
                                      {275, 300}, {600, 400}, {10, 430}};
  std::vector<QString> atOne;
  for (QPoint p : points) atOne.push_back(click(p));
  EXPECT_EQ(atOne[0], "unten");
  resizeCabArea({1600, 880});  // letterboxed: the surface starts 160 pixels in
  for (size_t i = 0; i < points.size(); ++i)
    EXPECT_EQ(click(QPoint(160, 0) + points[i] * 2 + QPoint(1, 1)).toStdString(),
              atOne[i].toStdString())
        << points[i].x() << ", " << points[i].y();
}

TEST_F(CabZoomTest, a_real_click_on_back_at_twice_the_size_closes_the_cab) {
  choose();
  // The test vehicle's panel picture lies over the whole lower part, Back included (later
  // components lie above earlier ones): out of the way, Back is what a click finds.
  cab().panel().component("Panel")->hide();
  resizeCabArea({1600, 880});
  QSignalSpy closed(&cab(), &CabWindow::closed);
  // Back is the 20 x 20 picture at (618, 417): its middle at 2x, plus the black bar.
  EXPECT_EQ(click(QPoint(160 + 1256, 854)), "back");
  EXPECT_EQ(closed.count(), 1);
}

TEST_F(CabZoomTest, a_click_on_the_black_bars_does_nothing) {
  choose();
  resizeCabArea({1600, 880});
  QSignalSpy closed(&cab(), &CabWindow::closed);
  EXPECT_EQ(click(QPoint(1500, 854)), "letterbox");
  EXPECT_EQ(closed.count(), 0);
  EXPECT_EQ(cab().componentAt({700, 100}), nullptr);
}

TEST_F(CabZoomTest, wheel_and_keys_drive_at_every_scale) {
  choose();
  resizeCabArea({1571, 1080});
  QWheelEvent toward(QPointF(1400, 1000), QPointF(1400, 1000), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&cab(), &toward);
  EXPECT_EQ(poke(run()).handle.brakeStep, -7);
  cab().start1Click();
  QKeyEvent eight(QEvent::KeyPress, Qt::Key_8, Qt::NoModifier, "8");
  QCoreApplication::sendEvent(&cab(), &eight);
  EXPECT_EQ(poke(run()).handle.brakeStep, -6);
  EXPECT_EQ(panelText("BrakeLabel"), "B6");
}

TEST_F(CabZoomTest, ctrl_plus_minus_and_zero_step_the_zoom) {
  choose();
  activate();
  QTest::keyClick(&cab(), Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_EQ(cab().display().zoom, Zoom::Two);
  QTest::keyClick(&cab(), Qt::Key_Equal, Qt::ControlModifier);  // + without Shift
  EXPECT_EQ(cab().display().zoom, Zoom::Three);
  QTest::keyClick(&cab(), Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(cab().display().zoom, Zoom::Two);
  QTest::keyClick(&cab(), Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(cab().display().zoom, Zoom::One);
  EXPECT_TRUE(cab().action("zoom1")->isChecked());
  // None of them reached the run: Ctrl+0 is no emergency brake.
  cab().start1Click();
  poke(run()).handle.brakeStep = -3;
  QTest::keyClick(&cab(), Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(poke(run()).handle.brakeStep, -3);
}

TEST_F(CabZoomTest, f11_covers_the_screen_and_shift_f11_stays_the_runs_key) {
  choose();
  activate();
  QTest::keyClick(&cab(), Qt::Key_F11);
  processEvents(20);
  EXPECT_TRUE(cab().isFullScreen());
  EXPECT_TRUE(cab().action("fullscreen")->isChecked());
  EXPECT_EQ(cab().geometry(), QGuiApplication::primaryScreen()->geometry());
  EXPECT_DOUBLE_EQ(cab().scale(), fitScale(cab().centralWidget()->size(), kCabDesign));
  EXPECT_GT(cab().scale(), 1.0);
  // Shift+F11 still takes 10 km/h off, in fullscreen too.
  poke(run()).train.speed = Fixed::fromInt(50);
  QTest::keyClick(&cab(), Qt::Key_F11, Qt::ShiftModifier);
  EXPECT_EQ(poke(run()).train.speed, Fixed::fromInt(40));
  EXPECT_TRUE(cab().isFullScreen());
  QTest::keyClick(&cab(), Qt::Key_F11);
  processEvents(20);
  EXPECT_FALSE(cab().isFullScreen());
  EXPECT_EQ(cab().centralWidget()->size(), QSize(640, 440));
}

TEST_F(CabZoomTest, choices_are_handed_on_to_be_remembered_and_the_next_cab_starts_with_them) {
  std::vector<DisplayOptions> remembered;
  app->setDisplay({}, [&](const DisplayOptions& d) { remembered.push_back(d); });
  choose();
  EXPECT_TRUE(cab().action("smoothMotion")->isChecked());
  EXPECT_TRUE(cab().video()->blending());
  cab().action("zoom2")->trigger();
  cab().action("smoothMotion")->trigger();
  ASSERT_EQ(remembered.size(), 2u);
  EXPECT_EQ(remembered.back().zoom, Zoom::Two);
  EXPECT_FALSE(remembered.back().smoothMotion);
  EXPECT_FALSE(cab().video()->blending());
  cab().BackClick();
  processEvents(20);
  choose();
  EXPECT_EQ(cab().display().zoom, Zoom::Two);
  EXPECT_TRUE(cab().action("zoom2")->isChecked());
  EXPECT_FALSE(cab().action("smoothMotion")->isChecked());
  EXPECT_FALSE(cab().video()->blending());
}

TEST_F(CabZoomTest, the_value_display_and_the_help_window_scale_with_the_cab) {
  choose();
  const QSize help = app->help().size();
  resizeCabArea({1280, 880});
  EXPECT_DOUBLE_EQ(app->values().scale(), 2.0);
  EXPECT_EQ(app->values().size(), QSize(1208, 376));
  EXPECT_EQ(app->values().valueLabel("Label30")->geometry().topLeft(), QPoint(1056, 32));
  EXPECT_EQ(app->values().bar(2)->geometry(), QRect(496, 292, 530, 18));
  EXPECT_EQ(app->help().font().pixelSize(), 24);
  EXPECT_GE(app->help().width(), std::min(help.width() * 19 / 10, screen().width() - 40));
  resizeCabArea({640, 440});
  EXPECT_EQ(app->values().size(), QSize(604, 188));
  EXPECT_EQ(app->help().size(), help);
}

TEST_F(CabZoomTest, the_next_cab_gives_the_value_display_its_own_scale) {
  choose();
  resizeCabArea({1280, 880});
  ASSERT_DOUBLE_EQ(app->values().scale(), 2.0);
  cab().BackClick();
  processEvents(20);
  choose();  // at 1x, a scale that never changed in this window
  EXPECT_DOUBLE_EQ(app->values().scale(), 1.0);
  EXPECT_EQ(app->values().size(), QSize(604, 188));
}

TEST_F(CabZoomTest, fit_to_window_fills_the_screen_s_free_area) {
  choose();
  cab().setZoom(Zoom::Fit);
  processEvents(20);
  EXPECT_TRUE(cab().isMaximized());
  EXPECT_TRUE(cab().action("zoomFit")->isChecked());
  EXPECT_DOUBLE_EQ(cab().scale(), fitScale(cab().centralWidget()->size(), kCabDesign));
  EXPECT_GT(cab().scale(), 1.0);
  cab().setZoom(Zoom::One);
  processEvents(20);
  EXPECT_FALSE(cab().isMaximized());
  EXPECT_EQ(cab().centralWidget()->size(), QSize(640, 440));
}

TEST_F(CabZoomTest, the_title_window_follows_the_level_within_the_screen) {
  EXPECT_DOUBLE_EQ(app->titleScale(), 1.0);
  EXPECT_EQ(app->title().size(), QSize(320, 240));
  app->setDisplay({Zoom::Two, false, true}, {});
  const double room =
      fitScale(QGuiApplication::primaryScreen()->availableGeometry().size(), QSize(640, 498));
  EXPECT_DOUBLE_EQ(app->titleScale(), std::max(1.0, std::min(2.0, room)));
  app->title().setScale(2.0);
  EXPECT_EQ(app->title().size(), QSize(640, 480));  // the movie's 320 x 240, twice
  app->title().aviclick();
  EXPECT_EQ(app->title().size(), QSize(1280, 960));
  EXPECT_EQ(app->title().button(4)->geometry(), QRect(960, 584, 260, 72));
  EXPECT_EQ(app->title().statusLine()->geometry(), QRect(0, 960, 1280, 36));
  // A click on a run button at twice the size chooses that run.
  std::string chosen;
  app->title().onRun = [&](const std::string&, const std::string& route) { chosen = route; };
  app->title().button(4)->show();
  QTest::mouseClick(app->title().button(4), Qt::LeftButton, {}, QPoint(130, 36));
  EXPECT_EQ(chosen, "line_exp4.dat");
}

}  // namespace
}  // namespace velmoria
