// The desktop program's run report, run history, replay and ghost, through its windows: a
// drive in the cab window (its two timers called in their order, keys as Qt gives them), the
// report on Back, the stored run, and its replay in the cab window to the same trace.
#include "frontend/run_watch_qt.h"

#include <gtest/gtest.h>
#include <QKeyEvent>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "frontend/run_history_qt.h"
#include "replay/count_only_video.h"
#include "report/history.h"
#include "report/record_replay.h"
#include "support/desktop_fixture.h"
#include "support/language_fixture.h"

namespace velmoria {
namespace {

namespace fs = std::filesystem;
using test::DesktopFixture;
using test::processEvents;

std::string contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// In English, the language the report's texts are compared in.
class RunWatchTest : public test::EnglishTexts, public DesktopFixture {
 protected:
  RunWatchTest() {
    runs = *report::historyFolder();
    fs::remove_all(runs.parent_path());
    setHistoryEnabled(true);
  }
  ~RunWatchTest() override {
    std::error_code ec;
    fs::remove_all(runs.parent_path(), ec);
    setHistoryEnabled(true);
  }

  void key(Qt::Key k, const QString& text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent e(QEvent::KeyPress, k, mods, text);
    cab().handleKey(&e);
  }
  // The cab window's timers from the clock's now for `ms`, in the order Qt fires them.
  void runFor(int64_t ms) {
    for (int64_t i = 0; i < ms; ++i) {
      clock->advance(1);
      const int64_t since = clock->nowMs() - startedAt;
      if (since % 33 == 0) cab().MMTimer1Timer();
      if (since % 100 == 0) cab().Timer1Timer();
    }
  }
  void start() {
    startedAt = clock->nowMs();
    cab().start1Click();
  }
  // A short drive: the doors shut (the clock moved on with Shift+F10), released, P2 for a
  // while, then the brake; Back.
  void drive(int stepsOutOfTurn = 0) {
    choose();
    clock->advance(750);
    start();
    runFor(400);
    key(Qt::Key_F10, {}, Qt::ShiftModifier);
    runFor(217);
    key(Qt::Key_F10, {}, Qt::ShiftModifier);
    runFor(3000);
    key(Qt::Key_5, "5");
    runFor(123);
    key(Qt::Key_8, "8");
    key(Qt::Key_8, "8");
    runFor(5000);
    // A busy machine: the 33 ms timer fires more often than its turn, which no record holds.
    for (int i = 0; i < stepsOutOfTurn; ++i) cab().MMTimer1Timer();
    runFor(10000);
    key(Qt::Key_2, "2");
    runFor(77);
    key(Qt::Key_2, "2");
    runFor(6000);
    cab().BackClick();
    processEvents(50);
  }
  std::vector<fs::path> stored() const {
    std::vector<fs::path> out;
    std::error_code ec;
    if (fs::is_directory(runs, ec))
      for (const auto& e : fs::directory_iterator(runs)) out.push_back(e.path());
    return out;
  }

