#pragma once
// The windows are laid out in the pixels they were designed in (the cab's 640 x 440) and drawn
// at a scale, the zoom. A Scaled component keeps its design rectangle and stands on the
// screen at that rectangle times the scale; what it draws it draws at the scale, so text,
// needles and pictures are made at the size they are seen rather than enlarged afterwards.
// At scale 1 every component has exactly its design geometry. UI thread.
#include <QLabel>
#include <QPointF>
#include <QRect>
#include <QWidget>

namespace velmoria {

// Design pixels to screen pixels and back. Each edge is scaled and rounded on its own, so
// components that touch in the design still touch at every scale.
struct LayoutScale {
  double factor = 1.0;

  int toScreen(int designPx) const;
  QPoint toScreen(QPoint design) const;
  QRect toScreen(const QRect& design) const;
  QSize toScreen(QSize design) const;
  QPointF toDesign(QPointF screen) const;
};

// A component of a scaled window (mixed into a QWidget subclass).
class Scaled {
 public:
  explicit Scaled(QWidget* self) : m_self(self) {}
  virtual ~Scaled() = default;
  Scaled(const Scaled&) = delete;
  Scaled& operator=(const Scaled&) = delete;

  const QRect& designGeometry() const { return m_design; }
  void setDesignGeometry(const QRect& design);
  void setDesignPos(QPoint design);
  void setDesignSize(QSize design);
  double scale() const { return m_scale.factor; }
  const LayoutScale& layoutScale() const { return m_scale; }
  // Stands the component at its design rectangle times `factor`, then lets it redraw at it.
  void setScale(double factor);

 protected:
  // Puts the widget where the design rectangle is at the current scale.
  virtual void place();
  // The scale has changed (after place()): cached drawings at the old scale are stale.
  virtual void scaleChanged() {}
  QWidget* widget() const { return m_self; }

 private:
  QWidget* m_self;
  QRect m_design;
  LayoutScale m_scale;
};

// Gives every Scaled child of `parent` (its direct children) the scale.
void scaleChildren(QWidget* parent, double factor);

// The design's font of a label: family and pixel size as the window was designed with them.
struct DesignFontSpec {
  QString family;
  int pixelSize = 12;
  bool bold = false, italic = false;
};

// A label of a scaled window: its font at the design's pixel size times the scale. An auto
// sized label keeps its design corner and takes the size of its text at the scale.
class PanelLabel : public QLabel, public Scaled {
  Q_OBJECT
 public:
  PanelLabel(QWidget* parent, const QString& text, DesignFontSpec font, bool autoSize);
  bool autoSize() const { return m_autoSize; }
  // Sets the text and, when auto sized, the size that goes with it.
  void setLabelText(const QString& text);

 protected:
  void place() override;

 private:
  void fitText();
  DesignFontSpec m_font;
  bool m_autoSize;
  double m_fontScale = 0;  // the scale the font was made for
};

}  // namespace velmoria
