#include "frontend/display_settings_qt.h"

namespace velmoria {

namespace {
const char* const kZoom = "display/zoom";
const char* const kFullscreen = "display/fullscreen";
const char* const kSmoothMotion = "display/smoothMotion";

bool readBool(const QSettings& settings, const char* key, bool fallback) {
  const QString text = settings.value(key).toString().trimmed().toLower();
  if (text == "true" || text == "1") return true;
  if (text == "false" || text == "0") return false;
  return fallback;
}
}  // namespace

DisplayOptions readDisplayOptions(const QSettings& settings) {
  DisplayOptions options;
  if (const auto zoom = parseZoom(settings.value(kZoom).toString().trimmed().toStdString()))
    options.zoom = *zoom;
  options.fullscreen = readBool(settings, kFullscreen, options.fullscreen);
  options.smoothMotion = readBool(settings, kSmoothMotion, options.smoothMotion);
  return options;
}

void writeDisplayOptions(QSettings& settings, const DisplayOptions& options) {
  settings.setValue(kZoom, QString::fromStdString(zoomName(options.zoom)));
  settings.setValue(kFullscreen, options.fullscreen);
  settings.setValue(kSmoothMotion, options.smoothMotion);
  settings.sync();
}

}  // namespace velmoria
