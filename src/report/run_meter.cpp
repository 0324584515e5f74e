#include "report/run_meter.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

namespace velmoria::report {

namespace {
bool inEmergency(const RunObservation& run) {
  return run.brakeStep <= -run.vehicle.Brake || run.atsEmergency;
}
}  // namespace

int32_t limitInForce(const Vehicle& vehicle, const Route& route, int32_t frame) {
  int32_t limit = vehicle.MaxSpeed > 0 ? vehicle.MaxSpeed : 0;
  for (const auto& e : route.SpeedLimitTable) {
    if (e.startFrame < frame && frame < e.endFrame && e.limit > 0)
      limit = limit == 0 ? e.limit : std::min(limit, e.limit);
  }
  return limit;
}

RunMeter::RunMeter(const RunObservation& run)
    : m_moving(run.speed.raw != 0),
      m_emergency(inEmergency(run)),
      m_atsEmergency(run.atsEmergency),
      m_alarm(run.trainStopAlarm) {}

void RunMeter::observe(const RunObservation& run) {
  const bool moving = run.speed.raw != 0;
  const auto rounded = static_cast<int32_t>(run.speed.rounded());
  if (rounded >= kRunningKmh || rounded <= -kRunningKmh) m_ran = true;
  if (m_moving && !moving && !m_jumped) {
    const int32_t frame = run.frame;
    const auto& table = run.route.StationTable;
    for (size_t j = 0; j < table.size(); ++j) {
      const auto& st = table[j];
      if (st.type == 1 || frame < st.zoneStart || frame > st.stopFrame) continue;
      const double error = static_cast<double>((run.distanceCm - st.distance) / 100);
      // Creeping up to the mark after stopping short replaces the earlier stop; a train that
      // only stirred while its brakes released has not stopped anywhere.
      if (!m_stops.empty() && m_stops.back().station == int(j)) {
        m_stops.back().errorM = error;
      } else if (m_ran) {
        m_stops.push_back(StationStop{int(j), st.name, error});
      }
      break;
    }
  }
  if (!moving) m_ran = false;
  if (moving) m_jumped = false;
  m_moving = moving;

  const bool emergency = inEmergency(run);
  if (emergency && !m_emergency) ++m_emergencyBrakes;
  m_emergency = emergency;
  if (run.atsEmergency && !m_atsEmergency) ++m_protectionEmergencies;
  m_atsEmergency = run.atsEmergency;
  if (run.trainStopAlarm && !m_alarm) ++m_alarms;
  m_alarm = run.trainStopAlarm;

  const int32_t limit = limitInForce(run.vehicle, run.route, run.frame);
  const auto speed = rounded;
  const bool over = limit > 0 && speed > limit;
  if (over && !m_over) ++m_overspeeds;
  if (over) m_worstOverspeed = std::max(m_worstOverspeed, double(speed - limit));
  m_over = over;
}

void RunMeter::printSummary(std::ostream& out, int64_t endMs, bool terminus) const {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%" PRId64 ".%03" PRId64, endMs / 1000, endMs % 1000);
  out << "simulated time: " << buf << " s\n";
  out << "terminus: " << (terminus ? "reached" : "not reached") << '\n';
  out << "stations stopped: " << m_stops.size() << '\n';
  out << "stop errors (m):";
  double worst = 0;
  for (const auto& s : m_stops) {
    std::snprintf(buf, sizeof buf, " %+.2f", s.errorM);
    out << ' ' << s.name << buf;
    worst = std::max(worst, s.errorM < 0 ? -s.errorM : s.errorM);
  }
  std::snprintf(buf, sizeof buf, "%.2f", worst);
  out << "\nworst stop error (m): " << buf << '\n';
  out << "emergency brakes: " << m_emergencyBrakes
      << " (train stop or vigilance: " << m_protectionEmergencies << ")\n";
  out << "train stop alarms: " << m_alarms << '\n';
  out << "overspeeds: " << m_overspeeds;
  if (m_overspeeds > 0) {
    std::snprintf(buf, sizeof buf, "%.0f", m_worstOverspeed);
    out << " (worst " << buf << " km/h over)";
  }
  out << '\n';
}

}  // namespace velmoria::report
