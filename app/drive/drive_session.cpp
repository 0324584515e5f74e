#include "drive_session.h"

#include <algorithm>

#include "frame/data_folder.h"
#include "media/null/null_video_source.h"
#include "run/creation.h"
#include "view/panel_pictures.h"

#ifdef VELMORIA_DRIVE_HAS_MEDIA
#include "media/ffmpeg/ffmpeg_video_source.h"
#endif

namespace velmoria::drive {

namespace {

// --frames: a video of that many frames whatever the folder holds, also after the branch
// switch reopens it.
class CountOnlyVideo : public NullVideoSource {
 public:
  explicit CountOnlyVideo(int frames) : NullVideoSource(frames) {}
  bool open(const std::filesystem::path& file) override {
    NullVideoSource::open(file);
    setOpen(true);
    return true;
  }
};

std::unique_ptr<VideoSource> makeVideo(const DriveOptions& options) {
  if (options.frames) return std::make_unique<CountOnlyVideo>(*options.frames);
#ifdef VELMORIA_DRIVE_HAS_MEDIA
  return std::make_unique<FfmpegVideoSource>();
#else
  return std::make_unique<NullVideoSource>(-1);
#endif
}

}  // namespace

DriveSession::DriveSession(const DriveOptions& options, Script script, const KeyValueStore* buttons,
                           std::ostream* trace, std::ostream* log, bool verboseLog)
    : m_options(options), m_folder(options.dataDir), m_script(std::move(script)) {
  m_app.vehicleFile = options.vehicleFile;
  m_app.routeFile = options.routeFile;
  m_video = makeVideo(options);

  // The cab window's creation, phase by phase; the panel's pictures are checked as the cab
  // window would load them.
  RunCreation creation{m_images,
                       m_sound,
                       *m_video,
                       buttons,
                       {},
                       [this](const RunData& data) {
                         return checkPanelPictures(data.vehicle, data.route, m_folder, m_images);
                       },
                       {}};
  RunServices services;
  services.joystick = &m_joystick;
  services.clock = &m_clock;
  services.host = this;
  m_run = createRun(m_app, m_folder, creation, std::move(services));

  m_meter = std::make_unique<RunMeter>(m_run->observe());
  if (options.autopilot) {
    m_autopilot = std::make_unique<Autopilot>(*m_run, &m_sound);
    m_autopilot->setLog(log, verboseLog);
    m_autopilot->onPress([this](char key) {
      ScriptCommand c;
      c.kind = CommandKind::Key;
      c.key = key;
      c.timeMs = m_clock.nowMs();
      recordCommand(c);
    });
  }
  setTrace(trace);
}

void DriveSession::setTrace(std::ostream* trace) {
  m_trace.reset();
  if (!trace) return;
  m_trace.emplace(*trace);
  m_trace->writeHeader();
}

std::optional<ScriptError> DriveSession::checkScript() const {
  const auto& menu = m_run->route().stationMenu;
  for (const auto& c : m_script.commands) {
    if (c.kind != CommandKind::Station) continue;
    if (std::find(menu.begin(), menu.end(), c.station) == menu.end())
      return ScriptError{c.line, "the route has no station entry Sta" + std::to_string(c.station)};
  }
  return std::nullopt;
}

void DriveSession::videoSwitched(bool) {
  // The desktop program stops the 33 ms timer and waits a second on the UI thread.
  m_scheduler.block(m_clock.nowMs(), kVideoSwitchHoldMs);
}

void DriveSession::recordCommand(const ScriptCommand& c) {
  if (m_record) *m_record << formatScriptCommand(c) << '\n';
}

void DriveSession::startClick() {
  m_run->start1Click();
  if (m_run->running())
    m_scheduler.start(m_clock.nowMs());
  else
    m_scheduler.pause();
}

void DriveSession::execute(const ScriptCommand& c) {
  recordCommand(c);
  Run& run = *m_run;
  switch (c.kind) {
    case CommandKind::Start:
      startClick();
      break;
    case CommandKind::Key:
      run.AsciiDown(c.key);
      break;
    case CommandKind::VKey:
      run.keydowns(c.vkey, c.shift);
      break;
    case CommandKind::Wheel:
      if (c.wheelUp)
        run.WheelU();
      else
        run.WheelD();
      break;
    case CommandKind::Serial:
      run.RxChar(c.text);
      run.drainPostedKeys();
      break;
    case CommandKind::Usb:
      m_app.controllerKind = c.usbKind;
      m_joystick.set(c.x, c.y, c.buttons);
      break;
    case CommandKind::Station:
      run.StationClick("Sta" + std::to_string(c.station));
      m_meter->noteJump();
      break;
    case CommandKind::Voice:
      run.S1Click();
      break;
    case CommandKind::Quit:
      m_quit = true;
      break;
  }
}

void DriveSession::afterTick() {
  m_run->drainPostedKeys();
  if (m_trace) m_trace->writeRow(*m_run, m_clock.nowMs());
  const RunObservation seen = m_run->observe();
  m_meter->observe(seen);
  // The doors open as the speed rounds to 0; the drive has ended once the train stands.
  if (seen.terminus && seen.speed.raw == 0) m_terminus = true;
  if (m_autopilot) m_autopilotDue = m_clock.nowMs() + 1;
}

DriveEnd DriveSession::drive() {
  const int64_t limit = m_options.untilMs.value_or(kDefaultLimitMs);
  const bool endAtTerminus = m_options.untilTerminus || !m_options.untilMs;
  bool autopilotStarted = !m_autopilot;
  const auto& commands = m_script.commands;
  while (!m_quit && !(endAtTerminus && m_terminus)) {
    std::optional<int64_t> nextScript;
    if (m_nextCommand < commands.size()) nextScript = commands[m_nextCommand].timeMs;
    // The autopilot takes its seat once the script's commands of time 0 have run.
    if (!autopilotStarted && (!nextScript || *nextScript > 0)) {
      autopilotStarted = true;
      if (!m_run->running()) {
        ScriptCommand start;
        start.kind = CommandKind::Start;
        recordCommand(start);
        startClick();
      }
      continue;
    }
    // The autopilot's turn counts as a command; the script goes first at the same time.
    std::optional<int64_t> nextCommand = nextScript;
    if (m_autopilotDue && (!nextCommand || *m_autopilotDue < *nextCommand))
      nextCommand = m_autopilotDue;
    const auto event = m_scheduler.next(nextCommand);
    if (!event) {  // paused with nothing more to come
      if (m_options.untilMs) m_clock.set(std::max(m_clock.nowMs(), limit));
      break;
    }
    if (event->timeMs > limit) {
      m_clock.set(limit);
      break;
    }
    m_clock.set(event->timeMs);
    switch (event->kind) {
      case EventKind::Command:
        if (nextScript && *nextScript <= event->timeMs) {
          execute(commands[m_nextCommand++]);
        } else {
          m_autopilotDue.reset();
          m_autopilot->act(m_clock.nowMs());
          if (m_autopilot->gaveUp()) return DriveEnd{m_clock.nowMs(), false, m_quit, true};
        }
        break;
      case EventKind::Step:
        m_scheduler.taken(*event);
        m_run->MMTimer1Timer();
        break;
      case EventKind::Tick:
        m_scheduler.taken(*event);
        m_run->Timer1Timer();
        afterTick();
        break;
    }
  }
  return DriveEnd{m_clock.nowMs(), m_terminus, m_quit};
}

}  // namespace velmoria::drive
