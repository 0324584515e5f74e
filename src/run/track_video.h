#pragma once
// Which file is the track video. The data name the video by its AVI name ([Path] + [DataName] +
// ".avi", the branch switch's move\tavo.avi and move\selo.avi); where that file does not exist,
// the same name with .mp4, .mkv or .webm is the video, so that a line filmed with today's
// cameras plays without being converted. Resolved in the data folder as every data file name
// is (backslashes, any letter case). Called at the creation of a run and at the branch switch.
#include <array>
#include <filesystem>
#include <string_view>

#include "frame/data_folder.h"

namespace velmoria {

// Tried in this order after the AVI name.
constexpr std::array<std::string_view, 3> kOtherVideoExtensions = {".mp4", ".mkv", ".webm"};

// aviName ends in ".avi" (any case); the resolved AVI when it exists, else the first other
// that does, else the resolved AVI (opening it then fails as a missing video does).
std::filesystem::path trackVideoFile(const DataFolder& folder, std::string_view aviName);

}  // namespace velmoria
