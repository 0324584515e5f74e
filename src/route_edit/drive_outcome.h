#pragma once
// The outcome of a test drive: what `velmoria-drive --autopilot --until-terminus` printed and
// how it ended, read back from its summary lines (app/drive/run_meter.cpp writes them) so that
// the route editor can show it (RouteEditor::describeDrive words it). Pure functions; any thread.
#include <optional>
#include <string>
#include <vector>

namespace velmoria::edit {

struct DriveStop {
  std::string station;
  double errorM = 0;  // beyond the mark positive
};

struct DriveOutcome {
  int exitCode = -1;         // of velmoria-drive; -1 when it did not end by itself
  bool summaryRead = false;  // the summary lines were found
  bool terminus = false;
  double simulatedSeconds = 0;
  int stationsStopped = 0;
  std::vector<DriveStop> stops;
  int emergencyBrakes = 0;
  int alarms = 0;
  int overspeeds = 0;
  std::string message;  // velmoria-drive's standard error, trimmed
};

DriveOutcome readDriveOutcome(const std::string& standardOutput, const std::string& standardError,
                              int exitCode);

}  // namespace velmoria::edit
