#include "report/history.h"

#include <cstdlib>
#include <system_error>

namespace velmoria::report {

namespace fs = std::filesystem;

std::optional<fs::path> historyFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && *data && fs::path(data).is_absolute()) return fs::path(data) / "velmoria" / "runs";
  const char* home = std::getenv("HOME");
  if (home && *home && fs::path(home).is_absolute())
    return fs::path(home) / ".local" / "share" / "velmoria" / "runs";
  return std::nullopt;
}

std::string runFolderName(std::time_t when, const std::string& vehicle, const std::string& route) {
  std::tm local{};
  localtime_r(&when, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const auto clean = [](const std::string& file) {
    std::string s = fs::path(file).stem().string();
    for (char& c : s) {
      const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '.' || c == '_' || c == '-';
      if (!ok) c = '_';
    }
    return s.empty() ? std::string("_") : s;
  };
  return std::string(stamp) + "-" + clean(vehicle) + "-" + clean(route);
}

namespace {

bool writeFile(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
  out.flush();
  return static_cast<bool>(out);
}

}  // namespace

RunFolderWriter::RunFolderWriter(const fs::path& runs, const std::string& name)
    : m_runs(runs), m_name(name) {
  std::error_code ec;
  fs::create_directories(runs, ec);
  if (ec) {
    m_error = "cannot make " + runs.string() + ": " + ec.message();
    return;
  }
  // A hidden folder of our own, so that a listing never shows a run being written.
  for (int n = 0; n < 100 && m_partial.empty(); ++n) {
    const fs::path p = runs / ("." + name + ".part" + (n ? std::to_string(n) : ""));
    if (fs::create_directory(p, ec) && !ec) m_partial = p;
  }
  if (m_partial.empty()) {
    m_error = "cannot make a folder in " + runs.string();
    return;
  }
  m_trace.open(m_partial / kTraceFile, std::ios::binary | std::ios::trunc);
  if (!m_trace) m_error = "cannot write " + (m_partial / kTraceFile).string();
}

RunFolderWriter::~RunFolderWriter() {
  if (!m_done) discard();
}

void RunFolderWriter::discard() {
  if (m_partial.empty()) return;
  m_trace.close();
  // Only what was made here a moment ago goes again.
  std::error_code ec;
  for (const char* f : {kReportFile, kTraceFile, kRecordFile}) fs::remove(m_partial / f, ec);
  fs::remove(m_partial, ec);
  m_partial.clear();
}

std::optional<fs::path> RunFolderWriter::finish(const std::string& report,
                                                const std::string& record) {
  if (!ok()) return std::nullopt;
  m_trace.flush();
  const bool traced = static_cast<bool>(m_trace);
  m_trace.close();
  if (!traced || !writeFile(m_partial / kReportFile, report) ||
      !writeFile(m_partial / kRecordFile, record)) {
    m_error = "cannot write the run's files in " + m_partial.string();
    discard();
    return std::nullopt;
  }
  std::error_code ec;
  for (int n = 1; n < 1000; ++n) {
    const fs::path target = m_runs / (n == 1 ? m_name : m_name + "-" + std::to_string(n));
    if (fs::exists(target, ec)) continue;
    fs::rename(m_partial, target, ec);
    if (ec) break;
    m_done = true;
    return target;
  }
  m_error = "cannot put the run in place in " + m_runs.string();
  discard();
  return std::nullopt;
}

}  // namespace velmoria::report
