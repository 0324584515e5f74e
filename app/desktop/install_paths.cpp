#include "desktop/install_paths.h"

#include <unistd.h>

#include "install_layout.h"

namespace velmoria {

namespace fs = std::filesystem;

std::vector<fs::path> demoGeneratorCandidates(const fs::path& programFolder) {
  std::vector<fs::path> candidates{
      (programFolder / kProgramToLibexec / "velmoria-demo-gen").lexically_normal()};
  // Only a build tree (the one with CMakeCache.txt) is searched for its own generator: an
  // installed program never runs whatever lies two folders above it.
  const fs::path build = (programFolder / "../..").lexically_normal();
  std::error_code ec;
  if (fs::is_regular_file(build / "CMakeCache.txt", ec))
    candidates.push_back(build / "tools/demo/velmoria-demo-gen");
  return candidates;
}

std::optional<fs::path> findDemoGenerator(const fs::path& programFolder) {
  for (const auto& candidate : demoGeneratorCandidates(programFolder)) {
    std::error_code ec;
    if (fs::is_regular_file(candidate, ec) && ::access(candidate.c_str(), X_OK) == 0)
      return candidate;
  }
  return std::nullopt;
}

}  // namespace velmoria
