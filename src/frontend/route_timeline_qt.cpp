#include "frontend/route_timeline_qt.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "route_edit/edit_texts.h"

namespace velmoria {

using edit::Table;

namespace {

QColor rowColour(Table t) {
  switch (t) {
    case Table::Station:
      return QColor(60, 120, 220);
    case Table::Signal:
      return QColor(30, 160, 60);
    case Table::SpeedLimit:
      return QColor(220, 120, 20);
    case Table::Slope:
      return QColor(140, 100, 60);
    case Table::Sign:
      return QColor(150, 60, 170);
    case Table::SoundCue:
      return QColor(20, 150, 150);
    case Table::Announce:
      return QColor(200, 60, 120);
    case Table::SpeedCheck:
      return QColor(200, 170, 0);
    case Table::Tunnel:
      break;
  }
  return QColor(90, 90, 90);
}

}  // namespace

RouteTimeline::RouteTimeline(const edit::RouteDocument& document, QWidget* parent)
    : QWidget(parent), m_doc(document) {
  setObjectName("RouteTimeline");
  setMouseTracking(false);
  setFocusPolicy(Qt::NoFocus);
  setMinimumHeight(static_cast<int>(edit::kTables.size()) * kRowHeight + 4);
}

QSize RouteTimeline::sizeHint() const {
  return QSize(900, static_cast<int>(edit::kTables.size()) * kRowHeight + 4);
}

void RouteTimeline::setFrame(int frame) {
  m_frame = frame;
  update();
}

void RouteTimeline::setSelection(std::optional<EntryRef> entry) {
  m_selection = entry;
  update();
}

void RouteTimeline::setSpan(int frames) {
  m_span = std::clamp(frames, 60, 2000000);
  update();
}

int RouteTimeline::frameAt(int x) const {
  const int w = std::max(1, width() - kLabelWidth);
  return m_frame + static_cast<int>(std::lround((x - kLabelWidth - w / 2.0) * m_span / w));
}

int RouteTimeline::xOf(int frame) const {
  const int w = std::max(1, width() - kLabelWidth);
  const double x = kLabelWidth + w / 2.0 + double(frame - m_frame) * w / m_span;
  return static_cast<int>(std::clamp(x, -1e6, 1e6));
}

int RouteTimeline::rowTop(Table table) const {
  return 2 + static_cast<int>(table) * kRowHeight;
}

QString RouteTimeline::caption(Table t, size_t i) const {
  const Route& r = m_doc.route();
  switch (t) {
    case Table::Station:
      return QString::fromStdString(r.StationTable[i].name);
    case Table::Signal:
      return QString::fromStdString(r.SignalTable[i].label);
    case Table::SpeedLimit:
      return QString::number(r.SpeedLimitTable[i].limit);
    case Table::Slope:
      return QString::number(static_cast<double>(r.SlopeTable[i].gradient.ld()), 'g', 5) +
             QString::fromUtf8("‰");
    case Table::SpeedCheck:
      return QString::number(r.SpeedCheckTable[i].speed);
    case Table::Sign:
      return QString::number(r.SignTable[i].picture);
    case Table::SoundCue:
      return QString::number(r.SoundCueTable[i].sound);
    case Table::Announce:
      return QString::number(r.AnnounceTable[i].sound);
    case Table::Tunnel:
      break;
  }
  return {};
}

std::optional<EntryRef> RouteTimeline::entryAt(QPoint p) const {
  if (p.x() < kLabelWidth) return std::nullopt;
  for (Table t : edit::kTables) {
    const int top = rowTop(t);
    if (p.y() < top || p.y() >= top + kRowHeight) continue;
    // The last drawn is on top: look from the end.
    for (size_t i = m_doc.count(t); i-- > 0;) {
      const int a = xOf(m_doc.anchorFrame(t, i));
      const int e = xOf(m_doc.endFrame(t, i));
      if (p.x() >= std::min(a, e) - 4 && p.x() <= std::max(a, e) + 4) return EntryRef{t, i};
    }
  }
  return std::nullopt;
}

void RouteTimeline::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(250, 250, 246));
  QFont small = font();
  small.setPointSizeF(std::max(7.0, small.pointSizeF() * 0.85));
  p.setFont(small);
  const int first = frameAt(kLabelWidth), last = frameAt(width());
  for (Table t : edit::kTables) {
    const int top = rowTop(t);
    const QColor colour = rowColour(t);
    p.fillRect(QRect(0, top, kLabelWidth - 4, kRowHeight - 2), colour.lighter(170));
    p.setPen(Qt::black);
    p.drawText(QRect(4, top, kLabelWidth - 8, kRowHeight - 2), Qt::AlignVCenter,
               QCoreApplication::translate(edit::kTableNames, edit::tableInfo(t).label));
    p.setPen(QColor(225, 225, 220));
    p.drawLine(kLabelWidth, top + kRowHeight - 1, width(), top + kRowHeight - 1);
    // Entries reaching back past the left edge stop at it, not over the row labels.
    p.setClipRect(QRect(kLabelWidth, 0, width() - kLabelWidth, height()));
    for (size_t i = 0; i < m_doc.count(t); ++i) {
      int a = m_doc.anchorFrame(t, i), e = m_doc.endFrame(t, i);
      const bool selected = m_selection && *m_selection == EntryRef{t, i};
      if (m_dragging && *m_dragging == EntryRef{t, i}) {
        a += m_dragDelta;
        e += m_dragDelta;
      }
      // A station is drawn over its zone, the stopping mark at the end.
      int from = std::min(a, e), to = std::max(a, e);
      if (t == Table::Station) from = std::min(from, m_doc.route().StationTable[i].zoneStart);
      if (to < first || from > last) continue;
      const int x0 = xOf(from), x1 = xOf(to), xa = xOf(a);
      const QRect bar(x0, top + 3, std::max(2, x1 - x0), kRowHeight - 8);
      if (to > from) p.fillRect(bar, selected ? colour.darker(130) : colour.lighter(130));
      p.fillRect(QRect(xa - 1, top + 1, 3, kRowHeight - 4),
                 selected ? Qt::black : colour.darker(150));
      if (selected) {
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.drawRect(bar.adjusted(-2, -2, 2, 2));
      }
      p.setPen(Qt::black);
      p.drawText(QPoint(std::max(x0, kLabelWidth) + 4, top + kRowHeight - 7), caption(t, i));
    }
    p.setClipping(false);
  }
  // Frame ticks every power of ten that leaves room.
  int step = 1;
  while (step * (width() - kLabelWidth) / std::max(1, m_span) < 60) step *= 10;
  p.setPen(QColor(160, 160, 160));
  const int bottom = height() - 1;
  for (int f = (first / step) * step; f <= last; f += step) {
    const int x = xOf(f);
    if (x < kLabelWidth) continue;
    p.drawLine(x, bottom - 4, x, bottom);
  }
  p.setPen(QPen(Qt::red, 2));
  const int xc = xOf(m_frame);
  p.drawLine(xc, 0, xc, height());
}

