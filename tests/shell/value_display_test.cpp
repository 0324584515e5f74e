#include "frontend/value_display_qt.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QKeyEvent>

namespace velmoria {
namespace {

struct Placement {
  const char* name;
  int left, top, width;
};

class ValueLabelPlacement : public ::testing::TestWithParam<Placement> {};

TEST_P(ValueLabelPlacement, stands_where_the_design_puts_it) {
  ValueDisplayWindow window;
  const Placement& p = GetParam();
  QLabel* label = window.valueLabel(p.name);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->x(), p.left);
  EXPECT_EQ(label->y(), p.top);
  EXPECT_EQ(label->width(), p.width);
  EXPECT_TRUE(label->alignment() & Qt::AlignRight);
}

INSTANTIATE_TEST_SUITE_P(
    Labels, ValueLabelPlacement,
    ::testing::Values(Placement{"Label1", 144, 16, 84}, Placement{"Label6", 144, 32, 84},
                      Placement{"Label27", 144, 56, 84}, Placement{"Label23", 152, 79, 77},
                      Placement{"Label7", 152, 96, 76}, Placement{"Label25", 152, 112, 76},
                      Placement{"Label8", 168, 128, 60}, Placement{"Label9", 152, 144, 76},
                      Placement{"Label20", 152, 160, 76}, Placement{"Label2", 360, 16, 60},
                      Placement{"Label3", 360, 32, 60}, Placement{"Label4", 360, 48, 60},
                      Placement{"Label5", 360, 64, 60}, Placement{"Label41", 360, 80, 60},
                      Placement{"Label30", 528, 16, 60}, Placement{"Label31", 528, 32, 60}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ValueDisplay, has_its_design_size_caption_and_bars) {
  ValueDisplayWindow window;
  EXPECT_EQ(window.size(), QSize(604, 188));
  EXPECT_EQ(window.windowTitle(), "Value Display");
  const int tops[] = {130, 146, 162};
  for (int n = 1; n <= 3; ++n) {
    QProgressBar* bar = window.bar(n);
    EXPECT_EQ(bar->geometry(), QRect(248, tops[n - 1], 265, 9));
    EXPECT_EQ(bar->minimum(), -500000);
    EXPECT_EQ(bar->maximum(), 500000);
  }
  EXPECT_EQ(window.bar(1)->value(), 0);
  EXPECT_EQ(window.bar(2)->value(), -500000);
}

TEST(ValueDisplay, station_distances_keep_their_right_edge_at_588) {
  ValueDisplayWindow window;
  ValueDisplayView view;
  view.visible = true;
  view.Label37 = "12345 m";
  view.Label33 = "7 m";
  window.draw(view);
  for (const char* name : {"Label37", "Label33", "Label35"}) {
    QLabel* label = window.valueLabel(name);
    EXPECT_EQ(label->x() + label->width(), 588) << name;
  }
  EXPECT_EQ(window.valueLabel("Label37")->text(), "12345 m");
}

TEST(ValueDisplay, shows_and_hides_as_the_model_says_and_takes_the_serial_caption) {
  ValueDisplayWindow window;
  ValueDisplayView view;
  view.visible = true;
  view.Label1 = "42.5 km/h";
  view.ProgressBar1 = 123456;
  view.ProgressBar3 = -900000;  // beyond the range: the bar stops at its end
  view.caption = "P1xyz";
  window.draw(view);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.valueLabel("Label1")->text(), "42.5 km/h");
  EXPECT_EQ(window.bar(1)->value(), 123456);
  EXPECT_EQ(window.bar(3)->value(), -500000);
  EXPECT_EQ(window.windowTitle(), "P1xyz");
  view.visible = false;
  window.draw(view);
  EXPECT_FALSE(window.isVisible());
}

TEST(ValueDisplay, hands_every_key_to_the_cab_window) {
  ValueDisplayWindow window;
  std::vector<int> keys;
  window.setForward([&](QKeyEvent* e) { keys.push_back(e->key()); });
  QKeyEvent eight(QEvent::KeyPress, Qt::Key_8, Qt::NoModifier, "8");
  QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &eight);
  QCoreApplication::sendEvent(&window, &f5);
  EXPECT_EQ(keys, (std::vector<int>{Qt::Key_8, Qt::Key_F5}));
}

}  // namespace
}  // namespace velmoria
