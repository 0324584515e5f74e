#pragma once
// Where the value display and the help window open: beside the cab window, wholly on its
// screen, above it. The cab window is application-modal, so a window it does not own would be
// blocked (no keys reach it) and a window manager would stack it as an unrelated dialog,
// often behind the cab; presentBeside() makes the window the cab's transient first. UI thread.
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace velmoria {

// Which edge of the cab the window lines up with, left or right of it.
enum class Align { Top, Bottom };

// The top-left corner of a frame of `frame` size beside `anchor` (a frame rectangle) within
// `screen`: the first of right of the anchor, left of it (both lined up with `align`), below
// it and above it (lined up with its left edge) where the frame fits whole; when none has
// room, right of it moved back onto the screen. A frame larger than the screen starts at the
// screen's corner.
QPoint placeBeside(const QRect& anchor, const QSize& frame, const QRect& screen, Align align);

// Shows the top-level `window` above `anchor`'s window and asks for the focus (the window
// manager may refuse). A hidden window is first placed beside the anchor; a shown one stays
// where it is and is only raised. Without an anchor the window is shown where it was.
void presentBeside(QWidget* window, QWidget* anchor, Align align);

}  // namespace velmoria
