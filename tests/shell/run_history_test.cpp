#include "frontend/run_history_qt.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "report/history.h"
#include "report/report_json.h"
#include "report/score.h"
#include "support/language_fixture.h"

namespace velmoria {
namespace {

namespace fs = std::filesystem;

// In English, the language the skipped entries' reasons are compared in.
class RunHistory : public test::EnglishTexts, public testing::Test {
 protected:
  RunHistory() : runs(fs::temp_directory_path() / ("velmoria-runs-" + std::to_string(getpid()))) {
    fs::remove_all(runs);
    fs::create_directories(runs);
  }
  ~RunHistory() override { fs::remove_all(runs); }

  static report::RunReport aReport(double score, bool terminus) {
    report::RunReport r;
    r.vehicle = "train_test.dat";
    r.route = "line_test.dat";
    r.line = "ヴェルモリア本線";
    r.terminus = terminus;
    r.stations.push_back({});
    r.stations.back().name = "南台";
    r.stations.back().stopErrorCm = -12.5;
    r.events.push_back({});
    r.events.back().kind = report::EventKind::Overspeed;
    r.events.back().excessKmh = 4;
    r.events.back().durationS = 1.5;
    r.samples.push_back({36000, 10, 20, 2, 0});
    r.score = score;
    return r;
  }
  void write(const std::string& name, const std::string& report, bool record = true) {
    fs::create_directories(runs / name);
    std::ofstream(runs / name / report::kReportFile, std::ios::binary) << report;
    if (record) std::ofstream(runs / name / report::kRecordFile) << "0 start\n";
  }
  static std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  fs::path runs;
};

TEST_F(RunHistory, a_stored_report_reads_back_as_it_was_written) {
  report::RunReport r = aReport(0, true);
  report::scoreReport(r);
  report::StoredFacts facts{"desktop", "2026-01-02 10:11:12", "/data", true};
  write("20260102-101112-a", report::reportJson(r, &facts));
  const HistoryListing h = readHistory(runs);
  ASSERT_EQ(h.runs.size(), 1u);
  EXPECT_TRUE(h.skipped.isEmpty());
  const report::RunReport& back = h.runs[0].report;
  EXPECT_EQ(back.line, r.line);
  EXPECT_DOUBLE_EQ(back.score, r.score);
  ASSERT_EQ(back.stations.size(), 1u);
  EXPECT_DOUBLE_EQ(back.stations[0].stopErrorCm, -12.5);
  ASSERT_EQ(back.events.size(), 1u);
  EXPECT_EQ(back.events[0].kind, report::EventKind::Overspeed);
  EXPECT_DOUBLE_EQ(back.events[0].durationS, 1.5);
  ASSERT_EQ(back.breakdown.size(), r.breakdown.size());
  ASSERT_EQ(back.samples.size(), 1u);
  EXPECT_DOUBLE_EQ(back.samples[0].speedKmh, 20);
  EXPECT_EQ(h.runs[0].stored.date, "2026-01-02 10:11:12");
  ASSERT_TRUE(h.runs[0].stored.replayExact);
  EXPECT_TRUE(h.runs[0].hasRecord);
  // Written again, the same bytes: nothing was lost on the way.
  EXPECT_EQ(report::reportJson(back, &facts), report::reportJson(r, &facts));
}

TEST_F(RunHistory, broken_and_foreign_entries_are_skipped_with_a_message_and_kept) {
  write("20260101-000000-good", report::reportJson(aReport(90, true)));
  write("20260101-000001-broken", "{\"format\": \"velmoria-run-report\", \"score\": ");
  write("20260101-000002-foreign", "{\"name\": \"someone else's\"}");
  write("20260101-000003-binary", std::string("\x89PNG\r\n\x1a\n\0\0", 10));
  fs::create_directories(runs / "20260101-000004-empty");
  std::ofstream(runs / "notes.txt") << "my notes";
  fs::create_directories(runs / ".20260101-000005-x.part");
  const HistoryListing h = readHistory(runs);
  ASSERT_EQ(h.runs.size(), 1u);
  EXPECT_EQ(h.runs[0].folder.filename(), "20260101-000000-good");
  ASSERT_EQ(h.skipped.size(), 6) << h.skipped.join("\n").toStdString();
  EXPECT_TRUE(h.skipped.join("\n").contains("notes.txt: not a run folder"));
  EXPECT_TRUE(h.skipped.join("\n").contains("empty: no report.json"));
  EXPECT_TRUE(h.skipped.join("\n").contains("is not a Velmoria run report"));
  EXPECT_TRUE(h.skipped.join("\n").contains("is not JSON"));
  // Nothing was deleted or changed.
  EXPECT_EQ(contents(runs / "notes.txt"), "my notes");
  EXPECT_EQ(contents(runs / "20260101-000002-foreign" / report::kReportFile),
            "{\"name\": \"someone else's\"}");
  EXPECT_TRUE(fs::is_directory(runs / ".20260101-000005-x.part"));
  EXPECT_TRUE(fs::is_directory(runs / "20260101-000004-empty"));
}

TEST_F(RunHistory, a_missing_folder_is_an_empty_history) {
  const HistoryListing h = readHistory(runs / "none");
  EXPECT_TRUE(h.runs.empty());
  EXPECT_TRUE(h.skipped.isEmpty());
}

TEST_F(RunHistory, the_best_run_is_the_highest_score_to_the_terminus_of_that_vehicle_and_route) {
  write("20260101-000000-a", report::reportJson(aReport(80, true)));
  write("20260101-000001-b", report::reportJson(aReport(100, false)));  // ended on the way
  write("20260101-000002-c", report::reportJson(aReport(92.5, true)));
  report::RunReport other = aReport(99, true);
  other.route = "line_other.dat";
  write("20260101-000003-d", report::reportJson(other));
  const HistoryListing h = readHistory(runs);
  const StoredRun* best = bestRun(h, "train_test.dat", "line_test.dat");
  ASSERT_TRUE(best);
  EXPECT_EQ(best->folder.filename(), "20260101-000002-c");
  EXPECT_FALSE(bestRun(h, "train_other.dat", "line_test.dat"));
}

TEST(HistorySetting, is_on_until_switched_off) {
  setHistoryEnabled(true);
  EXPECT_TRUE(historyEnabled());
  EXPECT_TRUE(historyToWrite());
  setHistoryEnabled(false);
  EXPECT_FALSE(historyEnabled());
  EXPECT_FALSE(historyToWrite());
  setHistoryEnabled(true);
}

}  // namespace
}  // namespace velmoria
