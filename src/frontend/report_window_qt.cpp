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
      const QString against =
          e.limit == report::LimitSource::SpeedLimit ? ReportWindow::tr("制限速度")
          : e.limit == report::LimitSource::CheckSpeed ? ReportWindow::tr("保安装置の照査速度")
                                                       : ReportWindow::tr("車両の最高速度");
      return ReportWindow::tr("速度超過: %2 %3 km/h を %1 km/h 超えて %4 秒")
          .arg(n(e.excessKmh, 1), against)
          .arg(e.limitKmh)
          .arg(n(e.durationS, 1));
    }
    case EventKind::TrainStopAlarm: {
      const QString cause =
          e.cause == report::AlarmCause::SpeedCheck ? ReportWindow::tr("速度照査を超える速度で通過")
          : e.cause == report::AlarmCause::StopSignal ? ReportWindow::tr("停止信号の照査点")
          : e.cause == report::AlarmCause::CheckSpeed ? ReportWindow::tr("照査速度の超過")
                                                      : ReportWindow::tr("警報の確認なし");
      return ReportWindow::tr("ATS動作: %1").arg(cause);
    }
    case EventKind::ProtectionEmergency:
      return e.serviceBrake ? ReportWindow::tr("保安装置による常用最大ブレーキ")
                            : ReportWindow::tr("保安装置による非常ブレーキ");
    case EventKind::DriverEmergency:
      return ReportWindow::tr("走行中の運転士による非常ブレーキ");
    case EventKind::SignalPassedAtStop:
      return ReportWindow::tr("停止信号の冒進: %1").arg(q(e.signal));
  }
  return {};
}

// One line of the score's breakdown in the reader's language, from what the rule was applied
// to; the stored English words when that is not known.
template <typename T>
const T* entryAt(const std::vector<T>& entries, int of) {
  return of >= 0 && size_t(of) < entries.size() ? &entries[size_t(of)] : nullptr;
}

QString deductionText(const report::RunReport& r, const report::ScoreItem& i) {
  const report::StationStopReport* s = entryAt(r.stations, i.of);
  if (s && i.rule == "stop")
    return (s->stopErrorCm < 0 ? ReportWindow::tr("%1: %2 m 手前")
                               : ReportWindow::tr("%1: %2 m 行き過ぎ"))
        .arg(q(s->name), n(std::abs(s->stopErrorCm) / 100, 2));
  if (s && i.rule == "late")
    return ReportWindow::tr("%1: %2 秒遅れ").arg(q(s->name), n(s->arrivalLateS, 1));
  if (s && i.rule == "brake_handle")
    return ReportWindow::tr("%1: 最後の100 mでブレーキ操作 %2 回")
        .arg(q(s->name), QString::number(s->brakeMovements));
  if (const auto* m = entryAt(r.missed, i.of); m && i.rule == "missed_stop")
    return ReportWindow::tr("%1: 通過").arg(q(m->name));
  if (i.rule == "jerk")
    return ReportWindow::tr("加速度の最大変化 %1 m/s³").arg(n(r.comfort.maxJerk, 2));
  if (const auto* e = entryAt(r.events, i.of)) {
    const QString at = n(e->distanceM, 0);
    if (i.rule == "overspeed")
      return ReportWindow::tr("制限 %1 km/h を %2 km/h 超えて %3 秒（%4 m 地点）")
          .arg(e->limitKmh)
          .arg(n(e->excessKmh, 1), n(e->durationS, 1), at);
    if (i.rule == "train_stop_alarm") return ReportWindow::tr("ATS動作（%1 m 地点）").arg(at);
    if (i.rule == "protection_emergency")
      return (e->serviceBrake ? ReportWindow::tr("保安装置のブレーキ（%1 m 地点）")
                              : ReportWindow::tr("保安装置の非常ブレーキ（%1 m 地点）"))
          .arg(at);
    if (i.rule == "driver_emergency")
      return ReportWindow::tr("走行中の非常ブレーキ（%1 m 地点）").arg(at);
    if (i.rule == "signal_passed_at_stop")
      return ReportWindow::tr("%1 停止信号の冒進（%2 m 地点）").arg(q(e->signal), at);
  }
  return q(i.what);
}

}  // namespace

