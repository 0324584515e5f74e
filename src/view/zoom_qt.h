#pragma once
// How large the cab is drawn. The cab keeps its 640 x 440 layout and is scaled to the window:
// 1x, 2x and 3x give the window that multiple of the layout, "fit" leaves the window its size
// (maximised when the cab opens), fullscreen covers the screen; in every case the cab takes
// the largest size of its own shape the window holds, centred on black (letterboxed).
// Pure functions over sizes; UI thread.
#include <QRect>
#include <QSize>
#include <optional>
#include <string>
#include <string_view>

namespace velmoria {

// The cab window's client area as it was designed; every position of the cab is in it.
inline constexpr QSize kCabDesign(640, 440);

enum class Zoom { One = 1, Two = 2, Three = 3, Fit = 0 };

// The desktop program's display choices, remembered between sessions.
struct DisplayOptions {
  Zoom zoom = Zoom::One;
  bool fullscreen = false;
  bool smoothMotion = true;  // frames blended while slower than the line was filmed
};

// "1", "2", "3" or "fit" (the --zoom option and the remembered setting).
std::optional<Zoom> parseZoom(std::string_view text);
std::string zoomName(Zoom zoom);

// The largest scale at which `design` fits into `area` with its shape kept; 0 for an empty
// area.
double fitScale(QSize area, QSize design);
// The rectangle of `design` times fitScale, centred in `area`.
QRect letterbox(QSize area, QSize design);

// The window size a zoom level asks for (the cab's part of it): the design times the level.
QSize zoomedSize(Zoom zoom, QSize design);
// Ctrl+Plus and Ctrl+Minus: the next whole level above or below the scale shown now, within
// 1x to 3x.
Zoom zoomIn(double scale);
Zoom zoomOut(double scale);

}  // namespace velmoria
