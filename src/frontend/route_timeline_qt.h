#pragma once
// The route editor's timeline: one row per table, its entries drawn where they stand around
// the current frame (spans as bars, points as ticks), the current frame as a red line in the
// middle. A click on an entry selects it, a click elsewhere goes to that frame; an entry dragged
// sideways is moved to where it is let go; the wheel steps frames, with Ctrl it zooms. The
// timeline only reads the document: the window makes the edits. UI thread.
#include <QWidget>
#include <optional>

#include "route_edit/route_document.h"

namespace velmoria {

struct EntryRef {
  edit::Table table;
  size_t index;
  bool operator==(const EntryRef&) const = default;
};

class RouteTimeline : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kLabelWidth = 110;
  static constexpr int kRowHeight = 22;

  explicit RouteTimeline(const edit::RouteDocument& document, QWidget* parent = nullptr);

  void setFrame(int frame);
  int frame() const { return m_frame; }
  void setSelection(std::optional<EntryRef> entry);
  const std::optional<EntryRef>& selection() const { return m_selection; }
  // Frames across the width of the entry area.
  void setSpan(int frames);
  int span() const { return m_span; }

  // The frame at x, and the x of a frame, in widget coordinates.
  int frameAt(int x) const;
  int xOf(int frame) const;
  // The entry drawn at a point, if any.
  std::optional<EntryRef> entryAt(QPoint p) const;
  int rowTop(edit::Table table) const;

  QSize sizeHint() const override;

 Q_SIGNALS:
  void entryClicked(velmoria::EntryRef entry);
  void frameClicked(int frame);
  void entryDropped(velmoria::EntryRef entry, int anchorFrame);
  void frameStepped(int frames);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void wheelEvent(QWheelEvent*) override;

 private:
  QString caption(edit::Table table, size_t index) const;

  const edit::RouteDocument& m_doc;
  int m_frame = 0;
  int m_span = 1800;  // a minute of video at the recorded speed
  std::optional<EntryRef> m_selection;
  std::optional<EntryRef> m_dragging;
  int m_dragFromX = 0;
  int m_dragDelta = 0;  // frames
};

}  // namespace velmoria
