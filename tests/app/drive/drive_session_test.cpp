// velmoria-drive end to end on the fixture line: the autopilot, scripts, the trace and the
// order of events in virtual time.
#include "drive_session.h"
#include "fixture_copy.h"
#include "frame/startup_error.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace velmoria::drive {
namespace {

constexpr int32_t kStartTime = 1080000;  // line_test.dat [StartTime], 10:00:00

DriveOptions fixture(const std::string& vehicle = "train_test.dat") {
  DriveOptions o;
  o.dataDir = VELMORIA_TEST_DATA;
  o.vehicleFile = vehicle;
  o.routeFile = "line_test.dat";
  o.frames = 16340;
  return o;
}

Script scriptOf(const std::string& text) {
  std::istringstream in(text);
  auto r = parseScript(in);
  EXPECT_TRUE(r.script) << (r.error ? r.error->message : "");
  return r.script.value_or(Script{});
}

std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> row;
  std::string field;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      row.push_back(field);
      field.clear();
    } else if (c == '\n') {
      row.push_back(field);
      field.clear();
      rows.push_back(row);
      row.clear();
    } else {
      field += c;
    }
  }
  return rows;
}

struct Table {
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;
  int column(const std::string& name) const {
    for (size_t i = 0; i < header.size(); ++i)
      if (header[i] == name) return static_cast<int>(i);
    ADD_FAILURE() << "no column " << name;
    return 0;
  }
  // The row written after the tick at t_ms, or null.
  const std::vector<std::string>* at(int64_t tMs) const {
    for (const auto& r : rows)
      if (r[0] == std::to_string(tMs)) return &r;
    return nullptr;
  }
  std::string value(int64_t tMs, const std::string& name) const {
    const auto* r = at(tMs);
    if (!r) {
      ADD_FAILURE() << "no row at " << tMs;
      return {};
    }
    return (*r)[static_cast<size_t>(column(name))];
  }
};

Table tableOf(const std::string& trace) {
  auto rows = parseCsv(trace);
  Table t;
  if (rows.empty()) return t;
  t.header = rows.front();
  t.rows.assign(rows.begin() + 1, rows.end());
  return t;
}

struct Drive {
  DriveEnd end;
  std::string trace;
  std::vector<StationStop> stops;
  int emergencyBrakes = 0;
  int overspeeds = 0;
  std::string caption;
};

Drive drive(DriveOptions o, const std::string& script, std::string* record = nullptr) {
  std::ostringstream trace, recorded;
  DriveSession session(o, scriptOf(script), nullptr, &trace);
  EXPECT_FALSE(session.checkScript());
  if (record) session.record(&recorded);
  Drive d;
  d.end = session.drive();
  d.trace = trace.str();
  d.stops = session.meter().stops();
  d.emergencyBrakes = session.meter().emergencyBrakes();
  d.overspeeds = session.meter().overspeeds();
  d.caption = session.observe().display.caption;
  if (record) *record = recorded.str();
  return d;
}

void expectGoodDrive(const Drive& d) {
  EXPECT_TRUE(d.end.terminus);
  EXPECT_EQ(d.caption, "終点に到着しました。Backボタンで戻ってください。");
  // 南台, 東雲 (no automatic doors) and the terminus 港町; 桜川 is passed.
  ASSERT_EQ(d.stops.size(), 3u);
  EXPECT_EQ(d.stops[0].station, 1);
  EXPECT_EQ(d.stops[1].station, 3);
  EXPECT_EQ(d.stops[2].station, 4);
  for (const auto& s : d.stops) EXPECT_LE(std::abs(s.errorM), 1.0) << s.name;
  EXPECT_EQ(d.emergencyBrakes, 0);
  EXPECT_EQ(d.overspeeds, 0);
  // A handle is worked at least every 50 s while moving: the vigilance device (60 s) stays
  // silent.
  const Table t = tableOf(d.trace);
  int longest = 0;
  for (const auto& r : t.rows)
    longest = std::max(longest, std::stoi(r[static_cast<size_t>(t.column("vigilance"))]));
  EXPECT_LE(longest, 500);
}

struct AutopilotCase {
  const char* name;
  const char* vehicle;
  const char* from = nullptr;  // an edit of the vehicle file, bytes
  const char* to = nullptr;
  const char* file = nullptr;  // the file edited when not the vehicle file
};

