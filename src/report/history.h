#pragma once
// The run history: one folder per stored run under $XDG_DATA_HOME/velmoria/runs (or
// ~/.local/share/velmoria/runs), holding the run's report (report.json), its per-tick trace
// (trace.csv) and the input record that replays it (record.txt, velmoria-drive's script
// format). A run is written into a hidden folder beside the others and renamed into place
// when every file is complete, so that a reader never sees half a run. Nothing here deletes a
// file it did not itself just write. UI thread, when a run ends.
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace velmoria::report {

constexpr const char* kReportFile = "report.json";
constexpr const char* kTraceFile = "trace.csv";
constexpr const char* kRecordFile = "record.txt";

// The history folder from the environment, as the XDG base directories define it: an
// XDG_DATA_HOME that is not an absolute path is ignored. Nullopt without HOME either.
std::optional<std::filesystem::path> historyFolder();

// "20240501-101530-train_201-line_rapid1": the local time and the two files' stems, every
// character outside A-Z a-z 0-9 . _ - replaced by '_'.
std::string runFolderName(std::time_t when, const std::string& vehicle, const std::string& route);

// Writes one run folder: the trace streams into it while the run is driven again, the report
// and the record follow, and finish() puts the folder in place. Dropped unfinished, it takes
// away what it wrote.
class RunFolderWriter {
 public:
  RunFolderWriter(const std::filesystem::path& runs, const std::string& name);
  ~RunFolderWriter();
  RunFolderWriter(const RunFolderWriter&) = delete;
  RunFolderWriter& operator=(const RunFolderWriter&) = delete;

  bool ok() const { return m_error.empty(); }
  const std::string& error() const { return m_error; }
  // trace.csv, open for writing; valid while ok().
  std::ostream& trace() { return m_trace; }
  // Writes report.json and record.txt and renames the folder into place ("-2", "-3" ... when
  // the name is taken). Returns the folder, or nullopt with error() saying why.
  std::optional<std::filesystem::path> finish(const std::string& report, const std::string& record);

 private:
  void discard();

  std::filesystem::path m_runs, m_partial;
  std::string m_name, m_error;
  std::ofstream m_trace;
  bool m_done = false;
};

}  // namespace velmoria::report
