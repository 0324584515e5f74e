#pragma once
// A run driven in virtual time by a script: at each millisecond the script's commands run
// first, then the 33 ms step, then the 100 ms tick, as the desktop program's event loop
// delivers them when an input and the two timers fall together (scheduler.h). velmoria-drive
// drives its runs with it to the end; the desktop program replays a stored record with it,
// paced by the wall clock (advanceTo), so that both give the same trace for the same script.
// The clock is set to each event's time before it runs (the sound device keeps time by it).
// One thread; the run, the program state, the joystick and the clock outlive the drive.
#include <cstdint>
#include <functional>
#include <optional>

#include "media/clock.h"
#include "replay/scheduler.h"
#include "replay/script.h"
#include "replay/scripted_joystick.h"
#include "run/app_state.h"
#include "run/run.h"

namespace velmoria::replay {

constexpr int64_t kDefaultLimitMs = 24LL * 3600 * 1000;  // a day of driving at most

struct DriveEnd {
  int64_t timeMs = 0;
  bool terminus = false;  // the terminus caption was seen with the train standing
  bool quit = false;      // the script said quit
  bool gaveUp = false;    // the agent found it could not go on
};

// A driver at the controls besides the script (velmoria-drive's autopilot). It takes its seat
// once the script's commands of time 0 have run, pressing Start unless the script did, and
// acts 1 ms after every tick; its key presses go to the run's handlers directly.
class DriveAgent {
 public:
  virtual ~DriveAgent() = default;
  virtual void act(int64_t nowMs) = 0;
  virtual bool gaveUp() const = 0;
};

class VirtualDrive {
 public:
  VirtualDrive(Run& run, AppState& app, ScriptedJoystick& joystick, ManualClock& clock,
               Script script);

  std::function<void(const ScriptCommand&)> onCommand;  // each command, just before it runs
  std::function<void()> afterCommand;                   // ... and just after
  std::function<void()> afterTick;  // after each tick and the keys the controllers posted
  std::function<void()> onJump;     // a station command has moved the train
  void setAgent(DriveAgent* agent) { m_agent = agent; }

  // The branch video reopens during the tick now running: the program is busy for
  // kVideoSwitchHoldMs.
  void videoSwitched();

  // Until quit, the time limit (untilMs, a day without it) or, when asked or without a time
  // limit, the terminus.
  DriveEnd drive(std::optional<int64_t> untilMs, bool untilTerminus);
  // Runs every event due at or before t, in the order drive() would, and ends where drive()
  // ends without a time limit. False once the drive has ended.
  bool advanceTo(int64_t t);
  bool ended() const { return m_ended; }
  bool terminus() const { return m_terminus; }
  int64_t now() const { return m_clock.nowMs(); }

 private:
  std::optional<int64_t> nextScriptMs() const;
  bool seatAgent();  // true when the agent has just sat down
  std::optional<Event> next() const;
  // Runs the event: a script command, the agent's turn, a step or a tick.
  void run(const Event& e);
  void execute(const ScriptCommand& c);
  void startClick();

  Run& m_run;
  AppState& m_app;
  ScriptedJoystick& m_joystick;
  ManualClock& m_clock;
  Script m_script;
  size_t m_nextCommand = 0;
  Scheduler m_scheduler;
  DriveAgent* m_agent = nullptr;
  bool m_agentSeated = false;
  std::optional<int64_t> m_agentDue;
  bool m_quit = false;
  bool m_terminus = false;
  bool m_gaveUp = false;
  bool m_ended = false;
};

}  // namespace velmoria::replay
