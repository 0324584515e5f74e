#include "view/video_view_qt.h"

#include <QPainter>
#include <cmath>

#include "run/run.h"
#include "view/frame_blend_qt.h"

namespace velmoria {

namespace {

constexpr QSize kDesignSize(480, 240);

// The train-protection indicators: destination and source rectangles as left, top, right,
// bottom, in the 480 x 240 of the design.
QRect ltrb(int l, int t, int r, int b) {
  return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

void drawOverlay(QPainter& p, const LayoutScale& scale, const QImage& overlay, int patternState) {
  if (overlay.isNull()) return;
  const auto copy = [&](QRect dest, QRect source) {
    p.drawImage(scale.toScreen(dest), overlay, source);
  };
  copy(ltrb(360, 190, 480, 240), ltrb(0, 0, 120, 50));
  copy(ltrb(363, 197, 381, 234), ltrb(3, 57, 21, 94));
  if (patternState > 0) copy(ltrb(387, 197, 401, 233), ltrb(27, 57, 41, 93));
  if (patternState == 2) copy(ltrb(401, 197, 420, 233), ltrb(41, 57, 60, 93));
  copy(ltrb(440, 197, 459, 234), ltrb(80, 57, 99, 94));
}

}  // namespace

VideoView::VideoView(QWidget* parent) : QWidget(parent), Scaled(this) {
  setObjectName("unten");
  setDesignGeometry(QRect(QPoint(0, 0), kDesignSize));
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void VideoView::attach(Run* run, FrameCache* cache, const Clock* clock, QImage overlay) {
  m_run = run;
  m_cache = cache;
  m_clock = clock;
  m_overlay = std::move(overlay);
  if (m_cache) {
    m_askedSize = pictureSize();
    m_cache->setPictureSize(m_askedSize);
  }
}

QSize VideoView::pictureSize() const {
  return layoutScale().toScreen(kDesignSize) * devicePixelRatioF();
}

void VideoView::stepped() {
  if (m_clock) m_stepMs = m_clock->nowMs();
}

void VideoView::putOnScreen() {
  m_resized = false;  // whatever comes now comes at the size asked for
  ++m_pictures;
  update();
}

void VideoView::showStill(const QImage& picture) {
  if (picture.isNull()) return;
  m_decoded = picture;
  m_shownIndex = -1;
  m_next = QImage();
  m_weight = 0;
  m_level = 0;
  m_still = true;
  m_overlayState = -1;
  putOnScreen();
}

void VideoView::appIdle() {
  if (!m_run || !m_cache || !m_clock) return;
  const QSize size = pictureSize();
  if (size != m_askedSize) {
    m_askedSize = size;
    m_cache->setPictureSize(size);
    m_resized = true;  // the frame on screen is drawn again at the new size when decoded
  }
  const RunObservation run = m_run->observe();
  const int frame = run.frame;
  const int index = run.videoIndex;
  // Keep the decoder ahead of the train, whichever way it goes.
  if (frame != m_previousFrame) m_direction = frame > m_previousFrame ? 1 : -1;
  m_previousFrame = frame;
  m_cache->want(index, run.running ? m_direction : 0);

  if (m_resized) refreshShown();

  if (m_pendingRedraw >= 0) {
    if (auto image = m_cache->take(m_pendingRedraw)) {
      if (!image->isNull()) {
        m_decoded = *image;
        m_still = false;
        m_shownIndex = m_pendingRedraw;
      }
      m_next = QImage();
      m_weight = 0;
      m_level = 0;
      m_overlayState = -1;
      putOnScreen();
      lastDrawnFrame = m_pendingRedraw;
      m_pendingRedraw = -1;
    }
  }

  const int64_t now = m_clock->nowMs();
  if (m_blending && run.running && frame >= 0) {
    const int64_t speed = run.speed.rounded();
    const double weight = blendWeight(
        {speed, run.frameAccumulator, run.recordedSpeed, static_cast<double>(now - m_stepMs)});
    if (weight > 0 && blendIdle(run, speed, now, weight)) return;
  }

  if (now - lastDrawTime <= 32) return;
  // A blend on screen is not the frame: it is replaced by the exact one.
  if ((frame == lastDrawnFrame && m_level == 0) || !run.running || frame < 0) return;
  const int count = m_cache->frameCount();
  if (index >= 0 && index < count) {
    auto image = m_cache->take(index);
    if (!image) {  // not decoded yet: the next pass tries again
      ++m_misses;
      return;
    }
    if (!image->isNull()) {
      m_decoded = *image;
      m_still = false;
      m_shownIndex = index;
    }
  }
  if (m_decoded.isNull()) return;
  m_next = QImage();
  m_weight = 0;
  m_level = 0;
  m_overlayState = run.vehicle.fileName == "train_201.dat" ? run.patternState : -1;
  putOnScreen();
  lastDrawnFrame = frame;
  lastDrawTime = now;
}

bool VideoView::blendIdle(const RunObservation& run, int64_t speed, int64_t now, double weight) {
  const int frame = run.frame, index = run.videoIndex;
  const int count = m_cache->frameCount();
  const int next = index + (speed > 0 ? 1 : -1);
  if (index < 0 || index >= count || next < 0 || next >= count) return false;
  const double interval = 1000.0 / kBlendRate;
  if (now < m_blendDue) return true;
  const int level = blendLevel(weight);
  if (frame == lastDrawnFrame && level == m_level) return true;  // nothing new to show
  const auto shown = m_cache->take(index);
  const auto over = m_cache->take(next);
  if (!shown || !over) {
    // The exact frame is drawn while the next one is still being decoded.
    if (shown) return false;
    ++m_misses;
    return true;
  }
  if (shown->isNull() || over->isNull()) return false;
  m_decoded = *shown;
  m_next = *over;
  m_still = false;
  m_shownIndex = index;
  m_nextIndex = next;
  m_weight = weight;
  m_level = level;
  m_overlayState = run.vehicle.fileName == "train_201.dat" ? run.patternState : -1;
  putOnScreen();
  lastDrawnFrame = frame;
  lastDrawTime = now;
  // Paced on a grid of 1/60 s; a pass that came late starts the grid again.
  m_blendDue = now - m_blendDue > interval ? now + interval : m_blendDue + interval;
  return true;
}

void VideoView::refreshShown() {
  if (m_still || m_decoded.isNull() || m_shownIndex < 0) {
    m_resized = false;
    return;
  }
  const auto shown = m_cache->take(m_shownIndex);
  const auto over = m_level > 0 ? m_cache->take(m_nextIndex) : std::optional<QImage>(QImage());
  if (!shown || !over) return;  // not decoded at the new size yet
  m_resized = false;
  if (shown->isNull()) return;
  m_decoded = *shown;
  if (m_level > 0) m_next = *over;
  update();
}

void VideoView::redraw() {
  if (!m_run || !m_cache) return;
  const int frame = m_run->observe().frame;
  if (frame < 0 || frame >= m_cache->frameCount()) return;
  m_pendingRedraw = frame;
  m_cache->want(frame, 0);
  appIdle();
}

void VideoView::draw(QPainter& painter) const {
  const QRect area(QPoint(0, 0), layoutScale().toScreen(kDesignSize));
  painter.fillRect(area, Qt::black);
  if (m_decoded.isNull()) return;
  const bool scaled = scale() != 1.0 || devicePixelRatioF() != 1.0;
  if (m_still) {
    // A still picture is part of the layout: at (0, 0), its own size times the scale.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, scaled);
    painter.drawImage(QRect(QPoint(0, 0), layoutScale().toScreen(m_decoded.size())), m_decoded);
  } else {
    // Frames come at the area's size; one of another size (the redraw of a frame decoded
    // before a zoom) is stretched over it until the next.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_decoded.size() != pictureSize());
    painter.drawImage(area, m_decoded);
    if (!m_next.isNull() && m_level > 0) {
      painter.setOpacity(m_level / 256.0);
      painter.drawImage(area, m_next);
      painter.setOpacity(1.0);
    }
  }
  if (m_overlayState >= 0) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform, scaled);
    drawOverlay(painter, layoutScale(), m_overlay, m_overlayState);
  }
}

QImage VideoView::picture() const {
  QImage image(pictureSize(), QImage::Format_RGB32);
  image.setDevicePixelRatio(devicePixelRatioF());
  QPainter painter(&image);
  draw(painter);
  return image;
}

void VideoView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  draw(painter);
}

}  // namespace velmoria
