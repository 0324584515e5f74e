#pragma once
// The value display window ("Value Display"): the numbers behind the dynamics, written by the
// run's instruments step into CabDisplay::values and drawn here. Keys typed into it go on to the
// cab window's handlers (`forward`), so driving continues while it has the focus. Created at
// program start, lives until the end, modeless. UI thread.
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QWidget>
#include <functional>
#include <map>
#include <vector>

#include "view/cab_display.h"
#include "view/layout_scale_qt.h"

class QKeyEvent;

namespace velmoria {

class ValueDisplayWindow : public QWidget {
  Q_OBJECT
 public:
  ValueDisplayWindow();
  void setForward(std::function<void(QKeyEvent*)> forward) { m_forward = std::move(forward); }
  // The cab window of the current run: the window opens beside it and above it.
  void setAnchor(QWidget* cab) { m_anchor = cab; }
  // Draws the model; shows or hides the window as the model says.
  void draw(const ValueDisplayView& view);
  QLabel* valueLabel(const QString& name) const;
  // Draws the window at a scale of its design (the cab's zoom).
  void setScale(double scale);
  double scale() const { return m_scale.factor; }
  QProgressBar* bar(int n) const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void setValue(QLabel* label, const std::string& text, std::string& drawn);
  void layOut();

  std::function<void(QKeyEvent*)> m_forward;
  QPointer<QWidget> m_anchor;
  std::map<QString, QLabel*> m_values;
  std::map<QString, int> m_rightEdge;  // labels anchored at their right edge
  std::vector<QLabel*> m_captions;     // in the order of the design's rows
  QLabel* m_heading = nullptr;
  QProgressBar *m_bar1 = nullptr, *m_bar2 = nullptr, *m_bar3 = nullptr;
  LayoutScale m_scale;
  ValueDisplayView m_drawn;
  bool m_drawnOnce = false;
};

}  // namespace velmoria
