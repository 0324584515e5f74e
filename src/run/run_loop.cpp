// The 100 ms run loop. Timer1Timer is the whole drive in the order of its steps; each step is a
// call into the subsystem that owns it. A step that throws abandons the rest of the tick
// without a word, and the next tick starts again from the first step.
#include "run/limits.h"
#include "run/run.h"
#include "run/signals.h"
#include "run/stations.h"
#include "sound/channel_ops.h"
#include "sound/sound_events.h"
#include "view/instruments.h"

namespace velmoria {

namespace {

constexpr int32_t kBranchFrame = 41300;

std::filesystem::path resolveName(const Run& run, const std::string& windowsName) {
  if (run.services.folder) return run.services.folder->resolve(windowsName);
  std::string name = windowsName;
  for (char& c : name)
    if (c == '\\') c = '/';
  return name;
}

// The two branch routes leave the main line at frame 41300 and continue on a video of their own.
void videoSwitch(Run& run) {
  const std::string& file = run.route.fileName;
  if (file != "line_local6.dat" && file != "line_rapid5.dat") return;
  bool toBranch;
  if (run.pos.frame >= kBranchFrame + 1 && !run.secondVideo)
    toBranch = true;
  else if (run.pos.frame < kBranchFrame && run.secondVideo)
    toBranch = false;
  else
    return;
  if (run.services.video)
    run.services.video->open(resolveName(run, toBranch ? "move\\selo.avi" : "move\\tavo.avi"));
  run.secondVideo = toBranch;
  if (run.services.host) run.services.host->videoSwitched(toBranch);
}

void windowCaption(Run& run) {
  if (run.display.caption == "Velmoria") run.display.caption = run.route.LineName;
}

void playEventWave(Run& run, const std::string& name, bool looped) {
  SoundDevice* device = run.services.sound;
  if (!device) return;
  if (run.sounds.eventWave >= 0) device->freeWave(run.sounds.eventWave);
  run.sounds.eventWave = device->loadWave(resolveName(run, name));
  device->attach(kEventChannel, run.sounds.eventWave);
  if (looped)
    run.startLooped(kEventChannel);
  else
    run.startOnce(kEventChannel);
}

void eventHook(Run& run) {
  run.previousEventCommand = run.eventCommand;
  const HandleState& h = run.handle;
  const EventHookInput input{run.vehicle.fileName, h.doorOpen,  h.protectionBrake, h.atsEmergency,
                             h.reverser,           h.brakeStep, h.powerNotch};
  run.eventCommand = run.services.hook ? run.services.hook(input) : std::string{};
  const std::string& command = run.eventCommand;
  const char kind = command.empty() ? '\0' : command.front();
  if (command != run.previousEventCommand && !command.empty()) {
    const std::string rest = command.substr(1);
    if (kind == '0' && run.commentaryMode) {
      run.display.commentary.visible = true;
      run.display.commentary.text = rest;
    }
    if (kind == '1') playEventWave(run, rest, false);
    if (kind == '2') playEventWave(run, rest, true);
  }
  if (!(run.commentaryMode && kind == '0')) run.display.commentary.visible = false;
}

void usbPoll(Run& run) {
  if (run.app.controllerKind == 1 || run.app.controllerKind == 2) run.USBScan();
}

void clock(Run& run) {
  if (run.tickCount % 10 == 0) run.timecalc(run.pos.clockTicks);
}

void dieselEngine(Run& run) {
  if (run.vehicle.Engine_Type == 0) run.engineLevel();
  engineSoundAndGear(run);
}

void trainProtection(Run& run, int type, void (*step)(Run&)) {
  if (run.vehicle.ATS_Type == type) step(run);
}

}  // namespace

void Run::Timer1Timer() {
  try {
    ++tickCount;                                // 1
    needlesAndSpeed(*this);                     // 2
    dynamicsBlock();                            // 3
    brakeSqueal(*this);                         // 4
    doorPilotLamp(*this);                       // 5
    othersVisible(*this);                       // 6
    brakeAndPowerLamps(*this);                  // 7
    timetableCardSlide(*this);                  // 8
    speedLimitBlink(*this);                     // 9
    clock(*this);                               // 10
    brakeRelease(*this);                        // 11
    voltAndAmmeter(*this);                      // 12
    compressor();                               // 13
    routeSoundCues(*this);                      // 14
    overrunAnnouncement(*this);                 // 15
    announcements(*this);                       // 16
    dopplerSources(*this);                      // 17
    effectiveGradient();                        // 18
    slopeDisplay(*this);                        // 19
    blockAspects(*this);                        // 20
    fixedAspects(*this);                        // 21
    tunnels(*this);                             // 22
    signalDisplay(*this);                       // 23
    trainProtection(*this, 2, cabSignalBrake);  // 24
    trainProtection(*this, 0, alarmTrainStop);  // 25
    trainProtection(*this, 1, patternControl);  // 26
    speedLimits(*this);                         // 27
    speedChecks(*this);                         // 28
    stationStops(*this);                        // 29
    vigilanceDevice(*this);                     // 30
    stoppingPointAlert(*this);                  // 31
    waysideSigns(*this);                        // 32
    runningSound(*this);                        // 33
    motorSounds(*this);                         // 34
    dieselEngine(*this);                        // 35
    stopPositionIndicator(*this);               // 36
    videoSwitch(*this);                         // 37
    windowCaption(*this);                       // 38
    valueDisplay(*this);                        // 39
    eventHook(*this);                           // 40
    usbPoll(*this);                             // 41
    kanko_queue_play();                         // 42
  } catch (...) {
    // A failed tick is dropped; the next one starts afresh.
  }
}

}  // namespace velmoria
