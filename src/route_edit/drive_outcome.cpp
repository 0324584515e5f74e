#include "route_edit/drive_outcome.h"

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

}  // namespace velmoria::edit
