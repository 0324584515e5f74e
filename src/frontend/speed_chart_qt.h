#pragma once
// The speed-distance chart of a run report: the speed over the distance, the speed limits as
// a step line, the stations and signals marked, the speed the line was filmed at as a thin
// reference line, the ghost (the best stored run) as a second line, and the power notch and
// brake step as a band below. One painting routine draws the widget, the PNG and the SVG
// (QSvgGenerator), so the three agree. UI thread.
#include <QString>
#include <QWidget>
#include <vector>

#include "report/run_report.h"

class QPainter;

namespace velmoria {

struct SpeedChartData {
  report::RunReport report;
  std::vector<report::ChartSample> ghost;  // empty: no ghost
};

// Draws the chart into `area` of the painter's device.
void paintSpeedChart(QPainter& p, const QRectF& area, const SpeedChartData& data);

class SpeedChart : public QWidget {
  Q_OBJECT
 public:
  explicit SpeedChart(QWidget* parent = nullptr);
  void setData(SpeedChartData data);
  const SpeedChartData& data() const { return m_data; }

  // The chart alone, at its own size (1200 x 520 pixels); false when the file cannot be
  // written.
  bool savePng(const QString& file) const;
  bool saveSvg(const QString& file) const;
  static constexpr int kFileWidth = 1200, kFileHeight = 520;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  SpeedChartData m_data;
};

}  // namespace velmoria
