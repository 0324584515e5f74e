#include "replay/input_recorder.h"

#include <gtest/gtest.h>

namespace velmoria::replay {
namespace {

ScriptCommand key(char k) {
  ScriptCommand c;
  c.kind = CommandKind::Key;
  c.key = k;
  return c;
}
ScriptCommand start() {
  ScriptCommand c;
  c.kind = CommandKind::Start;
  return c;
}

std::vector<std::string> lines(const InputRecorder& r) {
  std::vector<std::string> out;
  for (const auto& c : r.commands()) out.push_back(formatScriptCommand(c));
  return out;
}

// The desktop's timers after a Start at wall time `wall0`: steps and ticks in their order up
// to virtual time `until`.
void timersTo(InputRecorder& r, int64_t from, int64_t until) {
  for (int64_t t = from + 1; t <= until; ++t) {
    if (t % kStepMs == 0) r.step();
    if (t % kTickMs == 0) r.tick();
  }
}

TEST(InputRecorder, starts_by_setting_what_an_earlier_run_left) {
  AppState app;
  app.keySwap = true;
  app.followMode = true;
  InputRecorder r(app);
  r.input(start(), 5000);
  EXPECT_EQ(lines(r),
            (std::vector<std::string>{"0 vkey ScrollLock", "0 vkey F1 shift", "0 start"}));
  EXPECT_TRUE(r.exact());
}

TEST(InputRecorder, inputs_before_start_are_at_zero) {
  InputRecorder r{AppState{}};
  ScriptCommand jump;
  jump.kind = CommandKind::Station;
  jump.station = 1;
  r.input(jump, 800);
  r.input(start(), 2000);
  EXPECT_EQ(lines(r), (std::vector<std::string>{"0 station 1", "0 start"}));
}

TEST(InputRecorder, an_input_takes_its_time_since_start_between_the_steps_around_it) {
  InputRecorder r{AppState{}};
  r.input(start(), 1000);
  timersTo(r, 0, 66);
  r.input(key('8'), 1090);  // 90 ms after Start, before the step at 99
  EXPECT_EQ(r.commands().back().timeMs, 90);
  // The program was late: the wall says 120, but the step at 99 has not run yet.
  r.input(key('8'), 1120);
  EXPECT_EQ(r.commands().back().timeMs, 99);
  timersTo(r, 66, 100);
  // Just after the tick at 100, a clock that lags is taken past it.
  r.input(key('2'), 1095);
  EXPECT_EQ(r.commands().back().timeMs, 101);
  EXPECT_EQ(r.lastTickMs(), 100);
  EXPECT_TRUE(r.exact()) << r.whyNotExact();
}

TEST(InputRecorder, an_input_between_a_step_and_a_tick_of_one_millisecond_is_not_exact) {
  InputRecorder r{AppState{}};
  r.input(start(), 0);
  timersTo(r, 0, 3299);
  r.step();  // 3300: the step has run, the tick of the same millisecond not yet
  r.input(key('8'), 3300);
  EXPECT_FALSE(r.exact());
  EXPECT_NE(r.whyNotExact().find("same millisecond"), std::string::npos);
}

TEST(InputRecorder, timers_out_of_their_order_make_it_not_exact) {
  InputRecorder r{AppState{}};
  r.input(start(), 0);
  timersTo(r, 0, 66);
  r.tick();  // due at 100, but the step of 99 has not come
  EXPECT_FALSE(r.exact());
}

TEST(InputRecorder, pause_and_resume_keep_the_wall_clock_between_them) {
  InputRecorder r{AppState{}};
  r.input(start(), 10000);
  timersTo(r, 0, 250);
  r.input(start(), 10260);  // pause at 260
  r.input(start(), 15000);  // resume at 5000: steps from 5033, ticks from 5100
  r.step();
  EXPECT_TRUE(r.exact());
  r.tick();  // the tick at 5100 before the steps at 5066 and 5099: out of turn
  EXPECT_FALSE(r.exact());
  EXPECT_EQ(lines(r)[1], "260 start");
  EXPECT_EQ(lines(r)[2], "5000 start");
}

TEST(InputRecorder, the_video_switch_holds_the_schedule_for_a_second) {
  InputRecorder r{AppState{}};
  r.input(start(), 0);
  timersTo(r, 0, 99);
  r.videoSwitched();  // during the tick at 100
  // The USB scan of the same tick still comes before it on replay.
  JoystickState s;
  s.x = 500;
  r.usb(1, s, 100);
  EXPECT_EQ(r.commands().back().timeMs, 100);
  r.tick();
  r.input(key('8'), 400);  // during the hold
  EXPECT_EQ(r.commands().back().timeMs, 400);
  r.tick();  // the tick that fell due, once, at 1100
  EXPECT_EQ(r.lastTickMs(), 1100);
  r.step();  // the 33 ms timer restarted: 1133
  EXPECT_TRUE(r.exact()) << r.whyNotExact();
}

TEST(InputRecorder, usb_readings_are_written_when_they_change) {
  InputRecorder r{AppState{}};
  r.input(start(), 0);
  JoystickState s;
  s.x = 20000;
  s.buttons[3] = true;
  r.controllerKind(2, 10);
  r.usb(2, s, 20);
  r.usb(2, s, 30);          // the same again: nothing new
  r.controllerKind(0, 40);  // no step has run since Start: before the one at 33
  const auto l = lines(r);
  ASSERT_EQ(l.size(), 4u);
  EXPECT_EQ(l[1], "10 usb 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0");
  EXPECT_EQ(l[2].substr(0, 9), "20 usb 2 ");
  EXPECT_EQ(l[3].substr(0, 9), "33 usb 0 ");
  std::optional<ScriptError> error;
  const auto back = parseScriptLine(l[2], 1, error);
  ASSERT_TRUE(back);
  EXPECT_EQ(applyDeadZone(back->x), 20000);
  EXPECT_TRUE(back->buttons[3]);
}

TEST(InputRecorder, every_axis_value_the_dead_zone_gives_comes_back_from_a_raw_value) {
  for (int32_t raw = -32768; raw <= 32767; ++raw) {
    const int32_t axis = applyDeadZone(raw);
    ASSERT_EQ(applyDeadZone(rawAxisFor(axis)), axis) << raw;
  }
}

TEST(InputRecorder, the_script_starts_with_its_header_as_comments) {
  InputRecorder r{AppState{}};
  r.input(start(), 0);
  EXPECT_EQ(r.script("vehicle a.dat\nroute b.dat"), "# vehicle a.dat\n# route b.dat\n0 start\n");
}

}  // namespace
}  // namespace velmoria::replay
