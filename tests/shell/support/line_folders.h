#pragma once
// Lines for the tests of the line search, the chooser and the first start: a private home
// with its own XDG data folders, lines made in them, and a stand-in for the demo generator
// (a shell script) that writes a copy of the test data folder as the real one writes its line.
#include <QImage>
#include <QString>
#include <filesystem>
#include <map>
#include <string>

#include "frame/line_search.h"
#include "frontend/demo_generation_qt.h"

namespace velmoria::test {

class LineHome {
 public:
  LineHome();
  ~LineHome();
  LineHome(const LineHome&) = delete;
  LineHome& operator=(const LineHome&) = delete;

  const std::filesystem::path& root() const { return m_root; }
  std::filesystem::path userLines() const { return m_root / "home/velmoria/lines"; }
  std::filesystem::path systemLines() const { return m_root / "system/velmoria/lines"; }
  std::filesystem::path current() const { return m_root / "current"; }
  // XDG_DATA_HOME = root/home, XDG_DATA_DIRS = root/system.
  EnvironmentLookup environment() const;

  struct Line {
    std::string readme;                        // readme.html as written (empty: none)
    QImage picture;                            // image/title/01.jpg (null: none)
    std::map<std::string, std::string> files;  // more files, UTF-8 written as Shift-JIS
  };
  // Makes a line (korvelan.dat and the given files) and returns its folder.
  std::filesystem::path makeLine(const std::filesystem::path& folder, const Line& line);

  // A generator that prints its progress lines, copies `copyFrom` into its --out folder and
  // ends with `exitCode`; `sleepSeconds` > 0 waits before copying (to be cancelled).
  GeneratorCommand fakeGenerator(const std::filesystem::path& copyFrom, int exitCode = 0,
                                 int sleepSeconds = 0, const std::string& error = "");

  // Every file and folder under root, relative to it (for "nothing written elsewhere").
  std::vector<std::string> contents(const std::filesystem::path& under) const;

 private:
  std::filesystem::path m_root;
  int m_scripts = 0;
};

// A title picture of the given colour, 640 x 480.
QImage titlePicture(Qt::GlobalColor colour);

}  // namespace velmoria::test
