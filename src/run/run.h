#pragma once
// One run: one vehicle file and one route file, from the creation of the cab window to its
// closing. The Run composes the subsystems, each of which owns its part of the run's state,
// and holds the order in which they act: the 33 ms step MMTimer1Timer and the 100 ms tick
// Timer1Timer are the lists of their steps, and the input handlers and menu commands are the
// other entry points. Everything runs on the UI thread (the desktop program drives the timers
// with QTimer, velmoria-drive with virtual time), so there are no locks. The Run never touches
// a widget: its subsystems write the cab display model, and sounds play by channel number.
// Front ends see the run through observe() and act on it only through the named handlers.
#include <deque>
#include <filesystem>
#include <functional>
#include <string>

#include "frame/data_folder.h"
#include "input/keys.h"
#include "media/clock.h"
#include "media/joystick.h"
#include "media/sound_device.h"
#include "media/video_source.h"
#include "route/route_index.h"
#include "run/app_state.h"
#include "run/limits.h"
#include "run/run_data.h"
#include "run/run_observation.h"
#include "run/signals.h"
#include "run/stations.h"
#include "sound/callouts.h"
#include "media/channels.h"
#include "sound/sound_events.h"
#include "vehicle/air_brake.h"
#include "vehicle/dynamics.h"
#include "vehicle/handle_model.h"
#include "vehicle/position.h"
#include "vehicle/traction.h"
#include "vehicle/vigilance.h"
#include "view/cab_display.h"
#include "view/instruments.h"

namespace velmoria {

// What the run's event hook sees each tick; it answers with a command string.
struct EventHookInput {
  std::string vehicleFile;
  bool doorOpen = false;
  bool protectionBrake = false;
  bool atsEmergency = false;
  int reverser = 0;
  int brakeStep = 0;
  int powerNotch = 0;
};
using EventHook = std::function<std::string(const EventHookInput&)>;
// The hook supplied with the program: it never asks for anything.
std::string emptyEventHook(const EventHookInput&);

// What the run asks of its front end. Default implementations do nothing.
class RunHost {
 public:
  virtual ~RunHost() = default;
  // The branch switch has just reopened services.video on observe().videoFile (the branch
  // video when toBranch): show the loading picture, hold the 33 ms step for about a second and
  // redraw the current frame.
  virtual void videoSwitched(bool /*toBranch*/) {}
};

struct RunServices {
  SoundDevice* sound = nullptr;
  VideoSource* video = nullptr;  // the track video; the run reads its frame count
  Joystick* joystick = nullptr;  // polled by USBScan; may be null
  const Clock* clock = nullptr;
  RunHost* host = nullptr;
  EventHook hook = emptyEventHook;
  std::filesystem::path videoFile;  // the file `video` has open
  // Resolves the Windows-style names the run opens itself (the branch videos, event-hook
  // waves); without it they are taken relative to the working folder.
  const DataFolder* folder = nullptr;
};

// The steps of the 100 ms tick, in their order; tickStep runs one of them alone.
enum class TickStep {
  Count = 1,
  NeedlesAndSpeed,
  DynamicsBlock,
  BrakeSqueal,
  DoorPilotLamp,
  OthersVisible,
  BrakeAndPowerLamps,
  TimetableCardSlide,
  SpeedLimitBlink,
  Clock,
  BrakeRelease,
  VoltAndAmmeter,
  Compressor,
  RouteSoundCues,
  OverrunAnnouncement,
  Announcements,
  DopplerSources,
  EffectiveGradient,
  SlopeDisplay,
  BlockAspects,
  FixedAspects,
  Tunnels,
  SignalDisplay,
  CabSignalBrake,
  AlarmTrainStop,
  PatternControl,
  SpeedLimits,
  SpeedChecks,
  StationStops,
  VigilanceDevice,
  StoppingPointAlert,
  WaysideSigns,
  RunningSound,
  MotorSounds,
  DieselEngine,
  StopPositionIndicator,
  VideoSwitch,
  WindowCaption,
  ValueDisplay,
  EventHook,
  UsbPoll,
  CalloutQueue
};
constexpr int kTickSteps = 42;

// Every subsystem's state at once, read-only: for the trace and the tests.
struct RunStates {
  const HandleState& handle;
  const TrainState& train;
  const TractionState& traction;
  const AirState& air;
  const PositionState& pos;
  const SignalState& signals;
  const VigilanceState& vigilance;
  const StationState& stations;
  const LimitState& limits;
  const SoundState& sounds;
  const CalloutState& callouts;
  const MeterState& meters;
  const CabDisplay& display;
  const int32_t& tickCount;
};

class Run {
 public:
  // Builds the run and performs the environment set-up. Throws StartupError for a stepped
  // brake with fewer than 3 positions, a brake that gives no force, a train without mass.
  Run(AppState& app, RunData data, RunServices services);
  // The subsystems point into the run's own data: a run is never copied or moved.
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  // --- Timers ---
  void MMTimer1Timer();  // the 33 ms step
  void Timer1Timer();    // the 100 ms tick; an exception abandons the tick silently
  void tickStep(TickStep step);

  // --- Menu commands ---
  void start1Click();  // Start/Pause
  bool running() const { return m_running; }
  void StationClick(int index);  // jump to station "Sta<index>"
  void StationClick(const std::string& entryName);
  void S1Click() { m_callouts.S1Click(); }  // empty the call-out queue
  void D1Click() { m_commentaryMode = !m_commentaryMode; }
  bool commentaryMode() const { return m_commentaryMode; }
  void closeRun();  // the closing steps of the core

  // --- Input ---
  void AsciiDown(char key);
  void keydowns(VirtualKey key, bool shift);
  void WheelD();
  void WheelU();
  void RxChar(const std::string& chunk);
  void USBScan();
  void drainPostedKeys();  // runs keys posted by RxChar and USBScan, in order

  // --- What the front ends see ---
  RunObservation observe() const;
  const RunStates& states() const { return m_states; }
  const RunData& data() const { return m_data; }
  const Vehicle& vehicle() const { return m_data.vehicle; }
  const Route& route() const { return m_data.route; }
  const CabDisplay& display() const { return m_display; }
  int routeChannel(int soundIndex) const { return m_data.sounds.driveCount + soundIndex; }
  int videoFrameCount() const;
  const SoundDevice* sound() const { return m_services.sound; }

 private:
  friend struct StateAccess;
  // Step 37: the two branch routes switch between the main and the branch video.
  void videoSwitch();
  void eventHook();
  void playEventWave(const std::string& name, bool looped);
  std::filesystem::path resolve(std::string_view windowsName) const;
  CalloutCues calloutCues() const;
  void calloutRequest();

  AppState& m_app;
  RunData m_data;
  RunServices m_services;
  Channels m_channels;
  CabDisplay m_display;
  RouteIndex m_index;
  Vigilance m_vigilance;
  HandleModel m_handle;
  Traction m_traction;
  Dynamics m_dynamics;
  AirBrake m_air;
  Position m_position;
  Signals m_signals;
  Stations m_stations;
  Limits m_limits;
  SoundEvents m_sounds;
  Callouts m_callouts;
  Instruments m_instruments;

  int32_t m_tickCount = 0;
  bool m_commentaryMode = false;  // the D1 check mark
  std::string m_eventCommand, m_previousEventCommand;
  int m_eventWave = -1;  // the wave the event hook put on channel 255
  bool m_onBranch = false;
  std::filesystem::path m_videoFile;
  std::deque<PostedKey> m_postedKeys;
  bool m_running = false;
  RunStates m_states;
};

}  // namespace velmoria
