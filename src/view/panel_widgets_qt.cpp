#include "view/panel_widgets_qt.h"

#include <QMouseEvent>
#include <QPainter>

namespace velmoria {

PanelImage::PanelImage(QWidget* parent, const QString& name) : QWidget(parent), Scaled(this) {
  setObjectName(name);
}

void PanelImage::setPicture(const QImage& picture, bool autoSize) {
  if (picture.isNull()) {
    clearPicture();
    return;
  }
  m_picture = picture;
  m_pixmap = QPixmap::fromImage(picture);
  m_scaled = QPixmap();
  if (autoSize) setDesignSize(picture.size());
  update();
}

void PanelImage::clearPicture() {
  m_picture = QImage();
  m_pixmap = QPixmap();
  m_scaled = QPixmap();
  update();
}

void PanelImage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (m_fill.isValid()) painter.fillRect(rect(), m_fill);
  if (m_pixmap.isNull()) return;
  const qreal ratio = devicePixelRatioF();
  if (scale() == 1.0 && ratio == 1.0) {
    painter.drawPixmap(0, 0, m_pixmap);
    return;
  }
  // Scaled once from the original, smoothly, to the device pixels it covers.
  const QSize device = layoutScale().toScreen(m_picture.size()) * ratio;
  if (m_scaled.isNull() || m_scaled.size() != device) {
    m_scaled = QPixmap::fromImage(
        m_picture.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    m_scaled.setDevicePixelRatio(ratio);
  }
  painter.drawPixmap(0, 0, m_scaled);
}

void PanelImage::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    Q_EMIT clicked();
}

NeedleImage::NeedleImage(QWidget* parent, const QString& name) : QWidget(parent), Scaled(this) {
  setObjectName(name);
}

void NeedleImage::setPicture(const QImage& picture) {
  m_pixmap = QPixmap::fromImage(picture);
  update();
}

void NeedleImage::setAngle(int degrees) {
  if (degrees == m_angle) return;
  m_angle = degrees;
  update();
}

void NeedleImage::paintEvent(QPaintEvent*) {
  if (m_pixmap.isNull()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  // Turned and scaled in one pass from the original picture, at the device's resolution.
  painter.scale(scale(), scale());
  const QSizeF design = designGeometry().size();
  painter.translate(design.width() / 2.0, design.height() / 2.0);
  painter.rotate(-m_angle);  // QPainter turns clockwise; the needle's angle counter-clockwise
  painter.drawPixmap(QPointF(-m_pixmap.width() / 2.0, -m_pixmap.height() / 2.0), m_pixmap);
}

ClockImage::ClockImage(QWidget* parent) : QWidget(parent), Scaled(this) {
  setObjectName("clock");
  setDesignSize({50, 50});
}

void ClockImage::setHands(const ClockHands& hands) {
  m_hands = hands;
  update();
}

void ClockImage::paintEvent(QPaintEvent*) {
  if (!m_hands.drawn) return;
  QPainter painter(this);
  painter.fillRect(rect(), QColor(0xf0, 0xf0, 0xf0));  // the button face
  if (scale() != 1.0) {
    // Enlarged, the one-pixel hands become smooth lines of the scale's width.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale(), scale());
  }
  painter.setPen(QPen(Qt::black, 1));
  painter.drawLine(25, 25, m_hands.hourX, m_hands.hourY);
  painter.drawLine(25, 25, m_hands.minuteX, m_hands.minuteY);
  painter.drawLine(25, 25, m_hands.secondX, m_hands.secondY);
}

}  // namespace velmoria
