// velmoria-drive: one run of Velmoria without windows, in virtual time. See --help.
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "drive_session.h"
#include "frame/startup_error.h"
#include "ini_settings.h"
#include "options.h"
#include "replay/script.h"
#include "report/report_json.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitIo = 1;
constexpr int kExitStartup = 2;
constexpr int kExitNotArrived = 3;
constexpr int kExitUsage = 64;

}  // namespace

int main(int argc, char** argv) {
  using namespace velmoria;
  using namespace velmoria::drive;
  std::ios::sync_with_stdio(false);

  const auto parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options) {
    std::cerr << "velmoria-drive: " << parsed.error << '\n' << usageLine() << '\n';
    return kExitUsage;
  }
  const DriveOptions& options = *parsed.options;
  if (options.help) {
    std::cout << helpText();
    return kExitOk;
  }

  Script script;
  if (options.scriptFile) {
    std::ifstream in(*options.scriptFile);
    if (!in) {
      std::cerr << "velmoria-drive: cannot read the script " << *options.scriptFile << '\n';
      return kExitIo;
    }
    auto result = parseScript(in);
    if (in.bad()) {
      std::cerr << "velmoria-drive: cannot read the script " << *options.scriptFile << '\n';
      return kExitIo;
    }
    if (!result.script) {
      std::cerr << *options.scriptFile << ':' << result.error->line << ": " << result.error->message
                << '\n';
      return kExitUsage;
    }
    script = std::move(*result.script);
  }

  const IniSettings buttons = IniSettings::fromFile(defaultButtonMapFile());
  std::unique_ptr<DriveSession> session;
  try {
    // VELMORIA_DRIVE_LOG=1 logs the autopilot's decisions on standard error, 2 its predictions.
    const char* logLevel = std::getenv("VELMORIA_DRIVE_LOG");
    const bool log = logLevel && *logLevel && *logLevel != '0';
    session = std::make_unique<DriveSession>(options, std::move(script), &buttons, nullptr,
                                             log ? &std::cerr : nullptr,
                                             log && std::string(logLevel) == "2");
  } catch (const StartupError& e) {
    std::cerr << e.what() << '\n';
    return kExitStartup;
  }
  if (const auto bad = session->checkScript()) {
    std::cerr << *options.scriptFile << ':' << bad->line << ": " << bad->message << '\n';
    return kExitUsage;
  }

  // Outputs are opened only once the run and its script are known to be good: a refused run
  // leaves an earlier trace or record as it was.
  std::ofstream traceFile;
  std::ostream* trace = nullptr;
  if (options.traceFile) {
    if (*options.traceFile == "-") {
      trace = &std::cout;
    } else {
      traceFile.open(*options.traceFile, std::ios::binary | std::ios::trunc);
      if (!traceFile) {
        std::cerr << "velmoria-drive: cannot write the trace " << *options.traceFile << '\n';
        return kExitIo;
      }
      trace = &traceFile;
    }
  }
  std::ofstream recordFile;
  if (options.recordFile) {
    recordFile.open(*options.recordFile, std::ios::binary | std::ios::trunc);
    if (!recordFile) {
      std::cerr << "velmoria-drive: cannot write the record " << *options.recordFile << '\n';
      return kExitIo;
    }
  }
  std::ofstream reportFile;
  if (options.reportFile) {
    reportFile.open(*options.reportFile, std::ios::binary | std::ios::trunc);
    if (!reportFile) {
      std::cerr << "velmoria-drive: cannot write the report " << *options.reportFile << '\n';
      return kExitIo;
    }
  }
  std::ostream& summary = trace == &std::cout ? std::cerr : std::cout;
  session->setTrace(trace);
  if (options.recordFile) session->record(&recordFile);
  const DriveEnd end = session->drive();
  session->meter().printSummary(summary, end.timeMs, end.terminus);
  if (trace) trace->flush();
  if (trace && !*trace) {
    std::cerr << "velmoria-drive: writing the trace failed\n";
    return kExitIo;
  }
  if (options.recordFile && !recordFile.flush()) {
    std::cerr << "velmoria-drive: writing the record failed\n";
    return kExitIo;
  }
  if (options.reportFile) {
    reportFile << report::reportJson(*session->report());
    if (!reportFile.flush()) {
      std::cerr << "velmoria-drive: writing the report failed\n";
      return kExitIo;
    }
  }
  if (end.gaveUp) {
    std::cerr
        << "velmoria-drive: the autopilot cannot bring the train to its next stop; it gave up\n";
    return kExitNotArrived;
  }
  if (options.untilTerminus && !end.terminus) return kExitNotArrived;
  return kExitOk;
}
