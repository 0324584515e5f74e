#pragma once
// The picture components of the cab window: a plain image (shown opaque or with its background
// colour left out), a needle drawn turned about its centre, and the analogue clock. They only
// draw what they are given; CabPanel decides what that is. Each stands at its design
// rectangle times the window's scale and draws at that scale: pictures smoothly scaled from
// the originals (at the screen's device pixel ratio), needles turned and scaled in one pass.
// UI thread.
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include "view/cab_display.h"
#include "view/layout_scale_qt.h"

namespace velmoria {

class PanelImage : public QWidget, public Scaled {
  Q_OBJECT
 public:
  PanelImage(QWidget* parent, const QString& name);
  // Shows a picture as it is (a colour-keyed picture carries its transparency as alpha);
  // with autoSize the component takes the picture's size.
  void setPicture(const QImage& picture, bool autoSize = true);
  void clearPicture();
  bool hasPicture() const { return !m_picture.isNull(); }
  // A plain colour for the pictureless opaque components.
  void setFill(const QColor& colour) { m_fill = colour; }

 Q_SIGNALS:
  void clicked();

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void scaleChanged() override { m_scaled = QPixmap(); }

 private:
  QImage m_picture;
  QPixmap m_pixmap;  // the picture as it is, drawn at scale 1
  QPixmap m_scaled;  // the picture at the scale and device pixel ratio it was last drawn at
  QColor m_fill;
};

// A rotating image: positive angles turn the picture counter-clockwise, in whole degrees.
class NeedleImage : public QWidget, public Scaled {
  Q_OBJECT
 public:
  NeedleImage(QWidget* parent, const QString& name);
  void setPicture(const QImage& picture);  // colour-keyed already
  void setAngle(int degrees);
  int angle() const { return m_angle; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QPixmap m_pixmap;
  int m_angle = 0;
};

// The 50 x 50 clock image: the button-face square and three black hands from (25, 25).
class ClockImage : public QWidget, public Scaled {
  Q_OBJECT
 public:
  ClockImage(QWidget* parent);
  void setHands(const ClockHands& hands);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  ClockHands m_hands;
};

}  // namespace velmoria
