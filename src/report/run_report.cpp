#include "report/run_report.h"

namespace velmoria::report {

namespace {
constexpr const char* kEventNames[] = {"overspeed", "train_stop_alarm", "protection_emergency",
                                       "driver_emergency", "signal_passed_at_stop"};
constexpr const char* kLimitNames[] = {"speed_limit", "check_speed", "vehicle_max"};
constexpr const char* kCauseNames[] = {"speed_check", "stop_signal", "check_speed", "warning"};
}  // namespace

const char* eventKindName(EventKind kind) {
  return kEventNames[static_cast<int>(kind)];
}

bool eventKindFromName(const std::string& name, EventKind& kind) {
  for (int i = 0; i < 5; ++i)
    if (name == kEventNames[i]) {
      kind = static_cast<EventKind>(i);
      return true;
    }
  return false;
}

const char* limitSourceName(LimitSource source) {
  return kLimitNames[static_cast<int>(source)];
}

bool limitSourceFromName(const std::string& name, LimitSource& source) {
  for (int i = 0; i < 3; ++i)
    if (name == kLimitNames[i]) {
      source = static_cast<LimitSource>(i);
      return true;
    }
  return false;
}

const char* alarmCauseName(AlarmCause cause) {
  return kCauseNames[static_cast<int>(cause)];
}

bool alarmCauseFromName(const std::string& name, AlarmCause& cause) {
  for (int i = 0; i < 4; ++i)
    if (name == kCauseNames[i]) {
      cause = static_cast<AlarmCause>(i);
      return true;
    }
  return false;
}

}  // namespace velmoria::report
