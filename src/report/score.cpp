#include "report/score.h"

#include <algorithm>
#include <cmath>

#include "report/json_writer.h"

namespace velmoria::report {

namespace {

std::string metres(double cm) {
  return formatNumber(cm / 100, 2) + " m";
}

}  // namespace

void scoreReport(RunReport& r) {
  using namespace points;
  std::vector<ScoreItem> items;
  int of = -1;
  const auto cost = [&](const char* rule, std::string what, double p) {
    if (p > 0) items.push_back(ScoreItem{rule, std::move(what), p, of});
  };

  for (const auto& s : r.stations) {
    ++of;
    const double errorM = std::fabs(s.stopErrorCm) / 100;
    cost("stop", s.name + ": " + metres(s.stopErrorCm) + (s.stopErrorCm < 0 ? " short" : " over"),
         std::min(kStopMost, std::max(0.0, errorM - kStopFreeM) * kStopPerM));
    cost("late", s.name + ": " + formatNumber(s.arrivalLateS, 1) + " s late",
         std::min(kLateMost, std::max(0.0, s.arrivalLateS) * kLatePerS));
    const int extra = s.brakeMovements - kBrakeMovesFree;
    cost("brake_handle",
         s.name + ": " + std::to_string(s.brakeMovements) + " brake movements in the last 100 m",
         std::min(kBrakeMovesMost, std::max(0, extra) * kBrakeMove));
  }
  of = -1;
  for (const auto& m : r.missed) {
    ++of;
    cost("missed_stop", m.name + ": passed", kMissedStop);
  }
  of = -1;
  for (const auto& e : r.events) {
    ++of;
    const std::string at = " at " + formatNumber(e.distanceM, 0) + " m";
    switch (e.kind) {
      case EventKind::Overspeed:
        cost("overspeed",
             formatNumber(e.excessKmh, 1) + " km/h over " + std::to_string(e.limitKmh) +
                 " km/h for " + formatNumber(e.durationS, 1) + " s" + at,
             std::min(kOverspeedMost, kOverspeed + kOverspeedPerKmhS * e.excessKmh * e.durationS));
        break;
      case EventKind::TrainStopAlarm:
        cost("train_stop_alarm", "train-stop alarm" + at, kTrainStopAlarm);
        break;
      case EventKind::ProtectionEmergency:
        cost("protection_emergency",
             (e.serviceBrake ? "protection brake" : "emergency brake by the protection") + at,
             e.serviceBrake ? kProtectionService : kProtectionEmergency);
        break;
      case EventKind::DriverEmergency:
        cost("driver_emergency", "emergency brake while moving" + at, kDriverEmergency);
        break;
      case EventKind::SignalPassedAtStop:
        cost("signal_passed_at_stop", e.signal + " passed at stop" + at, kSignalPassedAtStop);
        break;
    }
  }
  of = -1;
  cost("jerk", "largest change of acceleration " + formatNumber(r.comfort.maxJerk, 2) + " m/s³",
       std::min(kJerkMost, std::max(0.0, r.comfort.maxJerk - kJerkFree) * kJerkPer));

  double total = 0;
  for (const auto& i : items) total += i.points;
  // One decimal, as the report shows it; the items keep theirs.
  r.score = std::round(std::max(0.0, 100 - total) * 10) / 10;
  r.breakdown = std::move(items);
}

}  // namespace velmoria::report
