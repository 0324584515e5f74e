#include "view/zoom_qt.h"

#include <algorithm>
#include <cmath>

namespace velmoria {

namespace {
// Within this much of a whole level the scale counts as that level (rounding of the window's
// size by the window manager).
constexpr double kLevelSlack = 0.02;
}  // namespace

std::optional<Zoom> parseZoom(std::string_view text) {
  if (text == "1") return Zoom::One;
  if (text == "2") return Zoom::Two;
  if (text == "3") return Zoom::Three;
  if (text == "fit") return Zoom::Fit;
  return std::nullopt;
}

std::string zoomName(Zoom zoom) {
  return zoom == Zoom::Fit ? "fit" : std::to_string(static_cast<int>(zoom));
}

double fitScale(QSize area, QSize design) {
  if (area.isEmpty() || design.isEmpty()) return 0.0;
  return std::min(static_cast<double>(area.width()) / design.width(),
                  static_cast<double>(area.height()) / design.height());
}

QRect letterbox(QSize area, QSize design) {
  const double s = fitScale(area, design);
  const QSize size(std::min(area.width(), static_cast<int>(std::lround(design.width() * s))),
                   std::min(area.height(), static_cast<int>(std::lround(design.height() * s))));
  return {QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2), size};
}

QSize zoomedSize(Zoom zoom, QSize design) {
  const int level = zoom == Zoom::Fit ? 1 : static_cast<int>(zoom);
  return design * level;
}

Zoom zoomIn(double scale) {
  const int level = static_cast<int>(std::floor(scale + kLevelSlack)) + 1;
  return static_cast<Zoom>(std::clamp(level, 1, 3));
}

Zoom zoomOut(double scale) {
  const int level = static_cast<int>(std::ceil(scale - kLevelSlack)) - 1;
  return static_cast<Zoom>(std::clamp(level, 1, 3));
}

}  // namespace velmoria