QString ReportWindow::detailsHtml(const report::RunReport& r) {
  QString h = "<html><body style='font-size:12px'>";
  const QString ride = r.terminus ? tr("%1（%2）%3〜%4、%5 km、終点到着")
                                  : tr("%1（%2）%3〜%4、%5 km、終点の手前まで");
  h += QString("<p><b>%1</b><br>%2</p>")
           .arg(q(r.line), ride.arg(q(r.vehicle), q(r.route), clock(r.startClock),
                                    clock(r.endClock), n((r.endM - r.startM) / 1000, 2)));
  h += "<h3>" + tr("駅") + "</h3>";
  if (r.stations.empty() && r.missed.empty()) {
    h += "<p>" + tr("停車した駅はありません。") + "</p>";
  } else {
    h += "<table cellspacing=0 cellpadding=3 border=1><tr>";
    for (const QString& head : {tr("駅"), tr("停止位置"), tr("到着"), tr("時刻表"), tr("遅れ"),
                                tr("ドア"), tr("ブレーキ操作（最後の100 m）")})
      h += "<th>" + head + "</th>";
    h += "</tr>";
    for (const auto& s : r.stations) {
      const QString stop = (s.stopErrorCm < 0 ? tr("%1 cm 手前") : tr("%1 cm 行き過ぎ"))
                               .arg(n(std::abs(s.stopErrorCm), 0));
      const QString doors =
          s.doorsOpened ? (s.doorsClosed ? tr("開・閉") : tr("開")) : tr("開かず");
      const QString late = tr("%1 秒").arg((s.arrivalLateS > 0 ? "+" : "") + n(s.arrivalLateS, 1));
      h += QString(
               "<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td><td>%5</td><td>%6</td>"
               "<td align=center>%7</td></tr>")
               .arg(q(s.name), stop, clock(s.arrivalTicks), clock(s.timetableTicks), late, doors,
                    QString::number(s.brakeMovements));
    }
    for (const auto& m : r.missed)
      h += QString("<tr><td>%1</td><td colspan=6><b>%2</b></td></tr>")
               .arg(q(m.name), tr("通過（停車せず）"));
    h += "</table>";
  }
  h += "<h3>" + tr("出来事") + "</h3>";
  if (r.events.empty()) h += "<p>" + tr("なし。") + "</p>";
  for (const auto& e : r.events)
    h +=
        "<p>" +
        tr("%1 &mdash; %2（%3 m 地点）").arg(clock(e.clockTicks), eventText(e), n(e.distanceM, 0)) +
        "</p>";
  if (r.trainStopWarnings > 0)
    h += "<p>" + tr("時間内に確認したATS警報: %1 回").arg(r.trainStopWarnings) + "</p>";
  h += "<h3>" + tr("乗り心地") + "</h3>";
  h += "<p>" +
       tr("加速度の最大変化: %1 m/s&sup3;（%2 m 地点）")
           .arg(n(r.comfort.maxJerk, 2), n(r.comfort.maxJerkAtM, 0)) +
       "</p>";
  h += "<h3>" + tr("採点") + "</h3><table cellspacing=0 cellpadding=2>";
  h += "<tr><td>" + tr("持ち点") + "</td><td align=right>100.0</td></tr>";
  for (const auto& i : r.breakdown)
    h += QString("<tr><td>%1</td><td align=right>&minus;%2</td></tr>")
             .arg(deductionText(r, i), n(i.points, 1));
  h += QString("<tr><td><b>%1</b></td><td align=right><b>%2</b></td></tr></table>")
           .arg(tr("得点"), n(r.score, 1));
  h += "</body></html>";
  return h;
}

ReportWindow::ReportWindow() {
  setObjectName("ReportWindow");
  setWindowTitle(tr("運転レポート"));
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
  m_png = new QPushButton(tr("グラフをPNGで保存…"), this);
  m_png->setObjectName("savePng");
  m_svg = new QPushButton(tr("グラフをSVGで保存…"), this);
  m_svg->setObjectName("saveSvg");
  auto* close = new QPushButton(tr("閉じる"), this);
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
    return QFileDialog::getSaveFileName(this, tr("グラフの保存"), QString(), filter);
  };
}

void ReportWindow::setReport(const report::RunReport& r, std::vector<report::ChartSample> ghost,
                             const QString& status) {
  setWindowTitle(tr("運転レポート: %1").arg(QString::fromStdString(r.line)));
  m_score->setText(tr("得点 %1 / 100").arg(n(r.score, 1)));
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
  setStatus(
      (ok ? tr("グラフを %1 に保存しました") : tr("グラフを %1 に書き込めませんでした")).arg(file));
}

void ReportWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape)
    close();
  else
    QWidget::keyPressEvent(event);
}

}  // namespace velmoria