class DriveAutopilot : public testing::TestWithParam<AutopilotCase> {};

TEST_P(DriveAutopilot, reaches_the_terminus_with_every_stop_within_a_metre) {
  const auto& c = GetParam();
  const FixtureCopy copy("line_test.dat");
  if (c.from) copy.edit(c.file ? c.file : c.vehicle, c.from, c.to);
  auto o = fixture(c.vehicle);
  o.dataDir = copy.dir().string();
  o.autopilot = true;
  o.untilTerminus = true;
  const Drive d = drive(o, "");
  expectGoodDrive(d);
  // The timetable runs from 10:00:00 to the terminus departure time 10:12:33; a careful
  // driver needs most of it.
  EXPECT_GT(d.end.timeMs, 600000);
  EXPECT_LT(d.end.timeMs, 900000);
}

INSTANTIATE_TEST_SUITE_P(
    Vehicles, DriveAutopilot,
    testing::Values(
        AutopilotCase{"emu", "train_test.dat"}, AutopilotCase{"diesel", "train_diesel.dat"},
        // The same train under pattern control and under cab signalling.
        AutopilotCase{"pattern", "train_test.dat", "[ATS_Type]\r\n0", "[ATS_Type]\r\n1"},
        AutopilotCase{"cab_signal", "train_test.dat", "[ATS_Type]\r\n0", "[ATS_Type]\r\n2"},
        // Numbered steps commanding the cylinder directly.
        AutopilotCase{"brake_type_2", "train_test.dat", "[BrakeType]\r\n1", "[BrakeType]\r\n2"},
        // The driver works the doors.
        AutopilotCase{"one_man", "train_test.dat", "[OneMan]\r\n0", "[OneMan]\r\n1",
                      "line_test.dat"},
        AutopilotCase{"one_man_diesel", "train_diesel.dat", "[OneMan]\r\n0", "[OneMan]\r\n1",
                      "line_test.dat"}),
    [](const testing::TestParamInfo<AutopilotCase>& info) { return info.param.name; });

TEST(DriveReport, the_autopilot_scores_at_least_95_with_every_stop_within_a_metre_and_no_event) {
  auto o = fixture();
  o.autopilot = true;
  o.untilTerminus = true;
  o.reportFile = "unused";  // the session builds the report; main() would write it
  DriveSession session(o, Script{}, nullptr, nullptr);
  ASSERT_TRUE(session.drive().terminus);
  const auto r = session.report();
  ASSERT_TRUE(r);
  EXPECT_TRUE(r->terminus);
  EXPECT_GE(r->score, 95);
  ASSERT_EQ(r->stations.size(), 3u);
  for (const auto& s : r->stations) {
    EXPECT_LE(std::abs(s.stopErrorCm), 100) << s.name;
    EXPECT_TRUE(s.doorsOpened || s.station == 3) << s.name;  // 東雲 has no automatic doors
  }
  EXPECT_TRUE(r->events.empty()) << r->events.size() << " events, the first "
                                 << report::eventKindName(r->events.front().kind);
  EXPECT_TRUE(r->missed.empty());
  // The stop-signal warnings of the line's train stop, each acknowledged at once.
  EXPECT_EQ(r->trainStopWarnings, session.meter().alarms());
  // The report's stops are the meter's.
  for (size_t i = 0; i < r->stations.size(); ++i)
    EXPECT_NEAR(r->stations[i].stopErrorCm, session.meter().stops()[i].errorM * 100, 1e-9);
}

TEST(DriveReport, is_built_only_when_asked_for) {
  auto o = fixture();
  o.untilMs = 1000;
  DriveSession session(o, Script{}, nullptr, nullptr);
  session.drive();
  EXPECT_FALSE(session.report());
}

