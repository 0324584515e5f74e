#include "replay/scheduler.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmoria::replay {
namespace {

// Runs the scheduler up to `until` with commands at the given times and records what ran.
std::vector<Event> timeline(Scheduler& s, std::vector<int64_t> commands, int64_t until,
                            int64_t startAtCommand = -1) {
  std::vector<Event> out;
  size_t next = 0;
  while (true) {
    const auto e = s.next(next < commands.size() ? std::optional(commands[next]) : std::nullopt);
    if (!e || e->timeMs > until) break;
    out.push_back(*e);
    if (e->kind == EventKind::Command) {
      if (static_cast<int64_t>(next) == startAtCommand) s.start(e->timeMs);
      ++next;
    } else {
      s.taken(*e);
    }
  }
  return out;
}

TEST(DriveScheduler, nothing_is_due_before_start) {
  Scheduler s;
  EXPECT_FALSE(s.next(std::nullopt));
  EXPECT_EQ(s.next(500), (Event{500, EventKind::Command}));
}

TEST(DriveScheduler, start_lays_the_step_and_tick_grids_from_its_own_time) {
  Scheduler s;
  s.start(40);
  const std::vector<Event> expected = {{73, EventKind::Step},  {106, EventKind::Step},
                                       {139, EventKind::Step}, {140, EventKind::Tick},
                                       {172, EventKind::Step}, {205, EventKind::Step},
                                       {238, EventKind::Step}, {240, EventKind::Tick}};
  EXPECT_EQ(timeline(s, {}, 240), expected);
}

TEST(DriveScheduler, at_3300_the_step_comes_before_the_tick) {
  Scheduler s;
  s.start(0);
  const auto t = timeline(s, {3300}, 3300);
  // 3300 is both the 100th step (33 x 100) and the 33rd tick; the command goes first.
  ASSERT_GE(t.size(), 3u);
  EXPECT_EQ(t[t.size() - 3], (Event{3300, EventKind::Command}));
  EXPECT_EQ(t[t.size() - 2], (Event{3300, EventKind::Step}));
  EXPECT_EQ(t[t.size() - 1], (Event{3300, EventKind::Tick}));
  int steps = 0, ticks = 0;
  for (const auto& e : t) {
    if (e.kind == EventKind::Step) ++steps;
    if (e.kind == EventKind::Tick) ++ticks;
  }
  EXPECT_EQ(steps, 100);
  EXPECT_EQ(ticks, 33);
}

TEST(DriveScheduler, a_command_at_a_tick_runs_before_it) {
  Scheduler s;
  s.start(0);
  const auto t = timeline(s, {100}, 100);
  ASSERT_EQ(t.size(), 5u);  // steps at 33, 66, 99, then the command and the tick at 100
  EXPECT_EQ(t[3], (Event{100, EventKind::Command}));
  EXPECT_EQ(t[4], (Event{100, EventKind::Tick}));
}

TEST(DriveScheduler, pause_cancels_and_resume_restarts_from_its_own_time) {
  Scheduler s;
  s.start(0);
  timeline(s, {}, 150);  // steps to 132, tick at 100
  s.pause();
  EXPECT_FALSE(s.running());
  EXPECT_FALSE(s.next(std::nullopt));
  s.start(1010);
  EXPECT_EQ(s.nextStepMs(), 1043);
  EXPECT_EQ(s.nextTickMs(), 1110);
  const auto t = timeline(s, {}, 1110);
  ASSERT_EQ(t.size(), 4u);
  EXPECT_EQ(t[0], (Event{1043, EventKind::Step}));
  EXPECT_EQ(t[2], (Event{1109, EventKind::Step}));
  EXPECT_EQ(t[3], (Event{1110, EventKind::Tick}));
}

TEST(DriveScheduler, a_block_holds_everything_and_restarts_the_step_timer) {
  Scheduler s;
  s.start(0);
  timeline(s, {}, 200);  // the tick at 200 is taken: next tick 300, next step 231
  s.block(200, 1000);
  EXPECT_EQ(s.nextStepMs(), 1233);
  EXPECT_EQ(s.nextTickMs(), 1200);
  // A command that fell inside the block waits for its end and still goes first.
  EXPECT_EQ(s.next(500), (Event{1200, EventKind::Command}));
  const auto t = timeline(s, {}, 1300);
  ASSERT_EQ(t.size(), 5u);
  EXPECT_EQ(t[0], (Event{1200, EventKind::Tick}));
  EXPECT_EQ(t[1], (Event{1233, EventKind::Step}));
  EXPECT_EQ(t[4], (Event{1300, EventKind::Tick}));
}

}  // namespace
}  // namespace velmoria::replay
