#pragma once
// The strings-and-keys file reader (korvelan.dat). Called once by the start-up on the UI thread,
// after the route file. Every value is a text line; nothing converts, so only a file that cannot
// be opened fails.
#include <string_view>

#include "frame/data_folder.h"
#include "frame/section_walker.h"
#include "frame/strings_file.h"

namespace velmoria {

constexpr std::string_view kStringsFileName = "korvelan.dat";

// Throws StartupError "stringファイルに誤りがあります" when the file cannot be read.
Strings readStringsFile(const DataFolder& folder, std::string_view name, ReaderContext& context);

}  // namespace velmoria
