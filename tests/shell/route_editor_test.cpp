#include "frontend/route_editor_qt.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>
#include <QTest>

#include "frontend/desktop_app_qt.h"
#include "media/ffmpeg/ffmpeg_video_source.h"
#include "media/null/null_video_source.h"
#include "route_writer/route_writer.h"
#include "support/language_fixture.h"
#include "support/quick_demo.h"
#include "support/shell_fixture.h"

namespace velmoria {
namespace {

namespace fs = std::filesystem;
using edit::Table;

#ifdef DEMO_GEN_EXE
// The quick demo folder, generated once for every test process that needs it (the demo line's
// own tests use the same folder and lock).
const fs::path& demoFolder() {
  static const fs::path dir = [] { return test::quickDemoFolder(DEMO_GEN_EXE, DEMO_OUT_DIR); }();
  return dir;
}
#endif

class RouteEditorTest : public ::testing::Test {
 protected:
  std::unique_ptr<RouteEditor> editor(const fs::path& folder,
                                      std::function<std::unique_ptr<VideoSource>()> video) {
    hooks = recorder.hooks();
    auto e = std::make_unique<RouteEditor>(folder, hooks, std::move(video));
    e->confirmDiscard = [] { return true; };
    return e;
  }
  static std::function<std::unique_ptr<VideoSource>()> nullVideo() {
    return [] { return std::make_unique<NullVideoSource>(16340); };
  }

