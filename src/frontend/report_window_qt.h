#pragma once
// The run report window: the score and what it was made of, each station stopped at, the
// events, the ride comfort, the speed-distance chart, and buttons that save the chart as PNG
// or SVG. Shown by the desktop application when a run reaches its terminus, on Back after the
// train moved, at the end of a replay and from the Records window. UI thread.
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QWidget>
#include <functional>

#include "frontend/speed_chart_qt.h"

namespace velmoria {

class ReportWindow : public QWidget {
  Q_OBJECT
 public:
  ReportWindow();
  // `status` is a line under the chart (where the run was stored, how its replay compared).
  void setReport(const report::RunReport& report, std::vector<report::ChartSample> ghost,
                 const QString& status);
  void setStatus(const QString& status);

  SpeedChart* chart() const { return m_chart; }
  QLabel* score() const { return m_score; }
  QTextBrowser* details() const { return m_details; }
  QLabel* status() const { return m_status; }
  // The save buttons ask for a file; the tests set this instead of answering a dialog.
  std::function<QString(const QString& filter)> askFile;

  // The report as HTML (the details pane).
  static QString detailsHtml(const report::RunReport& report);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void save(bool svg);

  QLabel* m_score = nullptr;
  QTextBrowser* m_details = nullptr;
  SpeedChart* m_chart = nullptr;
  QLabel* m_status = nullptr;
  QPushButton *m_png = nullptr, *m_svg = nullptr;
};

}  // namespace velmoria
