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
  const int screenEnd = screen.left() + screen.width();
  const int right = anchor.left() + anchor.width();
  const int left = anchor.left() - frame.width();
  int x = right;
  if (right + frame.width() > screenEnd) x = left >= screen.left() ? left : screenEnd;
  x = clampSpan(x, frame.width(), screen.left(), screenEnd);
  const int y =
      align == Align::Top ? anchor.top() : anchor.top() + anchor.height() - frame.height();
  return {x, clampSpan(y, frame.height(), screen.top(), screen.top() + screen.height())};
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
    window->move(placeBeside(outer, size, area, align));
  }
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace velmoria