TEST(DriveScriptRun, a_script_drives_the_line_exactly_as_the_inputs_it_replays) {
  // The autopilot's inputs, written as a script, drive the same run without it: the same trace
  // to the last digit, the terminus, every stop within a metre.
  auto o = fixture();
  o.autopilot = true;
  o.untilTerminus = true;
  std::string recorded;
  const Drive byAutopilot = drive(o, "", &recorded);
  ASSERT_NE(recorded.find("0 start\n"), std::string::npos);
  auto replay = fixture();
  replay.untilTerminus = true;
  const Drive byScript = drive(replay, recorded);
  expectGoodDrive(byScript);
  EXPECT_EQ(byScript.end.timeMs, byAutopilot.end.timeMs);
  EXPECT_TRUE(byScript.trace == byAutopilot.trace) << "the traces differ";
}

TEST(DriveTiming, a_key_at_a_tick_acts_before_the_tick) {
  auto o = fixture();
  o.untilMs = 300;
  const Table at100 = tableOf(drive(o, "0 start\n100 key 8\n").trace);
  EXPECT_EQ(at100.value(100, "brake"), "-7");  // EB -> B7 before the tick's row
  const Table at101 = tableOf(drive(o, "0 start\n101 key 8\n").trace);
  EXPECT_EQ(at101.value(100, "brake"), "-8");
  EXPECT_EQ(at101.value(200, "brake"), "-7");
}

TEST(DriveTiming, at_3300_ms_the_step_runs_before_the_tick) {
  auto o = fixture();
  o.untilMs = 3400;
  const Table t = tableOf(drive(o, "0 start\n").trace);
  // Each 33 ms step adds one thirtieth of a second to the clock. By the tick at 3200 the steps
  // at 33 .. 3168 have run (96); by the tick at 3300 also 3201, 3234, 3267 and 3300 (100).
  EXPECT_EQ(t.value(100, "clock"), std::to_string(kStartTime + 3));
  EXPECT_EQ(t.value(3200, "clock"), std::to_string(kStartTime + 96));
  EXPECT_EQ(t.value(3300, "clock"), std::to_string(kStartTime + 100));
  EXPECT_EQ(t.value(3300, "tick"), "33");
}

TEST(DriveTiming, pause_cancels_and_resume_lays_new_grids) {
  auto o = fixture();
  o.untilMs = 1300;
  const Table t = tableOf(drive(o, "0 start\n250 start\n1000 start\n").trace);
  std::vector<std::string> times;
  for (const auto& r : t.rows) times.push_back(r[0]);
  EXPECT_EQ(times, (std::vector<std::string>{"100", "200", "1100", "1200", "1300"}));
  // Steps at 33 .. 231 before the pause (7), then 1033, 1066, 1099 after the resume.
  EXPECT_EQ(t.value(200, "clock"), std::to_string(kStartTime + 6));
  EXPECT_EQ(t.value(1100, "clock"), std::to_string(kStartTime + 10));
  EXPECT_EQ(t.value(1100, "tick"), "3");
}

TEST(DriveTrace, columns_formats_and_time) {
  auto o = fixture();
  o.autopilot = true;
  o.untilMs = 90000;
  const Drive d = drive(o, "");
  const Table t = tableOf(d.trace);
  ASSERT_EQ(t.rows.size(), 900u);
  ASSERT_GE(t.header.size(), 41u);
  EXPECT_EQ(t.header[0], "t_ms");
  EXPECT_EQ(t.header[40], "playing");
  const std::regex fixed(R"(-?\d+\.\d{4})"), extended(R"(-?\d+\.\d{3})"), flag("[01]"),
      integer(R"(-?\d+)");
  const char* fixedColumns[] = {"speed",       "bc",         "sap",          "er",
                                "mr",          "bc_display", "net_force",    "resistance",
                                "motor_force", "gradient",   "gradient_eff", "voltage"};
  const char* extendedColumns[] = {"distance_cm", "remaining_cm", "next_stop_cm"};
  const char* flagColumns[] = {"hold", "alarm", "ats_emergency", "protection_brake", "door_open"};
  long previous = 0;
  for (const auto& r : t.rows) {
    ASSERT_EQ(r.size(), t.header.size());
    const long time = std::stol(r[0]);
    EXPECT_EQ(time, previous + 100);
    previous = time;
    for (const char* c : fixedColumns) EXPECT_TRUE(std::regex_match(r[t.column(c)], fixed)) << c;
    for (const char* c : extendedColumns)
      EXPECT_TRUE(std::regex_match(r[t.column(c)], extended)) << c;
    for (const char* c : flagColumns) EXPECT_TRUE(std::regex_match(r[t.column(c)], flag)) << c;
    EXPECT_TRUE(std::regex_match(r[t.column("frame")], integer));
    EXPECT_TRUE(std::regex_match(r[t.column("playing")], std::regex(R"((\d+( \d+)*)?)")));
  }
  // The train starts in EB with a full cylinder, under the fixed-point values of the file.
  EXPECT_EQ(t.value(100, "bc"), "440.0000");
  EXPECT_EQ(t.value(100, "mr"), "880.0000");
  EXPECT_EQ(t.value(100, "speed"), "0.0000");
  EXPECT_EQ(t.value(100, "caption"), "ヴェルモリア本線 北野～港町");
  // By 90 s the autopilot has left 北野 and is under way.
  EXPECT_NE(t.value(90000, "speed"), "0.0000");
}

