// Start and pause, and what the core releases when the cab window closes.
#include "run/run.h"
#include "sound/channel_ops.h"

namespace velmoria {

void Run::start1Click() {
  m_running = !m_running;
  display.start1Caption = m_running ? "一時停止(&S)" : "運転再開(&S)";
  handle.inputLock = false;
}

void Run::closeRun() {
  m_running = false;
  pos.remaining = 0;
  signals.patternState = 0;
  signals.previousPatternState = 0;
  handle.atsEmergency = false;
  handle.protectionBrake = false;
  if (services.sound) {
    freeSoundBank(*services.sound, data.sounds);
    if (sounds.eventWave >= 0) services.sound->freeWave(sounds.eventWave);
  }
  sounds.eventWave = -1;
  callouts.queue.fill(-1);
}

}  // namespace velmoria
