#pragma once
// The button map's integer values from QSettings("Korvelan", "dgcontroller"): the registry
// key on Windows, ~/.config/Korvelan/dgcontroller.conf (INI, keys under [General]) elsewhere.
// Read only; the file is never written or created. UI thread, at main-window creation.
#include <QSettings>

#include "media/key_value_store.h"

namespace velmoria {

class QtSettingsStore : public KeyValueStore {
 public:
  QtSettingsStore();
  // A value that is missing or not a whole number in 32 bits (signed, or unsigned as a
  // registry DWORD, which reads back as its signed bit pattern) is nullopt.
  std::optional<int32_t> readInt(const std::string& name) const override;

 private:
  QSettings m_settings;
};

}  // namespace velmoria
