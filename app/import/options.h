#pragma once
// Command-line options of velmoria-import. parseOptions does no file access.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmoria::import {

struct ImportOptions {
  std::filesystem::path video, track, out;
  std::filesystem::path vehicleFrom;  // empty: the demo line ($VELMORIA_DEMO, else ./demo)
  std::string name;
  std::optional<double> offset;  // s from the track's first fix to the video's first frame
  std::optional<bool> reencode;  // unset: asked on a terminal when jumps are slow, else no
  bool copyVideo = false;
  bool help = false;
};

struct OptionsResult {
  std::optional<ImportOptions> options;
  std::string error;
};

OptionsResult parseOptions(const std::vector<std::string>& args);

std::string usageLine();
std::string helpText();

}  // namespace velmoria::import
