#include "frontend/records_window_qt.h"

#include <gtest/gtest.h>
#include <QPushButton>

#include <fstream>

#include "report/history.h"
#include "report/report_json.h"
#include "support/desktop_fixture.h"
#include "support/language_fixture.h"

namespace velmoria {
namespace {

namespace fs = std::filesystem;
using test::DesktopFixture;

// In English, the language the texts are compared in.
class RecordsWindowTest : public test::EnglishTexts, public DesktopFixture {
 protected:
  RecordsWindowTest() {
    runs = *report::historyFolder();
    fs::remove_all(runs.parent_path());
    fs::create_directories(runs);
    setHistoryEnabled(true);
  }
  ~RecordsWindowTest() override {
    std::error_code ec;
    fs::remove_all(runs.parent_path(), ec);
    setHistoryEnabled(true);
  }
  void store(const std::string& name, double score, bool terminus, const std::string& record) {
    report::RunReport r;
    r.vehicle = "train_test.dat";
    r.route = "line_test.dat";
    r.line = "ヴェルモリア本線 北野～港町";
    r.terminus = terminus;
    r.score = score;
    fs::create_directories(runs / name);
    report::StoredFacts facts{"desktop", name, data.path().string(), true};
    std::ofstream(runs / name / report::kReportFile) << report::reportJson(r, &facts);
    std::ofstream(runs / name / report::kTraceFile) << "t_ms\n";
    if (!record.empty()) std::ofstream(runs / name / report::kRecordFile) << record;
  }

  fs::path runs;
};

TEST_F(RecordsWindowTest, lists_the_runs_under_their_line_with_its_best_score) {
  store("20260101-100000-a", 88.5, true, "0 start\n1000 quit\n");
  store("20260101-110000-b", 100, false, "0 start\n1000 quit\n");  // did not reach the end
  store("20260101-120000-c", 93, true, "");
  std::ofstream(runs / "readme.txt") << "a file of the user's";
  app->showRecords();
  RecordsWindow* w = app->recordsWindow();
  ASSERT_TRUE(w);
  EXPECT_TRUE(w->isVisible());
  ASSERT_EQ(w->list()->topLevelItemCount(), 1);
  QTreeWidgetItem* group = w->list()->topLevelItem(0);
  EXPECT_EQ(group->text(1), "best 93.0");
  ASSERT_EQ(group->childCount(), 3);
  EXPECT_EQ(group->child(1)->text(2), "-");
  EXPECT_EQ(group->child(2)->text(4), "no record");
  EXPECT_TRUE(w->skipped()->isVisible());
  EXPECT_TRUE(w->skipped()->text().contains("readme.txt: not a run folder"));
  EXPECT_TRUE(fs::exists(runs / "readme.txt"));
  // A run without its record has its report, but no replay.
  w->select(2);
  EXPECT_TRUE(w->findChild<QPushButton*>("report")->isEnabled());
  EXPECT_FALSE(w->findChild<QPushButton*>("replay1")->isEnabled());
  w->findChild<QPushButton*>("report")->click();
  ASSERT_TRUE(app->reportWindow());
  EXPECT_EQ(app->reportWindow()->score()->text(), "Score 93.0 / 100");
}

TEST_F(RecordsWindowTest, the_title_windows_button_opens_it_and_its_switch_keeps_the_setting) {
  app->title().recordsButton()->clicked();
  RecordsWindow* w = app->recordsWindow();
  ASSERT_TRUE(w);
  EXPECT_TRUE(w->keep()->isChecked());
  w->keep()->setChecked(false);
  EXPECT_FALSE(historyEnabled());
  EXPECT_FALSE(historyToWrite());
  w->keep()->setChecked(true);
  EXPECT_TRUE(historyEnabled());
}

TEST_F(RecordsWindowTest, replay_opens_the_cab_window_on_the_stored_record) {
  store("20260101-100000-a", 88.5, true, "0 start\n400 key 5\n1000 quit\n");
  app->showRecords();
  RecordsWindow* w = app->recordsWindow();
  w->select(0);
  w->findChild<QPushButton*>("replay4")->click();
  ASSERT_TRUE(app->cab());
  ASSERT_TRUE(cab().replay());
  EXPECT_EQ(cab().replay()->speed(), 4);
  EXPECT_FALSE(w->isVisible());
  // The replay has a program state of its own: the title window's choice stays as it was.
  EXPECT_EQ(cab().run()->vehicle().fileName, "train_test.dat");
  EXPECT_TRUE(app->state().vehicleFile.empty());
  for (int i = 0; i < 100 && !cab().replay()->ended(); ++i) {
    clock->advance(5);
    cab().replay()->pace();
  }
  EXPECT_TRUE(cab().replay()->ended());
}

}  // namespace
}  // namespace velmoria