TEST(DriveCommands, serial_usb_station_and_virtual_keys_reach_the_run) {
  auto o = fixture();
  o.untilMs = 600;
  // The serial P1 code acts before the first start; the USB Windows controller's Y axis at
  // -7338 reads -6000 after the dead zone: notch 2.
  const Table t = tableOf(drive(o,
                                "0 serial VMP01\n"
                                "0 start\n"
                                "150 usb 1 0 -7338 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n"
                                "350 station 1\n")
                              .trace);
  EXPECT_EQ(t.value(100, "power"), "1");
  EXPECT_EQ(t.value(100, "brake"), "0");
  EXPECT_EQ(t.value(200, "power"), "2");
  EXPECT_EQ(t.value(400, "frame"), "4190");  // the middle of 南台's zone
  EXPECT_EQ(t.value(400, "brake"), "-8");
}

TEST(DriveCommands, quit_ends_the_run_at_its_time) {
  auto o = fixture();
  const Drive d = drive(o, "0 start\n1234 quit\n");
  EXPECT_TRUE(d.end.quit);
  EXPECT_FALSE(d.end.terminus);
  EXPECT_EQ(d.end.timeMs, 1234);
  EXPECT_EQ(tableOf(d.trace).rows.size(), 12u);
}

TEST(DriveCommands, a_station_the_menu_lacks_is_a_script_error) {
  auto o = fixture();
  DriveSession session(o, scriptOf("0 start\n5 station 1\n9 station 2\n"), nullptr, nullptr);
  const auto error = session.checkScript();
  ASSERT_TRUE(error);  // 桜川 (2) is passed, so it has no entry
  EXPECT_EQ(error->line, 3);
}

TEST(DriveTiming, the_branch_video_switch_holds_the_program_for_a_second) {
  const FixtureCopy copy("line_rapid5.dat");
  auto o = fixture();
  o.dataDir = copy.dir().string();
  o.routeFile = "line_rapid5.dat";
  o.frames = 60000;  // Shift+F8 keeps the train on the video
  o.untilMs = 1300;
  // 42 x Shift+F8 puts the train at frame 42200, beyond the branch point 41300: the tick at
  // 100 reopens the video and the UI thread waits a second.
  std::string script = "0 start\n";
  for (int i = 0; i < 42; ++i) script += "50 vkey F8 shift\n";
  const Table t = tableOf(drive(o, script).trace);
  std::vector<std::string> times;
  for (const auto& r : t.rows) times.push_back(r[0]);
  EXPECT_EQ(times, (std::vector<std::string>{"100", "1100", "1200", "1300"}));
  EXPECT_EQ(t.value(100, "frame"), "42200");
  // No step during the wait; the restarted 33 ms timer runs at 1133, 1166, 1199 ...
  EXPECT_EQ(t.value(100, "clock"), std::to_string(kStartTime + 3));
  EXPECT_EQ(t.value(1100, "clock"), std::to_string(kStartTime + 3));
  EXPECT_EQ(t.value(1200, "clock"), std::to_string(kStartTime + 6));
}

