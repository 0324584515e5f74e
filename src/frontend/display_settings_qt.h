#pragma once
// The display choices (zoom, fullscreen, smooth motion) remembered between sessions, in
// QSettings("Velmoria", "velmoria"): $XDG_CONFIG_HOME/Velmoria/velmoria.conf (~/.config when
// unset), group [display]. A value that is missing or not understood reads as the default.
// UI thread.
#include <QSettings>

#include "view/zoom_qt.h"

namespace velmoria {

DisplayOptions readDisplayOptions(const QSettings& settings);
void writeDisplayOptions(QSettings& settings, const DisplayOptions& options);

}  // namespace velmoria
