#pragma once
// Builds the run report while a run goes: called after every 100 ms tick with the run's
// observation, on the thread that runs the tick; it only reads what the observation shows.
// velmoria-drive and the desktop program both feed one, so the two reports agree. Memory is
// bounded: the chart keeps at most kMaxSamples samples (thinning them out as the drive goes
// on), the brake-handle movements only those of the last 100 m.
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "report/run_meter.h"
#include "report/run_report.h"
#include "run/run_observation.h"

namespace velmoria::report {

constexpr size_t kMaxSamples = 8000;

// The line under a run, for its chart: limits, the filmed speed, stations and signals.
ChartLine chartLineOf(const Vehicle& vehicle, const Route& route);

// The distance of a frame along the line (cm), from the route's placed [SpeedUnit] segments:
// the start of the line before the first segment, the end of the last one beyond it.
long double frameDistanceCm(const Route& route, int32_t frame);

class ReportBuilder {
 public:
  // Takes the run before its first tick as the reference: the train stands where it starts.
  explicit ReportBuilder(const RunObservation& before);
  // After every tick; tMs is the tick's time from Start.
  void observe(const RunObservation& run, int64_t tMs);
  // The station jump moved the train: it starts again from that station.
  void noteJump();

  // The report so far, scored.
  RunReport report() const;
  const RunMeter& meter() const { return m_meter; }

 private:
  struct Limit {
    int32_t kmh = 0;  // 0: nothing limits the speed
    LimitSource source = LimitSource::VehicleMax;
  };
  Limit limitAt(const RunObservation& run) const;
  int originStation(const RunObservation& run) const;
  void stations(const RunObservation& run, int64_t tMs);
  void missedStops(const RunObservation& run);
  void protection(const RunObservation& run);
  void overspeed(const RunObservation& run, double kmh);
  void signalsPassed(const RunObservation& run);
  void comfort(const RunObservation& run, double kmh);
  void sample(const RunObservation& run, double kmh);
  RunEvent eventHere(EventKind kind, const RunObservation& run) const;
  AlarmCause alarmCause(const RunObservation& run) const;

  RunMeter m_meter;
  RunReport m_r;
  int m_origin = -1;  // the station the train started from (or jumped to)
  bool m_jumped = false;
  bool m_moved = false;  // the train has moved since Start
  int32_t m_frame = 0;
  bool m_alarm = false, m_atsEmergency = false, m_protectionBrake = false,
       m_driverEmergency = false;
  int m_brakeStep = 0;
  std::optional<size_t> m_overspeed;  // the event of the overspeed going on
  std::optional<size_t> m_warning;    // the event of a warning's alarm, until it is answered
  std::vector<int> m_shown;           // per signal: the picture last seen while in view
  struct BrakeMove {
    long double distanceCm;  // where it began
    int64_t lastMs;          // its last step
    int direction;           // +1 applying, -1 releasing
  };
  std::deque<BrakeMove> m_brakeMoves;  // within the last 100 m
  size_t m_stopsSeen = 0;
  std::optional<size_t> m_standing;  // the stop the train stands at, until it leaves
  std::deque<double> m_speeds;       // m/s at the last 21 ticks, for the comfort
  int64_t m_ticks = 0;
};

}  // namespace velmoria::report
