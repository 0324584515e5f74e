#include "replay/input_recorder.h"

#include <algorithm>
#include <cstdlib>

namespace velmoria::replay {

int32_t rawAxisFor(int32_t axis) {
  if (axis == 0) return 0;
  // The dead zone scales by 100/95 beyond 1638: start from its inverse and look nearby.
  const int32_t sign = axis < 0 ? -1 : 1;
  const int64_t guess = 1638 + (static_cast<int64_t>(std::abs(axis)) * 95 + 99) / 100;
  int32_t best = 0;
  int64_t bestMiss = -1;
  for (int64_t d = -3; d <= 3; ++d) {
    const int64_t raw = std::clamp<int64_t>(sign * (guess + d), -32768, 32767);
    const int64_t miss =
        std::abs(static_cast<int64_t>(applyDeadZone(static_cast<int32_t>(raw))) - axis);
    if (bestMiss < 0 || miss < bestMiss) {
      best = static_cast<int32_t>(raw);
      bestMiss = miss;
    }
  }
  return best;
}

InputRecorder::InputRecorder(const AppState& app) {
  const auto add = [&](VirtualKey key, bool shift) {
    ScriptCommand c;
    c.kind = CommandKind::VKey;
    c.vkey = key;
    c.shift = shift;
    m_commands.push_back(c);
  };
  if (app.keySwap) add(VirtualKey::ScrollLock, false);
  if (app.followMode) add(VirtualKey::F1, true);
  m_usbCarried = app.lastUsbSignature != 0 || app.usbChangeCounter != 0;
}

void InputRecorder::inexact(const std::string& why) {
  if (m_exact) m_why = why;
  m_exact = false;
}

std::optional<int64_t> InputRecorder::upperBound() const {
  if (m_tickTaken) return m_lastTick;  // still inside the tick taken early
  if (const auto e = m_schedule.next(std::nullopt)) return e->timeMs;
  return std::nullopt;
}

int64_t InputRecorder::timeFor(int64_t wallMs) const {
  if (!m_started) return 0;
  int64_t t = std::max(m_floor, wallMs - m_wallAtZero);
  if (const auto bound = upperBound()) t = std::min(t, std::max(*bound, m_floor));
  return t;
}

void InputRecorder::input(ScriptCommand c, int64_t wallMs) {
  if (m_started) {
    if (const auto bound = upperBound(); bound && *bound < m_floor)
      inexact("an input came between a step and a tick of the same millisecond");
  }
  c.timeMs = timeFor(wallMs);
  c.line = 0;
  m_floor = c.timeMs;
  if (c.kind == CommandKind::Start) {
    if (!m_started) {
      m_started = true;
      m_wallAtZero = wallMs - c.timeMs;
    }
    if (m_schedule.running())
      m_schedule.pause();
    else
      m_schedule.start(c.timeMs);
  }
  if (c.kind == CommandKind::Usb) {
    m_kind = c.usbKind;
    if (m_usbCarried) inexact("the USB controller's last reading came from an earlier run");
  }
  if (c.kind == CommandKind::Key &&
      (static_cast<unsigned char>(c.key) < ' ' || static_cast<unsigned char>(c.key) >= 0x7f))
    inexact("a key the record cannot write");
  m_commands.push_back(std::move(c));
}

void InputRecorder::usb(int kind, const JoystickState& state, int64_t wallMs) {
  if (kind == m_kind && state.x == m_stick.x && state.y == m_stick.y &&
      state.buttons == m_stick.buttons)
    return;
  m_stick = state;
  ScriptCommand c;
  c.kind = CommandKind::Usb;
  c.usbKind = kind;
  c.x = rawAxisFor(state.x);
  c.y = rawAxisFor(state.y);
  c.buttons = state.buttons;
  if (applyDeadZone(c.x) != state.x || applyDeadZone(c.y) != state.y)
    inexact("a USB axis value the dead zone cannot give");
  input(c, wallMs);
}

void InputRecorder::controllerKind(int kind, int64_t wallMs) {
  usb(kind, m_stick, wallMs);
}

int64_t InputRecorder::take(EventKind kind) {
  const auto e = m_schedule.next(std::nullopt);
  if (e && e->kind == kind) {
    m_schedule.taken(*e);
    m_floor = std::max(m_floor, e->timeMs + 1);
    return e->timeMs;
  }
  inexact(kind == EventKind::Step ? "a 33 ms step came out of its turn"
                                  : "a tick came out of its turn");
  // Keep to the timer that fired, so that the rest of the record stays close.
  const auto at = kind == EventKind::Step ? m_schedule.nextStepMs() : m_schedule.nextTickMs();
  const int64_t t = at ? std::max(*at, m_floor) : m_floor;
  if (at) m_schedule.taken(Event{t, kind});
  m_floor = std::max(m_floor, t + 1);
  return t;
}

void InputRecorder::step() {
  take(EventKind::Step);
}

void InputRecorder::tick() {
  if (m_tickTaken) {
    m_tickTaken = false;
    m_floor = std::max(m_floor, m_lastTick + 1);
    return;
  }
  m_lastTick = take(EventKind::Tick);
}

void InputRecorder::videoSwitched() {
  if (!m_tickTaken) {
    // Inputs during the rest of this tick (the USB scan) still come before it on replay.
    const int64_t floor = m_floor;
    m_lastTick = take(EventKind::Tick);
    m_floor = floor;
    m_tickTaken = true;
  }
  m_schedule.block(m_lastTick, kVideoSwitchHoldMs);
}

std::string InputRecorder::script(const std::string& header) const {
  std::string out;
  size_t from = 0;
  while (from < header.size()) {
    const size_t end = header.find('\n', from);
    out += "# " + header.substr(from, end == std::string::npos ? std::string::npos : end - from) +
           '\n';
    if (end == std::string::npos) break;
    from = end + 1;
  }
  for (const auto& c : m_commands) out += formatScriptCommand(c) + '\n';
  return out;
}

}  // namespace velmoria::replay