  fs::path runs;
  int64_t startedAt = 0;
};

TEST_F(RunWatchTest, back_after_a_drive_shows_the_report_and_stores_the_run) {
  drive();
  ReportWindow* report = app->reportWindow();
  ASSERT_TRUE(report);
  EXPECT_TRUE(report->isVisible());
  EXPECT_TRUE(report->score()->text().startsWith("Score "));
  EXPECT_FALSE(report->chart()->data().report.samples.empty());
  const auto folders = stored();
  ASSERT_EQ(folders.size(), 1u);
  EXPECT_NE(report->status()->text().indexOf("Stored in"), -1)
      << report->status()->text().toStdString();
  for (const char* f : {report::kReportFile, report::kTraceFile, report::kRecordFile})
    EXPECT_TRUE(fs::is_regular_file(folders[0] / f)) << f;
  QString why;
  report::StoredFacts facts;
  const auto back = readReportFile(folders[0] / report::kReportFile, &why, &facts);
  ASSERT_TRUE(back) << why.toStdString();
  EXPECT_EQ(back->vehicle, "train_test.dat");
  EXPECT_FALSE(back->terminus);
  EXPECT_GT(back->endM, back->startM + 5);
  ASSERT_TRUE(facts.replayExact);
  EXPECT_TRUE(*facts.replayExact) << "the record replays the drive to the same trace";
  // The record is velmoria-drive's script: driven again, it gives the stored trace.
  std::ifstream in(folders[0] / report::kRecordFile);
  auto script = replay::parseScript(in);
  ASSERT_TRUE(script.script);
  std::ostringstream trace;
  report::replayRecord(data.path().string(), "train_test.dat", "line_test.dat",
                       std::make_unique<replay::CountOnlyVideo>(16340), nullptr, *script.script,
                       &trace);
  EXPECT_TRUE(trace.str() == contents(folders[0] / report::kTraceFile));
}

TEST_F(RunWatchTest, a_stored_run_replays_in_the_cab_window_to_the_same_trace) {
  drive();
  const HistoryListing history = readHistory(runs);
  ASSERT_EQ(history.runs.size(), 1u);
  ASSERT_TRUE(history.runs[0].hasRecord);
  ASSERT_TRUE(app->replayRun(history.runs[0], 4));
  ASSERT_TRUE(cab().replay());
  // Keys do nothing during a replay.
  key(Qt::Key_0, "0");
  for (int i = 0; i < 20000 && !cab().replay()->ended(); ++i) {
    clock->advance(5);
    cab().replay()->pace();
  }
  ASSERT_TRUE(cab().replay()->ended());
  ReportWindow* report = app->reportWindow();
  ASSERT_TRUE(report && report->isVisible());
  EXPECT_NE(report->status()->text().indexOf("byte for byte"), -1)
      << report->status()->text().toStdString();
  // A replay stores nothing of its own.
  cab().BackClick();
  processEvents(20);
  EXPECT_EQ(stored().size(), 1u);
}

TEST_F(RunWatchTest, a_drive_its_record_cannot_replay_exactly_is_stored_as_it_was_driven) {
  drive(40);
  ReportWindow* report = app->reportWindow();
  ASSERT_TRUE(report);
  const report::RunReport& shown = report->chart()->data().report;
  const HistoryListing history = readHistory(runs);
  ASSERT_EQ(history.runs.size(), 1u);
  const StoredRun& stored = history.runs[0];
  ASSERT_TRUE(stored.stored.replayExact);
  ASSERT_FALSE(*stored.stored.replayExact) << "the steps out of turn should make it inexact";
  // The stored report has the file's precision: a tenth of a metre, a tenth of a point.
  EXPECT_NEAR(stored.report.endM, shown.endM, 0.051);
  EXPECT_NEAR(stored.report.score, shown.score, 0.051);
  EXPECT_EQ(stored.report.endMs, shown.endMs);
  EXPECT_NE(report->status()->text().indexOf("slightly different"), -1)
      << report->status()->text().toStdString();
}

TEST_F(RunWatchTest, nothing_is_written_when_the_history_is_off) {
  setHistoryEnabled(false);
  drive();
  ASSERT_TRUE(app->reportWindow());
  EXPECT_TRUE(app->reportWindow()->isVisible());
  EXPECT_FALSE(fs::exists(runs.parent_path()));
  EXPECT_TRUE(app->reportWindow()->status()->text().isEmpty());
}

TEST_F(RunWatchTest, back_before_the_train_moved_shows_no_report) {
  choose();
  start();
  runFor(2000);
  cab().BackClick();
  processEvents(20);
  EXPECT_FALSE(app->reportWindow());
  EXPECT_TRUE(stored().empty());
}

TEST_F(RunWatchTest, the_best_run_of_the_line_is_the_ghost) {
  // A stored run to the terminus, standing 30 m further on at every time of day.
  drive();
  const auto folders = stored();
  ASSERT_EQ(folders.size(), 1u);
  std::string json = contents(folders[0] / report::kReportFile);
  json.replace(json.find("\"terminus\": false"), 17, "\"terminus\": true");
  std::ofstream(folders[0] / report::kReportFile, std::ios::binary | std::ios::trunc) << json;

  choose();
  clock->advance(750);
  start();
  runFor(2000);
  QLabel* caption = cab().ghostCaption();
  ASSERT_TRUE(caption);
  EXPECT_TRUE(caption->isVisible());
  EXPECT_TRUE(caption->text().contains("best run")) << caption->text().toStdString();
  cab().BackClick();
  processEvents(20);
}

TEST(GhostCaption, says_ahead_or_behind) {
  EXPECT_EQ(ghostCaption(123.4, 97.5), QString::fromUtf8("最高記録の運転より 123 m 先 (97.5)"));
  EXPECT_EQ(ghostCaption(-45.6, 97.5), QString::fromUtf8("最高記録の運転より 46 m 後ろ (97.5)"));
  test::EnglishTexts english;
  ASSERT_TRUE(english.englishLoaded());
  EXPECT_EQ(ghostCaption(123.4, 97.5), "123 m ahead of the best run (97.5)");
  EXPECT_EQ(ghostCaption(-45.6, 97.5), "46 m behind the best run (97.5)");
  EXPECT_EQ(ghostCaption(0.2, 100), "level with the best run (100.0)");
}

}  // namespace
}  // namespace velmoria
