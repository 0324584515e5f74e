// The cab window on today's screens: the View menu (zoom levels, fullscreen, smooth motion),
// the window's size for a zoom level, and the cab scaled and centred in whatever size the
// window has. Display only: nothing here reaches the run.
#include <QActionGroup>
#include <QEvent>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>

#include "view/cab_window_qt.h"

namespace velmoria {

void CabWindow::buildViewMenu() {
  m_view = menuBar()->addMenu(tr("表示(&W)"));
  m_view->setObjectName("View1");
  const auto item = [this](const QString& name, const QString& caption) {
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    m_view->addAction(a);
    return a;
  };
  m_zoomIn = item("zoomIn", tr("拡大"));
  m_zoomIn->setShortcuts(
      {QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  connect(m_zoomIn, &QAction::triggered, this, &CabWindow::zoomInClick);
  m_zoomOut = item("zoomOut", tr("縮小"));
  m_zoomOut->setShortcut(QKeySequence(QKeySequence::ZoomOut));
  connect(m_zoomOut, &QAction::triggered, this, &CabWindow::zoomOutClick);
  m_view->addSeparator();
  auto* levels = new QActionGroup(this);
  const struct {
    QAction** action;
    const char* name;
    const char* caption;
    Zoom zoom;
  } zooms[] = {{&m_zoom1, "zoom1", QT_TR_NOOP("1倍 (640 × 440)"), Zoom::One},
               {&m_zoom2, "zoom2", QT_TR_NOOP("2倍"), Zoom::Two},
               {&m_zoom3, "zoom3", QT_TR_NOOP("3倍"), Zoom::Three},
               {&m_zoomFit, "zoomFit", QT_TR_NOOP("ウィンドウに合わせる"), Zoom::Fit}};
  for (const auto& z : zooms) {
    QAction* a = item(z.name, tr(z.caption));
    a->setCheckable(true);
    a->setChecked(m_display.zoom == z.zoom);
    levels->addAction(a);
    const Zoom zoom = z.zoom;
    connect(a, &QAction::triggered, this, [this, zoom] { setZoom(zoom); });
    *z.action = a;
  }
  m_zoom1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  m_view->addSeparator();
  // Plain F11 only: Shift+F11 is the run's own key (speed down by 10 km/h).
  m_fullscreen = item("fullscreen", tr("全画面"));
  m_fullscreen->setCheckable(true);
  m_fullscreen->setShortcut(QKeySequence(Qt::Key_F11));
  connect(m_fullscreen, &QAction::triggered, this, [this] { setFullscreen(!isFullScreen()); });
  m_view->addSeparator();
  m_smoothMotion = item("smoothMotion", tr("なめらかな動き"));
  m_smoothMotion->setCheckable(true);
  m_smoothMotion->setChecked(m_display.smoothMotion);
  connect(m_smoothMotion, &QAction::toggled, this, &CabWindow::setSmoothMotion);
}

bool CabWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_letterbox && event->type() == QEvent::Resize) layoutCab();
  return QMainWindow::eventFilter(watched, event);
}

void CabWindow::layoutCab() {
  const QSize area = m_letterbox->size();
  const QRect cab = letterbox(area, kCabDesign);
  if (cab.isEmpty()) return;
  m_surface->setGeometry(cab);
  const double scale = fitScale(area, kCabDesign);
  if (scale == m_scale) return;
  m_scale = scale;
  m_panel->setScale(scale);
  Q_EMIT scaleChanged(scale);
}

QWidget* CabWindow::componentAt(QPoint designPoint) const {
  // The middle of the design pixel, where it lies at this scale.
  const QPoint at(static_cast<int>((designPoint.x() + 0.5) * m_scale),
                  static_cast<int>((designPoint.y() + 0.5) * m_scale));
  QWidget* found = m_surface->childAt(at);
  // A label's or picture's own children are part of it.
  while (found && found->parentWidget() != m_surface) found = found->parentWidget();
  return found;
}

void CabWindow::sizeForZoom() {
  if (m_display.zoom == Zoom::Fit || isFullScreen()) return;
  m_letterbox->setWanted(zoomedSize(m_display.zoom, kCabDesign));
  if (layout()) layout()->invalidate();
  QSize size = sizeHint();
  const QScreen* screen = this->screen();
  if (isVisible() && (isMaximized() || isFullScreen())) showNormal();
  if (!screen) {
    resize(size);
    return;
  }
  // Within the screen: a level too large for it gets the screen, the cab fitted into it.
  const QRect room = screen->availableGeometry();
  const QSize frame = frameGeometry().size() - geometry().size();
  size = size.boundedTo(room.size() - frame);
  const QPoint centre = isVisible() ? frameGeometry().center() : room.center();
  resize(size);
  QRect outer(QPoint(0, 0), size + frame);
  outer.moveCenter(centre);
  outer.moveLeft(std::max(room.left(), std::min(outer.left(), room.right() + 1 - outer.width())));
  outer.moveTop(std::max(room.top(), std::min(outer.top(), room.bottom() + 1 - outer.height())));
  move(outer.topLeft());
}

void CabWindow::showFitted() {
  // The screen's free area first, for a desktop without a window manager to maximise it.
  if (const QScreen* screen = this->screen(); screen && !isMaximized())
    setGeometry(screen->availableGeometry());
  showMaximized();
}

void CabWindow::showCab() {
  if (m_display.zoom == Zoom::Fit) {
    showFitted();
  } else {
    sizeForZoom();
    show();
  }
  if (m_display.fullscreen) showFullScreen();
  m_fullscreen->setChecked(m_display.fullscreen);
}

void CabWindow::setZoom(Zoom zoom) {
  m_display.zoom = zoom;
  m_display.fullscreen = false;
  for (QAction* a : {m_zoom1, m_zoom2, m_zoom3, m_zoomFit}) a->setChecked(false);
  (zoom == Zoom::One     ? m_zoom1
   : zoom == Zoom::Two   ? m_zoom2
   : zoom == Zoom::Three ? m_zoom3
                         : m_zoomFit)
      ->setChecked(true);
  if (isFullScreen()) showNormal();
  if (zoom == Zoom::Fit)
    showFitted();
  else
    sizeForZoom();
  m_fullscreen->setChecked(false);
  rememberDisplay();
}

// From a level, the next level; from a fitted or fullscreen cab, the level next to its scale.
double CabWindow::zoomBase() const {
  return m_display.zoom == Zoom::Fit || isFullScreen() ? m_scale
                                                       : static_cast<double>(m_display.zoom);
}

void CabWindow::zoomInClick() {
  setZoom(zoomIn(zoomBase()));
}

void CabWindow::zoomOutClick() {
  setZoom(zoomOut(zoomBase()));
}

void CabWindow::setFullscreen(bool on) {
  m_display.fullscreen = on;
  if (on) {
    showFullScreen();
  } else {
    showNormal();
    if (m_display.zoom == Zoom::Fit)
      showFitted();
    else
      sizeForZoom();
  }
  m_fullscreen->setChecked(on);
  rememberDisplay();
}

void CabWindow::setSmoothMotion(bool on) {
  if (m_display.smoothMotion == on && m_video->blending() == on) return;
  m_display.smoothMotion = on;
  m_video->setBlending(on);
  if (m_smoothMotion->isChecked() != on) m_smoothMotion->setChecked(on);
  rememberDisplay();
}

void CabWindow::rememberDisplay() {
  if (m_ctx.displayChosen) m_ctx.displayChosen(m_display);
}

}  // namespace velmoria
