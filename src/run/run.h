#pragma once
// One run: one vehicle file and one route file, from the creation of the cab window to its
// closing. The Run owns the run's state and every rule that moves it. Its two entry points are
// the 33 ms step MMTimer1Timer and the 100 ms tick Timer1Timer; the input handlers and menu
// commands are the others. Everything runs on the UI thread (the desktop program drives the
// timers with QTimer, velmoria-drive with virtual time), so there are no locks.
// The Run never touches a widget: it writes `display`, and plays sounds by channel number.
#include <functional>
#include <string>

#include "frame/data_folder.h"
#include "frame/image_lists.h"
#include "frame/strings_file.h"
#include "input/controller_settings.h"
#include "media/clock.h"
#include "media/joystick.h"
#include "media/sound_device.h"
#include "media/video_source.h"
#include "route/route.h"
#include "run/app_state.h"
#include "run/route_index.h"
#include "run/run_state.h"
#include "sound/sound_bank.h"
#include "vehicle/vehicle.h"
#include "view/cab_display.h"

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
  // The branch switch has just reopened services.video (the branch video when toBranch): show
  // the loading picture, hold the 33 ms step for about a second and redraw the current frame
  // (frames from 41300 on are the branch video's frames counted from 41300, see secondVideo).
  virtual void videoSwitched(bool /*toBranch*/) {}
};

struct RunServices {
  SoundDevice* sound = nullptr;
  VideoSource* video = nullptr;  // the track video; the run reads its frame count
  Joystick* joystick = nullptr;  // polled by USBScan; may be null
  const Clock* clock = nullptr;
  RunHost* host = nullptr;
  EventHook hook = emptyEventHook;
  // Resolves the Windows-style names the run opens itself (the branch videos, event-hook
  // waves); without it they are taken relative to the working folder.
  const DataFolder* folder = nullptr;
};

// The data a run is built from; all of it is read before the run exists.
struct RunData {
  Vehicle vehicle;
  Route route;
  Strings strings;
  ImageLists images;
  ControllerCodeTable codes;
  SoundBank sounds;
};

class Run {
 public:
  // Builds the run and performs the environment set-up. Throws StartupError for a stepped
  // brake with fewer than 3 positions.
  Run(AppState& app, RunData data, RunServices services);
  // The references below point into the run's own data: a run is never copied or moved.
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  // --- Timers (vehicle/step.cpp, run/run_loop.cpp) ---
  void MMTimer1Timer();  // the 33 ms step
  void Timer1Timer();    // the 100 ms tick; an exception abandons the tick silently

  // --- Menu commands ---
  void start1Click();             // Start/Pause (run/lifecycle.cpp)
  bool running() const { return m_running; }
  void StationClick(int index);   // jump to station "Sta<index>" (run/stations.cpp)
  void StationClick(const std::string& entryName);
  void S1Click();                 // empty the call-out queue (sound/callouts.cpp)
  void D1Click() { commentaryMode = !commentaryMode; }
  void closeRun();                // the closing steps of the core (run/lifecycle.cpp)

  // --- Input (input/keyboard.cpp, input/serial_codes.cpp, input/usb_scan.cpp) ---
  void AsciiDown(char key);
  void keydowns(VirtualKey key, bool shift);
  void WheelD();
  void WheelU();
  void RxChar(const std::string& chunk);
  void USBScan();
  void drainPostedKeys();  // runs keys posted by RxChar and USBScan, in order

  // --- Handle model (vehicle/handle.cpp) ---
  void masconupdate();
  void Door_operate();
  void StepTowardPower();
  void StepTowardBrake(int lowerBound);

  // --- Dynamics, air brake, position (vehicle/*.cpp) ---
  void dynamicsBlock();      // 100 ms
  void effectiveGradient();  // 100 ms
  void engineLevel();        // 100 ms, diesel
  void compressor();         // 100 ms
  void airBrakeStep();       // 33 ms
  void positionStep();       // 33 ms

  // --- Train protection (run/signals.cpp) ---
  void acknowledge();
  void resetOperation();

  // --- Stations and clock (run/stations.cpp) ---
  void timecalc(int32_t t);
  void Timecheck(int kind);

  // --- Sounds and call-outs (sound/*.cpp) ---
  void nextAnnouncement();
  void previousAnnouncement();
  void calloutRequest();
  void kanko_queue_add(int clip);
  void kanko_queue_play();
  void kanko_add(int kind);
  void Timekanko(int32_t t);

  // Channel helpers: "play" always means stop, rewind and play.
  void startOnce(int channel);
  void startLooped(int channel);
  int routeChannel(int soundIndex) const { return data.sounds.driveCount + soundIndex; }
  int32_t roundedSpeed() const { return static_cast<int32_t>(train.speed.rounded()); }
  int videoFrameCount() const;

  AppState& app;
  RunData data;
  RunServices services;
  const Vehicle& vehicle;
  const Route& route;

  HandleState handle;
  TrainState train;
  AirState air;
  PositionState pos;
  SignalState signals;
  StationState stations;
  LimitState limits;
  SoundState sounds;
  CalloutState callouts;
  CabDisplay display;
  RouteIndex index;  // built once the set-up has placed the route's distances

  int32_t tickCount = 0;
  bool commentaryMode = false;  // the D1 check mark
  std::string eventCommand, previousEventCommand;
  bool secondVideo = false;
  std::deque<PostedKey> postedKeys;

 private:
  // Set-up of each subsystem, in the order the environment set-up runs them.
  void initHandle();
  void initTrain();
  void initAir();
  void initPosition();
  void initSignals();
  void initStations();
  void initLimits();
  void initSounds();
  void initPanel();
  // Steps 1 and 2 of StepTowardBrake; the two-handle '.' key skips the power-notch condition.
  void applyBrakeStep(int lowerBound, bool needsPowerOff);

  bool m_running = false;
};

}  // namespace velmoria
