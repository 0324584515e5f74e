#include "run/track_video.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <system_error>

namespace velmoria {

std::filesystem::path trackVideoFile(const DataFolder& folder, std::string_view aviName) {
  const std::filesystem::path avi = folder.resolve(aviName);
  std::error_code ec;
  if (std::filesystem::exists(avi, ec)) return avi;
  std::string stem(aviName);
  const auto isAvi = [](std::string_view s) {
    return s.size() >= 4 && std::equal(s.end() - 4, s.end(), ".avi", [](char a, char b) {
             return std::tolower(static_cast<unsigned char>(a)) == b;
           });
  };
  if (!isAvi(stem)) return avi;
  stem.resize(stem.size() - 4);
  for (std::string_view ext : kOtherVideoExtensions) {
    const std::filesystem::path other = folder.resolve(stem + std::string(ext));
    if (std::filesystem::exists(other, ec)) return other;
  }
  return avi;
}

}  // namespace velmoria
