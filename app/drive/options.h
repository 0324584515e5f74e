#pragma once
// Command-line options of velmoria-drive. parseOptions is called once by main(); it does no
// file access, so every check that needs the data folder happens later, at start-up.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmoria::drive {

struct DriveOptions {
  std::string dataDir = ".";  // the data folder; file names in data files resolve against it
  std::string vehicleFile;    // as the title window records it ("train_201.dat")
  std::string routeFile;
  std::optional<std::string> scriptFile;
  bool autopilot = false;
  std::optional<std::string> traceFile;   // "-" writes the trace to standard output
  std::optional<std::string> recordFile;  // the run's inputs written back as a script
  std::optional<std::string> reportFile;  // the run report as JSON
  std::optional<int64_t> untilMs;         // end of the run in virtual milliseconds
  bool untilTerminus = false;
  std::optional<int32_t> frames;  // frame count of the track video, overriding the file's
  bool help = false;
};

struct OptionsResult {
  std::optional<DriveOptions> options;  // empty when the arguments are bad
  std::string error;                    // what was wrong, for the usage message
};

OptionsResult parseOptions(const std::vector<std::string>& args);

// "0.1" -> 100; whole milliseconds, at most three decimals, never negative.
std::optional<int64_t> parseSecondsToMs(const std::string& text);

// One usage line, and the full --help text.
std::string usageLine();
std::string helpText();

}  // namespace velmoria::drive
