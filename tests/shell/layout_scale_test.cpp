#include "view/layout_scale_qt.h"

#include <gtest/gtest.h>

#include "view/panel_widgets_qt.h"

namespace velmoria {
namespace {

TEST(LayoutScale, scales_each_edge_so_neighbours_stay_neighbours) {
  const LayoutScale s{2.4545};
  const QRect left = s.toScreen(QRect(0, 0, 3, 10)), right = s.toScreen(QRect(3, 0, 3, 10));
  EXPECT_EQ(left.right() + 1, right.left());
  EXPECT_EQ(s.toScreen(QRect(0, 0, 640, 440)), QRect(0, 0, 1571, 1080));
  EXPECT_EQ(LayoutScale{2}.toScreen(QRect(496, 313, 137, 19)), QRect(992, 626, 274, 38));
  EXPECT_EQ(LayoutScale{1}.toScreen(QRect(-5, 7, 9, 11)), QRect(-5, 7, 9, 11));
  EXPECT_EQ(LayoutScale{2}.toDesign(QPointF(991, 627)), QPointF(495.5, 313.5));
}

TEST(Scaled, a_component_stands_at_its_design_place_times_the_scale) {
  QWidget surface;
  auto* image = new PanelImage(&surface, "lamp");
  QImage picture(10, 6, QImage::Format_ARGB32);
  picture.fill(Qt::red);
  image->setDesignPos({100, 50});
  image->setPicture(picture);
  EXPECT_EQ(image->geometry(), QRect(100, 50, 10, 6));
  scaleChildren(&surface, 3.0);
  EXPECT_EQ(image->geometry(), QRect(300, 150, 30, 18));
  EXPECT_EQ(image->designGeometry(), QRect(100, 50, 10, 6));
  image->setDesignPos({10, 20});  // moves at the scale it has
  EXPECT_EQ(image->geometry(), QRect(30, 60, 30, 18));
  // Drawn at the scale: the whole enlarged rectangle is the picture's.
  surface.resize(400, 300);
  const QImage drawn = image->grab().toImage();
  EXPECT_EQ(drawn.size(), QSize(30, 18));
  EXPECT_EQ(drawn.pixelColor(29, 17), QColor(Qt::red));
  scaleChildren(&surface, 1.0);
  EXPECT_EQ(image->geometry(), QRect(10, 20, 10, 6));
}

TEST(PanelLabel, draws_its_font_at_the_design_size_times_the_scale) {
  QWidget surface;
  auto* fixed = new PanelLabel(&surface, "Train Position", {"FixedSys", 16}, false);
  fixed->setDesignGeometry({496, 337, 137, 19});
  auto* autoSized = new PanelLabel(&surface, "", {"FixedSys", 16}, true);
  autoSized->setDesignPos({544, 313});
  autoSized->setLabelText("P4");
  const QSize designSize = autoSized->size();
  EXPECT_EQ(fixed->font().pixelSize(), 16);
  scaleChildren(&surface, 2.0);
  EXPECT_EQ(fixed->font().pixelSize(), 32);
  EXPECT_EQ(fixed->geometry(), QRect(992, 674, 274, 38));
  EXPECT_EQ(autoSized->pos(), QPoint(1088, 626));
  // An auto-sized label measures its text in the larger font: about twice as large.
  EXPECT_NEAR(autoSized->width(), 2 * designSize.width(), 4);
  EXPECT_NEAR(autoSized->height(), 2 * designSize.height(), 4);
  autoSized->setLabelText("P4 B8");
  EXPECT_GT(autoSized->width(), 2 * designSize.width());
}

}  // namespace
}  // namespace velmoria
