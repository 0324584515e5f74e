#include "frame/file_bytes.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace velmoria {

bool isRegularFile(const std::filesystem::path& file) {
  std::error_code ec;
  return std::filesystem::is_regular_file(file, ec);
}

std::optional<std::string> readFileBytes(const std::filesystem::path& file) {
  if (!isRegularFile(file)) return std::nullopt;
  try {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    // The stream buffer throws std::ios_failure when read(2) fails, whatever the stream's
    // exception mask says.
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace velmoria
