#pragma once
// The button map as the desktop program's QSettings("Korvelan", "dgcontroller") keeps it on
// Linux: an INI file, top-level keys under [General]. velmoria-drive cannot link Qt, so it reads
// the few integer keys itself. Read once at start-up; owned by the caller.
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "media/key_value_store.h"

namespace velmoria::drive {

class IniSettings : public KeyValueStore {
 public:
  // An unreadable file gives an empty store (the map then keeps its values).
  static IniSettings fromFile(const std::filesystem::path& file);
  static IniSettings fromText(const std::string& text);
  std::optional<int32_t> readInt(const std::string& name) const override;

 private:
  std::map<std::string, std::string> m_values;  // "Section/key" except for [General]
};

// $XDG_CONFIG_HOME/Korvelan/dgcontroller.conf, or ~/.config/... ; empty when neither is set.
std::filesystem::path defaultButtonMapFile();

}  // namespace velmoria::drive
