#include "route_edit/drive_outcome.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace velmoria::edit {

namespace {

bool startsWith(const std::string& s, const std::string& prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

std::string trimmed(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  return s;
}

}  // namespace

DriveOutcome readDriveOutcome(const std::string& out, const std::string& err, int exitCode) {
  DriveOutcome o;
  o.exitCode = exitCode;
  o.message = trimmed(err);
  std::istringstream in(out);
  std::string line;
  bool sawTime = false, sawTerminus = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto after = [&](const std::string& p) { return line.substr(p.size()); };
    if (startsWith(line, "simulated time: ")) {
      o.simulatedSeconds = std::strtod(after("simulated time: ").c_str(), nullptr);
      sawTime = true;
    } else if (startsWith(line, "terminus: ")) {
      o.terminus = after("terminus: ") == "reached";
      sawTerminus = true;
    } else if (startsWith(line, "stations stopped: ")) {
      o.stationsStopped = std::atoi(after("stations stopped: ").c_str());
    } else if (startsWith(line, "stop errors (m):")) {
      // " NAME +0.12" pairs; a name holds no blank (the route file's names are one field).
      std::istringstream pairs(after("stop errors (m):"));
      std::string name, error;
      while (pairs >> name >> error) o.stops.push_back({name, std::strtod(error.c_str(), nullptr)});
    } else if (startsWith(line, "emergency brakes: ")) {
      o.emergencyBrakes = std::atoi(after("emergency brakes: ").c_str());
    } else if (startsWith(line, "train stop alarms: ")) {
      o.alarms = std::atoi(after("train stop alarms: ").c_str());
    } else if (startsWith(line, "overspeeds: ")) {
      o.overspeeds = std::atoi(after("overspeeds: ").c_str());
    }
  }
  o.summaryRead = sawTime && sawTerminus;
  return o;
}

std::string describe(const DriveOutcome& o) {
  std::ostringstream s;
  if (!o.summaryRead) {
    s << "The test drive did not run";
    if (o.exitCode >= 0) s << " (velmoria-drive ended with " << o.exitCode << ")";
    s << ".\n";
    if (!o.message.empty()) s << o.message << '\n';
    return s.str();
  }
  s << (o.terminus ? "Terminus reached" : "Terminus NOT reached");
  char buf[64];
  const long total = static_cast<long>(o.simulatedSeconds);
  std::snprintf(buf, sizeof buf, " after %ld:%02ld:%02ld simulated.\n", total / 3600,
                total / 60 % 60, total % 60);
  s << buf;
  s << "Stations stopped: " << o.stationsStopped << '\n';
  for (const auto& stop : o.stops) {
    std::snprintf(buf, sizeof buf, "%+.2f m", stop.errorM);
    s << "  " << stop.station << "  " << buf << '\n';
  }
  s << "Emergency brakes: " << o.emergencyBrakes << ", train stop alarms: " << o.alarms
    << ", overspeeds: " << o.overspeeds << '\n';
  if (!o.message.empty()) s << o.message << '\n';
  return s.str();
}

}  // namespace velmoria::edit
