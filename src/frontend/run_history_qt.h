#pragma once
// Reading the run history (report/history.h) back: every run folder's report.json through
// QJsonDocument into a report::RunReport, the best run of a vehicle and route, and the switch
// that keeps the history on or off (the program's settings, ~/.config/Velmoria/velmoria.conf).
// Whatever in the folder is not a readable run (a file of the user's, a broken or foreign
// report, a run being written) is skipped with a message and left as it is. UI thread.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "report/report_json.h"
#include "report/run_report.h"

namespace velmoria {

struct StoredRun {
  std::filesystem::path folder;
  report::RunReport report;
  report::StoredFacts stored;
  bool hasRecord = false;  // record.txt is there: the run can be replayed
};

struct HistoryListing {
  std::vector<StoredRun> runs;  // oldest first
  QStringList skipped;          // "name: why", one per entry skipped
};

// Every run in `runs`; a missing folder is an empty history.
HistoryListing readHistory(const std::filesystem::path& runs);

// One report file; nullopt with `why` set when it is not a Velmoria run report.
std::optional<report::RunReport> readReportFile(const std::filesystem::path& file, QString* why,
                                                report::StoredFacts* stored = nullptr);

// The best run to the terminus of this vehicle and route: the highest score, the earliest of
// equal ones. Null when there is none.
const StoredRun* bestRun(const HistoryListing& history, const std::string& vehicle,
                         const std::string& route);

// 64-bit FNV-1a of a file's bytes (a stored trace); nullopt when it cannot be read.
std::optional<uint64_t> fileHash(const std::filesystem::path& file);

// The settings' switch: on unless the user turned it off.
bool historyEnabled();
void setHistoryEnabled(bool on);
// The history folder when the history is on and the environment names one.
std::optional<std::filesystem::path> historyToWrite();

}  // namespace velmoria
