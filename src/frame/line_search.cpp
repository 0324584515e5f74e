#include "frame/line_search.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string_view>
#include <system_error>

#include "frame/file_bytes.h"
#include "frame/section_walker.h"
#include "frame/text.h"

namespace velmoria {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kLinesBelowData = "velmoria/lines";

// An XDG variable's folder: set, not empty and absolute, else nullopt.
std::optional<fs::path> absoluteFolder(const std::optional<std::string>& value) {
  if (!value || value->empty()) return std::nullopt;
  fs::path folder(*value);
  if (!folder.is_absolute()) return std::nullopt;
  return folder;
}

std::optional<fs::path> userDataFolder(const EnvironmentLookup& env) {
  if (auto home = absoluteFolder(env("XDG_DATA_HOME"))) return home;
  if (auto home = absoluteFolder(env("HOME"))) return *home / ".local" / "share";
  return std::nullopt;
}

std::vector<fs::path> systemDataFolders(const EnvironmentLookup& env) {
  std::string list = env("XDG_DATA_DIRS").value_or("");
  if (list.empty()) list = "/usr/local/share:/usr/share";
  std::vector<fs::path> folders;
  size_t begin = 0;
  while (begin <= list.size()) {
    const size_t end = std::min(list.find(':', begin), list.size());
    if (auto folder = absoluteFolder(list.substr(begin, end - begin))) folders.push_back(*folder);
    begin = end + 1;
  }
  return folders;
}

// The same folder written differently ("/usr/share/" and "/usr/share") is one folder.
fs::path normalised(const fs::path& folder) {
  fs::path tidy = folder.lexically_normal();
  if (!tidy.has_filename() && tidy.has_parent_path() && tidy != tidy.root_path())
    tidy = tidy.parent_path();
  return tidy;
}

// The subfolders of one lines folder that are lines, sorted by name.
std::vector<fs::path> linesIn(const fs::path& folder) {
  std::vector<fs::path> found;
  std::error_code ec;
  fs::directory_iterator it(folder, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    const fs::path path = it->path();
    const std::string name = path.filename().string();
    if (name.empty() || name.front() == '.') continue;
    std::error_code kind;
    if (fs::is_directory(path, kind) && isLine(path)) found.push_back(path);
  }
  std::sort(found.begin(), found.end(),
            [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
  return found;
}

}  // namespace

EnvironmentLookup processEnvironment() {
  return [](const char* name) -> std::optional<std::string> {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
  };
}

std::vector<fs::path> lineFolders(const EnvironmentLookup& env) {
  std::vector<fs::path> bases;
  if (auto user = userDataFolder(env)) bases.push_back(*user);
  for (const auto& folder : systemDataFolders(env)) bases.push_back(folder);
  std::vector<fs::path> folders;
  for (const auto& base : bases) {
    const fs::path folder = normalised(base / kLinesBelowData);
    if (std::find(folders.begin(), folders.end(), folder) == folders.end())
      folders.push_back(folder);
  }
  return folders;
}

fs::path userLineFolder(const EnvironmentLookup& env) {
  if (auto user = userDataFolder(env)) return normalised(*user / kLinesBelowData);
  return {};
}

bool isLine(const fs::path& folder) {
  return isRegularFile(folder / "korvelan.dat");
}

std::vector<fs::path> findLines(const std::vector<fs::path>& folders) {
  std::vector<fs::path> lines;
  std::set<fs::path> names, reached;
  for (const auto& folder : folders) {
    for (const auto& line : linesIn(folder)) {
      std::error_code ec;
      const fs::path real = fs::canonical(line, ec);
      if (names.count(line.filename()) || (!ec && reached.count(real))) continue;
      names.insert(line.filename());
      if (!ec) reached.insert(real);
      lines.push_back(line);
    }
  }
  return lines;
}

StartChoice chooseStart(const std::optional<fs::path>& dataOption, const fs::path& current,
                        const std::vector<fs::path>& lines) {
  StartChoice choice;
  if (dataOption) {
    choice.folder = *dataOption;
  } else if (isLine(current) || lines.empty()) {
    // No line anywhere: the current folder is where the program looked, and where it says it
    // looked should the driver decline the demo line.
    choice.folder = current;
    if (!isLine(current)) choice.kind = StartChoice::Kind::OfferDemo;
  } else if (lines.size() == 1) {
    choice.folder = lines.front();
  } else {
    choice.kind = StartChoice::Kind::Choose;
    choice.lines = lines;
  }
  return choice;
}

std::optional<std::string> routeLineName(const fs::path& routeFile) {
  const auto lines = readTextLines(routeFile);
  if (!lines) return std::nullopt;
  for (size_t i = 0; i + 1 < lines->size(); ++i)
    if (headerMatches((*lines)[i], "[LineName]")) return (*lines)[i + 1];
  return std::nullopt;
}

}  // namespace velmoria
