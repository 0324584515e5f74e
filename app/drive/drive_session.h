#pragma once
// One headless run: reads the data files in the cab window's creation order, builds the Run on
// null devices and drives it in virtual time with the script, the autopilot, the trace, the
// meter and (when asked) the run report. Used by velmoria-drive's main() and by the tests, on
// one thread.
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "autopilot.h"
#include "media/key_value_store.h"
#include "options.h"
#include "replay/headless_run.h"
#include "replay/scheduler.h"
#include "replay/script.h"
#include "replay/scripted_joystick.h"
#include "replay/virtual_drive.h"
#include "report/report_builder.h"
#include "report/run_meter.h"
#include "run/run.h"
#include "run/trace.h"

namespace velmoria::drive {

// The script, its schedule, the drive and the meter are shared with the desktop program,
// which records and replays the same scripts.
using replay::CommandKind;
using replay::DriveEnd;
using replay::Event;
using replay::EventKind;
using replay::formatScriptCommand;
using replay::kDefaultLimitMs;
using replay::kStepMs;
using replay::kTickMs;
using replay::kVideoSwitchHoldMs;
using replay::parseScript;
using replay::parseScriptLine;
using replay::Scheduler;
using replay::Script;
using replay::ScriptCommand;
using replay::ScriptedJoystick;
using replay::ScriptError;
using replay::ScriptResult;
using report::kRunningKmh;
using report::limitInForce;
using report::RunMeter;
using report::StationStop;

class DriveSession {
 public:
  // Reads the data files and builds the run. Throws StartupError with the message the desktop
  // program shows. `buttons` may be null; `trace` and `log` may be null; both must outlive the
  // session. With options.reportFile set the session also builds the run report.
  DriveSession(const DriveOptions& options, Script script, const KeyValueStore* buttons,
               std::ostream* trace, std::ostream* log = nullptr, bool verboseLog = false);
  // Every input from now on is also written to `record` as a script line.
  void record(std::ostream* record) { m_record = record; }
  // From now on a trace row follows every tick; the header is written at once.
  void setTrace(std::ostream* trace);

  // A script line naming a station entry the route does not have.
  std::optional<ScriptError> checkScript() const;
  // Runs until quit, the time limit or (when asked) the terminus.
  DriveEnd drive();

  Run& run() { return m_headless.run(); }
  RunObservation observe() const { return m_headless.run().observe(); }
  const RunMeter& meter() const { return m_meter; }
  // The run report so far, scored; nullopt unless options.reportFile was set.
  std::optional<report::RunReport> report() const;
  int64_t now() const { return m_headless.clock().nowMs(); }

 private:
  void recordCommand(const ScriptCommand& c);
  void afterTick();

  DriveOptions m_options;
  Script m_script;
  replay::HeadlessRun m_headless;
  RunMeter m_meter;
  std::optional<report::ReportBuilder> m_report;
  std::unique_ptr<Autopilot> m_autopilot;
  replay::VirtualDrive m_drive;
  std::optional<TraceWriter> m_trace;
  std::ostream* m_record = nullptr;
};

}  // namespace velmoria::drive
