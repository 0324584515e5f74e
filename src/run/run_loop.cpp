// The 33 ms step and the 100 ms run loop. Each is the list of its steps in their order, each
// step one call into the subsystem that owns it, with the state it reads from the others.
// A step of the run loop that throws abandons the rest of the tick without a word, and the
// next tick starts again from the first step.
#include "run/branch_video.h"
#include "run/run.h"
#include "run/track_video.h"

namespace velmoria {

void Run::MMTimer1Timer() {
  m_dynamics.clearForces();                      // 1
  const Fixed speed = m_dynamics.state().speed;  //
  if (const auto net =                           // 2
      m_traction.tractionBlock(m_handle, speed, m_instruments.state().targetVoltage))
    m_dynamics.applyTraction(*net);
  m_air.airBrakeStep(m_handle.state(), speed);        // 3
  m_handle.brakeDelaysTick();                         //
  m_position.positionStep(speed, videoFrameCount());  // 4
  if (m_app.followMode)                               // 5
    m_dynamics.setSpeed(Fixed::fromInt(m_position.state().recordedSpeed));
}

void Run::Timer1Timer() {
  try {
    for (int step = 1; step <= kTickSteps; ++step) tickStep(static_cast<TickStep>(step));
  } catch (...) {
    // A failed tick is dropped; the next one starts afresh.
  }
}

void Run::tickStep(TickStep step) {
  using S = TickStep;
  const HandleState& h = m_handle.state();
  const TrainState& train = m_dynamics.state();
  const PositionState& pos = m_position.state();
  const int tick = m_tickCount;
  switch (step) {
    // clang-format off
    case S::Count: ++m_tickCount; break;
    case S::NeedlesAndSpeed: m_instruments.needlesAndSpeed(train, m_air.state()); break;
    case S::DynamicsBlock: m_dynamics.dynamicsBlock(h, m_air.state()); break;
    case S::BrakeSqueal: m_sounds.brakeSqueal(train.speed, h, m_air.state()); break;
    case S::DoorPilotLamp: m_stations.doorPilotLamp(m_handle); break;
    case S::OthersVisible: m_instruments.othersVisible(); break;
    case S::BrakeAndPowerLamps: m_instruments.brakeAndPowerLamps(h, train); break;
    case S::TimetableCardSlide: m_stations.timetableCardSlide(); break;
    case S::SpeedLimitBlink: m_limits.speedLimitBlink(tick); break;
    case S::Clock:
      if (tick % 10 == 0) m_stations.timecalc(pos.clockTicks);
      break;
    case S::BrakeRelease: m_sounds.brakeRelease(h, m_air.state()); break;
    case S::VoltAndAmmeter: m_instruments.voltAndAmmeter(h, train); break;
    case S::Compressor: m_air.compressor(); break;
    case S::RouteSoundCues: m_sounds.routeSoundCues(pos.frame, train.speed); break;
    case S::OverrunAnnouncement:
      m_stations.overrunAnnouncement(train.speed, h.doorOpen, pos.remaining); break;
    case S::Announcements: m_sounds.announcements(pos.frame); break;
    case S::DopplerSources: m_sounds.dopplerSources(pos.distance, train.speed); break;
    case S::EffectiveGradient:
      m_dynamics.effectiveGradient(pos.distance, m_limits.state().currentGradient); break;
    case S::SlopeDisplay: m_limits.slopeDisplay(pos.frame); break;
    case S::BlockAspects: m_signals.blockAspects(pos.precedingFrame); break;
    case S::FixedAspects: m_signals.fixedAspects(pos.clockTicks); break;
    case S::Tunnels: m_limits.tunnels(pos.frame); break;
    case S::SignalDisplay: m_signals.signalDisplay(pos.frame); break;
    case S::CabSignalBrake:
      if (vehicle().ATS_Type == 2) m_signals.cabSignalBrake(train.speed, m_handle);
      break;
    case S::AlarmTrainStop:
      if (vehicle().ATS_Type == 0) m_signals.alarmTrainStop(train.speed, m_handle);
      break;
    case S::PatternControl:
      if (vehicle().ATS_Type == 1) m_signals.patternControl(pos.distance, train.speed, m_handle);
      break;
    case S::SpeedLimits: m_limits.speedLimits(train.speed, pos.distance, pos.frame); break;
    case S::SpeedChecks: m_limits.speedChecks(pos.frame, train.speed, m_signals); break;
    case S::StationStops:
      m_stations.stationStops(pos.frame, pos.clockTicks, m_dynamics.roundedSpeed(), m_handle,
                              m_air, m_position);
      break;
    case S::VigilanceDevice:
      m_vigilance.vigilanceDevice(m_app.followMode, train.speed, m_handle); break;
    case S::StoppingPointAlert:
      m_stations.stoppingPointAlert(train.speed, pos.remaining, h.doorOpen, tick); break;
    case S::WaysideSigns: m_limits.waysideSigns(pos.frame, train.speed, pos.remaining); break;
    case S::RunningSound: m_sounds.runningSound(train.speed); break;
    case S::MotorSounds: m_sounds.motorSounds(train.speed, h); break;
    case S::DieselEngine:
      m_traction.engineLevel(h, train.speed);
      m_sounds.engineSoundAndGear(train.speed, m_traction.state().engineLevel, m_handle);
      break;
    case S::StopPositionIndicator: m_stations.stopPositionIndicator(pos.remaining); break;
    case S::VideoSwitch: videoSwitch(); break;
    case S::WindowCaption:
      if (m_display.caption == "Velmoria") m_display.caption = route().LineName;
      break;
    case S::ValueDisplay:
      m_instruments.valueDisplay(train, m_air.state(), pos, m_signals.state().targetDistance);
      break;
    case S::EventHook: eventHook(); break;
    case S::UsbPoll:
      if (m_app.controllerKind == 1 || m_app.controllerKind == 2) USBScan();
      break;
    case S::CalloutQueue: m_callouts.kanko_queue_play(); break;
      // clang-format on
  }
}

void Run::videoSwitch() {
  if (!branch::switchesVideo(route().fileName)) return;
  const int32_t frame = m_position.state().frame;
  bool toBranch;
  if (frame >= branch::kFrame + 1 && !m_onBranch)
    toBranch = true;
  else if (frame < branch::kFrame && m_onBranch)
    toBranch = false;
  else
    return;
  const std::string_view name = toBranch ? branch::kBranchVideo : branch::kMainVideo;
  m_videoFile = m_services.folder ? trackVideoFile(*m_services.folder, name) : resolve(name);
  if (m_services.video) m_services.video->open(m_videoFile);
  m_onBranch = toBranch;
  if (m_services.host) m_services.host->videoSwitched(toBranch);
}

void Run::playEventWave(const std::string& name, bool looped) {
  SoundDevice* device = m_services.sound;
  if (!device) return;
  if (m_eventWave >= 0) device->freeWave(m_eventWave);
  m_eventWave = device->loadWave(resolve(name));
  device->attach(kEventChannel, m_eventWave);
  if (looped)
    m_channels.startLooped(kEventChannel);
  else
    m_channels.startOnce(kEventChannel);
}

void Run::eventHook() {
  m_previousEventCommand = m_eventCommand;
  const HandleState& h = m_handle.state();
  const EventHookInput input{vehicle().fileName, h.doorOpen,  h.protectionBrake, h.atsEmergency,
                             h.reverser,         h.brakeStep, h.powerNotch};
  m_eventCommand = m_services.hook ? m_services.hook(input) : std::string{};
  const std::string& command = m_eventCommand;
  const char kind = command.empty() ? '\0' : command.front();
  if (command != m_previousEventCommand && !command.empty()) {
    const std::string rest = command.substr(1);
    if (kind == '0' && m_commentaryMode) {
      m_display.commentary.visible = true;
      m_display.commentary.text = rest;
    }
    if (kind == '1') playEventWave(rest, false);
    if (kind == '2') playEventWave(rest, true);
  }
  if (!(m_commentaryMode && kind == '0')) m_display.commentary.visible = false;
}

}  // namespace velmoria
