#include "replay/scheduler.h"

#include <algorithm>

namespace velmoria::replay {

void Scheduler::start(int64_t t) {
  m_running = true;
  m_nextStep = t + kStepMs;
  m_nextTick = t + kTickMs;
}

void Scheduler::pause() {
  m_running = false;
  m_nextStep.reset();
  m_nextTick.reset();
}

void Scheduler::block(int64_t now, int64_t ms) {
  const int64_t end = now + ms;
  m_blockedUntil = std::max(m_blockedUntil, end);
  if (!m_running) return;
  m_nextStep = end + kStepMs;
  // A window timer that missed its periods fires once when the thread is free again, then
  // keeps its own period from there.
  if (m_nextTick && *m_nextTick < end) m_nextTick = end;
}

std::optional<Event> Scheduler::next(std::optional<int64_t> nextCommandMs) const {
  const auto at = [&](int64_t t) { return std::max(t, m_blockedUntil); };
  std::optional<Event> best;
  const auto consider = [&](std::optional<int64_t> t, EventKind kind) {
    if (!t) return;
    const Event e{at(*t), kind};
    // Earlier time wins; at equal times the kind order (command, step, tick) decides.
    if (!best || e.timeMs < best->timeMs ||
        (e.timeMs == best->timeMs && static_cast<int>(e.kind) < static_cast<int>(best->kind)))
      best = e;
  };
  consider(nextCommandMs, EventKind::Command);
  consider(m_nextStep, EventKind::Step);
  consider(m_nextTick, EventKind::Tick);
  return best;
}

void Scheduler::taken(const Event& e) {
  if (e.kind == EventKind::Step && m_nextStep) m_nextStep = e.timeMs + kStepMs;
  if (e.kind == EventKind::Tick && m_nextTick) m_nextTick = e.timeMs + kTickMs;
}

}  // namespace velmoria::replay
