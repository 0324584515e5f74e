#pragma once
// The score of a drive, 0 to 100: 100 less the points each fault costs (README, "Run
// report"). The rule reads only what the report holds, so a stored report can be scored
// again and checked by hand.
#include "report/run_report.h"

namespace velmoria::report {

// The points of the rule; the README lists the same numbers.
namespace points {
constexpr double kStopFreeM = 0.5;         // a stop this close to the mark costs nothing
constexpr double kStopPerM = 2.0;          // then per metre further
constexpr double kStopMost = 10.0;         // at most, per station
constexpr double kMissedStop = 15.0;       // a stop passed by
constexpr double kLatePerS = 0.1;          // per second after the timetable's time
constexpr double kLateMost = 5.0;          // at most, per station
constexpr double kOverspeed = 2.0;         // each overspeed, and
constexpr double kOverspeedPerKmhS = 0.2;  // per km/h of its worst excess and second it lasted
constexpr double kOverspeedMost = 20.0;    // at most, per overspeed
constexpr double kTrainStopAlarm = 5.0;
constexpr double kProtectionEmergency = 15.0;
constexpr double kProtectionService = 10.0;  // the pattern or cab-signal brake
constexpr double kDriverEmergency = 5.0;     // the emergency brake while moving
constexpr double kSignalPassedAtStop = 25.0;
constexpr double kJerkFree = 1.5;  // m/s^3 of the largest change of acceleration, free
constexpr double kJerkPer = 2.0;   // per m/s^3 beyond
constexpr double kJerkMost = 5.0;
constexpr int kBrakeMovesFree = 6;       // brake-handle movements in the last 100 m, free
constexpr double kBrakeMove = 0.5;       // each further one
constexpr double kBrakeMovesMost = 2.0;  // at most, per station
}  // namespace points

// Fills report.score and report.breakdown from the stations, missed stops, events and comfort.
void scoreReport(RunReport& report);

}  // namespace velmoria::report
