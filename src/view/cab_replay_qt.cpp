#include "view/cab_replay_qt.h"

#include "view/cab_window_qt.h"

namespace velmoria {

namespace {
constexpr int kPaceMs = 5;  // at 4x a step falls due every 8 ms
}

CabReplay::CabReplay(CabWindow& cab, CabReplayPlan plan, SoundDevice& heard, const Clock& wall)
    : m_cab(cab), m_plan(std::move(plan)), m_wall(wall), m_sound(heard, m_virtual) {
  if (m_plan.speed < 1) m_plan.speed = 1;
  m_timer.setTimerType(Qt::PreciseTimer);
  m_timer.setInterval(kPaceMs);
  connect(&m_timer, &QTimer::timeout, this, &CabReplay::pace);
}

CabReplay::~CabReplay() {
  m_timer.stop();
}

void CabReplay::begin(Run& run, AppState& app) {
  m_drive = std::make_unique<replay::VirtualDrive>(run, app, m_joystick, m_virtual, m_plan.script);
  m_drive->afterCommand = [this] { m_cab.afterInput(); };
  m_drive->afterTick = [this] {
    if (m_holding) {  // the branch video's second is over: draw again
      m_holding = false;
      --m_cab.m_video->lastDrawnFrame;
      m_cab.m_idle.start();
    }
    m_cab.replayTicked();
  };
  m_wallAtStart = m_wall.nowMs();
  m_virtualAtStart = 0;
  m_timer.start();
}

void CabReplay::togglePause() {
  if (!m_drive || m_drive->ended()) return;
  if (m_paused) {
    m_wallAtStart = m_wall.nowMs();
    m_virtualAtStart = m_virtual.nowMs();
    m_paused = false;
    m_timer.start();
  } else {
    pace();
    m_paused = true;
    m_timer.stop();
  }
}

void CabReplay::videoSwitched() {
  m_drive->videoSwitched();
  m_holding = true;
}

void CabReplay::pace() {
  if (!m_drive || m_paused) return;
  const int64_t due = m_virtualAtStart + (m_wall.nowMs() - m_wallAtStart) * m_plan.speed;
  if (!m_drive->advanceTo(due)) {
    m_timer.stop();
    if (!m_told && m_cab.m_ctx.watcher && m_cab.run()) {
      m_told = true;
      m_cab.m_ctx.watcher->replayEnded(*m_cab.run());
    }
  }
}

}  // namespace velmoria
