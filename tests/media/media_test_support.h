#pragma once
// Helpers of the media tests: a private temporary folder and the command-line tools (ffmpeg,
// sox, socat) that generate the test media.
#include <filesystem>
#include <string>

namespace velmoria::test {

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return m_path; }
  std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

 private:
  std::filesystem::path m_path;
};

bool haveTool(const std::string& name);
// Runs a shell command quietly; true when it exits with 0.
bool run(const std::string& command);
void writeFile(const std::filesystem::path& file, const std::string& bytes);
std::string readFile(const std::filesystem::path& file);

}  // namespace velmoria::test
