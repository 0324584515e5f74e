#pragma once
// The fixture folder (tests/data) under another route name, as links, with whatever a test
// edits or adds. The branch switch looks at the route's name. Removed with the object.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace velmoria::drive {

class FixtureCopy {
 public:
  explicit FixtureCopy(const std::string& routeName) {
    namespace fs = std::filesystem;
    m_dir = fs::temp_directory_path() /
            ("velmoria_drive_" + std::to_string(::getpid()) + "_" + routeName);
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
    for (const auto& e : fs::directory_iterator(VELMORIA_TEST_DATA)) {
      if (e.path().filename() == "line_test.dat")
        fs::copy_file(e.path(), m_dir / routeName);
      else
        fs::create_symlink(e.path(), m_dir / e.path().filename());
    }
  }
  ~FixtureCopy() { std::filesystem::remove_all(m_dir); }
  // Puts an edited copy of a data file in place of its link: `to` instead of `from` (bytes).
  void edit(const std::string& file, const std::string& from, const std::string& to) const {
    std::ifstream in(m_dir / file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    std::filesystem::remove(m_dir / file);
    std::ofstream(m_dir / file, std::ios::binary) << text;
  }
  const std::filesystem::path& dir() const { return m_dir; }
  void write(const std::string& file, const std::string& bytes) const {
    std::ofstream(m_dir / file, std::ios::binary) << bytes;
  }

 private:
  std::filesystem::path m_dir;
};

}  // namespace velmoria::drive
