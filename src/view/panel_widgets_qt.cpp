#include "view/panel_widgets_qt.h"

#include <QMouseEvent>
#include <QPainter>

namespace velmoria {

PanelImage::PanelImage(QWidget* parent, const QString& name) : QWidget(parent) {
  setObjectName(name);
}

void PanelImage::setPicture(const QImage& picture, bool autoSize) {
  if (picture.isNull()) {
    clearPicture();
    return;
  }
  m_pixmap = QPixmap::fromImage(picture);
  if (autoSize) resize(m_pixmap.size());
  update();
}

void PanelImage::clearPicture() {
  m_pixmap = QPixmap();
  update();
}

void PanelImage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (m_fill.isValid()) painter.fillRect(rect(), m_fill);
  if (!m_pixmap.isNull()) painter.drawPixmap(0, 0, m_pixmap);
}

void PanelImage::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    Q_EMIT clicked();
}

NeedleImage::NeedleImage(QWidget* parent, const QString& name) : QWidget(parent) {
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
  painter.translate(width() / 2.0, height() / 2.0);
  painter.rotate(-m_angle);  // QPainter turns clockwise; the needle's angle counter-clockwise
  painter.drawPixmap(QPointF(-m_pixmap.width() / 2.0, -m_pixmap.height() / 2.0), m_pixmap);
}

ClockImage::ClockImage(QWidget* parent) : QWidget(parent) {
  setObjectName("clock");
  resize(50, 50);
}

void ClockImage::setHands(const ClockHands& hands) {
  m_hands = hands;
  update();
}

void ClockImage::paintEvent(QPaintEvent*) {
  if (!m_hands.drawn) return;
  QPainter painter(this);
  painter.fillRect(rect(), QColor(0xf0, 0xf0, 0xf0));  // the button face
  painter.setPen(QPen(Qt::black, 1));
  painter.drawLine(25, 25, m_hands.hourX, m_hands.hourY);
  painter.drawLine(25, 25, m_hands.minuteX, m_hands.minuteY);
  painter.drawLine(25, 25, m_hands.secondX, m_hands.secondY);
}

}  // namespace velmoria
