#pragma once
// Where the desktop program's companions lie, found from the program's own folder, so that a
// tree installed into any prefix (and the build tree) finds them without a path written in at
// build time. Called once in main().
#include <filesystem>
#include <optional>
#include <vector>

namespace velmoria {

// The demo line generator's places, in the order they are tried: beside an installed program
// (PREFIX/libexec/velmoria), then, for a program in its build tree (build/PRESET/app/desktop,
// with build/PRESET/CMakeCache.txt), that tree's build/PRESET/tools/demo.
std::vector<std::filesystem::path> demoGeneratorCandidates(
    const std::filesystem::path& programFolder);
// The first candidate that is an executable file.
std::optional<std::filesystem::path> findDemoGenerator(const std::filesystem::path& programFolder);

}  // namespace velmoria
