#pragma once
// Virtual time of velmoria-drive and of the desktop program's replays and input records, in
// whole milliseconds. It decides what runs next: a script command, the 33 ms step or the
// 100 ms tick. At one millisecond commands come first, then the step, then the tick, as the
// desktop program's event loop delivers them when the two timers and an input fall together.
// Owned and called by one drive loop or recorder (one thread).
#include <cstdint>
#include <optional>

namespace velmoria::replay {

constexpr int64_t kStepMs = 33;
constexpr int64_t kTickMs = 100;
// The branch video's reopening keeps the desktop program busy this long (block()).
constexpr int64_t kVideoSwitchHoldMs = 1000;

enum class EventKind { Command, Step, Tick };

struct Event {
  int64_t timeMs = 0;
  EventKind kind = EventKind::Command;
  friend bool operator==(const Event&, const Event&) = default;
};

class Scheduler {
 public:
  // Start or resume at time t: steps at t+33, t+66 ..., ticks at t+100, t+200 ...
  void start(int64_t t);
  // Pause: nothing more is due until the next start.
  void pause();
  bool running() const { return m_running; }

  // The program was busy from `now` for `ms` (the branch video reopen, which holds the 33 ms
  // timer and blocks the UI thread): nothing runs before now+ms; the tick timer fires once as
  // soon as the block ends, and the restarted 33 ms timer counts from there.
  void block(int64_t now, int64_t ms);

  // The next event given the time of the next script command (if any); nullopt when nothing
  // is due at all. Events are never earlier than the end of a block.
  std::optional<Event> next(std::optional<int64_t> nextCommandMs) const;
  // Marks the step or tick returned by next() as taken and schedules its successor.
  void taken(const Event& e);

  std::optional<int64_t> nextStepMs() const { return m_nextStep; }
  std::optional<int64_t> nextTickMs() const { return m_nextTick; }

 private:
  bool m_running = false;
  std::optional<int64_t> m_nextStep, m_nextTick;
  int64_t m_blockedUntil = 0;
};

}  // namespace velmoria::replay
