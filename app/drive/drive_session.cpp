#include "drive_session.h"

#include <algorithm>

#include "media/null/null_video_source.h"
#include "replay/count_only_video.h"

#ifdef VELMORIA_DRIVE_HAS_MEDIA
#include "media/ffmpeg/ffmpeg_video_source.h"
#endif

namespace velmoria::drive {

namespace {

std::unique_ptr<VideoSource> makeVideo(const DriveOptions& options) {
  if (options.frames) return std::make_unique<replay::CountOnlyVideo>(*options.frames);
#ifdef VELMORIA_DRIVE_HAS_MEDIA
  return std::make_unique<FfmpegVideoSource>();
#else
  return std::make_unique<NullVideoSource>(-1);
#endif
}

}  // namespace

DriveSession::DriveSession(const DriveOptions& options, Script script, const KeyValueStore* buttons,
                           std::ostream* trace, std::ostream* log, bool verboseLog)
    : m_options(options),
      m_script(script),
      m_headless(options.dataDir, options.vehicleFile, options.routeFile, makeVideo(options),
                 buttons),
      m_meter(m_headless.run().observe()),
      m_drive(m_headless.run(), m_headless.app(), m_headless.joystick(), m_headless.clock(),
              std::move(script)) {
  Run& run = m_headless.run();
  if (options.reportFile) m_report.emplace(run.observe());
  if (options.autopilot) {
    m_autopilot = std::make_unique<Autopilot>(run, &m_headless.sound());
    m_autopilot->setLog(log, verboseLog);
    m_autopilot->onPress([this](char key) {
      ScriptCommand c;
      c.kind = CommandKind::Key;
      c.key = key;
      c.timeMs = m_headless.clock().nowMs();
      recordCommand(c);
    });
    m_drive.setAgent(m_autopilot.get());
  }
  m_headless.onVideoSwitch = [this] { m_drive.videoSwitched(); };
  m_drive.onCommand = [this](const ScriptCommand& c) { recordCommand(c); };
  m_drive.onJump = [this] {
    m_meter.noteJump();
    if (m_report) m_report->noteJump();
  };
  m_drive.afterTick = [this] { afterTick(); };
  setTrace(trace);
}

void DriveSession::setTrace(std::ostream* trace) {
  m_trace.reset();
  if (!trace) return;
  m_trace.emplace(*trace);
  m_trace->writeHeader();
}

std::optional<ScriptError> DriveSession::checkScript() const {
  const auto& menu = m_headless.run().route().stationMenu;
  for (const auto& c : m_script.commands) {
    if (c.kind != CommandKind::Station) continue;
    if (std::find(menu.begin(), menu.end(), c.station) == menu.end())
      return ScriptError{c.line, "the route has no station entry Sta" + std::to_string(c.station)};
  }
  return std::nullopt;
}

void DriveSession::recordCommand(const ScriptCommand& c) {
  if (m_record) *m_record << formatScriptCommand(c) << '\n';
}

void DriveSession::afterTick() {
  const Run& run = m_headless.run();
  const int64_t now = m_headless.clock().nowMs();
  if (m_trace) m_trace->writeRow(run, now);
  const RunObservation seen = run.observe();
  m_meter.observe(seen);
  if (m_report) m_report->observe(seen, now);
}

DriveEnd DriveSession::drive() {
  return m_drive.drive(m_options.untilMs, m_options.untilTerminus);
}

std::optional<report::RunReport> DriveSession::report() const {
  if (!m_report) return std::nullopt;
  return m_report->report();
}

}  // namespace velmoria::drive
