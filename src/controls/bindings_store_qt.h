#pragma once
// Where the driver's own keys and pad bindings are kept: "Velmoria/controls.conf" under the
// XDG config folder ($XDG_CONFIG_HOME, else ~/.config), an INI file of the settings text of
// bindings.h. Read when the program starts, written when the Controls dialog is accepted;
// nothing is written while the driver has changed nothing. UI thread.
#include <QString>

#include "controls/bindings.h"

namespace velmoria::controls {

// The file's path for the current environment.
QString bindingsFile();
// The saved bindings; the defaults where the file or an entry is missing or names nothing.
Bindings loadBindings(const QString& file = bindingsFile());
// False when the file could not be written (a read-only or full config folder).
bool saveBindings(const Bindings& bindings, const QString& file = bindingsFile());

}  // namespace velmoria::controls
