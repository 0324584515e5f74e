#pragma once
// Read-only named integer settings (the button map). The desktop backend is QSettings;
// tests and velmoria-drive use a map or an INI file.
#include <cstdint>
#include <optional>
#include <string>

namespace velmoria {

class KeyValueStore {
 public:
  virtual ~KeyValueStore() = default;
  // The value stored under name when it exists and is an integer.
  virtual std::optional<int32_t> readInt(const std::string& name) const = 0;
};

}  // namespace velmoria
