#include "frontend/report_window_qt.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QImage>
#include <QPushButton>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "report/score.h"
#include "support/language_fixture.h"

namespace velmoria {
namespace {

namespace fs = std::filesystem;

report::RunReport aDrive() {
  report::RunReport r;
  r.line = "ヴェルモリア本線 北野～港町";
  r.vehicle = "train_test.dat";
  r.route = "line_test.dat";
  r.chart.powerNotches = 4;
  r.chart.brakeSteps = 8;
  r.chart.limit = {{0, 100}, {3000, 65}, {3500, 100}, {8100, 100}};
  r.chart.recorded = {{0, 5}, {1000, 70}, {2000, 15}, {8100, 5}};
  r.chart.stations = {{9.3, "北野"}, {2008.6, "南台"}, {8074.5, "港町"}};
  r.chart.signals = {{300, "北野 出発"}, {1100, "第1閉塞"}};
  for (int i = 0; i <= 800; ++i) {
    const double m = i * 10.0;
    r.samples.push_back({36000 + i * 0.5, m, 60 + 20 * std::sin(i / 40.0), i % 100 < 40 ? 3 : 0,
                         i % 100 > 80 ? 4 : 0});
  }
  r.stations.push_back({});
  r.stations.back().name = "南台";
  r.stations.back().stopErrorCm = -31;
  r.stations.back().arrivalLateS = 12.5;
  r.stations.back().doorsOpened = true;
  r.events.push_back({});
  r.events.back().kind = report::EventKind::Overspeed;
  r.events.back().distanceM = 3100;
  r.events.back().limitKmh = 65;
  r.events.back().excessKmh = 9.5;
  r.events.back().durationS = 4.2;
  r.comfort.maxJerk = 0.8;
  report::scoreReport(r);
  return r;
}

// In English, the language the texts below are compared in.
class ReportWindowTest : public test::EnglishTexts, public testing::Test {
 protected:
  ReportWindowTest()
      : dir(fs::temp_directory_path() / ("velmoria-report-" + std::to_string(getpid()))) {
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  ~ReportWindowTest() override { fs::remove_all(dir); }
  fs::path dir;
};

TEST_F(ReportWindowTest, shows_the_score_the_stations_and_the_events) {
  ASSERT_TRUE(englishLoaded());
  ReportWindow w;
  const auto r = aDrive();
  w.setReport(r, {}, "Stored in /somewhere");
  EXPECT_EQ(w.score()->text(), "Score " + QString::number(r.score, 'f', 1) + " / 100");
  const QString text = w.details()->toPlainText();
  EXPECT_TRUE(text.contains("南台")) << text.toStdString();
  EXPECT_TRUE(text.contains("31 cm short"));
  EXPECT_TRUE(text.contains("+12.5 s"));
  EXPECT_TRUE(text.contains("Overspeed: 9.5 km/h over the speed limit of 65 km/h for 4.2 s"));
  EXPECT_TRUE(text.contains("−"));  // the breakdown's deductions
  EXPECT_EQ(w.status()->text(), "Stored in /somewhere");
}

// The breakdown is worded from the station or event each rule was applied to, so that it reads
// in the window's language; a report stored before that was known keeps its stored words.
TEST_F(ReportWindowTest, words_the_breakdown_from_what_each_rule_was_applied_to) {
  auto r = aDrive();
  r.stations.back().stopErrorCm = 250;
  r.stations.back().brakeMovements = 9;
  r.events.push_back({});
  r.events.back().kind = report::EventKind::SignalPassedAtStop;
  r.events.back().signal = "第1閉塞";
  r.events.back().distanceM = 1100;
  r.comfort.maxJerk = 2.5;
  report::scoreReport(r);
  const QString english = ReportWindow::detailsHtml(r);
  for (const char* line :
       {"南台: 2.50 m over", "南台: 12.5 s late", "南台: 9 brake movements in the last 100 m",
        "65 km/h for 4.2 s at 3100 m", "第1閉塞 passed at stop at 1100 m",
        "largest change of acceleration 2.50 m/s³"})
    EXPECT_TRUE(english.contains(QString::fromUtf8(line))) << line << "\n" << english.toStdString();

  applyLanguage(Language::Japanese);
  const QString japanese = ReportWindow::detailsHtml(r);
  EXPECT_TRUE(japanese.contains(QString::fromUtf8("南台: 2.50 m 行き過ぎ")))
      << japanese.toStdString();
  EXPECT_TRUE(japanese.contains(QString::fromUtf8("第1閉塞 停止信号の冒進（1100 m 地点）")));
  EXPECT_FALSE(japanese.contains("brake movements"));

  for (auto& item : r.breakdown) item.of = -1;  // as read from an older report
  r.breakdown.front().what = "stored words";
  EXPECT_TRUE(ReportWindow::detailsHtml(r).contains("stored words"));
}

TEST_F(ReportWindowTest, saves_the_chart_as_png_and_svg) {
  ReportWindow w;
  w.setReport(aDrive(), aDrive().samples, {});
  QStringList asked;
  w.askFile = [&](const QString& filter) {
    asked << filter;
    return QString::fromStdString(
        (dir / (filter.startsWith("SVG") ? "chart" : "chart.png")).string());
  };
  w.findChild<QPushButton*>("savePng")->click();
  w.findChild<QPushButton*>("saveSvg")->click();
  ASSERT_EQ(asked.size(), 2);
  const QImage png(QString::fromStdString((dir / "chart.png").string()));
  ASSERT_FALSE(png.isNull());
  EXPECT_EQ(png.size(), QSize(SpeedChart::kFileWidth, SpeedChart::kFileHeight));
  // Not a blank picture: the speed line's green is in it.
  bool green = false;
  for (int y = 0; y < png.height() && !green; y += 2)
    for (int x = 0; x < png.width() && !green; x += 2)
      green = png.pixelColor(x, y) == QColor(20, 110, 40);
  EXPECT_TRUE(green);
  std::ifstream in(dir / "chart.svg");  // the suffix added
  const std::string svg{std::istreambuf_iterator<char>(in), {}};
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("南台"), std::string::npos);
  EXPECT_TRUE(w.status()->text().startsWith("The chart is in"));
}

TEST_F(ReportWindowTest, a_chart_that_cannot_be_written_says_so) {
  ReportWindow w;
  w.setReport(aDrive(), {}, {});
  w.askFile = [](const QString&) { return QString("/nonexistent/dir/chart.png"); };
  w.findChild<QPushButton*>("savePng")->click();
  EXPECT_TRUE(w.status()->text().startsWith("The chart could not be written"));
}

TEST_F(ReportWindowTest, an_empty_report_draws_without_trouble) {
  ReportWindow w;
  w.setReport(report::RunReport{}, {}, {});
  w.resize(400, 300);
  const QImage shot = w.grab().toImage();
  EXPECT_FALSE(shot.isNull());
  EXPECT_TRUE(w.details()->toPlainText().contains("No station stopped at."));
}

}  // namespace
}  // namespace velmoria
