#include "frontend/speed_chart_qt.h"

#include <QFileInfo>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

namespace velmoria {

namespace {

// Two samples further apart than a train covers between them: a jump along the line (the
// Move menu). Neither the speed line nor the band is drawn across it.
bool jumpBetween(const report::ChartSample& a, const report::ChartSample& b) {
  return std::fabs(b.distanceM - a.distanceM) > 500;
}

const QColor kSpeed(20, 110, 40);
const QColor kLimit(200, 30, 30);
const QColor kRecorded(150, 150, 150);
const QColor kGhost(40, 90, 220);
const QColor kGrid(225, 225, 225);

// A round step for an axis of `span` with about `count` divisions: 1, 2 or 5 times a power
// of ten.
double niceStep(double span, int count) {
  if (span <= 0) return 1;
  const double raw = span / count;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (raw <= m * power) return m * power;
  return 10 * power;
}

QColor bandColour(const report::ChartSample& s, const report::ChartLine& line) {
  if (s.brake > 0) {
    if (line.brakeSteps > 0 && s.brake >= line.brakeSteps) return QColor(120, 0, 0);
    const double share = line.brakeSteps > 1 ? double(s.brake) / (line.brakeSteps - 1) : 1;
    return QColor(255, static_cast<int>(200 - 150 * std::min(1.0, share)), 40);
  }
  if (s.notch > 0) {
    const double share = line.powerNotches > 0 ? double(s.notch) / line.powerNotches : 1;
    return QColor(static_cast<int>(170 - 140 * std::min(1.0, share)), 200, 60);
  }
  return QColor(235, 235, 235);
}

}  // namespace

void paintSpeedChart(QPainter& p, const QRectF& area, const SpeedChartData& data) {
  const report::RunReport& r = data.report;
  const report::ChartLine& line = r.chart;
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(area, Qt::white);
  QFont font = p.font();
  font.setPixelSize(11);
  p.setFont(font);
  const QFontMetricsF fm(font);

  // Where things go: the speed plot, the band under it, the axes' labels around.
  const double left = 44, right = 14, top = 34, bandHeight = 22, bottom = 20;
  const QRectF plot(area.left() + left, area.top() + top, area.width() - left - right,
                    area.height() - top - bandHeight - bottom - 8);
  const QRectF band(plot.left(), plot.bottom() + 6, plot.width(), bandHeight);
  if (plot.width() < 50 || plot.height() < 50) {
    p.restore();
    return;
  }

  double fromM = 0, toM = 1, topKmh = 20;
  const auto widen = [&](double m) {
    fromM = std::min(fromM, m);
    toM = std::max(toM, m);
  };
  for (const auto& s : r.samples) {
    widen(s.distanceM);
    topKmh = std::max(topKmh, s.speedKmh);
  }
  for (const auto& s : data.ghost) topKmh = std::max(topKmh, s.speedKmh);
  for (const auto& pt : line.limit) {
    widen(pt.distanceM);
    topKmh = std::max(topKmh, pt.kmh);
  }
  for (const auto& pt : line.recorded) topKmh = std::max(topKmh, pt.kmh);
  topKmh = std::ceil(topKmh * 1.08 / 20) * 20;
  const auto x = [&](double m) { return plot.left() + (m - fromM) / (toM - fromM) * plot.width(); };
  const auto y = [&](double kmh) { return plot.bottom() - kmh / topKmh * plot.height(); };

  // Grid and axes.
  p.setPen(QPen(kGrid, 1));
  for (double v = 0; v <= topKmh + 0.1; v += 20)
    p.drawLine(QPointF(plot.left(), y(v)), QPointF(plot.right(), y(v)));
  const double stepM = niceStep(toM - fromM, 10);
  for (double m = std::ceil(fromM / stepM) * stepM; m <= toM; m += stepM)
    p.drawLine(QPointF(x(m), plot.top()), QPointF(x(m), plot.bottom()));
  p.setPen(Qt::black);
  for (double v = 0; v <= topKmh + 0.1; v += 20)
    p.drawText(QRectF(area.left(), y(v) - 7, left - 6, 14), Qt::AlignRight | Qt::AlignVCenter,
               QString::number(v, 'f', 0));
  for (double m = std::ceil(fromM / stepM) * stepM; m <= toM; m += stepM) {
    const QString label = stepM >= 1000 ? QString::number(m / 1000, 'f', 0) + " km"
                                        : QString::number(m / 1000, 'f', 1) + " km";
    p.drawText(QRectF(x(m) - 40, band.bottom() + 2, 80, bottom), Qt::AlignCenter, label);
  }
  p.drawText(QRectF(area.left(), area.top() + 2, 60, 14), Qt::AlignLeft, "km/h");
  p.drawRect(plot);

  // Stations across the top, signals along the bottom of the plot.
  double lastLabelRight[2] = {-1e9, -1e9};
  for (const auto& st : line.stations) {
    const double sx = x(st.distanceM);
    if (sx < plot.left() - 1 || sx > plot.right() + 1) continue;
    p.setPen(QPen(QColor(120, 120, 160), 1, Qt::DashLine));
    p.drawLine(QPointF(sx, plot.top()), QPointF(sx, plot.bottom()));
    const QString name = QString::fromStdString(st.label);
    const double w = fm.horizontalAdvance(name);
    const int row = sx - w / 2 > lastLabelRight[0] + 4 ? 0 : 1;
    lastLabelRight[row] = sx + w / 2;
    p.setPen(QColor(40, 40, 90));
    p.drawText(QRectF(sx - w / 2 - 2, area.top() + 2 + row * 14, w + 4, 14), Qt::AlignCenter, name);
  }
  p.setPen(Qt::NoPen);
  for (const auto& sig : line.signals) {
    const double sx = x(sig.distanceM);
    if (sx < plot.left() || sx > plot.right()) continue;
    p.setBrush(QColor(90, 90, 90));
    const QPointF tri[3] = {
        {sx, plot.bottom() - 9}, {sx - 4, plot.bottom() - 1}, {sx + 4, plot.bottom() - 1}};
    p.drawPolygon(tri, 3);
  }

  p.setClipRect(plot.adjusted(-1, -1, 1, 1));
  // The filmed speed, thin.
  if (line.recorded.size() > 1) {
    QPainterPath path(QPointF(x(line.recorded[0].distanceM), y(line.recorded[0].kmh)));
    for (const auto& pt : line.recorded) path.lineTo(x(pt.distanceM), y(pt.kmh));
    p.strokePath(path, QPen(kRecorded, 0.8));
  }
  // The limits as steps.
  if (!line.limit.empty()) {
    QPainterPath path(QPointF(x(line.limit[0].distanceM), y(line.limit[0].kmh)));
    for (size_t i = 1; i < line.limit.size(); ++i) {
      path.lineTo(x(line.limit[i].distanceM), y(line.limit[i - 1].kmh));
      path.lineTo(x(line.limit[i].distanceM), y(line.limit[i].kmh));
    }
    p.strokePath(path, QPen(kLimit, 1.6));
  }
  const auto speedPath = [&](const std::vector<report::ChartSample>& samples) {
    QPainterPath path;
    for (size_t i = 0; i < samples.size(); ++i) {
      const QPointF pt(x(samples[i].distanceM), y(samples[i].speedKmh));
      if (i == 0 || jumpBetween(samples[i - 1], samples[i]))
        path.moveTo(pt);
      else
        path.lineTo(pt);
    }
    return path;
  };
  if (!data.ghost.empty()) p.strokePath(speedPath(data.ghost), QPen(kGhost, 1.3, Qt::DashLine));
  p.strokePath(speedPath(r.samples), QPen(kSpeed, 2.0));
  // Overspeeds and the train protection's interventions, where they began.
  for (const auto& e : r.events) {
    const double ex = x(e.distanceM);
    p.setPen(Qt::NoPen);
    p.setBrush(e.kind == report::EventKind::Overspeed ? kLimit : QColor(230, 120, 0));
    const double ey =
        e.kind == report::EventKind::Overspeed ? y(e.limitKmh + e.excessKmh) : plot.top() + 12;
    p.drawEllipse(QPointF(ex, ey), 4, 4);
  }
  p.setClipping(false);

  // The band: power green, brake amber to red, the emergency brake dark red.
  p.setPen(Qt::NoPen);
  for (size_t i = 0; i + 1 < r.samples.size(); ++i) {
    const double a = x(r.samples[i].distanceM), b = x(r.samples[i + 1].distanceM);
    if (b <= a || jumpBetween(r.samples[i], r.samples[i + 1])) continue;
    p.fillRect(QRectF(a, band.top(), b - a + 0.6, band.height()), bandColour(r.samples[i], line));
  }
  p.setPen(QPen(QColor(160, 160, 160), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(band);
  p.setPen(Qt::black);
  p.drawText(QRectF(area.left(), band.top(), left - 6, band.height()),
             Qt::AlignRight | Qt::AlignVCenter, "P/B");

  // The legend, top right inside the plot.
  struct Key {
    QColor colour;
    Qt::PenStyle style;
    QString text;
  };
  std::vector<Key> keys{{kSpeed, Qt::SolidLine, SpeedChart::tr("速度")},
                        {kLimit, Qt::SolidLine, SpeedChart::tr("制限")},
                        {kRecorded, Qt::SolidLine, SpeedChart::tr("撮影時")}};
  if (!data.ghost.empty()) keys.push_back({kGhost, Qt::DashLine, SpeedChart::tr("最高記録の運転")});
  double lx = plot.right() - 8;
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
    const double w = fm.horizontalAdvance(it->text);
    lx -= w;
    p.setPen(Qt::black);
    p.drawText(QPointF(lx, plot.top() + 14), it->text);
    p.setPen(QPen(it->colour, 2, it->style));
    p.drawLine(QPointF(lx - 22, plot.top() + 10), QPointF(lx - 4, plot.top() + 10));
    lx -= 34;
  }
  p.restore();
}

SpeedChart::SpeedChart(QWidget* parent) : QWidget(parent) {
  setMinimumSize(480, 240);
  setObjectName("speedChart");
}

void SpeedChart::setData(SpeedChartData data) {
  m_data = std::move(data);
  update();
}

void SpeedChart::paintEvent(QPaintEvent*) {
  QPainter p(this);
  paintSpeedChart(p, rect(), m_data);
}

bool SpeedChart::savePng(const QString& file) const {
  QImage image(kFileWidth, kFileHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter p(&image);
    paintSpeedChart(p, image.rect(), m_data);
  }
  return image.save(file, "PNG");
}

bool SpeedChart::saveSvg(const QString& file) const {
  QSvgGenerator svg;
  svg.setFileName(file);
  svg.setSize(QSize(kFileWidth, kFileHeight));
  svg.setViewBox(QRect(0, 0, kFileWidth, kFileHeight));
  svg.setTitle(tr("Velmoria の運転: %1").arg(QString::fromStdString(m_data.report.line)));
  QPainter p;
  if (!p.begin(&svg)) return false;
  paintSpeedChart(p, QRectF(0, 0, kFileWidth, kFileHeight), m_data);
  const bool ok = p.end();
  // QSvgGenerator says nothing when it could not open the file.
  return ok && QFileInfo(file).size() > 0;
}

}  // namespace velmoria