void RouteTimeline::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  const QPoint at = e->position().toPoint();
  if (const auto entry = entryAt(at)) {
    m_selection = entry;
    m_dragging = entry;
    m_dragFromX = at.x();
    m_dragDelta = 0;
    Q_EMIT entryClicked(*entry);
    update();
  } else if (at.x() >= kLabelWidth) {
    Q_EMIT frameClicked(frameAt(at.x()));
  }
}

void RouteTimeline::mouseMoveEvent(QMouseEvent* e) {
  if (!m_dragging) return;
  const int w = std::max(1, width() - kLabelWidth);
  m_dragDelta =
      static_cast<int>(std::lround(double(e->position().toPoint().x() - m_dragFromX) * m_span / w));
  update();
}

void RouteTimeline::mouseReleaseEvent(QMouseEvent*) {
  if (!m_dragging) return;
  const EntryRef entry = *m_dragging;
  const int delta = m_dragDelta;
  m_dragging.reset();
  m_dragDelta = 0;
  update();
  if (delta != 0 && entry.index < m_doc.count(entry.table))
    Q_EMIT entryDropped(entry, m_doc.anchorFrame(entry.table, entry.index) + delta);
}

void RouteTimeline::wheelEvent(QWheelEvent* e) {
  const int notches = e->angleDelta().y() / 120;
  if (notches == 0) return;
  if (e->modifiers() & Qt::ControlModifier)
    setSpan(static_cast<int>(m_span * std::pow(0.8, notches)));
  else
    Q_EMIT frameStepped(-notches * std::max(1, m_span / 60));
  e->accept();
}

}  // namespace velmoria
