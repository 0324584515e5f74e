#include "frontend/report_window_qt.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "report/json_writer.h"
#include "report/report_json.h"

namespace velmoria {

namespace {

using report::formatNumber;

QString q(const std::string& s) {
  return QString::fromStdString(s).toHtmlEscaped();
}
QString n(double v, int decimals) {
  return QString::fromStdString(formatNumber(v, decimals));
}
QString clock(int32_t ticks) {
  return QString::fromStdString(report::clockText(ticks));
}

QString eventText(const report::RunEvent& e) {
  using report::EventKind;
  switch (e.kind) {
    case EventKind::Overspeed: {
      const char* against = e.limit == report::LimitSource::SpeedLimit   ? "the speed limit"
                            : e.limit == report::LimitSource::CheckSpeed ? "the protection's speed"
                                                                         : "the vehicle's maximum";
      return QString("Overspeed: %1 km/h over %2 of %3 km/h for %4 s")
          .arg(n(e.excessKmh, 1), against)
          .arg(e.limitKmh)
          .arg(n(e.durationS, 1));
    }
    case EventKind::TrainStopAlarm: {
      const char* cause =
          e.cause == report::AlarmCause::SpeedCheck   ? "a speed check passed too fast"
          : e.cause == report::AlarmCause::StopSignal ? "a stop signal's check point"
          : e.cause == report::AlarmCause::CheckSpeed ? "over the check speed"
                                                      : "a warning not acknowledged";
      return QString("Train-stop alarm: %1").arg(cause);
    }
    case EventKind::ProtectionEmergency:
      return e.serviceBrake ? "The protection's full-service brake"
                            : "Emergency brake by the train protection";
    case EventKind::DriverEmergency:
      return "Emergency brake by the driver, while moving";
    case EventKind::SignalPassedAtStop:
      return "Signal passed at stop: " + q(e.signal);
  }
  return {};
}

}  // namespace

QString ReportWindow::detailsHtml(const report::RunReport& r) {
  QString h = "<html><body style='font-size:12px'>";
  h += QString("<p><b>%1</b><br>%2 on %3, %4 to %5, %6 km%7</p>")
           .arg(q(r.line), q(r.vehicle), q(r.route), clock(r.startClock), clock(r.endClock))
           .arg(n((r.endM - r.startM) / 1000, 2))
           .arg(r.terminus ? ", the terminus reached" : ", before the terminus");
  h += "<h3>Stations</h3>";
  if (r.stations.empty() && r.missed.empty()) {
    h += "<p>No station stopped at.</p>";
  } else {
    h += "<table cellspacing=0 cellpadding=3 border=1><tr><th>station</th><th>stop</th>"
         "<th>arrived</th><th>timetable</th><th>late</th><th>doors</th>"
         "<th>brake moves, last 100 m</th></tr>";
    for (const auto& s : r.stations) {
      const QString stop = QString("%1 cm %2")
                               .arg(n(std::abs(s.stopErrorCm), 0))
                               .arg(s.stopErrorCm < 0 ? "short" : "over");
      const QString doors =
          s.doorsOpened ? (s.doorsClosed ? "opened, closed" : "opened") : "not opened";
      h += QString(
               "<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td><td>%5 s</td><td>%6</td>"
               "<td align=center>%7</td></tr>")
               .arg(q(s.name), stop, clock(s.arrivalTicks), clock(s.timetableTicks),
                    (s.arrivalLateS > 0 ? "+" : "") + n(s.arrivalLateS, 1), doors)
               .arg(s.brakeMovements);
    }
    for (const auto& m : r.missed)
      h += QString("<tr><td>%1</td><td colspan=6><b>passed without stopping</b></td></tr>")
               .arg(q(m.name));
    h += "</table>";
  }
  h += "<h3>Events</h3>";
  if (r.events.empty()) h += "<p>None.</p>";
  for (const auto& e : r.events)
    h += QString("<p>%1 &mdash; %2, at %3 m</p>")
             .arg(clock(e.clockTicks), eventText(e), n(e.distanceM, 0));
  if (r.trainStopWarnings > 0)
    h += QString("<p>Train-stop warnings acknowledged in time: %1</p>").arg(r.trainStopWarnings);
  h += "<h3>Ride</h3>";
  h += QString("<p>Largest change of acceleration: %1 m/s&sup3; at %2 m</p>")
           .arg(n(r.comfort.maxJerk, 2), n(r.comfort.maxJerkAtM, 0));
  h += "<h3>Score</h3><table cellspacing=0 cellpadding=2>";
  h += "<tr><td>start</td><td align=right>100.0</td></tr>";
  for (const auto& i : r.breakdown)
    h += QString("<tr><td>%1</td><td align=right>&minus;%2</td></tr>")
             .arg(q(i.what), n(i.points, 1));
  h += QString("<tr><td><b>score</b></td><td align=right><b>%1</b></td></tr></table>")
           .arg(n(r.score, 1));
  h += "</body></html>";
  return h;
}

ReportWindow::ReportWindow() {
  setObjectName("ReportWindow");
  setWindowTitle("Run report");
  resize(900, 760);
  auto* layout = new QVBoxLayout(this);
  m_score = new QLabel(this);
  m_score->setObjectName("score");
  QFont big = m_score->font();
  big.setPointSize(big.pointSize() + 8);
  big.setBold(true);
  m_score->setFont(big);
  layout->addWidget(m_score);
  m_details = new QTextBrowser(this);
  m_details->setObjectName("details");
  layout->addWidget(m_details, 2);
  m_chart = new SpeedChart(this);
  layout->addWidget(m_chart, 3);
  m_status = new QLabel(this);
  m_status->setObjectName("status");
  m_status->setWordWrap(true);
  m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(m_status);
  auto* buttons = new QHBoxLayout;
  m_png = new QPushButton("Save chart as PNG...", this);
  m_png->setObjectName("savePng");
  m_svg = new QPushButton("Save chart as SVG...", this);
  m_svg->setObjectName("saveSvg");
  auto* close = new QPushButton("Close", this);
  close->setObjectName("close");
  buttons->addWidget(m_png);
  buttons->addWidget(m_svg);
  buttons->addStretch();
  buttons->addWidget(close);
  layout->addLayout(buttons);
  connect(m_png, &QPushButton::clicked, this, [this] { save(false); });
  connect(m_svg, &QPushButton::clicked, this, [this] { save(true); });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  askFile = [this](const QString& filter) {
    return QFileDialog::getSaveFileName(this, "Save the chart", QString(), filter);
  };
}

void ReportWindow::setReport(const report::RunReport& r, std::vector<report::ChartSample> ghost,
                             const QString& status) {
  setWindowTitle("Run report: " + QString::fromStdString(r.line));
  m_score->setText(QString("Score %1 / 100").arg(n(r.score, 1)));
  m_details->setHtml(detailsHtml(r));
  m_chart->setData(SpeedChartData{r, std::move(ghost)});
  setStatus(status);
}

void ReportWindow::setStatus(const QString& status) {
  m_status->setText(status);
  m_status->setVisible(!status.isEmpty());
}

void ReportWindow::save(bool svg) {
  QString file = askFile ? askFile(svg ? "SVG (*.svg)" : "PNG (*.png)") : QString();
  if (file.isEmpty()) return;
  const QString suffix = svg ? ".svg" : ".png";
  if (!file.endsWith(suffix, Qt::CaseInsensitive)) file += suffix;
  const bool ok = svg ? m_chart->saveSvg(file) : m_chart->savePng(file);
  setStatus(ok ? "The chart is in " + file : "The chart could not be written to " + file);
}

void ReportWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape)
    close();
  else
    QWidget::keyPressEvent(event);
}

}  // namespace velmoria
