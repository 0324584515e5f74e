#pragma once
// What velmoria-drive measures of a run for its summary: the station stops and how far from the
// stopping mark each ended, the emergency brakes, the train-stop alarms and the overspeeds; the
// run report takes its station stops from it. It watches the run after every 100 ms tick (on
// the drive loop's thread) and changes nothing.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "run/run_observation.h"

namespace velmoria::report {

constexpr int kRunningKmh = 3;  // slower than this since standing still is not a run

struct StationStop {
  int station = -1;  // index in the route's station table
  std::string name;
  double errorM = 0;  // beyond the mark positive, short of it negative
};

class RunMeter {
 public:
  // Takes the state before the first start as the reference: the train stands in EB then.
  explicit RunMeter(const RunObservation& run);
  // After every tick.
  void observe(const RunObservation& run);
  // The train was moved by the station jump: its next standstill is not a stop.
  void noteJump() { m_jumped = true; }

  const std::vector<StationStop>& stops() const { return m_stops; }
  int emergencyBrakes() const { return m_emergencyBrakes; }
  int protectionEmergencies() const { return m_protectionEmergencies; }
  int alarms() const { return m_alarms; }
  int overspeeds() const { return m_overspeeds; }
  double worstOverspeedKmh() const { return m_worstOverspeed; }

  void printSummary(std::ostream& out, int64_t endMs, bool terminus) const;

 private:
  bool m_moving = false;
  bool m_emergency = true;
  bool m_atsEmergency = false;
  bool m_alarm = false;
  bool m_over = false;
  bool m_jumped = false;
  bool m_ran = false;  // reached kRunningKmh since the last standstill
  std::vector<StationStop> m_stops;
  int m_emergencyBrakes = 0, m_protectionEmergencies = 0, m_alarms = 0, m_overspeeds = 0;
  double m_worstOverspeed = 0;
};

// The speed limit in force at a frame: the vehicle's maximum and every speed-limit section the
// head of the train is in; 0 when nothing limits it.
int32_t limitInForce(const Vehicle& vehicle, const Route& route, int32_t frame);

}  // namespace velmoria::report