  test::ShellRecorder recorder;
  ShellHooks hooks;
};

TEST_F(RouteEditorTest, steps_frame_by_frame_with_keys_wheel_slider_and_timeline) {
  test::DataCopy data(VELMORIA_TEST_DATA);
  auto e = editor(data.path(), nullVideo());
  ASSERT_TRUE(e->open("line_test.dat"));
  e->show();
  // Without a video file the editor covers the frames of the recording.
  EXPECT_EQ(e->frameCount(), e->document().route().SpeedUnitTable.back().endFrame);
  EXPECT_EQ(e->frame(), e->document().route().StartPos);
  e->setFrame(1000);
  QTest::keyClick(e.get(), Qt::Key_Right);
  EXPECT_EQ(e->frame(), 1001);
  QTest::keyClick(e.get(), Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(e->frame(), 1011);
  QTest::keyClick(e.get(), Qt::Key_Left);
  EXPECT_EQ(e->frame(), 1010);
  QTest::keyClick(e.get(), Qt::Key_PageDown);
  EXPECT_EQ(e->frame(), 1310);
  QTest::keyClick(e.get(), Qt::Key_Home);
  EXPECT_EQ(e->frame(), 0);
  QTest::keyClick(e.get(), Qt::Key_Left);
  EXPECT_EQ(e->frame(), 0);  // not before the first frame
  QTest::keyClick(e.get(), Qt::Key_End);
  EXPECT_EQ(e->frame(), e->frameCount() - 1);

  e->slider()->setValue(5000);
  EXPECT_EQ(e->frame(), 5000);
  // A click on the timeline's empty entry area goes to the frame under it.
  RouteTimeline* t = e->timeline();
  const QPoint empty(t->xOf(5300), t->rowTop(Table::SpeedCheck) + 5);
  ASSERT_FALSE(t->entryAt(empty));
  QTest::mouseClick(t, Qt::LeftButton, {}, empty);
  EXPECT_NEAR(e->frame(), 5300,
              t->span() / std::max(1, t->width() - RouteTimeline::kLabelWidth) + 1);
}

TEST_F(RouteEditorTest, adds_a_speed_limit_and_a_signal_saves_and_reopens_with_both) {
  test::DataCopy data(VELMORIA_TEST_DATA);
  auto e = editor(data.path(), nullVideo());
  ASSERT_TRUE(e->open("line_test.dat"));
  const size_t limits = e->document().count(Table::SpeedLimit);
  const size_t signals = e->document().count(Table::Signal);

  e->setFrame(9000);
  e->setTable(Table::SpeedLimit);
  e->addEntry();
  ASSERT_TRUE(e->selectedEntry());
  EXPECT_EQ(e->document().anchorFrame(Table::SpeedLimit, *e->selectedEntry()), 9000);
  // The limit typed into the form, as a user would.
  QLineEdit* limit = e->fieldEdit(0);
  ASSERT_TRUE(limit);
  limit->selectAll();
  QTest::keyClicks(limit, "35");
  QTest::keyClick(limit, Qt::Key_Return);
  EXPECT_EQ(e->document().route().SpeedLimitTable[*e->selectedEntry()].limit, 35);
  EXPECT_FALSE(e->setField(0, "fast"));  // refused, nothing changes
  EXPECT_EQ(e->document().route().SpeedLimitTable[*e->selectedEntry()].limit, 35);

  e->setFrame(12800);
  e->setTable(Table::Signal);
  e->addEntry();
  ASSERT_TRUE(e->selectedEntry());
  const size_t sig = *e->selectedEntry();
  EXPECT_EQ(e->document().route().SignalTable[sig].signalFrame, 12800);
  EXPECT_TRUE(e->setField(1, QString::fromUtf8("第4閉塞")));

  // Undo takes the label back, redo puts it again.
  e->undoStack().undo();
  EXPECT_NE(e->document().route().SignalTable[sig].label, "第4閉塞");
  e->undoStack().redo();
  EXPECT_EQ(e->document().route().SignalTable[sig].label, "第4閉塞");

  ASSERT_TRUE(e->save());
  EXPECT_TRUE(e->undoStack().isClean());
  EXPECT_TRUE(recorder.messages.isEmpty()) << recorder.messages.join("|").toStdString();
  // What the core reads is what was shown.
  const Route back = edit::readRouteForEditing(data.path(), "line_test.dat");
  const auto diff = routeDifference(back, e->document().route());
  EXPECT_FALSE(diff) << *diff;

  auto again = editor(data.path(), nullVideo());
  ASSERT_TRUE(again->open("line_test.dat"));
  EXPECT_EQ(again->document().count(Table::SpeedLimit), limits + 1);
  EXPECT_EQ(again->document().count(Table::Signal), signals + 1);
  bool limitThere = false, signalThere = false;
  for (const auto& l : again->document().route().SpeedLimitTable)
    limitThere |= l.startFrame == 9000 && l.limit == 35;
  for (const auto& s : again->document().route().SignalTable)
    signalThere |= s.signalFrame == 12800 && s.label == "第4閉塞";
  EXPECT_TRUE(limitThere);
  EXPECT_TRUE(signalThere);
}

TEST_F(RouteEditorTest, an_entry_dragged_on_the_timeline_moves_and_undo_brings_it_back) {
  test::DataCopy data(VELMORIA_TEST_DATA);
  auto e = editor(data.path(), nullVideo());
  ASSERT_TRUE(e->open("line_test.dat"));
  e->resize(1200, 700);
  e->show();
  const int first = e->document().route().StationTable[1].stopFrame;  // 南台
  e->setFrame(first);
  RouteTimeline* t = e->timeline();
  const QPoint at(t->xOf(first), t->rowTop(Table::Station) + 8);
  ASSERT_EQ(t->entryAt(at), (EntryRef{Table::Station, 1}));
  QTest::mousePress(t, Qt::LeftButton, {}, at);
  QMouseEvent move(QEvent::MouseMove, QPointF(at + QPoint(120, 0)),
                   QPointF(t->mapToGlobal(at + QPoint(120, 0))), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(t, &move);
  QTest::mouseRelease(t, Qt::LeftButton, {}, at + QPoint(120, 0));
  const int moved = e->document().route().StationTable[1].stopFrame;
  EXPECT_GT(moved, first);
  EXPECT_EQ(e->document().route().StationTable[1].zoneStart,
            e->document().route().StationTable[1].stopFrame - 200);  // the zone came along
  e->undoStack().undo();
  EXPECT_EQ(e->document().route().StationTable[1].stopFrame, first);
}

TEST_F(RouteEditorTest, a_route_with_a_value_the_file_cannot_hold_is_not_saved) {
  test::DataCopy data(VELMORIA_TEST_DATA);
  auto e = editor(data.path(), nullVideo());
  ASSERT_TRUE(e->open("line_test.dat"));
  e->setTable(Table::Station);
  e->selectEntry(0);
  // U+301C has no CP932 form of its own: the writer refuses it, naming the field.
  ASSERT_TRUE(e->setField(0, QString::fromUtf8("北〜野")));
  const auto before = fs::last_write_time(data.path() / "line_test.dat");
  EXPECT_FALSE(e->save());
  ASSERT_EQ(recorder.messages.size(), 1);
  EXPECT_TRUE(recorder.messages[0].contains("StationTable[0].name"))
      << recorder.messages[0].toStdString();
  EXPECT_EQ(fs::last_write_time(data.path() / "line_test.dat"), before);
  EXPECT_FALSE(e->undoStack().isClean());
}

#ifdef VELMORIA_DRIVE_EXE
TEST_F(RouteEditorTest, test_drive_runs_the_autopilot_on_the_route_as_edited) {
  qputenv("VELMORIA_DRIVE", VELMORIA_DRIVE_EXE);
  test::DataCopy data(VELMORIA_TEST_DATA);
  auto e = editor(data.path(), nullVideo());
  ASSERT_TRUE(e->open("line_test.dat"));
  e->setVehicle("train_test.dat");
  // An unsaved edit the drive must see: 桜川 (passed) becomes a stop.
  e->setTable(Table::Station);
  e->selectEntry(2);
  ASSERT_TRUE(e->setField(1, "0"));
  QSignalSpy done(e.get(), &RouteEditor::driveFinished);
  ASSERT_TRUE(e->startTestDrive());
  ASSERT_TRUE(done.wait(300000));
  ASSERT_TRUE(e->lastDrive());
  const auto& o = *e->lastDrive();
  EXPECT_TRUE(o.summaryRead) << o.message;
  EXPECT_TRUE(o.terminus) << o.message;
  bool stoppedAtSakuragawa = false;
  for (const auto& s : o.stops) stoppedAtSakuragawa |= s.station == "桜川";
  EXPECT_TRUE(stoppedAtSakuragawa);
  // Its run report, with the new stop in it.
  ReportWindow* report = e->driveReport();
  ASSERT_TRUE(report);
  EXPECT_TRUE(report->isVisible());
  const report::RunReport& r = report->chart()->data().report;
  EXPECT_TRUE(r.terminus);
  bool reportedSakuragawa = false;
  for (const auto& s : r.stations) reportedSakuragawa |= s.name == "桜川";
  EXPECT_TRUE(reportedSakuragawa);
  // The file itself is as it was, and the drive's copies are gone.
  EXPECT_EQ(edit::readRouteForEditing(data.path(), "line_test.dat").StationTable[2].type, 1);
  for (const auto& f : fs::directory_iterator(data.path()))
    EXPECT_EQ(f.path().filename().string().find(".testdrive"), std::string::npos);
}
#endif

TEST_F(RouteEditorTest, a_test_drive_whose_program_does_not_start_says_it_did_not_run) {
  qputenv("VELMORIA_DRIVE", "/nonexistent/velmoria-drive");
  test::DataCopy data(VELMORIA_TEST_DATA);
  auto e = editor(data.path(), nullVideo());
  ASSERT_TRUE(e->open("line_test.dat"));
  QSignalSpy done(e.get(), &RouteEditor::driveFinished);
  ASSERT_TRUE(e->startTestDrive());
  ASSERT_TRUE(done.count() > 0 || done.wait(30000));
  ASSERT_TRUE(e->lastDrive());
  EXPECT_FALSE(e->lastDrive()->summaryRead);
  EXPECT_FALSE(e->lastDrive()->terminus);
  EXPECT_FALSE(e->testDriveRunning());
  for (const auto& f : fs::directory_iterator(data.path()))
    EXPECT_EQ(f.path().filename().string().find(".testdrive"), std::string::npos);
  qunsetenv("VELMORIA_DRIVE");
}

#ifdef DEMO_GEN_EXE
TEST_F(RouteEditorTest, on_the_demo_line_shows_the_exact_frame_and_keeps_what_was_added) {
  test::DataCopy data(demoFolder());
  auto e = editor(data.path(), [] { return std::make_unique<FfmpegVideoSource>(1); });
  ASSERT_TRUE(e->open("line_rapid1.dat"));
  EXPECT_GT(e->frameCount(), 50000);  // the main line's video
  e->setFrame(20001);
  EXPECT_EQ(e->shownFrame(), 20001);
  QTest::keyClick(e.get(), Qt::Key_Right);
  EXPECT_EQ(e->shownFrame(), 20002);
  e->setTable(Table::SpeedLimit);
  e->addEntry();
  e->setTable(Table::Signal);
  e->addEntry();
  ASSERT_TRUE(e->save());
  auto again = editor(data.path(), [] { return std::make_unique<FfmpegVideoSource>(1); });
  ASSERT_TRUE(again->open("line_rapid1.dat"));
  const auto diff = routeDifference(again->document().route(), e->document().route());
  EXPECT_FALSE(diff) << *diff;
  bool limit = false, signal = false;
  for (const auto& l : again->document().route().SpeedLimitTable) limit |= l.startFrame == 20002;
  for (const auto& s : again->document().route().SignalTable) signal |= s.signalFrame == 20002;
  EXPECT_TRUE(limit && signal);
}
#endif

#if defined(DEMO_GEN_EXE) && defined(VELMORIA_IMPORT_EXE)
// A route the way a user makes one: velmoria-import on the demo line's MP4 and GPS track, then
// the editor on it. ctest runs this on an X server too (shell.route_editor_under_xvfb). By
// hand, VELMORIA_IMPORT_DEMO names another demo folder (the full line) and VELMORIA_EDITOR_SHOT
// a PNG file for the window.
TEST_F(RouteEditorTest, on_an_imported_route_steps_adds_a_limit_and_a_signal_and_keeps_them) {
  const fs::path out =
      fs::temp_directory_path() / ("velmoria-imported-" + std::to_string(getpid()));
  fs::remove_all(out);
  const QString given = qEnvironmentVariable("VELMORIA_IMPORT_DEMO");
  const fs::path demo = given.isEmpty() ? demoFolder() : fs::path(given.toStdString());
  const std::string cmd =
      test::demoImportCommand(VELMORIA_IMPORT_EXE, demo, out, "ride", "> /dev/null 2>&1");
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  const auto video = [] { return std::make_unique<FfmpegVideoSource>(1); };
  auto e = editor(out, video);
  ASSERT_TRUE(e->open("ride.dat"));
  e->resize(1280, 800);
  e->show();
  ASSERT_GT(e->frameCount(), 50000);
  e->setFrame(31000);
  QTest::keyClick(e.get(), Qt::Key_Right);
  ASSERT_EQ(e->shownFrame(), 31001);
  e->setTable(Table::SpeedLimit);
  e->addEntry();  // and selected
  ASSERT_TRUE(e->setField(0, "45"));
  e->setTable(Table::Signal);
  e->addEntry();
  ASSERT_TRUE(e->save());
  QApplication::processEvents();
  if (const QString shot = qEnvironmentVariable("VELMORIA_EDITOR_SHOT"); !shot.isEmpty()) {
    EXPECT_TRUE(e->grab().save(shot, "PNG")) << shot.toStdString();
  }

  auto again = editor(out, video);
  ASSERT_TRUE(again->open("ride.dat"));
  const auto diff = routeDifference(again->document().route(), e->document().route());
  EXPECT_FALSE(diff) << *diff;
  bool limit = false, signal = false;
  for (const auto& l : again->document().route().SpeedLimitTable)
    limit |= l.startFrame == 31001 && l.limit == 45;
  for (const auto& s : again->document().route().SignalTable) signal |= s.signalFrame == 31001;
  EXPECT_TRUE(limit);
  EXPECT_TRUE(signal);
  again.reset();
  e.reset();
  fs::remove_all(out);
}
#endif

TEST_F(RouteEditorTest, the_title_window_offers_the_editor_once_the_movie_has_ended) {
  test::DataCopy data(VELMORIA_TEST_DATA);
  DesktopApp app(data.path(), recorder.hooks(), MediaSet::null(16340));
  app.start();
  app.title().aviclick();  // the movie is over
  auto menu = app.title().contextMenu();
  ASSERT_TRUE(menu);
  QAction* open = menu->findChild<QAction*>("OpenRouteEditor");
  ASSERT_TRUE(open);
  open->trigger();  // the folder's one route file opens at once
  ASSERT_TRUE(app.editor());
  EXPECT_TRUE(app.editor()->isVisible());
  EXPECT_EQ(app.editor()->routePath().filename(), "line_test.dat");
}

// The editor's words come from the core in Japanese and are translated as they are shown: the
// undo menu, a refused value and the test drive's outcome in English here, and in Japanese
// without the translation.
class EnglishRouteEditorTest : public test::EnglishTexts, public RouteEditorTest {};

TEST_F(EnglishRouteEditorTest, names_edits_refusals_and_the_drive_in_the_readers_language) {
  ASSERT_TRUE(englishLoaded());
  test::DataCopy data(VELMORIA_TEST_DATA);
  auto e = editor(data.path(), nullVideo());
  ASSERT_TRUE(e->open("line_test.dat"));
  e->setTable(Table::Signal);
  e->addEntry();
  EXPECT_EQ(e->undoStack().undoText(), "Add signal");  // and selected
  ASSERT_TRUE(e->setField(1, "B1"));
  EXPECT_EQ(e->undoStack().undoText(), "Change signal Label");
  EXPECT_FALSE(e->setField(1, "B,1"));
  EXPECT_EQ(e->statusBar()->currentMessage(), "Label: a comma cannot stand in a field");
  EXPECT_FALSE(e->setField(4, "soon"));
  EXPECT_EQ(e->statusBar()->currentMessage(),
            "In view from: \"soon\" is not a value of this field");
  EXPECT_EQ(e->findChild<QComboBox*>("TableBox")->itemText(0), "Stations");

  edit::DriveOutcome o = edit::readDriveOutcome(
      "simulated time: 612.300 s\nterminus: reached\nstations stopped: 2\n"
      "stop errors (m): 南台 +0.12 東雲 -0.30\nemergency brakes: 1\ntrain stop alarms: 0\n"
      "overspeeds: 4\n",
      "", 0);
  QString text = RouteEditor::describeDrive(o);
  EXPECT_TRUE(text.contains("Terminus reached after 0:10:12 simulated.")) << text.toStdString();
  EXPECT_TRUE(text.contains(QString::fromUtf8("東雲  -0.30 m"))) << text.toStdString();
  EXPECT_TRUE(text.contains("Emergency brakes: 1, train stop alarms: 0, overspeeds: 4"));
  o = edit::readDriveOutcome("", "路線ファイルに誤りがあります。[Signal]:1,2\n", 2);
  text = RouteEditor::describeDrive(o);
  EXPECT_TRUE(text.contains("did not run (velmoria-drive ended with 2)")) << text.toStdString();
  EXPECT_TRUE(text.contains("[Signal]:1,2")) << text.toStdString();
  EXPECT_FALSE(text.contains(QString::fromUtf8("路線ファイル")))
      << "the reader's message in English";

  applyLanguage(Language::Japanese);
  e->addEntry();
  EXPECT_EQ(e->undoStack().undoText(), QString::fromUtf8("信号を追加"));
  EXPECT_TRUE(
      RouteEditor::describeDrive(o).contains(QString::fromUtf8("路線ファイルに誤りがあります。")));
}

}  // namespace
}  // namespace velmoria
