// The speed-distance chart drawn into an image: what its band shows around a jump along the
// line (the Move menu), where no sample lies between two places.
#include "frontend/speed_chart_qt.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace velmoria {
namespace {

const QColor kEmergencyBand(120, 0, 0);

// The fixture line's length, the emergency brake at `from`, then released from `to` on.
SpeedChartData standingThenAt(double from, double to) {
  SpeedChartData d;
  report::RunReport& r = d.report;
  r.chart.brakeSteps = 8;
  r.chart.powerNotches = 4;
  r.chart.limit = {{0, 100}, {8100, 100}};
  r.chart.stations = {{9.3, "北野"}, {2008.6, "南台"}, {8074.5, "港町"}};
  r.samples.push_back({36000, from, 0, 0, 8});
  for (int i = 0; i < 100; ++i) r.samples.push_back({36200 + i * 0.1, to + i * 0.5, 5, 1, 0});
  return d;
}

int pixelsOf(const SpeedChartData& data, const QColor& colour) {
  QImage image(1200, 520, QImage::Format_RGB32);
  QPainter p(&image);
  paintSpeedChart(p, QRectF(0, 0, 1200, 520), data);
  p.end();
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == colour) ++n;
  return n;
}

TEST(SpeedChart, the_band_is_not_drawn_across_a_jump_along_the_line) {
  // Standing at 北野 under the emergency brake, then put at 南台: nothing was driven between.
  EXPECT_EQ(pixelsOf(standingThenAt(9.3, 2008.6), kEmergencyBand), 0);
}

TEST(SpeedChart, the_band_shows_the_emergency_brake_where_the_train_held_it) {
  // The same samples 30 m apart: the emergency brake was held over those 30 m.
  EXPECT_GT(pixelsOf(standingThenAt(1978.6, 2008.6), kEmergencyBand), 20);
}

}  // namespace
}  // namespace velmoria
