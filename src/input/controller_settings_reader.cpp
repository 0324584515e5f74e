#include "input/controller_settings_reader.h"

#include "frame/startup_error.h"
#include "frame/text.h"

namespace velmoria {

ControllerCodeTable readControllerCodes(const DataFolder& folder, std::string_view name) {
  const auto lines = readTextLines(folder.resolve(name));
  if (!lines) throw StartupError(std::string(name) + "が見つかりません");
  ControllerCodeTable codes;
  for (const auto& line : *lines) {
    if (!line.empty() && line.front() == '#') break;
    if (codes.size() == kControllerCodes) break;
    codes.push_back(line);
  }
  return codes;
}

void readButtonMap(const KeyValueStore* store, ButtonMap& map) {
  if (!store) return;
  for (size_t i = 0; i < ButtonMap::kNames.size(); ++i) {
    const auto value = store->readInt(ButtonMap::kNames[i]);
    if (!value) return;
    map.values[i] = *value;
  }
}

}  // namespace velmoria
