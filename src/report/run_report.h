#pragma once
// What a run report says about one drive: each station stopped at (how far from the stopping
// mark, how late against the timetable, the doors), each stop passed by, every overspeed and
// protection event, the ride comfort, the score with its breakdown, and the samples and line
// data of its speed-distance chart. Plain data, filled by ReportBuilder and by the readers of
// stored reports; the JSON form is report_json.h. Distances are metres along the line, speeds
// km/h, times of day thirtieths of a second since midnight (clock ticks).
#include <cstdint>
#include <string>
#include <vector>

namespace velmoria::report {

enum class EventKind {
  Overspeed,
  TrainStopAlarm,
  ProtectionEmergency,
  DriverEmergency,
  SignalPassedAtStop
};
// What an overspeed was against: a speed-limit section, the train protection's speed (the
// train stop's check speed or the cab signal's speed) or the vehicle's maximum.
enum class LimitSource { SpeedLimit, CheckSpeed, VehicleMax };

// "overspeed", "train_stop_alarm", "protection_emergency", "driver_emergency",
// "signal_passed_at_stop"; and back (false for an unknown name).
const char* eventKindName(EventKind kind);
bool eventKindFromName(const std::string& name, EventKind& kind);
// "speed_limit", "check_speed", "vehicle_max"
const char* limitSourceName(LimitSource source);
bool limitSourceFromName(const std::string& name, LimitSource& source);

// What rang the train stop's bell: passing a speed check too fast, a stop signal's check point,
// the check speed exceeded (a train stop that enforces one), or the warning of a stop signal
// ahead that the driver did not acknowledge before the emergency brake.
enum class AlarmCause { SpeedCheck, StopSignal, CheckSpeed, Warning };
// "speed_check", "stop_signal", "check_speed", "warning"
const char* alarmCauseName(AlarmCause cause);
bool alarmCauseFromName(const std::string& name, AlarmCause& cause);

struct RunEvent {
  EventKind kind = EventKind::Overspeed;
  double distanceM = 0;    // where it began
  int32_t clockTicks = 0;  // when it began
  // Overspeed: the worst excess over the limit, how long the train was over it, the limit
  // and what set it at the worst moment.
  double excessKmh = 0;
  double durationS = 0;
  int32_t limitKmh = 0;
  LimitSource limit = LimitSource::SpeedLimit;
  // Protection: a full-service brake of the pattern or cab-signal control rather than the
  // emergency brake of the train stop or the vigilance device.
  bool serviceBrake = false;
  AlarmCause cause = AlarmCause::Warning;  // train-stop alarm
  std::string signal;                      // signal passed at stop: its label
};

struct StationStopReport {
  int station = -1;  // index in the route's station table
  std::string name;
  double stopErrorCm = 0;      // beyond the mark positive, short of it negative
  int32_t arrivalTicks = 0;    // the clock when the train first stood in the zone
  int32_t timetableTicks = 0;  // the station's time in the timetable (its departure time)
  double arrivalLateS = 0;     // late positive, early negative
  bool doorsOpened = false;
  bool doorsClosed = false;  // opened and shut again before the train left
  // Brake-handle movements in the last 100 m before the stop: steps one way in a row, less
  // than a second apart, are one movement.
  int brakeMovements = 0;
};

struct MissedStop {
  int station = -1;
  std::string name;
  double distanceM = 0;  // the stopping mark
};

struct Comfort {
  // The largest change of the acceleration over one second from the second before, per
  // second (m/s^3), and where it was. Over a second rather than a tick, so that the start and
  // the standstill, where the speed steps within a tick, read as the ride feels.
  double maxJerk = 0;
  double maxJerkAtM = 0;
};

// One line of the score's breakdown: what cost how many points.
struct ScoreItem {
  std::string rule;   // "stop", "missed_stop", "late", "overspeed", ... (README)
  std::string what;   // the station or the event, for people
  double points = 0;  // deducted, positive
  // What the rule was applied to: the index in `stations` (stop, late, brake_handle), in
  // `missed` (missed_stop) or in `events`; -1 for the whole run (jerk) or when not known (a
  // report stored before the index was). The report window words the line from it in the
  // reader's language.
  int of = -1;
};

// A sample of the drive for the chart and the ghost.
struct ChartSample {
  double clockS = 0;  // time of day in seconds
  double distanceM = 0;
  double speedKmh = 0;
  int notch = 0;  // power notch
  int brake = 0;  // brake step, 0 released; the emergency brake is the vehicle's [Brake]
};

struct ChartMark {
  double distanceM = 0;
  std::string label;
};
struct ChartPoint {
  double distanceM = 0;
  double kmh = 0;
};

// The line under the drive: its speed limits as a step line (the vehicle's maximum where no
// section limits it), stations and signals, and the speed the video was filmed at.
struct ChartLine {
  std::vector<ChartPoint> limit;     // a step line: each point holds until the next
  std::vector<ChartPoint> recorded;  // a polyline
  std::vector<ChartMark> stations;
  std::vector<ChartMark> signals;
  int brakeSteps = 0;  // the vehicle's [Brake]: the emergency position
  int powerNotches = 0;
};

struct RunReport {
  std::string vehicle;  // the files, as chosen on the title window
  std::string route;
  std::string line;       // the route's line name
  bool terminus = false;  // the train stood at the terminus
  int64_t endMs = 0;      // the time of the last tick, from Start
  int32_t startClock = 0, endClock = 0;
  double startM = 0, endM = 0;

  std::vector<StationStopReport> stations;
  std::vector<MissedStop> missed;
  std::vector<RunEvent> events;
  // Warnings of the train stop (a stop signal ahead) that the driver acknowledged in time:
  // part of working the train stop, counted but not events.
  int trainStopWarnings = 0;
  Comfort comfort;
  double score = 100;
  std::vector<ScoreItem> breakdown;

  ChartLine chart;
  std::vector<ChartSample> samples;
  int sampleTicks = 1;  // ticks between two samples
};

}  // namespace velmoria::report
