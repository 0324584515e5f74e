#pragma once
// The run report as JSON, as velmoria-drive --report writes it and the run history keeps it.
// The schema is in the README ("Run report"); tools read "score", "stations" and "events".
#include <optional>
#include <string>

#include "report/run_report.h"

namespace velmoria::report {

// What the run history adds about a stored run.
struct StoredFacts {
  std::string source;  // "desktop"
  std::string date;    // local time it ended, "2024-05-01 10:15:30"
  std::string dataFolder;
  std::optional<bool> replayExact;  // the record replays the drive to the same trace
};

std::string reportJson(const RunReport& report, const StoredFacts* stored = nullptr);

// "10:03:05" for clock ticks (thirtieths of a second since midnight); hours not wrapped.
std::string clockText(int32_t ticks);

}  // namespace velmoria::report
