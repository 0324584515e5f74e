#include "frame/data_folder.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <system_error>

namespace velmoria {

namespace {
bool sameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}
}  // namespace

std::filesystem::path DataFolder::resolve(std::string_view windowsName) const {
  std::string name(windowsName);
  std::replace(name.begin(), name.end(), '\\', '/');
  const std::filesystem::path relative(name);
  if (relative.is_absolute()) return relative;

  std::filesystem::path current = m_root;
  std::error_code ec;
  for (const auto& part : relative) {
    const std::string wanted = part.string();
    if (wanted.empty() || wanted == ".") continue;
    std::filesystem::path next = current / part;
    if (!std::filesystem::exists(next, ec) && std::filesystem::is_directory(current, ec)) {
      for (const auto& entry : std::filesystem::directory_iterator(current, ec)) {
        if (sameIgnoringCase(entry.path().filename().string(), wanted)) {
          next = entry.path();
          break;
        }
      }
    }
    current = next;
  }
  return current;
}

}  // namespace velmoria
