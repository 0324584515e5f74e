#pragma once
// A stored run played back in the cab window: its record's inputs given to the run's handlers
// in virtual time by replay::VirtualDrive, as velmoria-drive would give them, paced by the
// wall clock at 1x or 4x. The cab window's own timers stay still; a short timer here runs
// every step, tick and input that has fallen due. The run hears its sounds through the
// desktop's device but sees them end on the virtual clock (VirtualTimeSound), and polls a
// scripted USB controller, so the replay's trace is the stored one. The cab window owns it.
// UI thread.
#include <QObject>
#include <QTimer>
#include <memory>

#include "media/clock.h"
#include "media/sound_device.h"
#include "replay/script.h"
#include "replay/scripted_joystick.h"
#include "replay/virtual_drive.h"
#include "replay/virtual_time_sound.h"

namespace velmoria {

class CabWindow;

struct CabReplayPlan {
  replay::Script script;
  int speed = 1;  // 1 or 4
};

class CabReplay : public QObject {
  Q_OBJECT
 public:
  CabReplay(CabWindow& cab, CabReplayPlan plan, SoundDevice& heard, const Clock& wall);
  ~CabReplay() override;

  // For the run's creation.
  SoundDevice& sound() { return m_sound; }
  Joystick& joystick() { return m_joystick; }
  const Clock& clock() const { return m_virtual; }

  // The run is built: the replay starts from the wall clock's now.
  void begin(Run& run, AppState& app);
  // Start/Pause of the menu holds the replay, not the run.
  void togglePause();
  bool paused() const { return m_paused; }
  bool ended() const { return m_drive && m_drive->ended(); }
  int speed() const { return m_plan.speed; }
  // The run's host: the branch video reopens now.
  void videoSwitched();
  // Runs what has fallen due by the wall clock (the timer calls it; so may the tests).
  void pace();
  QTimer& timer() { return m_timer; }

 private:
  CabWindow& m_cab;
  CabReplayPlan m_plan;
  const Clock& m_wall;
  ManualClock m_virtual;
  replay::VirtualTimeSound m_sound;
  replay::ScriptedJoystick m_joystick;
  std::unique_ptr<replay::VirtualDrive> m_drive;
  QTimer m_timer;
  int64_t m_wallAtStart = 0;  // the wall clock when the virtual clock stood at m_virtualAtStart
  int64_t m_virtualAtStart = 0;
  bool m_paused = false;
  bool m_holding = false;  // the branch video's hold: the idle drawing waits for its end
  bool m_told = false;
};

}  // namespace velmoria