TEST(DriveAutopilotSignals, a_close_preceding_train_is_followed_by_the_signals) {
  // The preceding train 40 s ahead instead of 180 s: the starting signal shows stop until it
  // has cleared the first block, and cautions follow along the line.
  const FixtureCopy copy("line_test.dat");
  copy.edit("line_test.dat", "[Pre_Time]\r\n180", "[Pre_Time]\r\n40");
  auto o = fixture();
  o.dataDir = copy.dir().string();
  o.autopilot = true;
  o.untilTerminus = true;
  const Drive d = drive(o, "");
  expectGoodDrive(d);
  const Table t = tableOf(d.trace);
  const std::set<std::string> stopAspects = {"0", "3", "6", "9", "13", "17"};
  bool sawStopAhead = false, sawCaution = false;
  for (const auto& r : t.rows) {
    const std::string& picture = r[static_cast<size_t>(t.column("SignalImage"))];
    const bool moving = r[static_cast<size_t>(t.column("speed"))] != "0.0000";
    const int frame = std::stoi(r[static_cast<size_t>(t.column("frame"))]);
    if (frame < 600 && stopAspects.count(picture)) {
      sawStopAhead = true;
      EXPECT_FALSE(moving) << "left 北野 against the signal at " << r[0];
    }
    if (picture == "10" || picture == "15") sawCaution = true;
  }
  EXPECT_TRUE(sawStopAhead);
  EXPECT_TRUE(sawCaution);
}

#ifdef VELMORIA_DRIVE_HAS_MEDIA
TEST(DriveVideo, without_frames_the_count_comes_from_the_video_file) {
  if (std::system("ffmpeg -version > /dev/null 2>&1") != 0) GTEST_SKIP() << "no ffmpeg";
  const FixtureCopy copy("line_test.dat");
  std::filesystem::create_directories(copy.dir() / "move");
  const std::string make =
      "ffmpeg -v error -f lavfi -i testsrc=size=64x32:rate=30 -frames:v 45 "
      "-c:v mjpeg -y '" +
      (copy.dir() / "move" / "line_test.avi").string() + "'";
  ASSERT_EQ(std::system(make.c_str()), 0);
  auto o = fixture();
  o.dataDir = copy.dir().string();
  o.frames.reset();
  DriveSession session(o, Script{}, nullptr, nullptr);
  EXPECT_EQ(session.run().videoFrameCount(), 45);
}
#endif

TEST(DriveStartup, a_faulty_file_gives_the_desktop_message) {
  auto o = fixture();
  o.vehicleFile = "missing.dat";
  try {
    DriveSession session(o, Script{}, nullptr, nullptr);
    ADD_FAILURE() << "no start-up error";
  } catch (const StartupError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("車両ファイルに誤りがあります", 0), 0u) << e.what();
  }
}

// --- What the cab window refuses, velmoria-drive refuses with the same message ---

struct RefusedCase {
  const char* name;
  const char* file;  // the data file edited
  const char* from;
  const char* to;
  const char* message;
};

class DriveRefuses : public testing::TestWithParam<RefusedCase> {};

