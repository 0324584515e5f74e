#include "frontend/window_placement_qt.h"

#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace velmoria {

namespace {
// `value` moved so that the span of `length` from it lies within [low, high); `low` when the
// span is longer than that.
int clampSpan(int value, int length, int low, int high) {
  return std::max(low, std::min(value, high - length));
}
}  // namespace

QPoint placeBeside(const QRect& anchor, const QSize& frame, const QRect& screen, Align align) {
  const int screenRight = screen.left() + screen.width();
  const int screenBottom = screen.top() + screen.height();
  const auto x = [&](int value) {
    return clampSpan(value, frame.width(), screen.left(), screenRight);
  };
  const int beside = clampSpan(
      align == Align::Top ? anchor.top() : anchor.top() + anchor.height() - frame.height(),
      frame.height(), screen.top(), screenBottom);
  const QPoint candidates[] = {
      {anchor.left() + anchor.width(), beside},            // right
      {anchor.left() - frame.width(), beside},             // left
      {x(anchor.left()), anchor.top() + anchor.height()},  // below
      {x(anchor.left()), anchor.top() - frame.height()},   // above
  };
  for (const QPoint& at : candidates)
    if (screen.contains(QRect(at, frame))) return at;
  return {x(anchor.left() + anchor.width()), beside};
}

void presentBeside(QWidget* window, QWidget* anchor, Align align) {
  QWidget* cab = anchor ? anchor->window() : nullptr;
  if (cab) {
    // The native windows must exist for the link; creating them does not show them.
    window->winId();
    cab->winId();
    if (window->windowHandle() && cab->windowHandle())
      window->windowHandle()->setTransientParent(cab->windowHandle());
  }
  if (cab && !window->isVisible()) {
    // The window's own frame is not known before it is shown: take the cab's.
    const QRect outer = cab->frameGeometry();
    const QRect inner = cab->geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    const QScreen* screen = cab->screen() ? cab->screen() : QGuiApplication::primaryScreen();
    const QSize size = window->size().grownBy(frame);
    const QRect area = screen ? screen->availableGeometry() : QRect(outer.topLeft(), size);
    // The client rectangle, not move(): the native window exists already, so Qt would take
    // the frame's corner for the client's.
    const QPoint at = placeBeside(outer, size, area, align);
    window->setGeometry(QRect(at + QPoint(frame.left(), frame.top()), window->size()));
  }
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace velmoria
