#include "view/video_view_qt.h"

#include <QPainter>

#include "run/run.h"

namespace velmoria {

namespace {

// The train-protection indicators: destination and source rectangles as left, top, right,
// bottom.
struct OverlayCopy {
  QRect dest, source;
};
QRect ltrb(int l, int t, int r, int b) {
  return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

void applyOverlay(QImage& frame, const QImage& overlay, int patternState) {
  if (overlay.isNull()) return;
  QPainter p(&frame);
  const auto copy = [&](QRect dest, QRect source) { p.drawImage(dest, overlay, source); };
  copy(ltrb(360, 190, 480, 240), ltrb(0, 0, 120, 50));
  copy(ltrb(363, 197, 381, 234), ltrb(3, 57, 21, 94));
  if (patternState > 0) copy(ltrb(387, 197, 401, 233), ltrb(27, 57, 41, 93));
  if (patternState == 2) copy(ltrb(401, 197, 420, 233), ltrb(41, 57, 60, 93));
  copy(ltrb(440, 197, 459, 234), ltrb(80, 57, 99, 94));
}
}  // namespace

VideoView::VideoView(QWidget* parent) : QWidget(parent) {
  setObjectName("unten");
  setGeometry(0, 0, 480, 240);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void VideoView::attach(Run* run, FrameCache* cache, const Clock* clock, QImage overlay) {
  m_run = run;
  m_cache = cache;
  m_clock = clock;
  m_overlay = std::move(overlay);
}

void VideoView::putOnScreen(const QImage& picture) {
  m_picture = picture;
  ++m_pictures;
  update();
}

void VideoView::showStill(const QImage& picture) {
  if (picture.isNull()) return;
  m_decoded = picture;
  putOnScreen(picture);
}

void VideoView::appIdle() {
  if (!m_run || !m_cache || !m_clock) return;
  const RunObservation run = m_run->observe();
  const int frame = run.frame;
  const int index = run.videoIndex;
  // Keep the decoder ahead of the train, whichever way it goes.
  if (frame != m_previousFrame) m_direction = frame > m_previousFrame ? 1 : -1;
  m_previousFrame = frame;
  m_cache->want(index, run.running ? m_direction : 0);

  if (m_pendingRedraw >= 0) {
    if (auto image = m_cache->take(m_pendingRedraw)) {
      if (!image->isNull()) m_decoded = *image;
      putOnScreen(m_decoded);
      lastDrawnFrame = m_pendingRedraw;
      m_pendingRedraw = -1;
    }
  }

  const int64_t now = m_clock->nowMs();
  if (now - lastDrawTime <= 32) return;
  if (frame == lastDrawnFrame || !run.running || frame < 0) return;
  const int count = m_cache->frameCount();
  if (index >= 0 && index < count) {
    auto image = m_cache->take(index);
    if (!image) {  // not decoded yet: the next pass tries again
      ++m_misses;
      return;
    }
    if (!image->isNull()) m_decoded = *image;
  }
  if (m_decoded.isNull()) return;
  QImage shown = m_decoded;
  if (run.vehicle.fileName == "train_201.dat") applyOverlay(shown, m_overlay, run.patternState);
  putOnScreen(shown);
  lastDrawnFrame = frame;
  lastDrawTime = now;
}

void VideoView::redraw() {
  if (!m_run || !m_cache) return;
  const int frame = m_run->observe().frame;
  if (frame < 0 || frame >= m_cache->frameCount()) return;
  m_pendingRedraw = frame;
  m_cache->want(frame, 0);
  appIdle();
}

void VideoView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (!m_picture.isNull()) painter.drawImage(0, 0, m_picture);
}

}  // namespace velmoria