TEST_P(DriveRefuses, the_run_with_the_desktop_message) {
  const auto& c = GetParam();
  const FixtureCopy copy("line_test.dat");
  copy.edit(c.file, c.from, c.to);
  // A picture that exists but that the cab window's decoder refuses: no bit depth.
  std::string bmp(60, '\0');
  bmp[0] = 'B', bmp[1] = 'M', bmp[14] = 40, bmp[18] = 8, bmp[22] = 8, bmp[26] = 1;
  copy.write("nodepth.bmp", bmp);
  auto o = fixture();
  o.dataDir = copy.dir().string();
  try {
    DriveSession session(o, Script{}, nullptr, nullptr);
    ADD_FAILURE() << "no start-up error";
  } catch (const StartupError& e) {
    EXPECT_EQ(std::string(e.what()), c.message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DriveRefuses,
    testing::Values(RefusedCase{"door_lamp_missing", "train_test.dat", "image\\emu\\lamp_door.bmp",
                                "image\\emu\\gone.bmp", "image\\emu\\gone.bmpが見つかりません"},
                    RefusedCase{"needle_missing", "train_test.dat", "image\\emu\\needle_speed.bmp",
                                "needle.bmp", "needle.bmpが見つかりません"},
                    RefusedCase{"others_missing", "train_test.dat", "image\\emu\\others_plate.bmp",
                                "plate.bmp", "plate.bmpが見つかりません"},
                    RefusedCase{"card_missing", "line_test.dat", "image\\staf\\staf_test.bmp",
                                "card.bmp", "card.bmpが見つかりません"},
                    RefusedCase{"picture_the_decoder_refuses", "train_test.dat",
                                "image\\emu\\lamp_door.bmp", "nodepth.bmp",
                                "nodepth.bmpが見つかりません"},
                    // A train whose brake gives no force could never be stopped.
                    RefusedCase{"no_brake_rate", "train_test.dat", "[BrakeRate]\r\n4.2",
                                "[BrakeRate]\r\n0", "車両ファイルに誤りがあります- 列車の基本設定"},
                    RefusedCase{"no_emergency_pressure", "train_test.dat", "[EBPress]\r\n440",
                                "[EBPress]\r\n0", "車両ファイルに誤りがあります- 列車の基本設定"},
                    RefusedCase{"brake_steps_of_int32_min", "train_test.dat", "[Brake]\r\n8",
                                "[Brake]\r\n-2147483648",
                                "ブレーキの段数を3段以上に設定してください"}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

TEST(DriveStartup, a_fifo_named_as_a_picture_is_a_missing_picture_not_a_hang) {
  const FixtureCopy copy("line_test.dat");
  ASSERT_EQ(::mkfifo((copy.dir() / "pipe.bmp").c_str(), 0600), 0);
  copy.edit("train_test.dat", "image\\emu\\lamp_door.bmp", "pipe.bmp");
  auto o = fixture();
  o.dataDir = copy.dir().string();
  EXPECT_THROW(
      {
        try {
          DriveSession session(o, Script{}, nullptr, nullptr);
        } catch (const StartupError& e) {
          EXPECT_EQ(std::string(e.what()), "pipe.bmpが見つかりません");
          throw;
        }
      },
      StartupError);
}

TEST(DriveStartup, a_vehicle_file_that_fails_while_being_read_is_a_faulty_file) {
  // /proc/self/mem opens, then every read fails with EIO.
  auto o = fixture();
  o.vehicleFile = "/proc/self/mem";
  EXPECT_THROW(DriveSession(o, Script{}, nullptr, nullptr), StartupError);
}

TEST(DriveAutopilotLimits, gives_up_at_once_when_the_brake_cannot_stop_the_train) {
  // A hundredth of a km/h/s: the train would run on past every stop, and predicting its
  // stops would cost the autopilot ten minutes of braking curve every tick.
  const FixtureCopy copy("line_test.dat");
  copy.edit("train_test.dat", "[BrakeRate]\r\n4.2", "[BrakeRate]\r\n0.01");
  auto o = fixture();
  o.dataDir = copy.dir().string();
  o.autopilot = true;
  o.untilTerminus = true;
  const Drive d = drive(o, "");
  EXPECT_TRUE(d.end.gaveUp);
  EXPECT_FALSE(d.end.terminus);
  EXPECT_EQ(d.end.timeMs, 101);  // its first turn, 1 ms after the first tick
}

TEST(DriveAutopilotLimits, a_train_with_int32_max_brake_steps_drives_without_overflow) {
  // Brake steps and handle positions near the end of int32 (UBSan stops on any overflow): the
  // train starts in EB at step -2147483646; the keys step it out of EB, release it, take
  // power and throw it back to EB; the autopilot declines a brake of so many steps, each too
  // weak to count.
  const FixtureCopy copy("line_test.dat");
  copy.edit("train_test.dat", "[Brake]\r\n8", "[Brake]\r\n2147483646");
  auto o = fixture();
  o.dataDir = copy.dir().string();
  o.untilMs = 3000;
  const std::string script = "0 start\n150 key 8\n450 key 5\n650 key 8\n1500 key 0\n";
  const Table t = tableOf(drive(o, script).trace);
  EXPECT_EQ(t.value(100, "brake"), "-2147483646");
  EXPECT_EQ(t.value(300, "brake"), "-2147483645");
  EXPECT_EQ(t.value(1000, "power"), "1");
  EXPECT_EQ(t.value(3000, "brake"), "-2147483646");
  o.autopilot = true;
  o.untilMs.reset();
  EXPECT_TRUE(drive(o, "").end.gaveUp);
}

}  // namespace
}  // namespace velmoria::drive
