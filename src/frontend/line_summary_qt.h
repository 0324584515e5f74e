#pragma once
// What the line chooser shows of a line: its name, its title picture and the runs it offers.
// Read from the line's own files when the chooser opens (UI thread); a file that is missing or
// does not read leaves its part out, never fails.
#include <QImage>
#include <QString>
#include <filesystem>
#include <vector>

namespace velmoria {

struct RunSummary {
  int run = 0;   // 1 to 6, the title window's button
  QString name;  // the route's [LineName], else its file name
};

struct LineSummary {
  std::filesystem::path folder;
  QString name;    // the first heading (else the title) of readme.html, else the folder's name
  QImage picture;  // image\title\01.jpg; null when it does not load
  std::vector<RunSummary> runs;  // the runs whose vehicle and route files are both there
};

LineSummary describeLine(const std::filesystem::path& folder);

// The name a line's readme.html gives it (UTF-8 or Shift-JIS), or an empty text.
QString readmeLineName(const std::filesystem::path& readme);

}  // namespace velmoria
