#include "view/layout_scale_qt.h"

#include <cmath>

#include "frontend/fonts_qt.h"

namespace velmoria {

int LayoutScale::toScreen(int designPx) const {
  return static_cast<int>(std::lround(designPx * factor));
}

QPoint LayoutScale::toScreen(QPoint design) const {
  return {toScreen(design.x()), toScreen(design.y())};
}

QRect LayoutScale::toScreen(const QRect& design) const {
  const int left = toScreen(design.x()), top = toScreen(design.y());
  return {left, top, toScreen(design.x() + design.width()) - left,
          toScreen(design.y() + design.height()) - top};
}

QSize LayoutScale::toScreen(QSize design) const {
  return {toScreen(design.width()), toScreen(design.height())};
}

QPointF LayoutScale::toDesign(QPointF screen) const {
  return factor > 0 ? screen / factor : screen;
}

void Scaled::setDesignGeometry(const QRect& design) {
  m_design = design;
  place();
}

void Scaled::setDesignPos(QPoint design) {
  m_design.moveTopLeft(design);
  place();
}

void Scaled::setDesignSize(QSize design) {
  m_design.setSize(design);
  place();
}

void Scaled::setScale(double factor) {
  if (!(factor > 0) || factor == m_scale.factor) return;
  m_scale.factor = factor;
  place();
  scaleChanged();
  m_self->update();
}

void Scaled::place() {
  m_self->setGeometry(m_scale.toScreen(m_design));
}

void scaleChildren(QWidget* parent, double factor) {
  for (QObject* child : parent->children())
    if (auto* scaled = dynamic_cast<Scaled*>(child)) scaled->setScale(factor);
}

PanelLabel::PanelLabel(QWidget* parent, const QString& text, DesignFontSpec font, bool autoSize)
    : QLabel(text, parent), Scaled(this), m_font(std::move(font)), m_autoSize(autoSize) {
  place();
}

void PanelLabel::setLabelText(const QString& text) {
  setText(text);
  if (m_autoSize) fitText();
}

void PanelLabel::fitText() {
  adjustSize();
  // The design size of an auto-sized label is what its text measures at the scale.
  const double s = scale();
  setDesignSize(
      QSize(static_cast<int>(std::ceil(width() / s)), static_cast<int>(std::ceil(height() / s))));
}

void PanelLabel::place() {
  if (m_fontScale != scale()) {
    m_fontScale = scale();
    setFont(designFont(m_font.family, layoutScale().toScreen(m_font.pixelSize), m_font.bold,
                       m_font.italic));
  }
  if (m_autoSize) {
    move(layoutScale().toScreen(designGeometry().topLeft()));
    adjustSize();
  } else {
    Scaled::place();
  }
}

}  // namespace velmoria
