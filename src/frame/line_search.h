#pragma once
// Where the desktop program finds its lines. A line is a data folder: the folder that holds
// korvelan.dat with the vehicle, route and picture files beside it. Lines are installed as
// folders under velmoria/lines in the XDG data folders, the user's own ($XDG_DATA_HOME) before
// the system's ($XDG_DATA_DIRS), as the XDG base directory rules order them. Called once at
// start on the UI thread; reads folder listings only, never writes.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmoria {

// One environment variable, or nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
EnvironmentLookup processEnvironment();

// The folders that hold lines, most important first: $XDG_DATA_HOME/velmoria/lines (default
// $HOME/.local/share), then each of $XDG_DATA_DIRS (default /usr/local/share:/usr/share).
// Relative entries are ignored, as the XDG rules ask; a folder named twice is kept once.
std::vector<std::filesystem::path> lineFolders(const EnvironmentLookup& env);
// Where the user's own lines go: the first of lineFolders(), empty when neither
// XDG_DATA_HOME nor HOME gives an absolute folder.
std::filesystem::path userLineFolder(const EnvironmentLookup& env);

// True when the folder holds korvelan.dat, the file that marks a data folder.
bool isLine(const std::filesystem::path& folder);

// Every line in the given folders, in their order and by name within each. Names beginning
// with '.' are skipped (half-written folders are kept under such names). A line whose folder
// name an earlier folder already has is hidden by it, so a user's copy replaces the system's;
// a folder reached twice (through a link) counts once. Unreadable folders are skipped.
std::vector<std::filesystem::path> findLines(const std::vector<std::filesystem::path>& folders);

// What the program does at start.
struct StartChoice {
  enum class Kind {
    Open,       // open `folder` (its title window checks it and fails as it always has)
    Choose,     // several lines: let the driver choose among `lines`
    OfferDemo,  // no line at all: offer to generate the demo line
  };
  Kind kind = Kind::Open;
  std::filesystem::path folder;
  std::vector<std::filesystem::path> lines;
};

// --data DIR opens DIR whatever it holds. Without it the current folder opens when it is a
// line (the program started in its data folder, as it always could be); otherwise one line
// found opens, several are offered, and none leads to the demo offer.
StartChoice chooseStart(const std::optional<std::filesystem::path>& dataOption,
                        const std::filesystem::path& current,
                        const std::vector<std::filesystem::path>& lines);

// The [LineName] of a route file (its first line after the header), or nullopt when the file
// cannot be read or has none. Read as the route reader reads its text, without the rest.
std::optional<std::string> routeLineName(const std::filesystem::path& routeFile);

}  // namespace velmoria
