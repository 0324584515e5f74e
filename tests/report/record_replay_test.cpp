// A drive as the desktop program lives it (its two timers in their order, inputs at wall-clock
// times) recorded by the InputRecorder, then driven again from the record without a window:
// the trace comes out the same to the byte, and so does a replay paced in small slices.
#include "report/record_replay.h"

#include <gtest/gtest.h>

#include <sstream>

#include "replay/count_only_video.h"
#include "replay/headless_run.h"
#include "replay/input_recorder.h"
#include "run/trace.h"

namespace velmoria::report {
namespace {

using replay::CommandKind;
using replay::ScriptCommand;

struct LiveInput {
  int64_t wallMs;
  ScriptCommand command;
  bool afterStep = false;  // after a step of the same millisecond rather than before it
};

ScriptCommand command(CommandKind kind, char key = 0) {
  ScriptCommand c;
  c.kind = kind;
  c.key = key;
  return c;
}

// The cab window's handlers, as the desktop calls them for each kind of input.
void handle(replay::HeadlessRun& h, const ScriptCommand& c) {
  Run& run = h.run();
  switch (c.kind) {
    case CommandKind::Start:
      run.start1Click();
      break;
    case CommandKind::Key:
      run.AsciiDown(c.key);
      break;
    case CommandKind::VKey:
      run.keydowns(c.vkey, c.shift);
      break;
    case CommandKind::Wheel:
      c.wheelUp ? run.WheelU() : run.WheelD();
      break;
    case CommandKind::Station:
      run.StationClick(c.station);
      break;
    default:
      break;
  }
  run.drainPostedKeys();
}

// Drives the run from wall time 0 to endMs: each Start lays the two timers' grids from its
// own millisecond, and inputs come at their wall times.
std::string liveDrive(replay::HeadlessRun& h, replay::InputRecorder& recorder,
                      const std::vector<LiveInput>& inputs, int64_t endMs, int64_t wallAtZero) {
  std::ostringstream out;
  TraceWriter trace(out);
  trace.writeHeader();
  std::optional<int64_t> nextStep, nextTick;
  size_t next = 0;
  const auto give = [&](const LiveInput& in) {
    recorder.input(in.command, in.wallMs);
    handle(h, in.command);
    if (in.command.kind == CommandKind::Start) {
      if (h.run().running()) {
        nextStep = in.wallMs + 33;
        nextTick = in.wallMs + 100;
      } else {
        nextStep.reset();
        nextTick.reset();
      }
    }
  };
  for (int64_t t = 0; t <= endMs; ++t) {
    // The sound device keeps time from the first Start, as the virtual drive's does.
    h.clock().set(std::max<int64_t>(0, t - wallAtZero));
    while (next < inputs.size() && inputs[next].wallMs == t && !inputs[next].afterStep)
      give(inputs[next++]);
    if (nextStep && *nextStep == t) {
      h.run().MMTimer1Timer();
      recorder.step();
      *nextStep += 33;
    }
    while (next < inputs.size() && inputs[next].wallMs == t) give(inputs[next++]);
    if (nextTick && *nextTick == t) {
      h.run().Timer1Timer();
      h.run().drainPostedKeys();
      recorder.tick();
      trace.writeRow(h.run(), recorder.lastTickMs());
      *nextTick += 100;
    }
  }
  return out.str();
}

replay::Script parsed(const std::string& text) {
  std::istringstream in(text);
  return *replay::parseScript(in).script;
}

std::string replayed(const std::string& record) {
  std::ostringstream trace;
  replayRecord(VELMORIA_TEST_DATA, "train_test.dat", "line_test.dat",
               std::make_unique<replay::CountOnlyVideo>(16340), nullptr, parsed(record), &trace);
  return trace.str();
}

std::unique_ptr<replay::HeadlessRun> fixtureRun() {
  return std::make_unique<replay::HeadlessRun>(
      VELMORIA_TEST_DATA, "train_test.dat", "line_test.dat",
      std::make_unique<replay::CountOnlyVideo>(16340), nullptr);
}

std::vector<LiveInput> aDrive() {
  const int64_t s = 2000;  // Start, two seconds after the window opened
  std::vector<LiveInput> in;
  in.push_back({700, command(CommandKind::VKey)});  // Enter: a call-out, before Start
  in.back().command.vkey = VirtualKey::Enter;
  in.push_back({s, command(CommandKind::Start)});
  ScriptCommand shiftF10 = command(CommandKind::VKey);
  shiftF10.vkey = VirtualKey::F10;
  shiftF10.shift = true;
  in.push_back({s + 517, shiftF10});  // the clock past the door-closing time
  in.push_back({s + 1234, shiftF10});
  in.push_back({s + 3300, command(CommandKind::Key, '5')});  // at the same ms as step and tick
  for (int i = 0; i < 4; ++i) in.push_back({s + 3350 + 61 * i, command(CommandKind::Key, '8')});
  ScriptCommand wheel = command(CommandKind::Wheel);
  wheel.wheelUp = true;
  in.push_back({s + 20010, wheel});
  in.push_back({s + 25000, command(CommandKind::Start)});     // pause
  in.push_back({s + 31777, command(CommandKind::Start)});     // resume
  in.push_back({s + 32001, command(CommandKind::Key, '3')});  // the horn: a sound to time
  in.push_back({s + 40000, command(CommandKind::Key, '2')});
  in.push_back({s + 40099, command(CommandKind::Key, '2')});
  return in;
}

TEST(RecordReplay, a_recorded_drive_replays_to_the_same_trace) {
  auto live = fixtureRun();
  replay::InputRecorder recorder(live->app());
  const std::string liveTrace = liveDrive(*live, recorder, aDrive(), 50000, 2000);
  ASSERT_TRUE(recorder.exact()) << recorder.whyNotExact();
  ASSERT_GT(liveTrace.size(), 1000u);
  // The record ends where the drive ended.
  ScriptCommand quit = command(CommandKind::Quit);
  recorder.input(quit, 50000);
  const std::string record = recorder.script("a test drive");
  EXPECT_EQ(replayed(record), liveTrace) << record;
}

TEST(RecordReplay, an_input_between_a_step_and_its_tick_is_told) {
  auto live = fixtureRun();
  replay::InputRecorder recorder(live->app());
  auto inputs = aDrive();
  inputs.push_back({2000 + 6600, command(CommandKind::Key, '2'), true});
  std::sort(inputs.begin(), inputs.end(),
            [](const LiveInput& a, const LiveInput& b) { return a.wallMs < b.wallMs; });
  liveDrive(*live, recorder, inputs, 10000, 2000);
  EXPECT_FALSE(recorder.exact());
}

TEST(RecordReplay, a_paced_replay_runs_as_the_whole_drive) {
  const replay::Script script = parsed(
      "0 start\n517 vkey F10 shift\n1234 vkey F10 shift\n3300 key 5\n3350 key 8\n3411 key 8\n"
      "20010 wheel up\n25000 start\n31777 start\n32001 key 3\n52000 quit\n");
  std::ostringstream whole;
  replayRecord(VELMORIA_TEST_DATA, "train_test.dat", "line_test.dat",
               std::make_unique<replay::CountOnlyVideo>(16340), nullptr, script, &whole);

  auto h = fixtureRun();
  replay::VirtualDrive drive(h->run(), h->app(), h->joystick(), h->clock(), script);
  std::ostringstream sliced;
  TraceWriter trace(sliced);
  trace.writeHeader();
  drive.afterTick = [&] { trace.writeRow(h->run(), h->clock().nowMs()); };
  int64_t t = 0;
  while (drive.advanceTo(t)) t += 7;  // the cab window's pacer, a few milliseconds a pass
  EXPECT_TRUE(drive.ended());
  EXPECT_EQ(sliced.str(), whole.str());
}

}  // namespace
}  // namespace velmoria::report
