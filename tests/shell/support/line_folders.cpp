#include "support/line_folders.h"

#include <unistd.h>
#include <atomic>
#include <fstream>

#include "support/data_files.h"

namespace velmoria::test {

namespace fs = std::filesystem;

LineHome::LineHome() {
  static std::atomic<int> counter{0};
  m_root = fs::temp_directory_path() /
           ("velmoria-lines-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(m_root);
  fs::create_directories(m_root / "home");
  fs::create_directories(m_root / "system");
  fs::create_directories(current());
}

LineHome::~LineHome() {
  std::error_code ec;
  fs::remove_all(m_root, ec);
}

EnvironmentLookup LineHome::environment() const {
  const std::string home = (m_root / "home").string(), system = (m_root / "system").string();
  return [home, system](const char* name) -> std::optional<std::string> {
    if (std::string(name) == "XDG_DATA_HOME") return home;
    if (std::string(name) == "XDG_DATA_DIRS") return system;
    if (std::string(name) == "HOME") return "/nonexistent";
    return std::nullopt;
  };
}

fs::path LineHome::makeLine(const fs::path& folder, const Line& line) {
  fs::create_directories(folder);
  std::ofstream(folder / "korvelan.dat", std::ios::binary) << "[Path]\r\nmove\\\r\n";
  if (!line.readme.empty()) std::ofstream(folder / "readme.html", std::ios::binary) << line.readme;
  if (!line.picture.isNull()) {
    fs::create_directories(folder / "image" / "title");
    line.picture.save(QString::fromStdString((folder / "image/title/01.jpg").string()), "JPG");
  }
  for (const auto& [name, text] : line.files) {
    fs::create_directories((folder / name).parent_path());
    std::string bytes = toCp932(text);
    std::string crlf;
    for (char c : bytes) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    std::ofstream(folder / name, std::ios::binary) << crlf;
  }
  return folder;
}

GeneratorCommand LineHome::fakeGenerator(const fs::path& copyFrom, int exitCode, int sleepSeconds,
                                         const std::string& error) {
  const fs::path script = m_root / ("generator-" + std::to_string(m_scripts++) + ".sh");
  std::ofstream out(script);
  out << "out=\"\"; lines=no\n"
         "while [ $# -gt 0 ]; do\n"
         "  case \"$1\" in --out) out=\"$2\"; shift;; --progress-lines) lines=yes;; esac\n"
         "  shift\n"
         "done\n"
         "[ \"$lines\" = yes ] || { echo 'no --progress-lines' >&2; exit 9; }\n"
         "printf '%s\\n' 'progress 0 line'\n"
         "printf '%s\\n' 'velmoria-demo-gen: line' >&2\n"
         "printf '%s\\n' 'progress 37 move\\tavo.avi'\n";
  if (sleepSeconds > 0) out << "sleep " << sleepSeconds << "\n";
  out << "cp -R '" << copyFrom.string() << "/.' \"$out\"/\n";
  if (!error.empty()) out << "printf '%s\\n' '" << error << "' >&2\n";
  if (exitCode == 0) out << "printf '%s\\n' 'progress 100 done'\n";
  out << "exit " << exitCode << "\n";
  out.close();
  return GeneratorCommand{"/bin/sh", {QString::fromStdString(script.string())}};
}

std::vector<std::string> LineHome::contents(const fs::path& under) const {
  std::vector<std::string> found;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(under, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
    found.push_back(fs::relative(it->path(), under).string());
  std::sort(found.begin(), found.end());
  return found;
}

QImage titlePicture(Qt::GlobalColor colour) {
  QImage picture(640, 480, QImage::Format_RGB32);
  picture.fill(colour);
  return picture;
}

}  // namespace velmoria::test
