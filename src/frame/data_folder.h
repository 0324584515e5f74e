#pragma once
// The data folder a run reads from. Data files name files Windows-style ("image\atsp.bmp"),
// relative to the folder and case-insensitive; resolve() turns such a name into a real path.
#include <filesystem>
#include <string_view>

namespace velmoria {

class DataFolder {
 public:
  explicit DataFolder(std::filesystem::path root) : m_root(std::move(root)) {}
  const std::filesystem::path& root() const { return m_root; }

  // Backslashes become separators; each component that does not exist as written is matched
  // case-insensitively (ASCII) against the folder's entries. A name that matches nothing is
  // returned as written, so that opening it fails in the usual way.
  std::filesystem::path resolve(std::string_view windowsName) const;

 private:
  std::filesystem::path m_root;
};

}  // namespace velmoria
