// The run's composition and set-up, what it shows its front ends, Start and the closing.
#include "run/run.h"

#include "frame/startup_error.h"
#include "run/branch_video.h"
#include "vehicle/route_distances.h"
#include "vehicle/vehicle_file.h"

namespace velmoria {

std::string emptyEventHook(const EventHookInput&) {
  return {};
}

Run::Run(AppState& appState, RunData runData, RunServices runServices)
    : m_app(appState),
      m_data(std::move(runData)),
      m_services(std::move(runServices)),
      m_channels(m_services.sound),
      m_vigilance(m_data.vehicle, m_channels, m_display),
      m_handle(m_data.vehicle, m_data.strings, m_data.images, m_display, m_channels, m_vigilance),
      m_traction(m_data.vehicle),
      m_dynamics(m_data.vehicle),
      m_air(m_data.vehicle, m_channels),
      m_position(m_data.route),
      m_signals(m_data.vehicle, m_data.route, m_index, m_data.images, m_display, m_channels),
      m_stations(m_data.vehicle, m_data.route, m_index, m_data.strings, m_data.images, m_display,
                 m_channels, m_data.sounds.driveCount),
      m_limits(m_data.vehicle, m_data.route, m_index, m_data.images, m_display),
      m_sounds(m_data.vehicle, m_data.route, m_index, m_data.images, m_display, m_channels,
               m_data.sounds.driveCount),
      m_callouts(m_data.vehicle, m_data.route, m_data.sounds, m_channels),
      m_instruments(m_data.vehicle, m_display),
      m_videoFile(m_services.videoFile),
      m_states{m_handle.state(),   m_dynamics.state(), m_traction.state(),  m_air.state(),
               m_position.state(), m_signals.state(),  m_vigilance.state(), m_stations.state(),
               m_limits.state(),   m_sounds.state(),   m_callouts.state(),  m_instruments.state(),
               m_display,          m_tickCount} {
  Vehicle& vehicle = m_data.vehicle;
  // The three named positions of brake type 0 are always four brake positions with EB.
  if (vehicle.BrakeType == 0) vehicle.Brake = 4;
  // The set-up refuses too few brake steps once it has run; nothing of it is seen before the
  // message, so the check comes first and the set-up never works with such a count.
  if (vehicle.BrakeType != 0 && vehicle.Brake < 3)
    throw StartupError("ブレーキの段数を3段以上に設定してください");
  // A train whose brake gives no force could never be stopped (the brake force is [BrakeRate]
  // at a cylinder pressure of [EBPress]).
  if (vehicle.BrakeRate.raw <= 0 || vehicle.EBPress <= 0) throw StartupError(basicSettingsError());

  // The environment set-up, subsystem by subsystem.
  m_instruments.setUpPanel(m_data.strings);
  // The card's size, for the card rules (F1 to F3, the slide).
  m_display.cardWidth = m_data.card.width;
  m_display.cardHeight = m_data.card.height;
  m_handle.init();
  m_dynamics.init();
  m_traction.init();
  m_instruments.init();
  m_air.init();
  std::vector<PatternTarget> targets = placeRouteDistances(m_data.route);
  m_position.init();
  m_signals.init();
  m_vigilance.init();
  m_stations.init();
  m_limits.init();
  m_sounds.init();
  m_callouts.init();
  m_index = buildRouteIndex(m_data.route, std::move(targets), m_data.sounds.driveCount);
  m_handle.masconupdate();
}

RunObservation Run::observe() const {
  const HandleState& h = m_handle.state();
  const PositionState& p = m_position.state();
  RunObservation o{m_display, m_data.vehicle, m_data.route, m_videoFile};
  o.frame = p.frame;
  o.videoIndex = branch::videoIndex(p.frame, m_onBranch);
  o.onBranch = m_onBranch;
  o.patternState = m_signals.state().previousPatternState;
  o.frameAccumulator = p.frameAccumulator;
  o.recordedSpeed = p.recordedSpeed;
  o.running = m_running;
  o.terminus = m_display.caption == kTerminusCaption;
  o.speed = m_dynamics.state().speed;
  o.distanceCm = p.distance;
  o.clockTicks = p.clockTicks;
  o.tickCount = m_tickCount;
  o.powerNotch = h.powerNotch;
  o.brakeStep = h.brakeStep;
  o.hold = h.hold;
  o.doorOpen = h.doorOpen;
  o.doorsClosing = !h.doorSoundOpening;
  o.atsEmergency = h.atsEmergency;
  o.protectionBrake = h.protectionBrake;
  o.trainStopAlarm = m_signals.state().alarm;
  o.checkSpeed = m_signals.state().checkSpeed;
  o.signalInView = m_signals.state().inView;
  o.signalShown = m_signals.state().shownIndex;
  o.bcKpa = m_air.state().bc;
  o.gradient = m_dynamics.state().effectiveGradient;
  o.keySwap = m_app.keySwap;
  o.routeChannelBase = m_data.sounds.driveCount;
  return o;
}

int Run::videoFrameCount() const {
  return m_services.video ? m_services.video->frameCount() : -1;
}

std::filesystem::path Run::resolve(std::string_view windowsName) const {
  if (m_services.folder) return m_services.folder->resolve(windowsName);
  std::string name(windowsName);
  for (char& c : name)
    if (c == '\\') c = '/';
  return name;
}

void Run::start1Click() {
  m_running = !m_running;
  m_display.start1Caption = m_running ? "一時停止(&S)" : "運転再開(&S)";
  m_handle.unlockInput();
}

void Run::closeRun() {
  m_running = false;
  m_position.closeRun();
  m_signals.closeRun();
  m_handle.clearProtection();
  if (SoundDevice* sound = m_services.sound) {
    freeSoundBank(*sound, m_data.sounds);
    if (m_eventWave >= 0) sound->freeWave(m_eventWave);
  }
  m_eventWave = -1;
  m_callouts.clear();
}

}  // namespace velmoria
