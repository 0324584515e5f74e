#pragma once
// Reading a file named by the data whole. Called on the UI thread during start-up (data files,
// pictures, the button map) and by velmoria-drive; the bytes belong to the caller.
#include <filesystem>
#include <optional>
#include <string>

namespace velmoria {

// The bytes of a regular file, or nullopt when it is missing, is not a regular file or fails
// while being read. A FIFO or a device named as a data file would block start-up or never end,
// and a failing disk (or /proc/self/mem) makes the read throw: each of them is a file that
// cannot be read, like a missing one.
std::optional<std::string> readFileBytes(const std::filesystem::path& file);

// True for an existing regular file (symbolic links followed).
bool isRegularFile(const std::filesystem::path& file);

}  // namespace velmoria
