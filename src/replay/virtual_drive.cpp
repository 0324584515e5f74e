#include "replay/virtual_drive.h"

#include <algorithm>

namespace velmoria::replay {

VirtualDrive::VirtualDrive(Run& run, AppState& app, ScriptedJoystick& joystick, ManualClock& clock,
                           Script script)
    : m_run(run), m_app(app), m_joystick(joystick), m_clock(clock), m_script(std::move(script)) {}

void VirtualDrive::videoSwitched() {
  // The desktop program stops the 33 ms timer and waits a second on the UI thread.
  m_scheduler.block(m_clock.nowMs(), kVideoSwitchHoldMs);
}

std::optional<int64_t> VirtualDrive::nextScriptMs() const {
  if (m_nextCommand < m_script.commands.size()) return m_script.commands[m_nextCommand].timeMs;
  return std::nullopt;
}

bool VirtualDrive::seatAgent() {
  if (!m_agent || m_agentSeated) return false;
  const auto nextScript = nextScriptMs();
  if (nextScript && *nextScript <= 0) return false;
  m_agentSeated = true;
  if (!m_run.running()) {
    ScriptCommand start;
    start.kind = CommandKind::Start;
    start.timeMs = m_clock.nowMs();
    if (onCommand) onCommand(start);
    startClick();
  }
  return true;
}

std::optional<Event> VirtualDrive::next() const {
  // The agent's turn counts as a command; the script goes first at the same time.
  std::optional<int64_t> nextCommand = nextScriptMs();
  if (m_agentDue && (!nextCommand || *m_agentDue < *nextCommand)) nextCommand = m_agentDue;
  return m_scheduler.next(nextCommand);
}

void VirtualDrive::startClick() {
  m_run.start1Click();
  if (m_run.running())
    m_scheduler.start(m_clock.nowMs());
  else
    m_scheduler.pause();
}

void VirtualDrive::execute(const ScriptCommand& c) {
  if (onCommand) onCommand(c);
  switch (c.kind) {
    case CommandKind::Start:
      startClick();
      break;
    case CommandKind::Key:
      m_run.AsciiDown(c.key);
      break;
    case CommandKind::VKey:
      m_run.keydowns(c.vkey, c.shift);
      break;
    case CommandKind::Wheel:
      if (c.wheelUp)
        m_run.WheelU();
      else
        m_run.WheelD();
      break;
    case CommandKind::Serial:
      m_run.RxChar(c.text);
      m_run.drainPostedKeys();
      break;
    case CommandKind::Usb:
      m_app.controllerKind = c.usbKind;
      m_joystick.set(c.x, c.y, c.buttons);
      break;
    case CommandKind::Station:
      m_run.StationClick("Sta" + std::to_string(c.station));
      if (onJump) onJump();
      break;
    case CommandKind::Voice:
      m_run.S1Click();
      break;
    case CommandKind::Quit:
      m_quit = true;
      break;
  }
  if (afterCommand) afterCommand();
}

void VirtualDrive::run(const Event& e) {
  m_clock.set(e.timeMs);
  switch (e.kind) {
    case EventKind::Command: {
      const auto nextScript = nextScriptMs();
      if (nextScript && *nextScript <= e.timeMs) {
        execute(m_script.commands[m_nextCommand++]);
      } else {
        m_agentDue.reset();
        m_agent->act(m_clock.nowMs());
        if (m_agent->gaveUp()) m_gaveUp = true;
      }
      break;
    }
    case EventKind::Step:
      m_scheduler.taken(e);
      m_run.MMTimer1Timer();
      break;
    case EventKind::Tick: {
      m_scheduler.taken(e);
      m_run.Timer1Timer();
      m_run.drainPostedKeys();
      if (afterTick) afterTick();
      // The doors open as the speed rounds to 0; the drive has ended once the train stands.
      const RunObservation seen = m_run.observe();
      if (seen.terminus && seen.speed.raw == 0) m_terminus = true;
      if (m_agent) m_agentDue = m_clock.nowMs() + 1;
      break;
    }
  }
}

DriveEnd VirtualDrive::drive(std::optional<int64_t> untilMs, bool untilTerminus) {
  const int64_t limit = untilMs.value_or(kDefaultLimitMs);
  const bool endAtTerminus = untilTerminus || !untilMs;
  while (!m_quit && !(endAtTerminus && m_terminus)) {
    if (seatAgent()) continue;
    const auto event = next();
    if (!event) {  // paused with nothing more to come
      if (untilMs) m_clock.set(std::max(m_clock.nowMs(), limit));
      break;
    }
    if (event->timeMs > limit) {
      m_clock.set(limit);
      break;
    }
    run(*event);
    if (m_gaveUp) {
      m_ended = true;
      return DriveEnd{m_clock.nowMs(), false, m_quit, true};
    }
  }
  m_ended = true;
  return DriveEnd{m_clock.nowMs(), m_terminus, m_quit};
}

bool VirtualDrive::advanceTo(int64_t t) {
  while (!m_ended) {
    if (m_quit || m_terminus) {
      m_ended = true;
      break;
    }
    if (seatAgent()) continue;
    const auto event = next();
    if (!event || event->timeMs > kDefaultLimitMs) {
      m_ended = true;
      break;
    }
    if (event->timeMs > t) return true;
    run(*event);
    if (m_gaveUp) m_ended = true;
  }
  return false;
}

}  // namespace velmoria::replay
